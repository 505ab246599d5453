# Pages whose text the game checks carry its digest: once the game folder is assembled, the build
# stamps every shipped "about.yml" there (the copies under assets/ keep an empty "protect").
file(GLOB korvelin_protected_pages CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/assets/ui/*/about.yml)
set(korvelin_stamped_pages "")
foreach(page IN LISTS korvelin_protected_pages)
  file(RELATIVE_PATH rel ${CMAKE_SOURCE_DIR}/assets ${page})
  list(APPEND korvelin_stamped_pages ${KORVELIN_GAME_DIR}/${rel})
endforeach()
if(korvelin_stamped_pages)
  add_dependencies(game_data pagestamp)
  add_custom_command(TARGET game_data POST_BUILD
    COMMAND pagestamp ${korvelin_stamped_pages}
    COMMENT "Stamping the digests of protected pages"
    VERBATIM)
endif()
