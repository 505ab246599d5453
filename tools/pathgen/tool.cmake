# The build writes the menu camera's flight ("data\path.cpt") into the game folder.
set_property(TARGET pathgen PROPERTY LINK_LIBRARIES korvelin_platform)
korvelin_generate(game_camera_path pathgen "Writing the camera path into the game folder" ${KORVELIN_GAME_DIR})
