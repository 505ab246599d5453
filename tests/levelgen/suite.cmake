# The level tool's description reader, built into the suite that tests it.
target_sources(tests_levelgen PRIVATE ${CMAKE_SOURCE_DIR}/tools/levelgen/level_text.cpp)
