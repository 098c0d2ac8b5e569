include(GoogleTest)
find_package(GTest REQUIRED)

# torvane_add_test(NAME [SERIAL] src...) makes one GoogleTest executable linked with the whole
# engine. Test support code in tests/support (GL fixture, death-test helpers) is always available.
# SERIAL tests run alone: they drive real windows and time what they see, which other tests
# running beside them on two cores would slow down.
function(torvane_add_test name)
  cmake_parse_arguments(ARG "SERIAL" "" "" ${ARGN})
  add_executable(${name} ${ARG_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE torvane_engine torvane_test_support torvane_tool_support GTest::gtest GTest::gtest_main GTest::gmock)
  set(properties)
  if(ARG_SERIAL)
    set(properties PROPERTIES RUN_SERIAL TRUE)
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR} ${properties})
endfunction()
