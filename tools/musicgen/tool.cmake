# musicgen needs only the platform layer (files, threads) and libvorbisenc; linking just these
# keeps it building while other layers are in flux. vorbisenc's pkg-config file names libvorbis
# only as a private requirement, so that is asked for here as well.
set_property(TARGET musicgen PROPERTY LINK_LIBRARIES korvelin_platform)
pkg_check_modules(MUSICGEN_VORBIS IMPORTED_TARGET vorbis ogg)
if(TARGET PkgConfig::VORBISENC AND TARGET PkgConfig::MUSICGEN_VORBIS)
  target_link_libraries(musicgen PRIVATE PkgConfig::VORBISENC PkgConfig::MUSICGEN_VORBIS)

  # The build writes the tracks into the game folder's "music", the folder the music player lists.
  set(KORVELIN_MUSIC_STAMP ${CMAKE_BINARY_DIR}/stamps/music.stamp)
  add_custom_command(
    OUTPUT ${KORVELIN_MUSIC_STAMP}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${KORVELIN_GAME_DIR} ${CMAKE_BINARY_DIR}/stamps
    COMMAND musicgen ${KORVELIN_GAME_DIR}/music
    COMMAND ${CMAKE_COMMAND} -E touch ${KORVELIN_MUSIC_STAMP}
    DEPENDS musicgen
    COMMENT "Composing the music tracks into the game folder"
    VERBATIM)
  add_custom_target(game_music ALL DEPENDS ${KORVELIN_MUSIC_STAMP})
  add_dependencies(game_data game_music)
else()
  message(WARNING "vorbisenc not found: the music tracks will not be generated")
  set_target_properties(musicgen PROPERTIES EXCLUDE_FROM_ALL TRUE)
endif()
