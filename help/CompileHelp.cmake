# Runs chmcmd on the help project and fails the build on any warning: chmcmd reports a missing page
# or a link to a page that does not exist as a warning and still writes a .chm. It runs
# reproducibly, its clock standing at 2000-01-01 00:00 UTC.
execute_process(
  COMMAND ${PYTHON} ${REPRODUCIBLE} 946684800 ${CHMCMD} Orvendex.hhp
  WORKING_DIRECTORY ${PROJECT_DIR}
  RESULT_VARIABLE result
  OUTPUT_VARIABLE output
  ERROR_VARIABLE output)
if(NOT result EQUAL 0 OR output MATCHES "Warning|Error|exception")
  message(FATAL_ERROR "chmcmd failed (exit code ${result}):\n${output}")
endif()
if(NOT EXISTS ${PROJECT_DIR}/Orvendex.chm)
  message(FATAL_ERROR "chmcmd wrote no Orvendex.chm:\n${output}")
endif()
# The help file is still good, only not the same bytes at every build: the archive then differs.
if(output MATCHES "reproducible.py: cannot run it reproducibly here: ([^;\n]*)")
  message(WARNING "Orvendex.chm is not reproducible on this machine (${CMAKE_MATCH_1}): "
                  "it differs from build to build, and so does the archive.")
endif()
file(COPY_FILE ${PROJECT_DIR}/Orvendex.chm ${OUTPUT})
