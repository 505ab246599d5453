#pragma once
// The racket's character, "mesh\hero.ams": a figure about 100 model units tall (2 units of the
// scene at the racket's scale of 0.02), standing on the origin with z up and facing +y.
//
// Bones (parents first):
//   0 pelvis (the root; pose root offsets place it, 48 units up at rest)
//   1 chest   2 head   3 left arm   4 right arm   5 left leg   6 right leg
// Every position follows one bone with weight 1.
//
// Attachment points (matrices relative to their bone):
//   0 in front of the chest, where balls, bombs and the boomerang are held
//   1 the right hand
//   2 the right hand's grip, where grenades are held
//   3 the mouth, the pipe's stem turned to point forward (+y)
//
// Key poses follow one another animation by animation, so each animation is a range of poses
// (MakeIntRange(first, count)); the table below gives the ranges in the order of the racket's
// channels. Looping animations wrap from their last pose to their first; every step lasts at
// least one frame. Channels that follow another's timing have as many keys as it has.
#include <array>

namespace meshgen {

struct HeroAnimation {
    const char* what;
    int firstPose;
    int poseCount;
};

// Channel k plays animation k, except channel 11, which plays animation 6 (so animation 11 has
// no poses of its own).
inline constexpr std::array<HeroAnimation, 25> HERO_ANIMATIONS = {{
    {"stand", 0, 2},
    {"slow walk (footsteps on keys 0 and 3)", 2, 6},
    {"run towards -x", 8, 6},
    {"run towards +x", 14, 6},
    {"walk", 20, 6},
    {"holding a ball", 26, 2},
    {"catching", 28, 3},
    {"hit, strong part (right side)", 31, 3},
    {"hit, weak part (right side)", 34, 3},
    {"hit, strong part (left side)", 37, 3},
    {"hit, weak part (left side)", 40, 3},
    {"(channel 11 plays animation 6)", 43, 0},
    {"ball lost", 43, 4},
    {"boomerang thrown", 47, 3},
    {"boomerang caught", 50, 2},
    {"bomb thrown", 52, 3},
    {"grenade thrown", 55, 3},
    {"standing with the pipe", 58, 2},
    {"parked walk", 60, 6},
    {"idle: stretching", 66, 3},
    {"idle: looking round", 69, 3},
    {"idle: scratching the head", 72, 3},
    {"slip forward", 75, 3},
    {"slip backward", 78, 3},
    {"slip sideways", 81, 3},
}};

inline constexpr int HERO_POSE_COUNT = 84;
inline constexpr int HERO_BONE_COUNT = 7;
inline constexpr int HERO_ATTACHMENT_COUNT = 4;

} // namespace meshgen
