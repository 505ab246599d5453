# One GoogleTest executable per folder under tests/; tests that need a display live in folders
# whose name ends in _gl and carry the ctest label "gl".
find_package(GTest REQUIRED)
include(GoogleTest)
file(GLOB test_dirs LIST_DIRECTORIES true ${CMAKE_SOURCE_DIR}/tests/*)
foreach(dir IN LISTS test_dirs)
  if(NOT IS_DIRECTORY ${dir})
    continue()
  endif()
  get_filename_component(suite ${dir} NAME)
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(NOT srcs)
    continue()
  endif()
  add_executable(tests_${suite} ${srcs})
  target_include_directories(tests_${suite} PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(tests_${suite} PRIVATE ${KORVELIN_ALL_LAYERS} GTest::gtest GTest::gtest_main GTest::gmock)
  # A suite may add to its executable (sources of the tool it tests, say).
  if(EXISTS ${dir}/suite.cmake)
    include(${dir}/suite.cmake)
  endif()
  target_compile_definitions(tests_${suite} PRIVATE
    KORVELIN_SOURCE_DIR="${CMAKE_SOURCE_DIR}" KORVELIN_GAME_DIR="${KORVELIN_GAME_DIR}"
    KORVELIN_EXE="$<TARGET_FILE:korvelin>")
  set(labels unit)
  if(suite MATCHES "_gl$" OR suite STREQUAL "integration")
    set(labels gl)
  endif()
  # These suites read the assembled game folder.
  if(suite STREQUAL "integration")
    add_dependencies(tests_${suite} korvelin game_data)
  elseif(suite STREQUAL "content" OR suite STREQUAL "play" OR suite MATCHES "_gl$")
    add_dependencies(tests_${suite} game_data)
  endif()
  # The end-to-end runs start whole programs with their windows and timeouts; they run one at a
  # time so that a loaded machine does not starve them.
  set(serial FALSE)
  if(suite STREQUAL "integration")
    set(serial TRUE)
  endif()
  gtest_discover_tests(tests_${suite} WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    PROPERTIES LABELS "${labels}" RUN_SERIAL ${serial} DISCOVERY_TIMEOUT 60)
endforeach()
