#pragma once
// The game's level loader: turns a level file into the world of a new level.
//
// It empties the world, reads the file through the level codec (every field checked, materials
// looked up in the block materials), sets the level scale, builds the table for the level's size
// and material, sets the environment, makes one block set per set of the file (an empty set is
// dropped; the old layout's one set is centred along x when its flag says so), hands out the
// bonuses under the current game mode and prepares the sets (splitting those that are not
// connected, deciding the visible faces).
//
// A missing, empty, truncated, oversized or malformed file is refused with one log line; the world
// then stays empty and the level does not count as cleared (AllBlocksCleared stays false until
// a level loads).
#include <string>
#include <vector>

class YBlockSet;

// Loads "levels\<name>" style paths ('\' separated, relative to the game folder). True when the
// level was loaded.
bool LoadLevel(const std::string& path);

// The block sets the last load made, in file order (owned by the block list; entries may have been
// deleted since).
const std::vector<YBlockSet*>& LevelSets();
