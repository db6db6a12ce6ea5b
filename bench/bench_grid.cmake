# Correction grid: load time of a full grid file and interpolation throughput.
add_executable(grid_bench ${CMAKE_CURRENT_SOURCE_DIR}/grid_bench.cpp)
target_link_libraries(grid_bench PRIVATE kolvedir_grid benchmark::benchmark)
set_target_properties(grid_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
