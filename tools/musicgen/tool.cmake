# musicgen needs only the platform layer (files, threads) and libvorbisenc; linking just these
# keeps it building while other layers are in flux. vorbisenc's pkg-config file names libvorbis
# only as a private requirement, so that is asked for here as well.
set_property(TARGET musicgen PROPERTY LINK_LIBRARIES korvelin_platform)
pkg_check_modules(MUSICGEN_VORBIS IMPORTED_TARGET vorbis ogg)
if(TARGET PkgConfig::VORBISENC AND TARGET PkgConfig::MUSICGEN_VORBIS)
  target_link_libraries(musicgen PRIVATE PkgConfig::VORBISENC PkgConfig::MUSICGEN_VORBIS)

  # The build writes the tracks into the game folder's "music", the folder the music player lists.
  korvelin_generate(game_music musicgen "Composing the music tracks into the game folder"
    ${KORVELIN_GAME_DIR}/music)
else()
  message(WARNING "vorbisenc not found: the music tracks will not be generated")
  set_target_properties(musicgen PROPERTIES EXCLUDE_FROM_ALL TRUE)
endif()
