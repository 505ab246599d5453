# sfxgen needs only the platform layer (files); linking just that keeps it building while other
# layers are in flux.
set_property(TARGET sfxgen PROPERTY LINK_LIBRARIES korvelin_platform)

# The build writes the effects into the game folder's "sounds" (named by data\sound_fx.yml).
# The stamp stands for the whole set: a new sfxgen writes them all again.
set(KORVELIN_SOUNDS_STAMP ${CMAKE_BINARY_DIR}/stamps/sounds.stamp)
add_custom_command(
  OUTPUT ${KORVELIN_SOUNDS_STAMP}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${KORVELIN_GAME_DIR} ${CMAKE_BINARY_DIR}/stamps
  COMMAND sfxgen ${KORVELIN_GAME_DIR}/sounds
  COMMAND ${CMAKE_COMMAND} -E touch ${KORVELIN_SOUNDS_STAMP}
  DEPENDS sfxgen
  COMMENT "Synthesising the sound effects into the game folder"
  VERBATIM)
add_custom_target(game_sounds ALL DEPENDS ${KORVELIN_SOUNDS_STAMP})
add_dependencies(game_data game_sounds)

