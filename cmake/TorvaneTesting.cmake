include(GoogleTest)
find_package(GTest REQUIRED)

# torvane_add_test(NAME TIER [SERIAL] src...) makes one GoogleTest executable linked with the whole
# engine. Test support code in tests/support (GL fixture, death-test helpers) is always available.
# TIER is the CTest label of all its tests, one of:
#   unit     no display needed, or only for a hidden GL context's stand-in (quick, deterministic)
#   gl       draws through a GL context on the virtual display
#   desktop  drives real windows against the clock (clicks, keys, display modes); run alone
#   long     plays or rebuilds a whole production
# (fuzz-replay, the fuzz targets' seed replays, is fuzz/'s). `ctest -L unit` runs a tier,
# `-LE long` leaves one out. SERIAL tests run alone: they drive real windows and time what they
# see, which other tests running beside them on two cores would slow down.
set(TORVANE_TEST_TIERS unit gl desktop long)
# A build that runs only some tiers (the sanitized one) leaves the others' executables out of
# `all`: each links the whole engine, which is most of such a build's time. ctest then lists their
# tests as one unlabelled NOT_BUILT entry each, which a -L filter leaves out.
set(TORVANE_BUILT_TEST_TIERS ${TORVANE_TEST_TIERS} CACHE STRING "Test tiers whose executables `all` builds")
function(torvane_add_test name tier)
  cmake_parse_arguments(ARG "SERIAL" "" "" ${ARGN})
  if(NOT tier IN_LIST TORVANE_TEST_TIERS)
    message(FATAL_ERROR "${name}: the tier must be one of ${TORVANE_TEST_TIERS}, not '${tier}'")
  endif()
  set(unbuilt)
  if(NOT tier IN_LIST TORVANE_BUILT_TEST_TIERS)
    set(unbuilt EXCLUDE_FROM_ALL)
  endif()
  add_executable(${name} ${unbuilt} ${ARG_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE torvane_engine torvane_test_support torvane_tool_support GTest::gtest GTest::gtest_main GTest::gmock)
  set(properties PROPERTIES LABELS ${tier})
  if(ARG_SERIAL)
    list(APPEND properties RUN_SERIAL TRUE)
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR} ${properties})
endfunction()
