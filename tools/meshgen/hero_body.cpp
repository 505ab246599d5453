// The hero's body: a cage of rings (torso, limbs, neck and head) grown out of one another, smoothed
// twice. Joint rings are weighted across the two bones that meet there; the subdivision spreads
// that blend over the skin around the joint.
#include <cmath>

#include "tools/meshgen/hero_rig.h"

namespace meshgen {

const HeroJoint HERO_JOINTS[HERO_BONE_COUNT] = {
    {-1, {0, 0, HERO_REST_HEIGHT}},     // pelvis
    {HERO_PELVIS, {0, 0, 56}},          // chest: the waist
    {HERO_CHEST, {0, 0, 77}},           // head: the neck
    {HERO_CHEST, {-14, 0, 69}},         // left shoulder
    {HERO_CHEST, {14, 0, 69}},          // right shoulder
    {HERO_PELVIS, {-6.5f, 0, 42}},      // left hip
    {HERO_PELVIS, {6.5f, 0, 42}},       // right hip
    {HERO_LEFT_ARM, {-17, 0, 55}},      // left elbow
    {HERO_RIGHT_ARM, {17, 0, 55}},      // right elbow
    {HERO_LEFT_LEG, {-6.4f, 0.5f, 24}}, // left knee
    {HERO_RIGHT_LEG, {6.4f, 0.5f, 24}}, // right knee
};

namespace {

enum Material { SHIRT = 0, SKIN = 1, SHOES = 2, HAIR = 2, TROUSERS = 3 };

constexpr int RING_CORNERS = 8;

const YVector X{1, 0, 0}, Y{0, 1, 0}, Z{0, 0, 1};

YVector Unit(const YVector& v) { return v * (1.0f / std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z)); }

// A torso cross-section: eight corners round an ellipse, at 22.5 + 45k degrees from +x, so that
// a side (k = 7 to 0 and 3 to 4) faces straight out to each arm.
struct TorsoRing {
    float z, rx, ry, y;
    BoneWeights w;
};

class Builder {
public:
    Skin Build() {
        Torso();
        for (int side : {-1, 1}) {
            Arm(side);
            Leg(side);
        }
        Head();
        return skin_;
    }

private:
    void Torso() {
        const TorsoRing rings[] = {
            {39, 11.5f, 8.0f, 0.5f, OnBone(HERO_PELVIS)},
            {46, 12.5f, 8.8f, 0, OnBone(HERO_PELVIS)},
            {53, 11.0f, 7.6f, 0, Between(HERO_PELVIS, HERO_CHEST, 0.4f)},
            {60, 12.5f, 8.2f, 0, OnBone(HERO_CHEST)},
            {65, 13.5f, 8.5f, 0, OnBone(HERO_CHEST)},
            {73, 13.0f, 7.0f, -0.5f, OnBone(HERO_CHEST)},
        };
        const int materials[] = {TROUSERS, TROUSERS, SHIRT, SHIRT, SHIRT};
        constexpr int n = sizeof rings / sizeof rings[0];
        int ring[n][RING_CORNERS];
        for (int r = 0; r < n; ++r)
            for (int k = 0; k < RING_CORNERS; ++k) {
                const float a = (22.5f + 45.0f * float(k)) * HERO_PI / 180.0f;
                const TorsoRing& t = rings[r];
                ring[r][k] = skin_.AddCorner({t.rx * std::cos(a), t.y + t.ry * std::sin(a), t.z}, t.w);
            }
        for (int r = 0; r + 1 < n; ++r)
            for (int k = 0; k < RING_CORNERS; ++k) {
                const int j = (k + 1) % RING_CORNERS;
                const int q = skin_.AddQuad(ring[r][k], ring[r][j], ring[r + 1][j], ring[r + 1][k], materials[r]);
                // The arms grow out of the sides between the armpit and the shoulder.
                if (r == n - 2 && k == 7) armRoot_[1] = q;
                if (r == n - 2 && k == 3) armRoot_[0] = q;
            }
        // Bottom: a quad under each leg and one between; top: one over each shoulder and the
        // neck's between.
        const int* b = ring[0];
        legRoot_[1] = skin_.AddQuad(b[1], b[0], b[7], b[6], TROUSERS);
        skin_.AddQuad(b[6], b[5], b[2], b[1], TROUSERS);
        legRoot_[0] = skin_.AddQuad(b[5], b[4], b[3], b[2], TROUSERS);
        const int* t = ring[n - 1];
        skin_.AddQuad(t[6], t[7], t[0], t[1], SHIRT);
        neckRoot_ = skin_.AddQuad(t[1], t[2], t[5], t[6], SHIRT);
        skin_.AddQuad(t[2], t[3], t[4], t[5], SHIRT);
    }

