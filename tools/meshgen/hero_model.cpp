// Writes the racket's character: the skin with its bone weights, the skeleton, four attachment
// points and the key poses, in the order of render/mesh/hero_channels.h (see hero_model.h).
#include "tools/meshgen/hero_model.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/meshgen/hero_rig.h"
#include "tools/meshgen/mesh_builder.h"

namespace meshgen {

namespace {

// ---- the half turn ----
//
// Everything is authored with the figure facing +y (its left at -x). What is written is turned
// half round about z, so the file's figure faces -y.

YVector Turned(const YVector& v) { return {-v.x, -v.y, v.z}; }

struct Quat {
    float x, y, z, w;
};

Quat Mul(const Quat& a, const Quat& b) {
    return {a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y, a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x,
            a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w, a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z};
}

Quat AboutAxis(float x, float y, float z, float degrees) {
    const float h = degrees * HERO_PI / 360.0f;
    return {x * std::sin(h), y * std::sin(h), z * std::sin(h), std::cos(h)};
}

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

std::string Real(float v) { return FormatReal(std::fabs(v) < 1e-6f ? 0.0f : v); }

std::string Vec(const YVector& v) { return Real(v.x) + " " + Real(v.y) + " " + Real(v.z); }

// ---- the skin ----

// Weights in 1/1024ths, dropping shares below one of them and rounding so that the written
// weights sum to exactly 1.
std::string WeightLine(const BoneWeights& w) {
    constexpr int UNITS = 1024;
    int units[HERO_BONE_COUNT] = {};
    int total = 0, largest = 0;
    for (int b = 0; b < HERO_BONE_COUNT; ++b) {
        units[b] = static_cast<int>(std::lround(w[static_cast<std::size_t>(b)] * UNITS));
        total += units[b];
        if (units[b] > units[largest]) largest = b;
    }
    units[largest] += UNITS - total;
    std::string line;
    int count = 0;
    for (int b = 0; b < HERO_BONE_COUNT; ++b)
        if (units[b] > 0) {
            line += " " + std::to_string(b) + " " + Real(float(units[b]) / UNITS);
            ++count;
        }
    return std::to_string(count) + line + "\n";
}

// The mesh block and, separately, the weights of its positions. Every quad is cut along its
// shorter diagonal. Texture coordinates are a projection from the front (one per position, so no
// vertex is split), for textures that shade the figure top to bottom.
void WriteSkin(const Skin& skin, std::string& mesh, std::string& weights) {
    const std::vector<SkinCorner>& corners = skin.Corners();
    mesh = "mesh hero\nvertices " + std::to_string(corners.size()) + "\n";
    for (const SkinCorner& c : corners) mesh += Vec(Turned(c.p)) + "\n";
    mesh += "tvertices " + std::to_string(corners.size()) + "\n";
    for (const SkinCorner& c : corners) mesh += Real(0.5f + c.p.x / 100.0f) + " " + Real(c.p.z / 100.0f) + "\n";
    mesh += "faces " + std::to_string(2 * skin.Quads().size()) + "\n";
    auto distance = [&](int a, int b) {
        const YVector d = corners[static_cast<std::size_t>(a)].p - corners[static_cast<std::size_t>(b)].p;
        return d.x * d.x + d.y * d.y + d.z * d.z;
    };
    auto tri = [&](int a, int b, int c, int material) {
        const std::string p = std::to_string(a) + " " + std::to_string(b) + " " + std::to_string(c);
        mesh += p + " " + p + " " + std::to_string(material) + " 1\n";
    };
    for (const SkinQuad& q : skin.Quads()) {
        const auto& c = q.c;
        if (distance(c[0], c[2]) <= distance(c[1], c[3])) {
            tri(c[0], c[1], c[2], q.material);
            tri(c[0], c[2], c[3], q.material);
        } else {
            tri(c[0], c[1], c[3], q.material);
            tri(c[1], c[2], c[3], q.material);
        }
    }
    mesh += "end\n";
    weights.clear();
    for (const SkinCorner& c : corners) weights += WeightLine(c.w);
}

// An attachment line: id, bone, offset from the bone's joint, rotation.
std::string AttachmentLine(int id, int bone, const YVector& at, const Angles& turn) {
    const Quat q = AttachmentQuat(turn);
    return std::to_string(id) + " " + std::to_string(bone) + " " + Vec(Turned(at)) + " " + Real(q.x) + " " + Real(q.y) +
           " " + Real(q.z) + " " + Real(q.w) + "\n";
}

} // namespace

std::string HeroText() {
    const std::vector<Animation> animations = HeroAnimations();
    for (std::size_t a = 0; a < HERO_ANIMATIONS.size(); ++a)
        if (a >= animations.size() || animations[a].size() != std::size_t(HERO_ANIMATIONS[a].poseCount)) {
            std::fprintf(stderr, "meshgen: hero animation %zu (%s) does not have the %d keys of the channel table\n", a,
                         HERO_ANIMATIONS[a].what, HERO_ANIMATIONS[a].poseCount);
            return "";
        }

    std::string s, weights;
    WriteSkin(HeroBody(), s, weights);
    s += "sceleton hero\n" + std::to_string(HERO_BONE_COUNT) + "\n";
    for (int i = 0; i < HERO_BONE_COUNT; ++i) {
        const HeroJoint& joint = HERO_JOINTS[i];
        const YVector offset = joint.parent < 0 ? joint.pivot : joint.pivot - HERO_JOINTS[joint.parent].pivot;
        s += std::to_string(i) + " " + std::to_string(joint.parent) + " " + Vec(Turned(offset)) + " 0 0 0 1\n";
    }
    auto fromJoint = [](int bone, const YVector& at) { return at - HERO_JOINTS[bone].pivot; };
    s += "points " + std::to_string(HERO_ATTACHMENT_COUNT) + "\n";
    // Far enough in front that a ball of radius 0.5 (25 units here) clears the chest.
    s += AttachmentLine(HERO_HOLD, HERO_CHEST, fromJoint(HERO_CHEST, {0, 27, 60}), {});
    s += AttachmentLine(HERO_HAND, HERO_RIGHT_FOREARM, fromJoint(HERO_RIGHT_FOREARM, {17.4f, 0.8f, 38}), {});
    s += AttachmentLine(HERO_GRIP, HERO_RIGHT_FOREARM, fromJoint(HERO_RIGHT_FOREARM, {16.0f, 2.5f, 37}), {});
    // At the corner of the mouth below the nose; the pipe's stem runs along its +x, turned a
    // quarter to point forward.
    s += AttachmentLine(HERO_MOUTH, HERO_HEAD, fromJoint(HERO_HEAD, {1.5f, 7.5f, 82.5f}), {0, 0, 90});
    s += "weights hero\n" + weights;
    int poses = 0;
    std::string keys;
    int frame = 0;
    for (const Animation& animation : animations)
        for (const Key& key : animation) {
            frame += key.frames;
            keys += "key " + std::to_string(frame) + " " + Vec(Turned(key.root));
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
