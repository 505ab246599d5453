# A headless run of a starter level as a test. It carries the label "unit", so the AddressSanitizer
# build runs it with leak checking: everything the run loads must be released by the time it ends.
if(KORVELIN_TESTS)
  add_test(NAME playrun_headless_run
    COMMAND playrun levels\\07_fortress.lev 1500 7
    WORKING_DIRECTORY ${KORVELIN_GAME_DIR})
  set_tests_properties(playrun_headless_run PROPERTIES
    LABELS unit
    ENVIRONMENT "ASAN_OPTIONS=detect_leaks=1:abort_on_error=1"
    FAIL_REGULAR_EXPRESSION "LeakSanitizer;AddressSanitizer;runtime error"
    TIMEOUT 300)
endif()
