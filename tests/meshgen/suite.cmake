# The hero generator's code, built into the suite that tests it.
target_sources(tests_meshgen PRIVATE
  ${CMAKE_SOURCE_DIR}/tools/meshgen/hero_model.cpp
  ${CMAKE_SOURCE_DIR}/tools/meshgen/hero_body.cpp
  ${CMAKE_SOURCE_DIR}/tools/meshgen/hero_poses.cpp
  ${CMAKE_SOURCE_DIR}/tools/meshgen/hero_skin.cpp
  ${CMAKE_SOURCE_DIR}/tools/meshgen/mesh_builder.cpp)
