# Runs one settings check and compares its report (line endings aside) and exit code. The report
# names files by their full paths: the folder the check runs in (as Linux and as Wine spell it) is
# left out of the comparison, and so is FOLDER2 when given (the exe's own folder).
string(REPLACE "|" ";" command "${COMMAND}")
string(REPLACE "|" ";" arguments "${ARGUMENTS}")
execute_process(COMMAND ${command} ${arguments}
  WORKING_DIRECTORY ${FOLDER}
  OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE code)
string(REPLACE "\r" "" output "${output}")
foreach(folder IN ITEMS "${FOLDER}" "${FOLDER2}")
  if(folder)
    string(REPLACE "/" "\\" wine_folder "Z:${folder}")
    string(REPLACE "${folder}/" "" output "${output}")
    string(REPLACE "${wine_folder}\\" "" output "${output}")
  endif()
endforeach()
file(READ ${EXPECTED} expected)
if(NOT output STREQUAL expected)
  message(FATAL_ERROR "the report differs from ${EXPECTED}:\n--- got:\n${output}\n--- stderr:\n${errors}")
endif()
if(NOT code STREQUAL EXPECTED_CODE)
  message(FATAL_ERROR "exit code ${code}, expected ${EXPECTED_CODE}\n${output}")
endif()
message(STATUS "report and exit code ${code} as expected")
