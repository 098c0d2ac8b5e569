include(GoogleTest)
find_package(GTest REQUIRED)

# torvane_add_test(NAME src...) makes one GoogleTest executable linked with the whole engine.
# Test support code in tests/support (GL fixture, death-test helpers) is always available.
function(torvane_add_test name)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE torvane_engine torvane_test_support GTest::gtest GTest::gtest_main GTest::gmock)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    PROPERTIES ENVIRONMENT "TORVANE_SOURCE_DIR=${PROJECT_SOURCE_DIR};TORVANE_BINARY_DIR=${PROJECT_BINARY_DIR};SDL_AUDIODRIVER=dummy")
endfunction()
