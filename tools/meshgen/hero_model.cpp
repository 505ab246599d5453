// The racket's character: body parts rigid on seven bones, four attachment points and the key
// poses of its animations, in the order of render/mesh/hero_channels.h (see hero_model.h).
#include "tools/meshgen/hero_model.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/meshgen/models.h"
#include "tools/meshgen/shapes.h"

namespace meshgen {

namespace {

constexpr float PI = 3.14159265f;
constexpr float REST_HEIGHT = 48.0f; // the pelvis above the floor

// ---- the half turn ----
//
// Everything below is authored with the figure facing +y (its left at -x). What is written is
// turned half round about z, so the file's figure faces -y.

YVector Turned(const YVector& v) { return {-v.x, -v.y, v.z}; }

// Rest pivots (as authored); a bone's offset is its pivot less its parent's.
struct BoneDef {
    int parent;
    YVector pivot;
};
const BoneDef BONES[HERO_BONE_COUNT] = {
    {-1, {0, 0, REST_HEIGHT}}, {HERO_PELVIS, {0, 0, 56}},  {HERO_CHEST, {0, 0, 78}},  {HERO_CHEST, {-14, 0, 74}},
    {HERO_CHEST, {14, 0, 74}}, {HERO_PELVIS, {-6, 0, 44}}, {HERO_PELVIS, {6, 0, 44}},
};

struct Quat {
    float x, y, z, w;
};

Quat Mul(const Quat& a, const Quat& b) {
    return {a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y, a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x,
            a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w, a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z};
}

Quat AboutAxis(float x, float y, float z, float degrees) {
    const float h = degrees * PI / 360.0f;
    return {x * std::sin(h), y * std::sin(h), z * std::sin(h), std::cos(h)};
}

// A joint's turn, as authored: pitch about x (limbs swing forward for positive values), then roll
// about y (the left arm rises sideways for positive values, the right for negative), then yaw
// about z (positive turns to the figure's left).
struct Angles {
    float pitch = 0, roll = 0, yaw = 0;
};

// The rotation meant by a turn.
Quat Rotation(const Angles& a) {
    return Mul(AboutAxis(0, 0, 1, a.yaw), Mul(AboutAxis(0, 1, 0, a.roll), AboutAxis(1, 0, 0, a.pitch)));
}

// The quaternion written for a rotation. The skeleton's matrix table turns points the opposite
// way to the usual reading of a quaternion, so the file holds the conjugate of the rotation meant.
// Written with w >= 0, so that rotations the pose blending sums all lie on the same side and never
// cancel.
Quat FileQuat(const Quat& q) {
    const Quat file{-q.x, -q.y, -q.z, q.w};
    return file.w < 0 ? Quat{-file.x, -file.y, -file.z, -file.w} : file;
}

// A joint's turn in the turned figure: the same turn about the turned axes (x and y negate).
Quat JointQuat(const Angles& a) {
    const Quat q = Rotation(a);
    return FileQuat({-q.x, -q.y, q.z, q.w});
}

// An attachment's frame in the turned figure: what it carries (a model of its own) turns with the
// figure, so the half turn follows the attachment's own turn.
Quat AttachmentQuat(const Angles& a) { return FileQuat(Mul(AboutAxis(0, 0, 1, 180), Rotation(a))); }

// A key pose. `frames` is the length of the step that ends in it, in frames of 1/50 s (the racket
// plays its figure at 100 frames a second, so 100 frames last one second there).
struct Key {
    int frames = 10;
    YVector root{0, 0, REST_HEIGHT};
    Angles bone[HERO_BONE_COUNT];
};

std::string Real(float v) { return FormatReal(std::fabs(v) < 1e-6f ? 0.0f : v); }

// ---- the figure ----

MeshBuilder Figure() {
    MeshBuilder b;
    auto at = [](float x, float y, float z) { return Turned({x, y, z}); };
    b.SetTag(HERO_PELVIS);
    Icosphere(b, at(0, 0, 47), {11, 7, 7}, 1, 0, 1);
    b.SetTag(HERO_CHEST);
    Icosphere(b, at(0, 0, 65), {13, 8, 13}, 2, 0, 1);
    // Material 1: the skin (head and hands); 0 the clothes; 2 the shoes.
    b.SetTag(HERO_HEAD);
    Icosphere(b, at(0, 0, 86.5f), {8, 8, 8.5f}, 2, 1, 1);
    Icosphere(b, at(0, 7.8f, 86), {1.6f, 1.6f, 1.6f}, 0, 1, 2); // the nose shows which way it looks
    for (int side : {-1, 1}) {
        const float x = 15.5f * side;
        b.SetTag(side < 0 ? HERO_LEFT_ARM : HERO_RIGHT_ARM);
        Tube(b, {at(14.0f * side, 0, 75), at(x, 0, 64), at(16.5f * side, 0, 52)}, 3.2f, 8, 0, 4);
        Icosphere(b, at(17.0f * side, 0.5f, 48.5f), {3.3f, 3.3f, 3.6f}, 1, 1, 1);
        b.SetTag(side < 0 ? HERO_LEFT_LEG : HERO_RIGHT_LEG);
        Tube(b, {at(6.0f * side, 0, 45), at(6.2f * side, 0, 25), at(6.0f * side, 0, 6)}, 4.2f, 8, 0, 4);
        Icosphere(b, at(6.0f * side, 3.5f, 3.2f), {4.2f, 7.5f, 3.2f}, 1, 2, 1);
    }
    return b;
}

// ---- the poses ----

using Animation = std::vector<Key>;

Key Rest(int frames) {
    Key k;
    k.frames = frames;
    return k;
}

// Six keys of a walking cycle. The left foot is furthest forward (comes down) in the last key and
// the right in key 2, where the racket's footsteps fall (see hero_channels.h). `stride` is the
// distance one cycle covers: when it is not 0, each key carries the distance walked since the
// cycle began in its root offset's forward component (the parked walk, whose turning the racket
// takes from there).
Animation WalkCycle(float legs, float arms, float bob, int frames, float look, float lean, float stride) {
    Animation keys;
    for (int k = 0; k < 6; ++k) {
        const float c = std::cos(2 * PI * float(k + 1) / 6.0f);
        Key key;
        key.frames = frames;
        key.root.y = stride * float(k + 1) / 6.0f;
        key.root.z = REST_HEIGHT - bob * std::fabs(c) + bob * 0.5f;
        key.bone[HERO_CHEST].pitch = lean;
        key.bone[HERO_CHEST].yaw = 6 * c;
        key.bone[HERO_HEAD].yaw = look - 6 * c;
        key.bone[HERO_LEFT_LEG].pitch = legs * c;
        key.bone[HERO_RIGHT_LEG].pitch = -legs * c;
        key.bone[HERO_LEFT_ARM].pitch = -arms * c;
        key.bone[HERO_RIGHT_ARM].pitch = arms * c;
        keys.push_back(key);
    }
    return keys;
}

constexpr int WALK_FRAMES = 12; // the slow walk's key, which the other gaits follow

// Breathing: the chest rises a little and the arms hang loosely.
Animation Stand() {
    Key a = Rest(100), b = Rest(100);
    a.bone[HERO_LEFT_ARM].roll = 6;
    a.bone[HERO_RIGHT_ARM].roll = -6;
    b.bone[HERO_CHEST].pitch = -3;
    b.bone[HERO_HEAD].pitch = -2;
    b.bone[HERO_LEFT_ARM].roll = 8;
    b.bone[HERO_RIGHT_ARM].roll = -8;
    b.root.z = REST_HEIGHT + 0.4f;
    return {a, b};
}

// Both arms round what is held in front of the chest (chest and arms only).
Animation Holding() {
    Key a = Rest(60), b = Rest(60);
    for (Key* k : {&a, &b}) {
        k->bone[HERO_LEFT_ARM] = {66, -16, 0};
        k->bone[HERO_RIGHT_ARM] = {66, 16, 0};
        k->bone[HERO_CHEST].pitch = 6;
    }
    b.bone[HERO_LEFT_ARM].pitch = b.bone[HERO_RIGHT_ARM].pitch = 62;
    return {a, b};
}

// Arms open forward, then close round the ball and draw it in (upper body).
Animation Catching() {
    Animation keys;
    const float pitch[3] = {85, 72, 62}, spread[3] = {30, 14, 16}, lean[3] = {10, 8, 6};
    const int frames[3] = {10, 20, 30};
    for (int i = 0; i < 3; ++i) {
        Key k = Rest(frames[i]);
        k.bone[HERO_LEFT_ARM] = {pitch[i], -spread[i], 0};
        k.bone[HERO_RIGHT_ARM] = {pitch[i], spread[i], 0};
        k.bone[HERO_CHEST].pitch = lean[i];
        keys.push_back(k);
    }
    return keys;
}

// A swing of one arm from behind to in front with a twist of the chest; `strength` scales the
// whole movement (upper body).
Animation Hit(HeroBone arm, float strength) {
    const float side = arm == HERO_RIGHT_ARM ? 1.0f : -1.0f;
    Animation keys;
    const float pitch[3] = {-45, 95, 30}, twist[3] = {-25, 30, 10};
    const int frames[3] = {5, 8, 15};
    for (int i = 0; i < 3; ++i) {
        Key k = Rest(frames[i]);
        k.bone[arm] = {pitch[i] * strength, -10 * side, 0};
        k.bone[HERO_CHEST].yaw = twist[i] * side * strength;
        k.bone[HERO_HEAD].yaw = -0.5f * twist[i] * side * strength;
        keys.push_back(k);
    }
    return keys;
}

// Hands to the head, then a long slump with a shake of the head (whole figure; about two seconds
// at the racket's rate, which the racket waits for before walking back).
Animation BallLost() {
    Animation keys(4, Rest(10));
    keys[1].frames = 30;
    keys[1].bone[HERO_LEFT_ARM] = {150, 25, 0};
    keys[1].bone[HERO_RIGHT_ARM] = {150, -25, 0};
    keys[1].bone[HERO_HEAD].pitch = -15;
    keys[2].frames = 60;
    keys[3].frames = 100;
    for (Key* k : {&keys[2], &keys[3]}) {
        k->bone[HERO_CHEST].pitch = 25;
        k->bone[HERO_HEAD].pitch = 30;
        k->bone[HERO_LEFT_ARM] = {10, 12, 0};
        k->bone[HERO_RIGHT_ARM] = {10, -12, 0};
        k->root.z = REST_HEIGHT - 2;
    }
    keys[3].bone[HERO_HEAD].yaw = 15;
    return keys;
}

// The right arm (or both) winds up, lets go and follows through (upper body).
Animation Throw(float windUp, float release, float follow, bool bothArms) {
    Animation keys;
    const float pitch[3] = {windUp, release, follow}, twist[3] = {-30, 25, 10};
    const int frames[3] = {8, 8, 20};
    for (int i = 0; i < 3; ++i) {
        Key k = Rest(frames[i]);
        k.bone[HERO_RIGHT_ARM] = {pitch[i], -12, 0};
        if (bothArms) k.bone[HERO_LEFT_ARM] = {pitch[i], 12, 0};
        k.bone[HERO_CHEST].yaw = bothArms ? 0 : twist[i];
        k.bone[HERO_CHEST].pitch = i == 0 ? -12 : 12;
        keys.push_back(k);
    }
    return keys;
}

// The right hand up high, then down to the chest with the catch (upper body).
Animation BoomerangCaught() {
    Key up = Rest(5), down = Rest(25);
    up.bone[HERO_RIGHT_ARM] = {150, -20, 0};
    up.bone[HERO_HEAD].pitch = -15;
    down.bone[HERO_RIGHT_ARM] = {60, -10, 0};
    return {up, down};
}

// Standing at ease, puffing the pipe held in the mouth: the head tips back a little and returns.
Animation Pipe() {
    Animation keys(2, Rest(100));
    for (Key& k : keys) {
        k.bone[HERO_RIGHT_ARM] = {8, -6, 0};
        k.bone[HERO_LEFT_ARM] = {8, 6, 0};
        k.bone[HERO_CHEST].pitch = -4;
    }
    keys[1].bone[HERO_HEAD].pitch = -10;
    keys[1].root.z = REST_HEIGHT + 0.3f;
    return keys;
}

// Idle gestures that leave the arms to whatever they are doing (chest and head).
Animation LookingRound() {
    Animation keys(4, Rest(60));
    keys[1].bone[HERO_HEAD].yaw = 50;
    keys[1].bone[HERO_CHEST].yaw = 10;
    keys[2].frames = 80;
    keys[2].bone[HERO_HEAD].yaw = -50;
    keys[2].bone[HERO_CHEST].yaw = -10;
    return keys;
}

Animation StretchingTheBack() {
    Animation keys(3, Rest(80));
    keys[1].bone[HERO_CHEST].pitch = -14;
    keys[1].bone[HERO_HEAD].pitch = -20;
    keys[2].frames = 70;
    return keys;
}

// The right hand goes over the head, scratches back and forth and comes down again (chest, head
// and right arm).
Animation Scratching() {
    Animation keys(6, Rest(10));
    keys[1].frames = 40;
    keys[5].frames = 50;
    for (int i = 1; i <= 4; ++i) {
        keys[i].bone[HERO_RIGHT_ARM] = i % 2 ? Angles{165, -35, 0} : Angles{158, -42, 0};
        keys[i].bone[HERO_HEAD] = {0, 10, 0}; // leaning into the hand
    }
    return keys;
}

// Losing the footing: the pelvis tips, the arms fly out, the body drops a little and recovers
// (whole figure).
Animation Slip(float pitch, float roll) {
    Animation keys(3, Rest(8));
    keys[1].frames = 12;
    keys[1].bone[HERO_PELVIS] = {pitch, roll, 0};
    keys[1].bone[HERO_CHEST] = {-pitch, -roll, 0};
    keys[1].bone[HERO_LEFT_ARM] = {30, 70, 0};
    keys[1].bone[HERO_RIGHT_ARM] = {30, -70, 0};
    keys[1].bone[HERO_LEFT_LEG].pitch = pitch > 0 ? -25 : 25;
    keys[1].root.z = REST_HEIGHT - 4;
    keys[2].frames = 30;
    keys[2].bone[HERO_LEFT_ARM].roll = 15;
    keys[2].bone[HERO_RIGHT_ARM].roll = -15;
    return keys;
}

// In the order of HERO_ANIMATIONS.
std::vector<Animation> Animations() {
    return {
        Stand(),
        WalkCycle(18, 14, 1.5f, WALK_FRAMES, 0, 2, 0),
        // The racket turns the whole figure towards where it runs; the head looks back to the table.
        WalkCycle(35, 30, 3, WALK_FRAMES, -45, 12, 0),
        WalkCycle(35, 30, 3, WALK_FRAMES, 45, 12, 0),
        WalkCycle(25, 20, 2, WALK_FRAMES, 0, 5, 0),
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
        // A leisurely walk: each step covers about what the legs' swing reaches (legs 41 units
        // long, swinging 16 degrees either way).
        WalkCycle(16, 12, 1.2f, 14, 0, 0, 45),
        LookingRound(),
        StretchingTheBack(),
        Scratching(),
        Slip(25, 0),
        Slip(-20, 0),
        Slip(0, 22),
    };
}

// An attachment line: id, bone, offset, rotation.
std::string AttachmentLine(int id, int bone, const YVector& at, const Angles& turn) {
    const YVector o = Turned(at);
    const Quat q = AttachmentQuat(turn);
    return std::to_string(id) + " " + std::to_string(bone) + " " + Real(o.x) + " " + Real(o.y) + " " + Real(o.z) + " " +
           Real(q.x) + " " + Real(q.y) + " " + Real(q.z) + " " + Real(q.w) + "\n";
}

} // namespace

std::string HeroText() {
    const std::vector<Animation> animations = Animations();
    for (std::size_t a = 0; a < HERO_ANIMATIONS.size(); ++a)
        if (a >= animations.size() || animations[a].size() != std::size_t(HERO_ANIMATIONS[a].poseCount)) {
            std::fprintf(stderr, "meshgen: hero animation %zu (%s) does not have the %d keys of the channel table\n", a,
                         HERO_ANIMATIONS[a].what, HERO_ANIMATIONS[a].poseCount);
            return "";
        }

    const MeshBuilder figure = Figure();
    std::string s = figure.Text("hero");
    s += "sceleton hero\n" + std::to_string(HERO_BONE_COUNT) + "\n";
    for (int i = 0; i < HERO_BONE_COUNT; ++i) {
        const BoneDef& bone = BONES[i];
        const YVector offset = Turned(bone.parent < 0 ? bone.pivot : bone.pivot - BONES[bone.parent].pivot);
        s += std::to_string(i) + " " + std::to_string(bone.parent) + " " + Real(offset.x) + " " + Real(offset.y) + " " +
             Real(offset.z) + " 0 0 0 1\n";
    }
    s += "points " + std::to_string(HERO_ATTACHMENT_COUNT) + "\n";
    // Far enough in front that a ball of radius 0.5 (25 units here) clears the chest.
    s += AttachmentLine(HERO_HOLD, HERO_CHEST, {0, 27, 4}, {});
    s += AttachmentLine(HERO_HAND, HERO_RIGHT_ARM, {3, 0.5f, -25.5f}, {});
    s += AttachmentLine(HERO_GRIP, HERO_RIGHT_ARM, {3, 2.5f, -27}, {});
    // On the face below the nose; the pipe's stem runs along its +x, turned a quarter to point
    // forward.
    s += AttachmentLine(HERO_MOUTH, HERO_HEAD, {1.5f, 6.5f, 4}, {0, 0, 90});
    s += "weights hero\n";
    for (int tag : figure.PositionTags()) s += tag == HERO_PELVIS ? "0\n" : "1 " + std::to_string(tag) + " 1\n";
    int poses = 0;
    std::string keys;
    int frame = 0;
    for (const Animation& animation : animations)
        for (const Key& key : animation) {
            frame += key.frames;
            const YVector root = Turned(key.root);
            keys += "key " + std::to_string(frame) + " " + Real(root.x) + " " + Real(root.y) + " " + Real(root.z);
            for (const Angles& a : key.bone) {
                const Quat q = JointQuat(a);
                keys += " " + Real(q.x) + " " + Real(q.y) + " " + Real(q.z) + " " + Real(q.w);
            }
            keys += "\n";
            ++poses;
        }
    s += "poses " + std::to_string(poses) + "\n" + keys;
    return s;
}

} // namespace meshgen
