# Batch engine: the cost of reading and writing point records, apart from the
# transformations.
add_executable(engine_bench ${CMAKE_CURRENT_SOURCE_DIR}/engine_bench.cpp)
target_link_libraries(engine_bench PRIVATE kolvedir_engine benchmark::benchmark)
set_target_properties(engine_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
