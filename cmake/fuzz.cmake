# Every fuzz/<name>.cpp defines LLVMFuzzerTestOneInput. It always builds as a replay program that
# feeds each file of fuzz/corpus/<name>/ once (a ctest, so the sanitizer build replays the corpus);
# with KORVELIN_FUZZ and clang it also builds as a real libFuzzer target (scripts/fuzz runs them).
#
# In such a build every library is instrumented for coverage as well, not just the harnesses, so
# that libFuzzer sees which branches of the readers an input reaches; whatever links a library
# links the coverage runtime with it.
if(KORVELIN_FUZZ AND CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  foreach(layer IN LISTS KORVELIN_ALL_LAYERS)
    target_compile_options(${layer} PRIVATE -fsanitize=fuzzer-no-link)
    target_link_options(${layer} INTERFACE -fsanitize=fuzzer-no-link)
  endforeach()
elseif(KORVELIN_FUZZ)
  message(WARNING "KORVELIN_FUZZ needs clang: only the replay programs are built")
endif()

file(GLOB fuzz_srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/fuzz/*.cpp)
list(FILTER fuzz_srcs EXCLUDE REGEX "replay_main\\.cpp$")
foreach(src IN LISTS fuzz_srcs)
  get_filename_component(name ${src} NAME_WE)
  add_executable(replay_${name} ${src} ${CMAKE_SOURCE_DIR}/fuzz/replay_main.cpp)
  target_link_libraries(replay_${name} PRIVATE ${KORVELIN_ALL_LAYERS})
  add_test(NAME fuzz_replay_${name}
    COMMAND replay_${name} ${CMAKE_SOURCE_DIR}/fuzz/corpus/${name}
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
  set_tests_properties(fuzz_replay_${name} PROPERTIES LABELS unit)
  if(KORVELIN_FUZZ AND CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    add_executable(fuzz_${name} ${src})
    target_compile_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
    target_link_libraries(fuzz_${name} PRIVATE ${KORVELIN_ALL_LAYERS})
  endif()
endforeach()
