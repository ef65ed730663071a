# Tests that run a settings checker (the native tool, or PMXTouchKeyboard.exe /CheckSettings:
# under Wine) on the two sample files and on every file of cases/, and compare report and exit code
# with the recorded ones: cases/<name>.txt, exit code 1 when it reports an error. The unit tests
# hold the core's checker against the same files. The exe's report differs only where the platform
# names the characters of a double-byte code page that the checker's tables leave as bytes:
# cases/<name>.exe.txt.
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
    if(switch AND EXISTS ${cases}/${case}.exe.txt)  # the platform names double-byte characters
      set(expected ${cases}/${case}.exe.txt)
    endif()
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

# The files a check is given, as people name them: each form checks the file it names (q.ini and
# "with blank.ini" hold the faults of 15-faults.ini), or ends with exit code 2 and says why, or
# what to write instead; never a report on another file.
#
#   pmx_add_settings_switch_tests(<prefix> <command>...)   the exe's switch (/CheckSettings...)
#   pmx_add_settings_file_tests(<prefix> <command>...)     the native tool's file names
function(pmx_settings_form_tests prefix kind)
  string(REPLACE ";" "|" command_list "${ARGN}")
  set(folder ${CMAKE_CURRENT_BINARY_DIR}/settings-forms)
  set(cases ${PMX_CHECK_SETTINGS_DIR}/cases)
  configure_file(${cases}/15-faults.ini "${folder}/with blank.ini" COPYONLY)
  configure_file(${cases}/15-faults.ini ${folder}/q.ini COPYONLY)
  configure_file(${cases}/01-names-in-any-case.ini ${folder}/good.ini COPYONLY)
  file(MAKE_DIRECTORY ${folder}/folder)
  file(READ ${cases}/15-faults.txt report)
  string(REPLACE "15-faults.ini" "q.ini" q "${report}")
  string(REPLACE "15-faults.ini" "with blank.ini" blank "${report}")
  # The exe's usage begins with its version.
  file(READ ${cases}/usage.txt usage)
  file(WRITE ${folder}/usage.txt "PMXTouchKeyboard ${PMX_BUILD_VERSION}\n\n${usage}")
  file(READ ${cases}/01-names-in-any-case.txt good)
  string(REPLACE "01-names-in-any-case.ini" "good.ini" good "${good}")
  set(exe "PMXTouchKeyboard: ")
  set(empty "${exe}the file name after /CheckSettings: is empty: write /CheckSettings:<file>, or /CheckSettings alone for the QD4TouchKeyboard.ini beside the exe\n")
  foreach(text IN ITEMS
      "q|${q}" "blank|${blank}" "good-q|${good}${q}" "empty|${empty}"
      "folder|folder: cannot read the file: it is a folder\n"
      "missing|missing.ini: cannot read the file: there is no such file\n"
      "own|QD4TouchKeyboard.ini: there is no settings file beside the exe: the keyboard shows its built-in texts\n"
      "null|/dev/null: cannot read the file: it is a device, not a file\n"
      "nul|\\\\.\\NUL: cannot read the file: it is a device, not a file\n"
      "twice|${exe}/CheckSettings is given twice: check one file at a time, /CheckSettings:<file>\n"
      "no-colon|${exe}\"q.ini\" is no switch: to check it, write /CheckSettings:q.ini\n"
      "unquoted|${exe}\"blank.ini\" follows the file name: write a file name with blanks in double quotes, /CheckSettings:\"with blank.ini\"\n")
    string(FIND "${text}" "|" bar)
    string(SUBSTRING "${text}" 0 ${bar} name)
    math(EXPR bar "${bar} + 1")
    string(SUBSTRING "${text}" ${bar} -1 content)
    file(WRITE ${folder}/${name}.txt "${content}")
  endforeach()
  # name | arguments... | expected report | exit code
  if(kind STREQUAL "tool")
    set(forms "folder|folder|folder|2" "device|/dev/null|null|2" "missing|missing.ini|missing|2"
              "several|good.ini|q.ini|good-q|1" "blank|with blank.ini|blank|1")
  else()
    set(forms "slash|/CheckSettings:${folder}/q.ini|q|1"
              "slash-after-blank|/CheckSettings:|${folder}/q.ini|q|1"
              "slash-equals|/CheckSettings=${folder}/q.ini|q|1"
              "lower-case|/checksettings:q.ini|q|1" "upper-case|/CHECKSETTINGS:q.ini|q|1"
              "missing|/CheckSettings:${folder}/missing.ini|missing|2"
              "empty-quoted|/CheckSettings: |empty|2" "empty|/CheckSettings:|empty|2"
              "twice|/CheckSettings:good.ini|/CheckSettings:q.ini|twice|2"
              "no-colon|/CheckSettings|q.ini|no-colon|2" "alone|/CheckSettings|own|0"
              "help|/help|usage|0" "question|/?|usage|0"
              "folder|/CheckSettings:folder|folder|2" "device|/CheckSettings:NUL|nul|2"
              "value-quoted|/CheckSettings:|with blank.ini|blank|1"
              "switch-quoted|/CheckSettings:with blank.ini|blank|1"
              "equals|/CheckSettings=with blank.ini|blank|1"
              "unquoted-blank|/CheckSettings:with|blank.ini|unquoted|2")
  endif()
  foreach(form IN LISTS forms)
    string(REPLACE "|" ";" parts "${form}")
    list(GET parts 0 name)
    list(SUBLIST parts 1 -1 rest)
    list(POP_BACK rest code)
    list(POP_BACK rest expected)
    if(NOT IS_ABSOLUTE "${expected}")
      set(expected ${folder}/${expected})
    endif()
    string(REPLACE ";" "|" arguments "${rest}")
    add_test(NAME ${prefix}.${name}
      COMMAND ${CMAKE_COMMAND} "-DCOMMAND=${command_list}" "-DARGUMENTS=${arguments}"
              -DFOLDER=${folder} -DFOLDER2=$<TARGET_FILE_DIR:${PMX_CHECK_SETTINGS_TARGET}>
              -DEXPECTED=${expected}.txt -DEXPECTED_CODE=${code}
              -P ${PMX_CHECK_SETTINGS_DIR}/run_check.cmake)
  endforeach()
endfunction()

function(pmx_add_settings_switch_tests prefix)
  set(PMX_CHECK_SETTINGS_TARGET PMXTouchKeyboard)
  pmx_settings_form_tests(${prefix} exe ${ARGN})
endfunction()

function(pmx_add_settings_file_tests prefix)
  set(PMX_CHECK_SETTINGS_TARGET check_settings)
  pmx_settings_form_tests(${prefix} tool ${ARGN})
endfunction()
