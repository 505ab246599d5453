#pragma once
// The hero's skinned mesh as the racket plays it: "mesh\hero.ams" loaded once, its pose lists and
// 25 channels set up from the animation layout, scaled to the table (x 0.02), and the parked walk's
// per-key root turns moved out of its poses into a table the racket turns the figure by.
//
// A model that is missing or has too few bones, poses or attachment points is reported once; the
// channels it cannot play are left out, missing hold points read as identity, and an empty turning
// table gives no turn.
#include <string>
#include <vector>

class YSkelMesh;

// The model file the racket loads (tests point it at a fixture before the first racket is made).
extern std::string g_HeroMeshFile;

// The set-up mesh of g_HeroMeshFile; the set-up runs once per file name. Never null.
YSkelMesh* HeroSkelMesh();

// The parked walk's root turns of a set-up mesh, one per key of its pose list (world units along
// the walk); empty when the model has no parked walk.
const std::vector<float>& HeroRootTurns(const YSkelMesh* mesh);
