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
# into the game folder.
korvelin_generate(game_pictures texgen "Drawing the sky boxes, textures and splash slides into the game folder"
  --fonts ${KORVELIN_DEJAVU_DIR} ${KORVELIN_GAME_DIR})
