// The hero's key poses, animation by animation. Movements are drawn large: the figure is seen small,
// from behind and above, so what it does must show in the outline of its arms and legs.
#include <cmath>

#include "tools/meshgen/hero_rig.h"

namespace meshgen {

namespace {

constexpr float LEG_LENGTH = 42.0f; // hip to sole

// Standing loosely: elbows a little bent.
Key Rest(int frames) {
    Key k;
    k.frames = frames;
    k.bone[HERO_LEFT_FOREARM].pitch = 12;
    k.bone[HERO_RIGHT_FOREARM].pitch = 12;
    return k;
}

// The pelvis height that keeps a straight leg turned by `degrees` on the floor.
float RootHeight(float degrees) { return HERO_REST_HEIGHT - LEG_LENGTH * (1 - std::cos(degrees * HERO_PI / 180.0f)); }

struct Gait {
    float legs;  // thigh swing either way, degrees
    float knee;  // knee bend in the middle of a leg's swing
    float arms;  // arm swing either way
    float elbow; // elbow bend
    float look;  // head turn
    float lean;  // chest lean forward
    float stride = 0;
    int frames = 12;
};

// Six keys of a walking cycle. The left foot is furthest forward (comes down) in the last key and
// the right in key 2, where the racket's footsteps fall (see hero_channels.h); a leg swinging
// forward bends its knee, and the pelvis sinks as the legs part. When `stride` is not 0, each key
// carries the distance walked since the cycle began in its root offset's forward component (the
// parked walk, whose turning the racket takes from there).
Animation WalkCycle(const Gait& g) {
    Animation keys;
    for (int k = 0; k < 6; ++k) {
        const float phase = 2 * HERO_PI * float(k + 1) / 6.0f;
        const float c = std::cos(phase), s = std::sin(phase);
        Key key = Rest(g.frames);
        key.root.y = g.stride * float(k + 1) / 6.0f;
        key.root.z = RootHeight(g.legs * std::fabs(c)) - 0.04f * g.knee;
        key.bone[HERO_CHEST].pitch = g.lean;
        key.bone[HERO_CHEST].yaw = 8 * c;
        key.bone[HERO_HEAD].pitch = -0.6f * g.lean;
        key.bone[HERO_HEAD].yaw = g.look - 8 * c;
        key.bone[HERO_LEFT_LEG].pitch = g.legs * c + 0.2f * g.knee;
        key.bone[HERO_RIGHT_LEG].pitch = -g.legs * c + 0.2f * g.knee;
        key.bone[HERO_LEFT_SHIN].pitch = -g.knee * std::fmax(0.0f, -s) - 0.2f * g.knee;
        key.bone[HERO_RIGHT_SHIN].pitch = -g.knee * std::fmax(0.0f, s) - 0.2f * g.knee;
        key.bone[HERO_LEFT_ARM] = {-g.arms * c, 6, 0};
        key.bone[HERO_RIGHT_ARM] = {g.arms * c, -6, 0};
        key.bone[HERO_LEFT_FOREARM].pitch = g.elbow + 0.6f * std::fmax(0.0f, -g.arms * c);
        key.bone[HERO_RIGHT_FOREARM].pitch = g.elbow + 0.6f * std::fmax(0.0f, g.arms * c);
        keys.push_back(key);
    }
    return keys;
}

// Breathing: the chest rises a little and the arms hang loosely.
Animation Stand() {
    Key a = Rest(100), b = Rest(100);
    a.bone[HERO_LEFT_ARM].roll = 4;
    a.bone[HERO_RIGHT_ARM].roll = -4;
    b.bone[HERO_CHEST].pitch = -3;
    b.bone[HERO_HEAD].pitch = -2;
    b.bone[HERO_LEFT_ARM].roll = 6;
    b.bone[HERO_RIGHT_ARM].roll = -6;
    b.bone[HERO_LEFT_FOREARM].pitch = b.bone[HERO_RIGHT_FOREARM].pitch = 16;
    b.root.z = HERO_REST_HEIGHT + 0.4f;
    return {a, b};
}

// Both arms reach round what is held in front of the chest, hands at its sides (chest and arms).
Animation Holding() {
    Key a = Rest(60), b = Rest(60);
    for (Key* k : {&a, &b}) {
        // Arms raised forward are opened and closed by their yaw.
        k->bone[HERO_LEFT_ARM] = {62, 0, 24};
        k->bone[HERO_RIGHT_ARM] = {62, 0, -24};
        k->bone[HERO_LEFT_FOREARM] = {15, 0, -30};
        k->bone[HERO_RIGHT_FOREARM] = {15, 0, 30};
        k->bone[HERO_CHEST].pitch = 6;
    }
    b.bone[HERO_LEFT_ARM].pitch = b.bone[HERO_RIGHT_ARM].pitch = 58;
    b.bone[HERO_CHEST].pitch = 8;
    return {a, b};
}

// Arms thrown open forward, then closing round the ball and drawing it in (upper body).
Animation Catching() {
    Animation keys;
    const float pitch[3] = {80, 68, 60}, spread[3] = {50, 26, 24}, elbow[3] = {5, 35, 30}, lean[3] = {14, 10, 6};
    const int frames[3] = {10, 20, 30};
    for (int i = 0; i < 3; ++i) {
        Key k = Rest(frames[i]);
        k.bone[HERO_LEFT_ARM] = {pitch[i], 0, spread[i]};
        k.bone[HERO_RIGHT_ARM] = {pitch[i], 0, -spread[i]};
        k.bone[HERO_LEFT_FOREARM] = {10, 0, -elbow[i]};
        k.bone[HERO_RIGHT_FOREARM] = {10, 0, elbow[i]};
        k.bone[HERO_CHEST].pitch = lean[i];
        keys.push_back(k);
    }
    return keys;
}

// A swing of one arm from behind, elbow bent, to straight out in front on its own side, with a
// twist of the chest; `strength` scales the whole movement (chest, head and that arm).
Animation Hit(HeroBone arm, float strength) {
    const bool right = arm == HERO_RIGHT_ARM;
    const float side = right ? 1.0f : -1.0f;
    const int fore = right ? HERO_RIGHT_FOREARM : HERO_LEFT_FOREARM;
    Animation keys;
    const float pitch[3] = {-40, 95, 35}, roll[3] = {35, 28, 15}, elbow[3] = {70, 5, 30}, twist[3] = {-30, 22, 8};
    const int frames[3] = {5, 8, 15};
    for (int i = 0; i < 3; ++i) {
        Key k = Rest(frames[i]);
        k.bone[arm] = {pitch[i] * strength, -roll[i] * side * strength, 0};
        k.bone[fore].pitch = elbow[i] * strength + 10;
        k.bone[HERO_CHEST].yaw = twist[i] * side * strength;
        k.bone[HERO_HEAD].yaw = -0.5f * twist[i] * side * strength;
        keys.push_back(k);
    }
    return keys;
}

// Hands clapped to the head, then a long slump, knees giving, with a shake of the head (whole
// figure; about two seconds at the racket's rate, which the racket waits for before walking back).
Animation BallLost() {
    Animation keys(4, Rest(10));
    keys[1].frames = 30;
    keys[1].bone[HERO_LEFT_ARM] = {120, 30, 0};
    keys[1].bone[HERO_RIGHT_ARM] = {120, -30, 0};
    keys[1].bone[HERO_LEFT_FOREARM] = {110, -20, 0};
    keys[1].bone[HERO_RIGHT_FOREARM] = {110, 20, 0};
    keys[1].bone[HERO_HEAD].pitch = -20;
    keys[1].bone[HERO_CHEST].pitch = -8;
    keys[2].frames = 60;
    keys[3].frames = 100;
    for (Key* k : {&keys[2], &keys[3]}) {
        k->bone[HERO_CHEST].pitch = 28;
        k->bone[HERO_HEAD].pitch = 30;
        k->bone[HERO_LEFT_ARM] = {12, 8, 0};
        k->bone[HERO_RIGHT_ARM] = {12, -8, 0};
        k->bone[HERO_LEFT_FOREARM].pitch = k->bone[HERO_RIGHT_FOREARM].pitch = 20;
        k->bone[HERO_LEFT_LEG].pitch = k->bone[HERO_RIGHT_LEG].pitch = 14;
        k->bone[HERO_LEFT_SHIN].pitch = k->bone[HERO_RIGHT_SHIN].pitch = -28;
        k->root.z = HERO_REST_HEIGHT - 1.5f;
    }
    keys[3].bone[HERO_HEAD].yaw = 18;
    return keys;
}

// The right arm (or both) winds up with the elbow bent, lets go with it straight and follows
// through (upper body).
Animation Throw(float windUp, float release, float follow, bool bothArms) {
    Animation keys;
    const float pitch[3] = {windUp, release, follow}, elbow[3] = {75, 5, 20}, twist[3] = {-35, 25, 10};
    const int frames[3] = {8, 8, 20};
    for (int i = 0; i < 3; ++i) {
        Key k = Rest(frames[i]);
        k.bone[HERO_RIGHT_ARM] = {pitch[i], -12, 0};
        k.bone[HERO_RIGHT_FOREARM].pitch = elbow[i];
        if (bothArms) {
            k.bone[HERO_LEFT_ARM] = {pitch[i], 12, 0};
            k.bone[HERO_LEFT_FOREARM].pitch = elbow[i];
        }
        k.bone[HERO_CHEST].yaw = bothArms ? 0 : twist[i];
        k.bone[HERO_CHEST].pitch = i == 0 ? -14 : 14;
        keys.push_back(k);
    }
    return keys;
}

// The right hand up high, then down to the chest with the catch (chest, head and right arm).
Animation BoomerangCaught() {
    Key up = Rest(5), down = Rest(25);
    up.bone[HERO_RIGHT_ARM] = {155, -20, 0};
    up.bone[HERO_RIGHT_FOREARM].pitch = 15;
    up.bone[HERO_HEAD].pitch = -20;
    down.bone[HERO_RIGHT_ARM] = {50, -10, 0};
    down.bone[HERO_RIGHT_FOREARM] = {70, 30, 0};
    return {up, down};
}

// Standing at ease with the hands on the hips, puffing the pipe held in the mouth: the head tips
// back a little and returns.
Animation Pipe() {
    Animation keys(2, Rest(100));
    for (Key& k : keys) {
        k.bone[HERO_LEFT_ARM] = {-10, 42, 0};
        k.bone[HERO_RIGHT_ARM] = {-10, -42, 0};
        k.bone[HERO_LEFT_FOREARM] = {10, -105, 0};
        k.bone[HERO_RIGHT_FOREARM] = {10, 105, 0};
        k.bone[HERO_CHEST].pitch = -4;
    }
    keys[1].bone[HERO_HEAD].pitch = -12;
    keys[1].root.z = HERO_REST_HEIGHT + 0.3f;
    return keys;
}

// Idle gestures that leave the arms to whatever they are doing (chest and head).
Animation LookingRound() {
    Animation keys(4, Rest(60));
    keys[1].bone[HERO_HEAD].yaw = 55;
    keys[1].bone[HERO_CHEST].yaw = 12;
    keys[2].frames = 80;
    keys[2].bone[HERO_HEAD].yaw = -55;
    keys[2].bone[HERO_CHEST].yaw = -12;
    return keys;
}

Animation StretchingTheBack() {
    Animation keys(3, Rest(80));
    keys[1].bone[HERO_CHEST].pitch = -16;
    keys[1].bone[HERO_HEAD].pitch = -24;
    keys[2].frames = 70;
    return keys;
}

// The right hand goes up to the top of the head, scratches back and forth and comes down again
// (chest, head and right arm).
Animation Scratching() {
    Animation keys(6, Rest(10));
    keys[1].frames = 40;
    keys[5].frames = 50;
    for (int i = 1; i <= 4; ++i) {
        // The elbow up and out, the forearm bent over to the side of the head.
        keys[i].bone[HERO_RIGHT_ARM] = {10, -140, 0};
        keys[i].bone[HERO_RIGHT_FOREARM] = {0, i % 2 ? -100.0f : -85.0f, 0};
        keys[i].bone[HERO_HEAD] = {8, 12, 0}; // leaning into the hand
    }
    return keys;
}

// Losing the footing: the pelvis tips, the arms fly out, the knees give and the body drops a
// little, then recovers (whole figure).
Animation Slip(float pitch, float roll) {
    Animation keys(3, Rest(8));
    keys[1].frames = 12;
    keys[1].bone[HERO_PELVIS] = {pitch, roll, 0};
    keys[1].bone[HERO_CHEST] = {-pitch, -roll, 0};
    keys[1].bone[HERO_LEFT_ARM] = {30, 75, 0};
    keys[1].bone[HERO_RIGHT_ARM] = {30, -75, 0};
    keys[1].bone[HERO_LEFT_FOREARM].pitch = keys[1].bone[HERO_RIGHT_FOREARM].pitch = 30;
    keys[1].bone[HERO_LEFT_LEG].pitch = pitch > 0 ? -25 : 30;
    keys[1].bone[HERO_RIGHT_LEG].pitch = pitch > 0 ? 10 : -5;
    // The legs stay under the body while the pelvis tips sideways: one foot slides out.
    keys[1].bone[HERO_LEFT_LEG].roll = -0.6f * roll;
    keys[1].bone[HERO_RIGHT_LEG].roll = -roll;
    keys[1].bone[HERO_LEFT_SHIN].pitch = -20;
    keys[1].bone[HERO_RIGHT_SHIN].pitch = -30;
    keys[1].root.z = HERO_REST_HEIGHT - 5;
    keys[2].frames = 30;
    keys[2].bone[HERO_LEFT_ARM].roll = 18;
    keys[2].bone[HERO_RIGHT_ARM].roll = -18;
    return keys;
}

} // namespace

std::vector<Animation> HeroAnimations() {
    constexpr int WALK_FRAMES = 12; // the slow walk's key, which the other gaits follow
    return {
        Stand(),
        WalkCycle({18, 30, 16, 15, 0, 2}),
        // The racket turns the whole figure towards where it runs; the head looks back to the table.
        WalkCycle({34, 70, 32, 60, -45, 14, 0, WALK_FRAMES}),
        WalkCycle({34, 70, 32, 60, 45, 14, 0, WALK_FRAMES}),
        WalkCycle({25, 45, 22, 25, 0, 5, 0, WALK_FRAMES}),
        Holding(),
        Catching(),
        Hit(HERO_LEFT_ARM, 1.0f),
        Hit(HERO_LEFT_ARM, 0.5f),
        Hit(HERO_RIGHT_ARM, 1.0f),
        Hit(HERO_RIGHT_ARM, 0.5f),
        {},
        BallLost(),
        Throw(-70, 100, 40, false),
        BoomerangCaught(),
        Throw(170, 90, 30, true),
        Throw(160, 70, 20, false),
        Pipe(),
        // A leisurely walk: each step covers about what the legs' swing reaches (legs 42 units
        // long, swinging 16 degrees either way).
        WalkCycle({16, 28, 12, 15, 0, 0, 45, 14}),
        LookingRound(),
        StretchingTheBack(),
        Scratching(),
        Slip(25, 0),
        Slip(-20, 0),
        Slip(0, 22),
    };
}

} // namespace meshgen