    // From the shoulder out and down: the sleeve ends above the elbow, the forearm and the hand
    // (a mitten, broad front to back) are bare.
    void Arm(int side) {
        const float s = float(side);
        const int upper = side < 0 ? HERO_LEFT_ARM : HERO_RIGHT_ARM;
        const int fore = side < 0 ? HERO_LEFT_FOREARM : HERO_RIGHT_FOREARM;
        const int q = armRoot_[side < 0 ? 0 : 1];
        const YVector out{s, 0, 0};
        struct Step {
            YVector centre, v;
            float hu, hv;
            BoneWeights w;
            int material;
        };
        const Step steps[] = {
            {{16.5f * s, 0, 69}, Z, 4.4f, 4.4f, Between(HERO_CHEST, upper, 0.5f), SHIRT},
            {{18.3f * s, 0, 64}, Unit(out + Z), 4.2f, 4.2f, OnBone(upper), SHIRT},
            {{18.5f * s, 0, 60}, out, 3.9f, 3.9f, OnBone(upper), SHIRT},
            {{18.0f * s, 0, 57.5f}, out, 3.6f, 3.6f, OnBone(upper), SHIRT},
            {{17.6f * s, 0, 55}, out, 3.3f, 3.2f, Between(upper, fore, 0.5f), SKIN},
            {{17.5f * s, 0, 52.5f}, out, 3.2f, 3.1f, OnBone(fore), SKIN},
            {{17.5f * s, 0.3f, 47.5f}, out, 3.1f, 2.9f, OnBone(fore), SKIN},
            {{17.6f * s, 0.5f, 43}, out, 2.4f, 2.1f, OnBone(fore), SKIN},
            {{17.6f * s, 0.8f, 39.5f}, out, 3.8f, 2.0f, OnBone(fore), SKIN},
            {{17.6f * s, 0.9f, 34}, out, 3.2f, 1.6f, OnBone(fore), SKIN},
        };
        for (const Step& st : steps) skin_.Extrude(q, {st.centre, Y, st.v, st.hu, st.hv}, st.w, st.material, SKIN);
    }

    // From the hip down: trousers to the ankle, then a shoe whose toe is pulled forward.
    void Leg(int side) {
        const float s = float(side);
        const int thigh = side < 0 ? HERO_LEFT_LEG : HERO_RIGHT_LEG;
        const int shin = side < 0 ? HERO_LEFT_SHIN : HERO_RIGHT_SHIN;
        const int q = legRoot_[side < 0 ? 0 : 1];
        struct Step {
            YVector centre;
            float hu, hv;
            BoneWeights w;
            int material;
        };
        const Step steps[] = {
            {{6.9f * s, 0, 35}, 5.4f, 5.8f, Between(HERO_PELVIS, thigh, 0.75f), TROUSERS},
            {{6.7f * s, 0, 30}, 5.0f, 5.3f, OnBone(thigh), TROUSERS},
            {{6.5f * s, 0.3f, 26.5f}, 4.4f, 4.6f, OnBone(thigh), TROUSERS},
            {{6.4f * s, 0.6f, 24}, 4.3f, 4.4f, Between(thigh, shin, 0.5f), TROUSERS},
            {{6.4f * s, 0.3f, 21.5f}, 4.1f, 4.3f, OnBone(shin), TROUSERS},
            {{6.4f * s, -0.5f, 16}, 3.9f, 4.4f, OnBone(shin), TROUSERS},
            {{6.4f * s, 0, 8.5f}, 3.0f, 3.1f, OnBone(shin), TROUSERS},
            {{6.4f * s, 0.8f, 5.5f}, 3.7f, 4.5f, OnBone(shin), SHOES},
        };
        for (const Step& st : steps) skin_.Extrude(q, {st.centre, X, Y, st.hu, st.hv}, st.w, st.material, SHOES);
        const std::array<int, 4> heel = skin_.Extrude(q, {{6.4f * s, 1.2f, 0}, X, Y, 3.9f, 5.0f}, OnBone(shin), SHOES);
        const int front = skin_.Furthest(heel, Y);
        skin_.Extrude(front, {{6.4f * s, 10.5f, 2.4f}, X, Z, 3.5f, 2.3f}, OnBone(shin), SHOES);
    }

    // The neck, a round head with hair over the back and top, and a nose on an inset of the face.
    void Head() {
        const int q = neckRoot_;
        struct Step {
            YVector centre;
            float hu, hv;
            BoneWeights w;
            int material;
        };
        const Step steps[] = {
            {{0, -0.5f, 76}, 3.7f, 3.7f, Between(HERO_CHEST, HERO_HEAD, 0.3f), SKIN},
            {{0, 0, 79}, 3.5f, 3.6f, Between(HERO_CHEST, HERO_HEAD, 0.8f), SKIN},
            {{0, 1.0f, 81.5f}, 6.6f, 6.8f, OnBone(HERO_HEAD), SKIN},
        };
        for (const Step& st : steps) skin_.Extrude(q, {st.centre, X, Y, st.hu, st.hv}, st.w, st.material, SKIN);
        const std::array<int, 4> face = skin_.Extrude(q, {{0, 0.5f, 88}, X, Y, 8.3f, 8.3f}, OnBone(HERO_HEAD), SKIN);
        const std::array<int, 4> crown = skin_.Extrude(q, {{0, 0, 94}, X, Y, 7.6f, 7.6f}, OnBone(HERO_HEAD), HAIR);
        skin_.Quad(skin_.Furthest(crown, Y)).material = SKIN; // the forehead
        skin_.Quad(skin_.Furthest(face, Y * -1.0f)).material = HAIR;
        skin_.Extrude(q, {{0, -0.5f, 97.5f}, X, Y, 5.0f, 5.5f}, OnBone(HERO_HEAD), HAIR, HAIR);

        const int front = skin_.Furthest(face, Y);
        const YVector c = skin_.Centre(front);
        skin_.Extrude(front, {c + YVector(0, 0.2f, 0.8f), X, Z, 1.8f, 1.6f}, OnBone(HERO_HEAD), SKIN);
        skin_.Extrude(front, {c + YVector(0, 3.4f, 0.3f), X, Z, 1.1f, 1.2f}, OnBone(HERO_HEAD), SKIN);
    }

    Skin skin_;
    int armRoot_[2] = {}, legRoot_[2] = {}, neckRoot_ = 0;
};

} // namespace

Skin HeroBody() {
    // Smoothing lifts the soles off the cage's; the skin is set back down on the floor.
    Skin skin = Builder().Build().Subdivided().Subdivided();
    float low = skin.Corners().front().p.z;
    for (const SkinCorner& c : skin.Corners()) low = std::fmin(low, c.p.z);
    skin.Lift(-low);
    return skin;
}

} // namespace meshgen
