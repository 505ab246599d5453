# Headless runs of starter levels as tests. They carry the label "unit", so the AddressSanitizer
# build runs them with leak checking: everything a run loads must be released by the time it ends.
if(KORVELIN_TESTS)
  add_test(NAME playrun_headless_run
    COMMAND playrun levels\\19_fortress.lev 1500 7
    WORKING_DIRECTORY ${KORVELIN_GAME_DIR})
  # The autopilot clears shipped levels (the whole table of levels and seeds is
  # scripts/autopilot-table's).
  add_test(NAME playrun_autopilot_first_steps
    COMMAND playrun --autopilot levels\\01_first_steps.lev 60000 2
    WORKING_DIRECTORY ${KORVELIN_GAME_DIR})
  add_test(NAME playrun_autopilot_dominoes
    COMMAND playrun --autopilot levels\\03_dominoes.lev 60000 5
    WORKING_DIRECTORY ${KORVELIN_GAME_DIR})
  set_tests_properties(playrun_autopilot_first_steps playrun_autopilot_dominoes PROPERTIES
    FAIL_REGULAR_EXPRESSION "outcome: (game over|running|level refused);LeakSanitizer;AddressSanitizer;runtime error")
  set_tests_properties(playrun_headless_run PROPERTIES
    FAIL_REGULAR_EXPRESSION "LeakSanitizer;AddressSanitizer;runtime error")
  set_tests_properties(playrun_headless_run playrun_autopilot_first_steps playrun_autopilot_dominoes PROPERTIES
    LABELS unit
    ENVIRONMENT "ASAN_OPTIONS=detect_leaks=1:abort_on_error=1"
    TIMEOUT 300)
endif()
