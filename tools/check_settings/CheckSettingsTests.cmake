# Tests that run a settings checker (the native tool, or PMXTouchKeyboard.exe /CheckSettings:
# under Wine) on the sample file and on a file with faults, and compare report and exit code.
#
#   pmx_add_settings_check_tests(<prefix> <switch> <command>...)
#
# The command gets the file name appended to <switch> ("" for the tool, "/CheckSettings:" for
# the exe); it runs in the folder of the file, so that both print the same name.
set(PMX_CHECK_SETTINGS_DIR ${CMAKE_CURRENT_LIST_DIR})

function(pmx_add_settings_check_tests prefix switch)
  set(command ${ARGN})
  string(REPLACE ";" "|" command_list "${command}")
  foreach(case sample faults)
    if(case STREQUAL sample)
      set(folder ${PROJECT_SOURCE_DIR}/examples)
      set(file QD4TouchKeyboard.ini)
      set(expected ${PMX_CHECK_SETTINGS_DIR}/expected/sample.txt)
      set(code 0)
    else()
      set(folder ${PMX_CHECK_SETTINGS_DIR}/expected)
      set(file faults.ini)
      set(expected ${PMX_CHECK_SETTINGS_DIR}/expected/faults.txt)
      set(code 1)
    endif()
    add_test(NAME ${prefix}.${case}
      COMMAND ${CMAKE_COMMAND} "-DCOMMAND=${command_list}" "-DARGUMENT=${switch}${file}"
              -DFOLDER=${folder} -DEXPECTED=${expected} -DEXPECTED_CODE=${code}
              -P ${PMX_CHECK_SETTINGS_DIR}/run_check.cmake)
  endforeach()
endfunction()
