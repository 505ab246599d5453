# texgen needs only the platform layer (files, images, threads) and FreeType for the slides'
# lettering; linking just that keeps it building while other layers are in flux.
set_property(TARGET texgen PROPERTY LINK_LIBRARIES korvelin_platform)

if(NOT TARGET PkgConfig::FREETYPE)
  message(WARNING "FreeType not found (libfreetype-dev): the game folder gets no sky boxes, textures or slides")
  set_target_properties(texgen PROPERTIES EXCLUDE_FROM_ALL TRUE)
  return()
endif()
target_link_libraries(texgen PRIVATE PkgConfig::FREETYPE)

set(KORVELIN_DEJAVU_DIR /usr/share/fonts/truetype/dejavu CACHE PATH "Folder of the DejaVu TrueType fonts")

# The build draws the sky boxes ("env"), the textures ("textures") and the splash slides ("splash")
# into the game folder. The stamp stands for the whole set: a new texgen draws them all again.
set(KORVELIN_PICTURES_STAMP ${CMAKE_BINARY_DIR}/stamps/pictures.stamp)
add_custom_command(
  OUTPUT ${KORVELIN_PICTURES_STAMP}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${KORVELIN_GAME_DIR} ${CMAKE_BINARY_DIR}/stamps
  COMMAND texgen --fonts ${KORVELIN_DEJAVU_DIR} ${KORVELIN_GAME_DIR}
  COMMAND ${CMAKE_COMMAND} -E touch ${KORVELIN_PICTURES_STAMP}
  DEPENDS texgen
  COMMENT "Drawing the sky boxes, textures and splash slides into the game folder"
  VERBATIM)
add_custom_target(game_pictures ALL DEPENDS ${KORVELIN_PICTURES_STAMP})
add_dependencies(game_data game_pictures)
