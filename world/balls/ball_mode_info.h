#pragma once
// What each of the nine ball modes is made of: its look (mesh, scale, shaders), its kick sound,
// and the body it gives its ball (radius, mass, collision kind). Every mode's body speed is
// BALL_BODY_SPEED. Indices are those of CreateBallMode.
#include <array>
#include <string_view>

constexpr int BALL_MODE_COUNT = 9;
constexpr float BALL_BODY_SPEED = 10.0f;

enum BallModeIndex {
    BALL_NORMAL = 0,
    BALL_HEAVY = 1,
    BALL_PHANTOM = 2,
    BALL_FIRE = 3,
    BALL_EXPLOSIVE = 4,
    BALL_ELECTRO = 5,
    BALL_GENERATIVE = 6,
    BALL_UNIVERSAL = 7,
    BALL_SMALL = 8,
};

struct YBallModeInfo {
    std::string_view mesh;
    float meshScale;
    std::array<std::string_view, 2> shaders; // an empty second name: one shader
    std::string_view kickSound;
    float radius;
    float mass;          // the universal mode takes its inner mode's
    int collisionKind;   // 2: passes through every body that is not a ball sphere
    bool countsForRound; // small balls alone do not keep a round alive
    bool superHit;       // destroys blocks outright
    float crownFactor;   // half size of the crown in radii; 0: no crown
    std::string_view crownShader;
};

// The record of mode `index`; an index outside 0..8 gives the normal mode's.
const YBallModeInfo& BallModeInfo(int index);
