#pragma once
// The animation layout of the racket's character, "mesh\hero.ams": which key poses make up each
// animation, and how each of the 25 animation channels plays them. The model generator
// (tools/meshgen) writes the poses in this order; the racket builds the mesh's pose lists and
// channels from it once, after loading the mesh and before making its instance:
//
//   for every animation a, in order:   mesh->poseLists.push_back(MakeIntRange(first, count));
//   for every channel c:               mesh->SetChannel(c, sync, animation, weight, fadeIn, fadeOut,
//                                                       loop, HERO_CHANNEL_REWIND);
//                                      mesh->SetChannelBoneWeights(c, boneWeights) when not null.
//
// So pose list a is animation a. Animation 11 has no poses: channel 11 plays animation 6 (an empty
// list is never named by a channel).
//
// The figure (about 100 model units tall, 2 units of the scene at the racket's scale of 0.02)
// stands on the origin with z up and faces -y: the racket turns it half round, so it faces +y,
// the table, before its tilt. Its left is +x, its right -x.
//
// Footsteps: the racket plays a step when channel 1 moves on to key 0 or key 3. A channel at key i
// is on its way from pose i - 1 to pose i, so it moves on to key 0 just as it reaches the last
// pose and to key 3 as it reaches pose 2: the walking cycles (channels 1 to 4, which all follow
// channel 1's timing, and the parked walk) put a foot down in exactly those poses, the left foot
// in the last pose and the right in pose 2.
//
// Parked walk (channel 18): the figure walks forward (-y) round the table, and the distance covered
// since the start of the cycle is carried in each of its poses' root offset y, negative and
// growing in size pose by pose, the last pose holding the whole cycle's stride. The racket moves
// these values into its turning table and zeroes them in the poses, so it turns the figure along
// its circle itself and the pose keeps the pelvis in place.
#include <array>
#include <cstddef>
#include <cstdint>

inline constexpr int HERO_BONE_COUNT = 11;

// Bones, parents first; the pelvis is the root, whose pose root offsets place it. The first seven
// keep their numbers from the figure's first, rigid version: an arm or leg bone is now the upper
// arm or thigh, and the forearms (with the hands) and shins (with the feet) hang from them at the
// elbows and knees.
enum HeroBone {
    HERO_PELVIS,
    HERO_CHEST,
    HERO_HEAD,
    HERO_LEFT_ARM,  // upper arm, from the shoulder
    HERO_RIGHT_ARM, // upper arm, from the shoulder
    HERO_LEFT_LEG,  // thigh, from the hip
    HERO_RIGHT_LEG, // thigh, from the hip
    HERO_LEFT_FOREARM,
    HERO_RIGHT_FOREARM,
    HERO_LEFT_SHIN,
    HERO_RIGHT_SHIN,
};

inline constexpr int HERO_ATTACHMENT_COUNT = 4;

// Attachment points.
enum HeroAttachment {
    HERO_HOLD = 0,  // in front of the chest: balls, bombs and the boomerang
    HERO_HAND = 1,  // the right hand (carried by the right forearm)
    HERO_GRIP = 2,  // the right hand's grip: grenades (carried by the right forearm)
    HERO_MOUTH = 3, // the pipe, its stem along the attachment's x, pointing forward
};

// An animation: the key poses firstPose .. firstPose + poseCount - 1.
struct HeroAnimation {
    const char* what;
    int firstPose;
    int poseCount;
};

