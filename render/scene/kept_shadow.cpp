#include "render/scene/kept_shadow.h"

#include "render/camera.h"
#include "render/scene/shadow_volume.h"

void YKeptShadow::Rebuild(const YVector& light, float planeZ) {
    light_ = light;
    planeZ_ = planeZ;
    count_ = 0;
    valid_ = true;
    ++builds_;
}

void YKeptShadow::AddEdge(const YVector& from, const YVector& to, bool flip) {
    // A silhouette of more edges than a box has cannot come from a box: the rest is left out.
    if (count_ == kMaxQuads) return;
    const YVector& a = flip ? from : to;
    const YVector& b = flip ? to : from;
    Quad& q = quads_[count_];
    if (!YShadowVolume::ProjectEdge(a, b, light_, planeZ_, &q.b2, &q.a2)) return;
    q.a = a;
    q.b = b;
    const YVector e = b - a;
    q.n = {e.y * light_.z - e.z * light_.y, e.z * light_.x - e.x * light_.z, e.x * light_.y - e.y * light_.x};
    ++count_;
}

void YKeptShadow::Emit() const {
    const YVector eye = g_Camera.Position();
    for (int i = 0; i < count_; ++i) {
        const Quad& q = quads_[i];
        g_ShadowVolume.AddQuad(q.a, q.b, q.b2, q.a2, q.n.Dot(eye - q.a) > 0.0f);
    }
}
