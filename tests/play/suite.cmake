# The play tests also run the playrun tool as a whole program.
add_dependencies(tests_play playrun)
target_compile_definitions(tests_play PRIVATE KORVELIN_PLAYRUN="$<TARGET_FILE:playrun>")
