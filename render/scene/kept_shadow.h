#pragma once
// The shadow volume quads of one box-shaped caster, kept from frame to frame. A caster that did not
// move since the last frame hands the shadow volume the quads it built then, instead of finding
// its silhouette and projecting its edges again: resting blocks cost a copy per frame. The quads
// hold while the light direction and the receiving plane are those they were built for; the owner
// calls Invalidate whenever the caster moves. Which list a quad goes to depends on the eye, so that
// is decided each frame, by the same rule as YShadowVolume::AddEdge. Main thread only.
#include "math/vector.h"

class YKeptShadow {
public:
    // A box's silhouette under a directional light has at most six edges.
    static constexpr int kMaxQuads = 6;

    // Forgets the quads: the next Holds answers false.
    void Invalidate() { valid_ = false; }
    // Whether the quads were built for this light direction and receiving plane and the caster has
    // not moved since.
    bool Holds(const YVector& light, float planeZ) const {
        return valid_ && planeZ == planeZ_ && light.x == light_.x && light.y == light_.y && light.z == light_.z;
    }
    // Starts a new set of quads for the light direction and plane (counted in Builds).
    void Rebuild(const YVector& light, float planeZ);
    // The quad of the edge a -> b as YShadowVolume::AddEdge would make it now (an edge below the
    // plane or under a horizontal light makes none); flip as in AddShadowEdge.
    void AddEdge(const YVector& a, const YVector& b, bool flip);
    // Every kept quad into the shadow volume's front or back list, by where the eye is now.
    void Emit() const;

    int QuadCount() const { return count_; }
    // How often the quads were built (tests: a resting caster builds them once).
    int Builds() const { return builds_; }

private:
    struct Quad {
        YVector a, b, b2, a2; // the edge and its ends on the plane
        YVector n;            // (b - a) x light: the eye on its positive side sees the quad's front
    };
    Quad quads_[kMaxQuads];
    YVector light_;
    float planeZ_ = 0.0f;
    int count_ = 0;
    int builds_ = 0;
    bool valid_ = false;
};
