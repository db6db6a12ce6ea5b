# The command-line runner kolvedir-batch and the sample object.
find_package(CLI11 CONFIG REQUIRED)
add_executable(kolvedir-batch ${CMAKE_CURRENT_SOURCE_DIR}/batch_main.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/terminal_progress.cpp)
target_link_libraries(kolvedir-batch PRIVATE kolvedir_engine kolvedir_io kolvedir_version CLI11::CLI11)
if(TARGET kolvedir_gis)
  add_dependencies(kolvedir-batch kolvedir_gis)  # loaded by GIS jobs
endif()
install(TARGETS kolvedir-batch RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

# Its manual page, made from --help and --version (UTF-8 throughout) with the
# name line of kolvedir-batch.h2m.
find_program(HELP2MAN help2man REQUIRED)
set(batch_manual ${CMAKE_BINARY_DIR}/man/kolvedir-batch.1.gz)
set(batch_manual_name ${CMAKE_CURRENT_SOURCE_DIR}/kolvedir-batch.h2m)
add_custom_command(OUTPUT ${batch_manual}
  COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8
          ${HELP2MAN} --no-info --no-discard-stderr --section=1 --locale=C.UTF-8
          --include=${batch_manual_name} --output=${CMAKE_BINARY_DIR}/man/kolvedir-batch.1
          $<TARGET_FILE:kolvedir-batch>
  COMMAND gzip -9nf ${CMAKE_BINARY_DIR}/man/kolvedir-batch.1
  DEPENDS kolvedir-batch ${batch_manual_name}
  COMMENT "Manual page of kolvedir-batch"
  VERBATIM)
add_custom_target(batch_manual ALL DEPENDS ${batch_manual})
install(FILES ${batch_manual} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

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
# Installed, they are copied into each user's OBIEKTY on the first start.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/OBIEKTY DESTINATION ${KOLVEDIR_INSTALL_DATADIR})
