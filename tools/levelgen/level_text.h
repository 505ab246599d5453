#pragma once
// The level tool's text description of a level, one command per line ('#' starts a comment):
//
//   table <width> <depth> [<table material>]    default 20 20 default
//   environment <name>                          a sky box folder under "env"; default: the first
//   scale <x> <y> <z>                           world units per cell; default 1 1 1
//   bonus <kind> <count>                        bonuses of that kind handed out at random
//                                               (the file's count of a kind holds these and the
//                                               blocks placed with that kind)
//   old-layout [centre]                         write the old layout (one set, no matrix)
//   set <x> <y> <z> [turn <degrees>]            a new glued set, its grid origin placed there
//   block <x> <y> <z> <sx> <sy> <sz> <material> [glue=<g>] [bonus=<kind>]
//   box <x> <y> <z> <nx> <ny> <nz> <material> [glue=<g>] [bonus=<kind>]
//                                               nx * ny * nz blocks of one cell (bonus on the first)
//
// Blocks belong to the last "set"; cells are whole numbers, the lowest corner of the block.
#include <string>

#include "world/level/level_file.h"

// Reads a description; false with "line N: reason" in `error` on the first bad line.
bool ParseLevelText(const std::string& text, YLevelData& level, std::string& error);
