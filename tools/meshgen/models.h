#pragma once
// The game's models, by the file name the game asks for.
#include <functional>
#include <string>
#include <vector>

#include "tools/meshgen/mesh_builder.h"

namespace meshgen {

struct Model {
    std::string file;                  // as the game names it, e.g. "mesh\ball2.mes"
    std::function<std::string()> text; // the file's content
};

// Every model the generator writes.
const std::vector<Model>& Models();

// The builders, grouped by where the game uses them.
MeshBuilder BallNormal();
MeshBuilder BallHeavy();
MeshBuilder BallPhantom();
MeshBuilder BallSatellites();
MeshBuilder BonusDisk();
MeshBuilder Bomb();
MeshBuilder Grenade();
MeshBuilder Boomerang();
MeshBuilder Pipe();
MeshBuilder TablePyramid();
MeshBuilder TableBorder();
MeshBuilder PickerWheel(int which);

// The racket's character, a skinned model (see hero_model.h).
std::string HeroText();

} // namespace meshgen
