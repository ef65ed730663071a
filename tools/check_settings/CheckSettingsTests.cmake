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
      COMMAND ${CMAKE_COMMAND} "-DCOMMAND=${command_list}" "-DARGUMENTS=${switch}${file}"
              -DFOLDER=${folder} -DEXPECTED=${expected} -DEXPECTED_CODE=${code}
              -P ${PMX_CHECK_SETTINGS_DIR}/run_check.cmake)
  endforeach()
endfunction()

# The exe's switch as people write it (the emulator quotes an argument with blanks, as Windows
# argument builders do): each form checks the file it names, with the report the native tool
# gives for that file; words after the file that are no switch are an error (exit code 2).
#
#   pmx_add_settings_switch_tests(<prefix> <command>...)
function(pmx_add_settings_switch_tests prefix)
  string(REPLACE ";" "|" command_list "${ARGN}")
  set(folder ${CMAKE_CURRENT_BINARY_DIR}/switch-forms)
  set(case ${PMX_CHECK_SETTINGS_DIR}/cases/15-faults)
  configure_file(${case}.ini "${folder}/with blank.ini" COPYONLY)
  configure_file(${case}.ini ${folder}/15-faults.ini COPYONLY)
  file(READ ${case}.txt report)
  string(REPLACE "15-faults.ini" "with blank.ini" renamed "${report}")
  file(WRITE ${folder}/blank.txt "${renamed}")
  file(WRITE ${folder}/unquoted.txt "PMXTouchKeyboard /CheckSettings: blank.ini follows the file name: "
    "write a file name with blanks in double quotes, /CheckSettings:\"my panel.ini\"\n")
  foreach(form IN ITEMS "blank-after-colon|/CheckSettings:|15-faults.ini|${case}.txt|1"
                        "value-quoted|/CheckSettings:|with blank.ini|${folder}/blank.txt|1"
                        "switch-quoted|/CheckSettings:with blank.ini|${folder}/blank.txt|1"
                        "equals|/CheckSettings=with blank.ini|${folder}/blank.txt|1"
                        "unquoted-blank|/CheckSettings:with|blank.ini|${folder}/unquoted.txt|2")
    string(REPLACE "|" ";" parts "${form}")
    list(GET parts 0 name)
    list(SUBLIST parts 1 -1 rest)
    list(POP_BACK rest code)
    list(POP_BACK rest expected)
    string(REPLACE ";" "|" arguments "${rest}")
    add_test(NAME ${prefix}.${name}
      COMMAND ${CMAKE_COMMAND} "-DCOMMAND=${command_list}" "-DARGUMENTS=${arguments}"
              -DFOLDER=${folder} -DEXPECTED=${expected} -DEXPECTED_CODE=${code}
              -P ${PMX_CHECK_SETTINGS_DIR}/run_check.cmake)
  endforeach()
endfunction()
