# Computation core against PROJ's proj_trans (PROJ is linked into the benchmark
# only, never into the program libraries). Meant for a Release build.
add_executable(core_bench ${CMAKE_CURRENT_SOURCE_DIR}/core_bench.cpp)
target_link_libraries(core_bench PRIVATE kolvedir_core benchmark::benchmark PkgConfig::PROJ)
set_target_properties(core_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
