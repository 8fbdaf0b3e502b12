# GoogleTest from Debian's source package, built for whatever target this is,
# so the MinGW builds get their own copy. Discovery runs at test time, through
# Wine for the Windows targets (CMAKE_CROSSCOMPILING_EMULATOR).
if(TARNELL_TESTS)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  # The MinGW compilers with Win32 threads lack what GoogleTest's own
  # Notification is built from; it gets a simpler one.
  if(WIN32)
    add_compile_options("$<$<COMPILE_LANGUAGE:CXX>:SHELL:-include ${PROJECT_SOURCE_DIR}/tests/support/gtest_notification.h>")
  endif()
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  include(GoogleTest)
endif()

# tarnell_test(NAME SOURCES... [LIBS libs...] [FOLDERS src folders...]
# [INCLUDES dirs...] [TIMEOUT seconds] [PROPERTIES name value...]): one
# GoogleTest executable with one ctest entry per test, so a test that kills
# its process loses only itself. FOLDERS gives it the headers of src/
# folders it compiles sources of; INCLUDES other folders; TIMEOUT replaces
# the test command's default limit for each of its tests; PROPERTIES are
# more ctest properties of each.
function(tarnell_test name)
  if(NOT TARNELL_TESTS)
    return()
  endif()
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;FOLDERS;INCLUDES;PROPERTIES" ${ARGN})
  add_executable(${name} ${T_SOURCES} ${T_UNPARSED_ARGUMENTS})
  if(T_FOLDERS)
    tarnell_header_view(${name} PRIVATE FOLDERS ${T_FOLDERS})
  endif()
  target_include_directories(${name} PRIVATE ${T_INCLUDES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  target_compile_definitions(${name} PRIVATE TARNELL_TESTDATA="${TARNELL_TESTDATA}"
                                             TARNELL_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  if(WIN32)
    target_link_options(${name} PRIVATE -mconsole)
  endif()
  tarnell_warnings(${name})
  set(timeout)
  if(T_TIMEOUT)
    set(timeout TIMEOUT ${T_TIMEOUT})
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                       PROPERTIES ENVIRONMENT "TARNELL_TEST_TMP=${CMAKE_BINARY_DIR}/test-tmp" ${timeout} ${T_PROPERTIES})
endfunction()
