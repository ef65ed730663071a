# Tests that run a settings checker (the native tool, or PMXTouchKeyboard.exe /CheckSettings:
# under Wine) on the two sample files and on every file of cases/, and compare report and exit code
# with the recorded ones: cases/<name>.txt, exit code 1 when it reports an error. The unit tests
# hold the core's checker against the same files.
#
#   pmx_add_settings_check_tests(<prefix> <switch> <command>...)
#
# The command gets the file name appended to <switch> ("" for the tool, "/CheckSettings:" for
# the exe); it runs in the folder of the file, so that both print the same name.
set(PMX_CHECK_SETTINGS_DIR ${CMAKE_CURRENT_LIST_DIR})

function(pmx_add_settings_check_tests prefix switch)
  set(command ${ARGN})
  string(REPLACE ";" "|" command_list "${command}")
  set(cases ${PMX_CHECK_SETTINGS_DIR}/cases)
  file(GLOB files CONFIGURE_DEPENDS ${cases}/*.ini)
  list(APPEND files ${PROJECT_SOURCE_DIR}/examples/QD4TouchKeyboard.ini
    ${PROJECT_SOURCE_DIR}/examples/unicode/QD4TouchKeyboard.ini)
  foreach(path IN LISTS files)
    get_filename_component(folder ${path} DIRECTORY)
    get_filename_component(file ${path} NAME)
    get_filename_component(case ${path} NAME_WE)
    if(case STREQUAL "QD4TouchKeyboard")  # the samples
      get_filename_component(kind ${folder} NAME)
      set(case sample)
      if(kind STREQUAL "unicode")
        set(case sample-unicode)
      endif()
    endif()
    set(expected ${cases}/${case}.txt)
    file(READ ${expected} report)
    string(FIND "${report}" ": error: " error)
    if(error EQUAL -1)
      set(code 0)
    else()
      set(code 1)
    endif()
    add_test(NAME ${prefix}.${case}
      COMMAND ${CMAKE_COMMAND} "-DCOMMAND=${command_list}" "-DARGUMENT=${switch}${file}"
              -DFOLDER=${folder} -DEXPECTED=${expected} -DEXPECTED_CODE=${code}
              -P ${PMX_CHECK_SETTINGS_DIR}/run_check.cmake)
  endforeach()
endfunction()
