# The game's models: meshgen writes mesh/*.mes and mesh/hero.ams into the game folder (the game
# makes their binary caches itself on first load). It runs at every build: it takes a fraction of
# a second, rewrites only files whose content changed (removing their stale caches), and so also
# restores files deleted from the game folder.
add_custom_target(game_meshes ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${KORVELIN_GAME_DIR}
  COMMAND meshgen ${KORVELIN_GAME_DIR}
  DEPENDS meshgen
  COMMENT "Generating the game's meshes"
  VERBATIM)
add_dependencies(game_data game_meshes)
