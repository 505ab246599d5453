# sfxgen needs only the platform layer (files); linking just that keeps it building while other
# layers are in flux.
set_property(TARGET sfxgen PROPERTY LINK_LIBRARIES korvelin_platform)

# The build writes the effects into the game folder's "sounds" (named by data\sound_fx.yml).
korvelin_generate(game_sounds sfxgen "Synthesising the sound effects into the game folder"
  ${KORVELIN_GAME_DIR}/sounds)

