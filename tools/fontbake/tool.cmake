# Bitmap fonts of the game folder, rendered by fontbake from Debian's DejaVu fonts
# (fonts-dejavu-core; the condensed face from fonts-dejavu-extra): fonts/<name>.dat (glyph data)
# and textures/fonts/<name>.png (the texture the font's shader maps). data/fonts.yml binds each
# name to its data file and shader.
if(NOT TARGET PkgConfig::FREETYPE)
  message(WARNING "FreeType not found (libfreetype-dev): the game folder gets no fonts")
  set_target_properties(fontbake PROPERTIES EXCLUDE_FROM_ALL TRUE)
  return()
endif()
target_link_libraries(fontbake PRIVATE PkgConfig::FREETYPE)

set(KORVELIN_DEJAVU_DIR /usr/share/fonts/truetype/dejavu CACHE PATH "Folder of the DejaVu TrueType fonts")

set(korvelin_font_outputs "")
# korvelin_bake_font(name file.ttf fontbake-options...)
function(korvelin_bake_font name ttf)
  set(src ${KORVELIN_DEJAVU_DIR}/${ttf})
  if(NOT EXISTS ${src})
    message(WARNING "${src} not found (fonts-dejavu-core): font ${name} is not built")
    return()
  endif()
  set(dat ${KORVELIN_GAME_DIR}/fonts/${name}.dat)
  set(png ${KORVELIN_GAME_DIR}/textures/fonts/${name}.png)
  add_custom_command(OUTPUT ${dat} ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${KORVELIN_GAME_DIR}/fonts ${KORVELIN_GAME_DIR}/textures/fonts
    COMMAND fontbake ${src} ${dat} ${png} ${ARGN}
    DEPENDS fontbake ${src}
    COMMENT "Baking font ${name}"
    VERBATIM)
  set(korvelin_font_outputs ${korvelin_font_outputs} ${dat} ${png} PARENT_SCOPE)
endfunction()

# The console, FPS text and editor status lines, with a soft shadow, as they are also drawn straight
# over the scene. Proportional and condensed, so that the editor's longest bonus lines
# ("32  9/ 9 [Generative Ball]") fit the status panel's 120 units.
korvelin_bake_font(sysfont DejaVuSansCondensed.ttf --line 32 --shadow 2 --blur 1)
# Menu and widget text.
korvelin_bake_font(default DejaVuSans.ttf --line 40 --outline 2 --blur 1)
# The HUD (score, counters, captions) and the texts floating in the scene: bold with a dark outline.
korvelin_bake_font(mainfont DejaVuSans-Bold.ttf --line 48 --outline 2.5 --blur 1)
korvelin_bake_font(billboard DejaVuSans-Bold.ttf --line 48 --outline 3 --blur 1)

add_custom_target(game_fonts ALL DEPENDS ${korvelin_font_outputs})
add_dependencies(game_data game_fonts)

