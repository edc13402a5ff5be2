# zavix_subsystem(NAME
#                 PORTABLE <standard C++ sources>   built everywhere, host included
#                 WINDOWS  <Win32 sources>          built only for the Windows targets
#                 POSIX    <host sources>           the host build's side of a small OS seam (log stamps)
#                 LINKS    <libraries the subsystem uses>
#                 TESTS    <portable test sources>  run on host and under wine64
#                 WINDOWS_TESTS <Win32 test sources> run under wine64
#                 TEST_LINKS <extra libraries for the tests>
#                 FIXTURES <fixture servers the tests need>)
# Makes the static library zavix_NAME and, where tests run, the test program NAME_tests whose
# GoogleTest cases ctest lists one by one. Test programs run through tools/test-run, under wine64
# for the Windows targets.

set(ZAVIX_FIXTURE_DIR ${CMAKE_BINARY_DIR}/fixtures)
if(WIN32)
  set(ZAVIX_TEST_RUNNER ${PROJECT_SOURCE_DIR}/tools/test-run --wine ${CMAKE_BINARY_DIR}/wineprefix)
  # every Windows executable of the build runs through it when a test or try_run starts it
  set(CMAKE_CROSSCOMPILING_EMULATOR ${ZAVIX_TEST_RUNNER})
else()
  set(ZAVIX_TEST_RUNNER ${PROJECT_SOURCE_DIR}/tools/test-run)
endif()

function(zavix_subsystem name)
  cmake_parse_arguments(S "" "" "PORTABLE;WINDOWS;POSIX;LINKS;TESTS;WINDOWS_TESTS;TEST_LINKS;FIXTURES" ${ARGN})
  set(sources ${S_PORTABLE})
  set(tests ${S_TESTS})
  if(WIN32)
    list(APPEND sources ${S_WINDOWS})
    list(APPEND tests ${S_WINDOWS_TESTS})
  else()
    list(APPEND sources ${S_POSIX})
  endif()
  if(sources)
    add_library(zavix_${name} STATIC ${sources})
    target_include_directories(zavix_${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(zavix_${name} PUBLIC zavix_flags ${S_LINKS})
  else()
    add_library(zavix_${name} INTERFACE)
    target_include_directories(zavix_${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(zavix_${name} INTERFACE zavix_flags ${S_LINKS})
  endif()

  if(ZAVIX_UNIT_TESTS AND tests)
    zavix_test_program(${name}_tests SOURCES ${tests} LINKS zavix_${name} ${S_TEST_LINKS} FIXTURES ${S_FIXTURES})
  endif()
endfunction()

# zavix_test_program(NAME SOURCES ... LINKS ... [FIXTURES fixture...] [PROPERTIES ctest properties...])
function(zavix_test_program name)
  cmake_parse_arguments(T "" "" "SOURCES;LINKS;FIXTURES;PROPERTIES" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE zavix_flags ${T_LINKS} gtest_main gtest)
  # set here too: the host build is not cross-compiling, so it has no default emulator
  set_target_properties(${name} PROPERTIES CROSSCOMPILING_EMULATOR "${ZAVIX_TEST_RUNNER}")
  set(props ENVIRONMENT "ZAVIX_FIXTURE_DIR=${ZAVIX_FIXTURE_DIR}")
  if(T_FIXTURES)
    list(APPEND props FIXTURES_REQUIRED "${T_FIXTURES}")
  endif()
  list(APPEND props ${T_PROPERTIES})
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    TEST_PREFIX "${name}." PROPERTIES ${props})
endfunction()

# zavix_fixture(NAME COMMAND ...): a server that tests naming NAME in FIXTURES need; "{port}" in the
# command becomes the loopback port it must listen on.
function(zavix_fixture name)
  cmake_parse_arguments(F "" "" "COMMAND" ${ARGN})
  add_test(NAME fixture.${name}.start
    COMMAND ${PROJECT_SOURCE_DIR}/tools/fixture start ${name} ${ZAVIX_FIXTURE_DIR} -- ${F_COMMAND})
  add_test(NAME fixture.${name}.stop
    COMMAND ${PROJECT_SOURCE_DIR}/tools/fixture stop ${name} ${ZAVIX_FIXTURE_DIR})
  set_tests_properties(fixture.${name}.start PROPERTIES FIXTURES_SETUP ${name})
  set_tests_properties(fixture.${name}.stop PROPERTIES FIXTURES_CLEANUP ${name})
endfunction()
