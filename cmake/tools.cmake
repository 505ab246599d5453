# Content generators: every folder tools/<name>/ builds the program <name>.

# korvelin_generate(target tool comment args...): runs `tool args...` into the game folder when the
# tool is built anew, as the ALL target `target` that game_data waits for. A stamp stands for the
# whole set of files the tool writes.
function(korvelin_generate target tool comment)
  set(stamp ${CMAKE_BINARY_DIR}/stamps/${target}.stamp)
  add_custom_command(
    OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${KORVELIN_GAME_DIR} ${CMAKE_BINARY_DIR}/stamps
    COMMAND ${tool} ${ARGN}
    COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
    DEPENDS ${tool}
    COMMENT "${comment}"
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${stamp})
  add_dependencies(game_data ${target})
endfunction()

file(GLOB tool_dirs LIST_DIRECTORIES true ${CMAKE_SOURCE_DIR}/tools/*)
foreach(dir IN LISTS tool_dirs)
  if(NOT IS_DIRECTORY ${dir})
    continue()
  endif()
  get_filename_component(tool ${dir} NAME)
  file(GLOB_RECURSE srcs CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(NOT srcs)
    continue()
  endif()
  add_executable(${tool} ${srcs})
  target_include_directories(${tool} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(${tool} PRIVATE ${KORVELIN_ALL_LAYERS})
  if(EXISTS ${dir}/tool.cmake)
    include(${dir}/tool.cmake)
  endif()
endforeach()
