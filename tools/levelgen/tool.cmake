# The build writes the starter levels ("levels\*.lev") into the game folder from their text
# descriptions.
file(GLOB KORVELIN_LEVEL_TEXTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/levelgen/levels/*.txt)
set(levelgen_stamp ${CMAKE_BINARY_DIR}/stamps/game_levels.stamp)
add_custom_command(
  OUTPUT ${levelgen_stamp}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${KORVELIN_GAME_DIR} ${CMAKE_BINARY_DIR}/stamps
  COMMAND levelgen ${CMAKE_SOURCE_DIR}/tools/levelgen/levels ${KORVELIN_GAME_DIR}
  COMMAND ${CMAKE_COMMAND} -E touch ${levelgen_stamp}
  DEPENDS levelgen ${KORVELIN_LEVEL_TEXTS}
  COMMENT "Writing the starter levels into the game folder"
  VERBATIM)
add_custom_target(game_levels ALL DEPENDS ${levelgen_stamp})
add_dependencies(game_data game_levels)
