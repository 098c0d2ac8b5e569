include(GoogleTest)
find_package(GTest REQUIRED)

# torvane_add_test(NAME TIER [SERIAL] src...) makes one GoogleTest executable
# linked with the whole engine. Test support code in tests/support (GL fixture, death-test helpers)
# is always available. TIER is the CTest label of all its tests, one of:
#   unit     no display needed, or only for a hidden GL context's stand-in (quick, deterministic)
#   gl       draws through a GL context on the virtual display
#   desktop  drives real windows against the clock (clicks, keys, display modes); run alone
#   long     plays or rebuilds a whole production
# (fuzz-replay, the fuzz targets' seed replays, is fuzz/'s). `ctest -L unit` runs a tier,
# `-LE long` leaves one out. SERIAL tests run alone: they drive real windows and time what they
# see, which other tests running beside them on two cores would slow down.
set(TORVANE_TEST_TIERS unit gl desktop long)
# A build that runs only some labels (each of CI's two passes) leaves the other executables out of
# `all`: each links the whole engine and compiles its tests, which is most of a build's time. ctest
# then lists their tests as one unlabelled NOT_BUILT entry each, which a -L filter leaves out.
set(TORVANE_ALL_TEST_LABELS ${TORVANE_TEST_TIERS} fuzz-replay)
set(TORVANE_BUILT_TEST_LABELS "${TORVANE_ALL_TEST_LABELS}" CACHE STRING
  "Test labels (tiers, fuzz-replay) whose executables `all` builds")
# The sanitized pass compiles test code with options of its own (see scripts/test-sanitized.sh).
set(TORVANE_TEST_COMPILE_OPTIONS "" CACHE STRING "Compile options for test code only")
option(TORVANE_TEST_PCH "Precompile the test framework's headers for the tests" OFF)

# Sets `out` to EXCLUDE_FROM_ALL when tests of that label are not built, else to nothing.
function(torvane_exclusion_for_label out label)
  set(${out} EXCLUDE_FROM_ALL PARENT_SCOPE)
  if(label IN_LIST TORVANE_BUILT_TEST_LABELS)
    set(${out} "" PARENT_SCOPE)
  endif()
endfunction()

# What every target of test code shares: its options, and the framework's headers precompiled once.
function(torvane_test_code target)
  target_compile_options(${target} PRIVATE ${TORVANE_TEST_COMPILE_OPTIONS})
  if(TORVANE_TEST_PCH)
    target_precompile_headers(${target} REUSE_FROM torvane_test_support)
  endif()
endfunction()

function(torvane_add_test name tier)
  cmake_parse_arguments(ARG "SERIAL" "" "" ${ARGN})
  if(NOT tier IN_LIST TORVANE_TEST_TIERS)
    message(FATAL_ERROR "${name}: the tier must be one of ${TORVANE_TEST_TIERS}, not '${tier}'")
  endif()
  torvane_exclusion_for_label(unbuilt ${tier})
  add_executable(${name} ${unbuilt} ${ARG_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE torvane_engine torvane_test_support torvane_tool_support GTest::gtest GTest::gtest_main GTest::gmock)
  torvane_test_code(${name})
  set(properties PROPERTIES LABELS ${tier})
  if(ARG_SERIAL)
    list(APPEND properties RUN_SERIAL TRUE)
  endif()
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR} ${properties})
endfunction()
