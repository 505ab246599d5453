#pragma once
// What the hero's body, its poses and its file share: the skeleton's joints and the form in which
// poses are authored.
//
// Everything is authored with the figure facing +y (its left at -x), where "forward" reads
// naturally; the file's figure is turned half round about z (see hero_model.h).
#include <vector>

#include "math/vector.h"
#include "render/mesh/hero_channels.h"
#include "tools/meshgen/hero_skin.h"

namespace meshgen {

inline constexpr float HERO_PI = 3.14159265f;
inline constexpr float HERO_REST_HEIGHT = 48.0f; // the pelvis above the floor

// A bone's parent and its joint (the point it turns about) at rest.
struct HeroJoint {
    int parent;
    YVector pivot;
};
extern const HeroJoint HERO_JOINTS[HERO_BONE_COUNT];

// A joint's turn, as authored: pitch about x (limbs swing forward for positive values; a forearm
// bends the elbow, a shin with negative values the knee), then roll about y (the left arm rises
// sideways for positive values, the right for negative), then yaw about z (positive turns to the
// figure's left).
struct Angles {
    float pitch = 0, roll = 0, yaw = 0;
};

// A key pose. `frames` is the length of the step that ends in it, in frames of 1/50 s (the racket
// plays its figure at 100 frames a second, so 100 frames last one second there). `root` is where
// the pelvis is.
struct Key {
    int frames = 10;
    YVector root{0, 0, HERO_REST_HEIGHT};
    Angles bone[HERO_BONE_COUNT];
};

using Animation = std::vector<Key>;

// The skin at rest, subdivided and weighted; materials: 0 shirt, 1 skin, 2 shoes and hair,
// 3 trousers.
Skin HeroBody();

// The animations in the order of HERO_ANIMATIONS.
std::vector<Animation> HeroAnimations();

} // namespace meshgen
