# The windowed program and the copy library it loads, both into the program folder's bin.
add_library(kopy SHARED ${CMAKE_CURRENT_SOURCE_DIR}/kopy.cpp)
set_target_properties(kopy PROPERTIES CXX_VISIBILITY_PRESET hidden)

add_executable(kolvedir ${CMAKE_CURRENT_SOURCE_DIR}/main.cpp)
target_link_libraries(kolvedir PRIVATE kolvedir_shell)
add_dependencies(kolvedir kopy)
