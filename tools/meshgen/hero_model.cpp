// The racket's character: body parts rigid on seven bones, four attachment points and the key
// poses of its 24 animations (see hero_model.h for the layout the racket relies on).
#include "tools/meshgen/hero_model.h"

#include <cmath>
#include <string>
#include <vector>

#include "tools/meshgen/models.h"
#include "tools/meshgen/shapes.h"

namespace meshgen {

namespace {

constexpr float PI = 3.14159265f;
enum Bone { PELVIS, CHEST, HEAD, LEFT_ARM, RIGHT_ARM, LEFT_LEG, RIGHT_LEG };
constexpr float REST_HEIGHT = 48.0f;  // the pelvis above the floor

// Rest pivots in model space; a bone's offset is its pivot less its parent's.
struct BoneDef {
    int parent;
    YVector pivot;
};
const BoneDef BONES[HERO_BONE_COUNT] = {
    {-1, {0, 0, REST_HEIGHT}},  {PELVIS, {0, 0, 56}},   {CHEST, {0, 0, 78}},      {CHEST, {-14, 0, 74}},
    {CHEST, {14, 0, 74}},       {PELVIS, {-6, 0, 44}},  {PELVIS, {6, 0, 44}},
};

struct Quat {
    float x, y, z, w;
};

Quat Mul(const Quat& a, const Quat& b)
{
    return {a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y, a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x,
            a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w, a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z};
}

Quat AboutAxis(float x, float y, float z, float degrees)
{
    const float h = degrees * PI / 360.0f;
    return {x * std::sin(h), y * std::sin(h), z * std::sin(h), std::cos(h)};
}

// A joint's turn: pitch about x (limbs swing forward, +y, for positive values), then roll about y
// (the left arm rises sideways for positive values, the right for negative), then yaw about z.
struct Angles {
    float pitch = 0, roll = 0, yaw = 0;
};

// The skeleton's matrix table turns points the opposite way to the usual reading of a
// quaternion, so the file holds the conjugate of the rotation meant.
Quat FileQuat(const Angles& a)
{
    const Quat q = Mul(AboutAxis(0, 0, 1, a.yaw), Mul(AboutAxis(0, 1, 0, a.roll), AboutAxis(1, 0, 0, a.pitch)));
    return {-q.x, -q.y, -q.z, q.w};
}

struct Key {
    int frames = 10;
    YVector root{0, 0, REST_HEIGHT};
    Angles bone[HERO_BONE_COUNT];
};

std::string Real(float v)
{
    return FormatReal(std::fabs(v) < 1e-6f ? 0.0f : v);
}

// ---- the figure ----

MeshBuilder Figure()
{
    MeshBuilder b;
    b.SetTag(PELVIS);
    Icosphere(b, {0, 0, 47}, {11, 7, 7}, 1, 0, 1);
    b.SetTag(CHEST);
    Icosphere(b, {0, 0, 65}, {13, 8, 13}, 2, 0, 1);
    // Material 1: the skin (head and hands); 0 the clothes; 2 the shoes.
    b.SetTag(HEAD);
    Icosphere(b, {0, 0, 86.5f}, {8, 8, 8.5f}, 2, 1, 1);
    Icosphere(b, {0, 7.8f, 86}, {1.6f, 1.6f, 1.6f}, 0, 1, 2);  // the nose shows which way it looks
    for (int side : {-1, 1}) {
        const float x = 15.5f * side;
        b.SetTag(side < 0 ? LEFT_ARM : RIGHT_ARM);
        Tube(b, {{14.0f * side, 0, 75}, {x, 0, 64}, {16.5f * side, 0, 52}}, 3.2f, 8, 0, 4);
        Icosphere(b, {17.0f * side, 0.5f, 48.5f}, {3.3f, 3.3f, 3.6f}, 1, 1, 1);
        b.SetTag(side < 0 ? LEFT_LEG : RIGHT_LEG);
        Tube(b, {{6.0f * side, 0, 45}, {6.2f * side, 0, 25}, {6.0f * side, 0, 6}}, 4.2f, 8, 0, 4);
        Icosphere(b, {6.0f * side, 3.5f, 3.2f}, {4.2f, 7.5f, 3.2f}, 1, 2, 1);
    }
    return b;
}

// ---- the poses ----

using Animation = std::vector<Key>;

Key Rest()
{
    return Key{};
}

// Six keys of a walking cycle: the left foot lands on key 0, the right on key 3.
Animation WalkCycle(float legs, float arms, float bob, int frames, float turn, float look, float lean)
{
    Animation keys;
    for (int k = 0; k < 6; ++k) {
        const float c = std::cos(2 * PI * float(k) / 6.0f);
        Key key;
        key.frames = frames;
        key.root.z = REST_HEIGHT - bob * std::fabs(c) + bob * 0.5f;
        key.bone[PELVIS].yaw = turn;
        key.bone[CHEST].pitch = lean;
        key.bone[CHEST].yaw = 6 * c;
        key.bone[HEAD].yaw = look - 6 * c;
        key.bone[LEFT_LEG].pitch = legs * c;
        key.bone[RIGHT_LEG].pitch = -legs * c;
        key.bone[LEFT_ARM].pitch = -arms * c;
        key.bone[RIGHT_ARM].pitch = arms * c;
        keys.push_back(key);
    }
    return keys;
}

Animation Stand()
{
    Key a = Rest(), b = Rest();
    a.frames = b.frames = 40;
    a.bone[LEFT_ARM].roll = 6;
    a.bone[RIGHT_ARM].roll = -6;
    b.bone[CHEST].pitch = -3;
    b.bone[HEAD].pitch = -2;
    b.bone[LEFT_ARM].roll = 8;
    b.bone[RIGHT_ARM].roll = -8;
    b.root.z = REST_HEIGHT + 0.4f;
    return {a, b};
}

Animation Holding()
{
    Key a = Rest(), b = Rest();
    a.frames = b.frames = 30;
    for (Key* k : {&a, &b}) {
        k->bone[LEFT_ARM] = {62, -14, 0};
        k->bone[RIGHT_ARM] = {62, 14, 0};
        k->bone[CHEST].pitch = 6;
    }
    b.bone[LEFT_ARM].pitch = b.bone[RIGHT_ARM].pitch = 58;
    b.root.z = REST_HEIGHT - 0.5f;
    return {a, b};
}

Animation Catching()
{
    Animation keys(3, Rest());
    const float pitch[3] = {85, 70, 55}, spread[3] = {30, 12, 8};
    for (int i = 0; i < 3; ++i) {
        keys[i].frames = i == 0 ? 6 : 10;
        keys[i].bone[LEFT_ARM] = {pitch[i], -spread[i], 0};
        keys[i].bone[RIGHT_ARM] = {pitch[i], spread[i], 0};
        keys[i].bone[CHEST].pitch = 10 - 3 * i;
        keys[i].root.z = REST_HEIGHT - 2 + i * 0.7f;
    }
    return keys;
}

// A swing of one arm from behind to in front; `strength` scales the whole movement.
Animation Hit(Bone arm, float strength)
{
    const float side = arm == RIGHT_ARM ? 1.0f : -1.0f;
    Animation keys(3, Rest());
    const float pitch[3] = {-45, 95, 30}, twist[3] = {-25, 30, 10};
    const int frames[3] = {5, 6, 12};
    for (int i = 0; i < 3; ++i) {
        keys[i].frames = frames[i];
        keys[i].bone[arm] = {pitch[i] * strength, -10 * side, 0};
        keys[i].bone[CHEST].yaw = twist[i] * side * strength;
        keys[i].bone[PELVIS].yaw = 0.4f * twist[i] * side * strength;
        keys[i].bone[HEAD].yaw = -0.5f * twist[i] * side * strength;
    }
    return keys;
}

Animation BallLost()
{
    Animation keys(4, Rest());
    keys[0].frames = 8;
    keys[1].frames = 12;
    keys[1].bone[LEFT_ARM] = {150, 25, 0};
    keys[1].bone[RIGHT_ARM] = {150, -25, 0};
    keys[1].bone[HEAD].pitch = -15;
    keys[2].frames = 20;
    keys[3].frames = 30;
    for (Key* k : {&keys[2], &keys[3]}) {
        k->bone[CHEST].pitch = 25;
        k->bone[HEAD].pitch = 30;
        k->bone[LEFT_ARM] = {10, 12, 0};
        k->bone[RIGHT_ARM] = {10, -12, 0};
        k->root.z = REST_HEIGHT - 2;
    }
    keys[3].bone[HEAD].yaw = 15;
    return keys;
}

// An overhand movement of the right arm (or both): wind up, release, follow through.
Animation Throw(float windUp, float release, float follow, bool bothArms, int frames)
{
    Animation keys(3, Rest());
    const float pitch[3] = {windUp, release, follow}, twist[3] = {-30, 25, 10};
    for (int i = 0; i < 3; ++i) {
        keys[i].frames = i == 1 ? frames / 2 : frames;
        keys[i].bone[RIGHT_ARM] = {pitch[i], -12, 0};
        if (bothArms)
            keys[i].bone[LEFT_ARM] = {pitch[i], 12, 0};
        keys[i].bone[CHEST].yaw = bothArms ? 0 : twist[i];
        keys[i].bone[CHEST].pitch = i == 0 ? -12 : 12;
        keys[i].bone[LEFT_LEG].pitch = i == 0 ? -12 : 15;
    }
    return keys;
}

Animation BoomerangCaught()
{
    Animation keys(2, Rest());
    keys[0].frames = 5;
    keys[0].bone[RIGHT_ARM] = {150, -20, 0};
    keys[0].bone[HEAD].pitch = -15;
    keys[1].frames = 10;
    keys[1].bone[RIGHT_ARM] = {60, -10, 0};
    return keys;
}

// Standing at ease, puffing the pipe held in the mouth: the head tips back a little and returns.
Animation Pipe()
{
    Animation keys(2, Rest());
    for (Key& k : keys) {
        k.frames = 50;
        k.bone[RIGHT_ARM] = {8, -6, 0};
        k.bone[LEFT_ARM] = {8, 6, 0};
        k.bone[CHEST].pitch = -4;
    }
    keys[1].bone[HEAD].pitch = -10;
    keys[1].root.z = REST_HEIGHT + 0.3f;
    return keys;
}

Animation Stretching()
{
    Animation keys(3, Rest());
    keys[0].frames = 15;
    keys[1].frames = 25;
    keys[1].bone[LEFT_ARM] = {170, 20, 0};
    keys[1].bone[RIGHT_ARM] = {170, -20, 0};
    keys[1].bone[CHEST].pitch = -10;
    keys[1].bone[HEAD].pitch = -15;
    keys[1].root.z = REST_HEIGHT + 1.5f;
    keys[2].frames = 20;
    return keys;
}

Animation LookingRound()
{
    Animation keys(3, Rest());
    keys[0].frames = 15;
    keys[1].frames = 25;
    keys[1].bone[HEAD].yaw = 50;
    keys[1].bone[CHEST].yaw = 10;
    keys[2].frames = 30;
    keys[2].bone[HEAD].yaw = -50;
    keys[2].bone[CHEST].yaw = -10;
    return keys;
}

Animation Scratching()
{
    Animation keys(3, Rest());
    keys[0].frames = 12;
    keys[1].frames = 18;
    keys[1].bone[RIGHT_ARM] = {150, 40, 0};
    keys[1].bone[HEAD] = {0, 12, 0};
    keys[2].frames = 10;
    keys[2].bone[RIGHT_ARM] = {140, 45, 0};
    keys[2].bone[HEAD] = {0, 15, 0};
    return keys;
}

// Losing the footing: the pelvis tips, the arms fly out, the body drops a little and recovers.
Animation Slip(float pitch, float roll)
{
    Animation keys(3, Rest());
    keys[0].frames = 4;
    keys[1].frames = 8;
    keys[1].bone[PELVIS] = {pitch, roll, 0};
    keys[1].bone[CHEST] = {-pitch, -roll, 0};
    keys[1].bone[LEFT_ARM] = {30, 70, 0};
    keys[1].bone[RIGHT_ARM] = {30, -70, 0};
    keys[1].bone[LEFT_LEG].pitch = pitch > 0 ? -25 : 25;
    keys[1].root.z = REST_HEIGHT - 4;
    keys[2].frames = 14;
    keys[2].bone[LEFT_ARM].roll = 15;
    keys[2].bone[RIGHT_ARM].roll = -15;
    return keys;
}

std::vector<Animation> Animations()
{
    return {
        Stand(),
        WalkCycle(18, 14, 1.5f, 12, 0, 0, 2),
        WalkCycle(35, 30, 3, 7, 70, -45, 12),
        WalkCycle(35, 30, 3, 7, -70, 45, 12),
        WalkCycle(25, 20, 2, 9, 0, 0, 5),
        Holding(),
        Catching(),
        Hit(RIGHT_ARM, 1.0f),
        Hit(RIGHT_ARM, 0.5f),
        Hit(LEFT_ARM, 1.0f),
        Hit(LEFT_ARM, 0.5f),
        {},
        BallLost(),
        Throw(-70, 100, 40, false, 8),
        BoomerangCaught(),
        Throw(170, 90, 30, true, 10),
        Throw(160, 70, 20, false, 8),
        Pipe(),
        WalkCycle(16, 12, 1.2f, 14, 0, 0, 0),
        Stretching(),
        LookingRound(),
        Scratching(),
        Slip(25, 0),
        Slip(-20, 0),
        Slip(0, 22),
    };
}

// An attachment line: id, bone, offset, rotation.
std::string AttachmentLine(int id, int bone, const YVector& at, const Angles& turn)
{
    const Quat q = FileQuat(turn);
    return std::to_string(id) + " " + std::to_string(bone) + " " + Real(at.x) + " " + Real(at.y) + " " + Real(at.z) +
           " " + Real(q.x) + " " + Real(q.y) + " " + Real(q.z) + " " + Real(q.w) + "\n";
}

} // namespace

std::string HeroText()
{
    const MeshBuilder figure = Figure();
    std::string s = figure.Text("hero");
    s += "sceleton hero\n" + std::to_string(HERO_BONE_COUNT) + "\n";
    for (int i = 0; i < HERO_BONE_COUNT; ++i) {
        const BoneDef& bone = BONES[i];
        const YVector offset = bone.parent < 0 ? bone.pivot : bone.pivot - BONES[bone.parent].pivot;
        s += std::to_string(i) + " " + std::to_string(bone.parent) + " " + Real(offset.x) + " " + Real(offset.y) +
             " " + Real(offset.z) + " 0 0 0 1\n";
    }
    s += "points " + std::to_string(HERO_ATTACHMENT_COUNT) + "\n";
    s += AttachmentLine(0, CHEST, {0, 15, 2}, {});
    s += AttachmentLine(1, RIGHT_ARM, {3, 0.5f, -25.5f}, {});
    s += AttachmentLine(2, RIGHT_ARM, {3, 2.5f, -27}, {});
    // The pipe's stem runs along its +x; turned a quarter about z it points forward.
    s += AttachmentLine(3, HEAD, {1.5f, 7, -3.5f}, {0, 0, 90});
    s += "weights hero\n";
    for (int tag : figure.PositionTags())
        s += tag == PELVIS ? "0\n" : "1 " + std::to_string(tag) + " 1\n";
    int poses = 0;
    std::string keys;
    int frame = 0;
    for (const Animation& animation : Animations())
        for (const Key& key : animation) {
            frame += key.frames;
            keys += "key " + std::to_string(frame) + " " + Real(key.root.x) + " " + Real(key.root.y) + " " +
                    Real(key.root.z);
            for (const Angles& a : key.bone) {
                const Quat q = FileQuat(a);
                keys += " " + Real(q.x) + " " + Real(q.y) + " " + Real(q.z) + " " + Real(q.w);
            }
            keys += "\n";
            ++poses;
        }
    s += "poses " + std::to_string(poses) + "\n" + keys;
    return s;
}

} // namespace meshgen
