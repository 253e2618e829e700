# Source and test conventions shared by every directory.
#
# Sources: src/lib, src/convert and src/net hold the portable core; there a file ending in _win32.cpp
# is Windows-only and one ending in _posix.cpp native-only. src/ui, src/shell, src/setup and src/browse
# are Windows-only, except the files named in portable_files (src/browse/filetools.cpp: the walkers
# use only the library's file operations; src/ui/prompter.cpp: the message-box seam the portable core
# asks through, with its native default). Files ending in _main.cpp are program entries and stay out
# of the library.
#
# Tests: in tests/<dir>/, *_test.cpp runs in both builds, *_win32_test.cpp under Wine only, and
# *_gui_test.cpp under Wine with a private Xvfb display. Each test file becomes one ctest entry
# (a --gtest_filter over the suites it defines), labelled native, wine, gui or e2e.

function(setup_collect_sources out)
  set(portable_dirs src/lib src/convert src/net)
  set(windows_dirs src/ui src/shell src/setup src/browse)
  set(portable_files src/browse/filetools.cpp src/ui/prompter.cpp)
  set(result)
  foreach(f ${portable_files})
    list(APPEND result ${PROJECT_SOURCE_DIR}/${f})
  endforeach()
  foreach(dir ${portable_dirs})
    file(GLOB files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${dir}/*.cpp)
    foreach(f ${files})
      if(f MATCHES "_main\\.cpp$")
        continue()
      elseif(f MATCHES "_win32\\.cpp$")
        if(SETUP_WINDOWS)
          list(APPEND result ${f})
        endif()
      elseif(f MATCHES "_posix\\.cpp$")
        if(NOT SETUP_WINDOWS)
          list(APPEND result ${f})
        endif()
      else()
        list(APPEND result ${f})
      endif()
    endforeach()
  endforeach()
  if(SETUP_WINDOWS)
    foreach(dir ${windows_dirs})
      file(GLOB_RECURSE files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${dir}/*.cpp)
      list(FILTER files EXCLUDE REGEX "_main\\.cpp$")
      list(APPEND result ${files})
    endforeach()
    list(REMOVE_DUPLICATES result)
  endif()
  set(${out} ${result} PARENT_SCOPE)
endfunction()

# The suites a test file defines, as a gtest filter ("A.*:B.*"); parameterised suites match with
# their instantiation prefix.
function(setup_test_filter file out)
  # The filter is worked out here, at configure time: re-configure when the file changes, or a renamed
  # suite would silently run no test at all.
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${file})
  file(STRINGS ${file} lines REGEX "^[ \t]*(TEST|TEST_F|TEST_P|TYPED_TEST)[ \t]*\\(")
  set(suites)
  foreach(line ${lines})
    string(REGEX REPLACE "^[ \t]*(TEST|TEST_F|TEST_P|TYPED_TEST)[ \t]*\\([ \t]*([A-Za-z0-9_]+).*" "\\1;\\2"
                         parts "${line}")
    list(GET parts 0 kind)
    list(GET parts 1 suite)
    if(kind STREQUAL "TEST_P")
      list(APPEND suites "*/${suite}.*")
    else()
      list(APPEND suites "${suite}.*")
    endif()
  endforeach()
  list(REMOVE_DUPLICATES suites)
  list(JOIN suites ":" filter)
  set(${out} "${filter}" PARENT_SCOPE)
endfunction()

# The shared X display of a test run: started before the first window test, stopped after the last.
function(setup_add_display_fixture)
  if(TEST display/start)
    return()
  endif()
  set(state ${PROJECT_BINARY_DIR}/display.state)
  add_test(NAME display/start COMMAND ${PROJECT_SOURCE_DIR}/cmake/display-fixture.sh start ${state})
  add_test(NAME display/stop COMMAND ${PROJECT_SOURCE_DIR}/cmake/display-fixture.sh stop ${state}
                                     ${SETUP_WINE_PREFIX})
  set_tests_properties(display/start PROPERTIES FIXTURES_SETUP display LABELS gui)
  set_tests_properties(display/stop PROPERTIES FIXTURES_CLEANUP display LABELS gui)
  set(SETUP_DISPLAY_STATE ${state} PARENT_SCOPE)
endfunction()

# One test program from several files; one ctest entry per file.
#   setup_add_tests(NAME exe LABEL label [DISPLAY] [TIMEOUT s] SOURCES files... [SUPPORT files...])
function(setup_add_tests)
  cmake_parse_arguments(T "DISPLAY" "NAME;LABEL;TIMEOUT" "SOURCES;SUPPORT;LIBS" ${ARGN})
  if(NOT T_SOURCES)
    return()
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_executable(${T_NAME} ${T_SOURCES} ${T_SUPPORT})
  target_link_libraries(${T_NAME} PRIVATE setuplib ${T_LIBS} GTest::gmock GTest::gtest_main)
  target_include_directories(${T_NAME} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  foreach(src ${T_SOURCES})
    setup_test_filter(${src} filter)
    if(filter STREQUAL "")
      continue()
    endif()
    file(RELATIVE_PATH rel ${PROJECT_SOURCE_DIR}/tests ${src})
    string(REGEX REPLACE "\\.cpp$" "" testname "${rel}")
    if(SETUP_WINDOWS)
      # Every Wine process of the prefix shares one wineserver and its desktop, so all Windows tests
      # run on the run's shared display, not only the window tests.
      add_test(NAME ${testname}
               COMMAND ${PROJECT_SOURCE_DIR}/cmake/with-display.sh ${CMAKE_CROSSCOMPILING_EMULATOR}
                       $<TARGET_FILE:${T_NAME}> --gtest_filter=${filter})
    else()
      add_test(NAME ${testname} COMMAND ${T_NAME} --gtest_filter=${filter})
    endif()
    set_tests_properties(${testname} PROPERTIES LABELS "${T_LABEL}" TIMEOUT ${T_TIMEOUT}
                         ENVIRONMENT "SETUP_SCREENS=${SETUP_SCREENS};SETUP_SOURCE=${PROJECT_SOURCE_DIR};SETUP_BUILD=${PROJECT_BINARY_DIR};SETUP_DISPLAY_STATE=${SETUP_DISPLAY_STATE}")
    if(SETUP_WINDOWS)
      set_tests_properties(${testname} PROPERTIES FIXTURES_REQUIRED display)
    endif()
    if(T_DISPLAY)
      # Window tests take turns: they would steal each other's focus and activation.
      set_tests_properties(${testname} PROPERTIES RESOURCE_LOCK display)
    endif()
  endforeach()
endfunction()