inline constexpr std::array<HeroAnimation, 25> HERO_ANIMATIONS = {{
    {"stand", 0, 2},
    {"slow walk", 2, 6},
    {"run towards -x", 8, 6},
    {"run towards +x", 14, 6},
    {"walk", 20, 6},
    {"holding in front of the chest", 26, 2},
    {"catching", 28, 3},
    {"hit on the left, strong part", 31, 3},
    {"hit on the left, weak part", 34, 3},
    {"hit on the right, strong part", 37, 3},
    {"hit on the right, weak part", 40, 3},
    {"(none: channel 11 plays animation 6)", 43, 0},
    {"ball lost", 43, 4},
    {"boomerang thrown", 47, 3},
    {"boomerang caught", 50, 2},
    {"bomb thrown", 52, 3},
    {"grenade thrown", 55, 3},
    {"standing with the pipe", 58, 2},
    {"parked walk", 60, 6},
    {"idle: looking round", 66, 4},
    {"idle: stretching the back", 70, 3},
    {"idle: scratching the head", 73, 6},
    {"slip forward", 79, 3},
    {"slip backward", 82, 3},
    {"slip sideways", 85, 3},
}};

inline constexpr int HERO_POSE_COUNT = 88;

// Bone weights of the channels that move only part of the figure, so that the rest keeps
// following the channels under them (the legs keep walking while the arms hold or throw).
// In bone order: pelvis, chest, head, upper arms, thighs, forearms, shins.
inline constexpr float HERO_BONES_UPPER[HERO_BONE_COUNT] = {0, 1, 1, 1, 1, 0, 0, 1, 1, 0, 0}; // chest, head, arms
inline constexpr float HERO_BONES_ARMS[HERO_BONE_COUNT] = {0, 1, 0, 1, 1, 0, 0, 1, 1, 0, 0};  // chest, arms
inline constexpr float HERO_BONES_LOOK[HERO_BONE_COUNT] = {0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0};  // chest, head
// chest, head, left arm
inline constexpr float HERO_BONES_LEFT_SWING[HERO_BONE_COUNT] = {0, 1, 1, 1, 0, 0, 0, 1, 0, 0, 0};
// chest, head, right arm
inline constexpr float HERO_BONES_RIGHT_SWING[HERO_BONE_COUNT] = {0, 1, 1, 0, 1, 0, 0, 0, 1, 0, 0};

// The hero's channels, by what they play; the value is the channel's number (its place in
// HERO_CHANNELS and in the instance's channel list).
enum class HeroChannel : int32_t {
    Stand,            // weight set by the walking blend
    SlowWalk,         // its key changes drive the footsteps
    RunTowardsMinusX, // follows SlowWalk's timing
    RunTowardsPlusX,  // follows SlowWalk's timing
    Walk,             // follows SlowWalk's timing
    Holding,          // holding a ball or a bomb in front of the chest
    Catching,         // a ball caught with the gloves
    HitLeftStrong,    // hit from the left, strong part
    HitLeftWeak,      // hit from the left, weak part (follows HitLeftStrong)
    HitRightStrong,   // hit from the right, strong part
    HitRightWeak,     // hit from the right, weak part (follows HitRightStrong)
    CatchingAgain,    // the catching animation on a channel of its own
    BallLost,         // the hero's dismay; the racket waits for its end before walking back
    BoomerThrown,     // boomerang thrown
    BoomerCaught,     // boomerang caught
    BombThrown,       // bomb thrown
    GrenadeThrown,    // grenade thrown
    StandingWithPipe, // after the game is over
    ParkedWalk,       // round the table behind the menus
    IdleLookRound,    // idle gesture
    IdleStretchBack,  // idle gesture
    IdleScratchHead,  // idle gesture, only with empty hands
    SlipForward,      // slip stumble
    SlipBackward,     // slip stumble
    SlipSideways,     // slip stumble
};

inline constexpr std::size_t HERO_CHANNEL_COUNT = 25;

// The channel's number, as the skinned instance and HERO_CHANNELS index channels.
constexpr int32_t ChannelNumber(HeroChannel channel) { return static_cast<int32_t>(channel); }

// How a channel plays: its animation (pose list), the channel whose timing it follows (-1 none),
// its default weight, fades in seconds, whether it loops, and its bone weights (null: the whole
// figure).
struct HeroChannelSetup {
    int32_t animation;
    int32_t syncChannel;
    float weight;
    float fadeIn;
    float fadeOut;
    uint8_t loop;
    const float* boneWeights;
};

