# The command-line runner kolvedir-batch and the sample object.
find_package(CLI11 CONFIG REQUIRED)
add_executable(kolvedir-batch ${CMAKE_CURRENT_SOURCE_DIR}/batch_main.cpp)
target_link_libraries(kolvedir-batch PRIVATE kolvedir_engine CLI11::CLI11)
