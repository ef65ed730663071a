# Runs one settings check and compares its report (line endings aside) and exit code.
string(REPLACE "|" ";" command "${COMMAND}")
string(REPLACE "|" ";" arguments "${ARGUMENTS}")
execute_process(COMMAND ${command} ${arguments}
  WORKING_DIRECTORY ${FOLDER}
  OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE code)
string(REPLACE "\r" "" output "${output}")
file(READ ${EXPECTED} expected)
if(NOT output STREQUAL expected)
  message(FATAL_ERROR "the report differs from ${EXPECTED}:\n--- got:\n${output}\n--- stderr:\n${errors}")
endif()
if(NOT code STREQUAL EXPECTED_CODE)
  message(FATAL_ERROR "exit code ${code}, expected ${EXPECTED_CODE}\n${output}")
endif()
message(STATUS "report and exit code ${code} as expected")
