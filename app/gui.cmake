# The windowed program and the copy library it loads, both into the program folder's bin.
add_library(kopy SHARED ${CMAKE_CURRENT_SOURCE_DIR}/kopy.cpp)
set_target_properties(kopy PROPERTIES CXX_VISIBILITY_PRESET hidden)
target_link_libraries(kopy PRIVATE kolvedir_files)
# The copy library exports `kopiuj` alone, not the units linked into it.
target_link_options(kopy PRIVATE -Wl,--exclude-libs,ALL)

add_executable(kolvedir ${CMAKE_CURRENT_SOURCE_DIR}/main.cpp)
target_link_libraries(kolvedir PRIVATE kolvedir_shell)
add_dependencies(kolvedir kopy)
install(TARGETS kolvedir RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS kopy LIBRARY DESTINATION ${KOLVEDIR_INSTALL_HELPERDIR} NAMELINK_SKIP)

# The screenshot tour behind scripts/screenshots.sh (a helper, not part of the program folder).
add_executable(kolvedir-screenshot-tour ${PROJECT_SOURCE_DIR}/tools/screenshot_tour.cpp)
target_link_libraries(kolvedir-screenshot-tour PRIVATE kolvedir_shell)
set_target_properties(kolvedir-screenshot-tour PROPERTIES
                      RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