// Every channel rewinds: a stopped channel starts again from its first key.
inline constexpr uint8_t HERO_CHANNEL_REWIND = 1;

inline constexpr std::array<HeroChannelSetup, HERO_CHANNEL_COUNT> HERO_CHANNELS = {{
    {0, -1, 1, 0.01f, 0.01f, 1, nullptr},                  // 0 stand (weight set by the walking blend)
    {1, -1, 1, 0.01f, 0.1f, 1, nullptr},                   // 1 slow walk; drives the footsteps
    {2, 1, 1, 0.01f, 0.1f, 1, nullptr},                    // 2 run towards -x
    {3, 1, 1, 0.01f, 0.1f, 1, nullptr},                    // 3 run towards +x
    {4, 1, 1, 0.01f, 0.1f, 1, nullptr},                    // 4 walk
    {5, -1, 30, 0.2f, 0.1f, 1, HERO_BONES_ARMS},           // 5 holding a ball
    {6, -1, 10, 0.2f, 0.2f, 0, HERO_BONES_UPPER},          // 6 catching
    {7, -1, 7, 0.01f, 0.01f, 0, HERO_BONES_LEFT_SWING},    // 7 hit from the left, strong part
    {8, 7, 7, 0.01f, 0.01f, 0, HERO_BONES_LEFT_SWING},     // 8 hit from the left, weak part
    {9, -1, 7, 0.01f, 0.01f, 0, HERO_BONES_RIGHT_SWING},   // 9 hit from the right, strong part
    {10, 9, 7, 0.01f, 0.01f, 0, HERO_BONES_RIGHT_SWING},   // 10 hit from the right, weak part
    {6, -1, 10, 0.2f, 0.2f, 0, HERO_BONES_UPPER},          // 11 catching, second use
    {12, -1, 50, 0.25f, 0.5f, 0, nullptr},                 // 12 ball lost
    {13, -1, 15, 0.02f, 0.02f, 0, HERO_BONES_RIGHT_SWING}, // 13 boomerang thrown
    {14, -1, 7, 0.01f, 0.01f, 0, HERO_BONES_RIGHT_SWING},  // 14 boomerang caught
    {15, -1, 15, 0.01f, 0.01f, 0, HERO_BONES_UPPER},       // 15 bomb thrown
    {16, -1, 15, 0.01f, 0.01f, 0, HERO_BONES_RIGHT_SWING}, // 16 grenade thrown
    {17, -1, 50, 0.01f, 0.01f, 1, nullptr},                // 17 standing with the pipe
    {18, -1, 50, 0.01f, 0.01f, 1, nullptr},                // 18 parked walk
    {19, -1, 3, 0.1f, 0.1f, 0, HERO_BONES_LOOK},           // 19 idle gesture
    {20, -1, 3, 0.1f, 0.1f, 0, HERO_BONES_LOOK},           // 20 idle gesture
    {21, -1, 25, 0.1f, 0.1f, 0, HERO_BONES_RIGHT_SWING},   // 21 idle gesture with empty hands
    {22, -1, 1, 0.01f, 0.01f, 0, nullptr},                 // 22 slip stumble
    {23, -1, 1, 0.01f, 0.01f, 0, nullptr},                 // 23 slip stumble
    {24, -1, 2, 0.01f, 0.01f, 0, nullptr},                 // 24 slip stumble
}};

// The animations follow one another without gaps and cover every pose.
constexpr bool HeroAnimationsAreContiguous() {
    int next = 0;
    for (const HeroAnimation& a : HERO_ANIMATIONS) {
        if (a.firstPose != next || a.poseCount < 0) return false;
        next += a.poseCount;
    }
    return next == HERO_POSE_COUNT;
}
static_assert(HeroAnimationsAreContiguous());
static_assert(ChannelNumber(HeroChannel::SlipSideways) + 1 == static_cast<int32_t>(HERO_CHANNEL_COUNT));
