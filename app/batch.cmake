# The command-line runner kolvedir-batch and the sample object.
find_package(CLI11 CONFIG REQUIRED)
add_executable(kolvedir-batch ${CMAKE_CURRENT_SOURCE_DIR}/batch_main.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/terminal_progress.cpp)
target_link_libraries(kolvedir-batch PRIVATE kolvedir_engine kolvedir_io CLI11::CLI11)
if(TARGET kolvedir_gis)
  add_dependencies(kolvedir-batch kolvedir_gis)  # loaded by GIS jobs
endif()

# The sample objects, copied into the program folder's OBIEKTY when their
# source files change (jobs run on the copies; the sources stay clean).
set(sample_stamps)
foreach(sample PRZYKLAD PRZYKLAD_STOPNIE)
  file(GLOB sample_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/data/OBIEKTY/${sample}/*)
  set(sample_stamp ${CMAKE_CURRENT_BINARY_DIR}/${sample}.stamp)
  add_custom_command(OUTPUT ${sample_stamp}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${KOLVEDIR_HOME}/OBIEKTY/${sample}
    COMMAND ${CMAKE_COMMAND} -E copy ${sample_files} ${KOLVEDIR_HOME}/OBIEKTY/${sample}
    COMMAND ${CMAKE_COMMAND} -E touch ${sample_stamp}
    DEPENDS ${sample_files}
    COMMENT "Sample object ${sample} in ${KOLVEDIR_HOME}/OBIEKTY"
    VERBATIM)
  list(APPEND sample_stamps ${sample_stamp})
endforeach()
add_custom_target(sample_object ALL DEPENDS ${sample_stamps})
