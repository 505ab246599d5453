# The build makes the levels whose console scripts stand in tools/editorscript/levels, by running
# them through the level editor's console, into the game folder.
file(GLOB KORVELIN_EDITOR_SCRIPTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tools/editorscript/levels/*.con)
set(editorscript_stamp ${CMAKE_BINARY_DIR}/stamps/editor_levels.stamp)
add_custom_command(
  OUTPUT ${editorscript_stamp}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${KORVELIN_GAME_DIR} ${CMAKE_BINARY_DIR}/stamps
  COMMAND editorscript ${CMAKE_SOURCE_DIR}/tools/editorscript/levels ${CMAKE_SOURCE_DIR}/assets/data/blocks.yml
          ${KORVELIN_GAME_DIR}
  COMMAND ${CMAKE_COMMAND} -E touch ${editorscript_stamp}
  DEPENDS editorscript ${KORVELIN_EDITOR_SCRIPTS} ${CMAKE_SOURCE_DIR}/assets/data/blocks.yml
  COMMENT "Making the editor-scripted levels in the game folder"
  VERBATIM)
add_custom_target(editor_levels ALL DEPENDS ${editorscript_stamp})
add_dependencies(game_data editor_levels)
