# Benchmarks: every bench/<name>.cpp is a Google Benchmark program (not run by ctest). Helpers
# shared by benchmarks live in bench/support/.
find_package(benchmark QUIET)
if(benchmark_FOUND)
  file(GLOB bench_srcs CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
  foreach(src IN LISTS bench_srcs)
    get_filename_component(name ${src} NAME_WE)
    add_executable(bench_${name} ${src} ${CMAKE_SOURCE_DIR}/bench/support/bench_render.cpp)
    target_include_directories(bench_${name} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/bench)
    target_compile_definitions(bench_${name} PRIVATE KORVELIN_GAME_DIR="${KORVELIN_GAME_DIR}")
    target_link_libraries(bench_${name} PRIVATE ${KORVELIN_ALL_LAYERS} benchmark::benchmark)
    # The game frame, level run and level start benchmarks have their own main (the game kept
    # across runs; one benchmark per shipped level; a child process per case), count every heap
    # allocation of the process and run on the shipped data in a scratch game folder.
    if(name STREQUAL "game_frame" OR name STREQUAL "level_run" OR name STREQUAL "level_start")
      target_sources(bench_${name} PRIVATE ${CMAKE_SOURCE_DIR}/bench/support/alloc_counter.cpp
                                           ${CMAKE_SOURCE_DIR}/bench/support/scratch_game.cpp)
      add_dependencies(bench_${name} game_data)
    else()
      target_link_libraries(bench_${name} PRIVATE benchmark::benchmark_main)
    endif()
    # The world frame benchmark counts the allocations of its frames.
    if(name STREQUAL "ball_world")
      target_sources(bench_${name} PRIVATE ${CMAKE_SOURCE_DIR}/bench/support/alloc_counter.cpp)
    endif()
  endforeach()
endif()
