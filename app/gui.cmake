# The windowed program and the copy library it loads, both into the program folder's bin.
add_library(kopy SHARED ${CMAKE_CURRENT_SOURCE_DIR}/kopy.cpp)
set_target_properties(kopy PROPERTIES CXX_VISIBILITY_PRESET hidden)
