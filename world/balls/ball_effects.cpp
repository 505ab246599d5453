#include "world/balls/ball_effects.h"

#include <algorithm>
#include <cmath>

#include "platform/sys/crt_rand.h"
#include "render/camera.h"
#include "render/render.h"
#include "render/scene/particles.h"
#include "render/shader.h"

namespace {

float Length(const YVector& v) { return std::sqrt(v.Dot(v)); }

float Jitter() { return static_cast<float>(plat::CrtRand()) * 0.75f / 32767.0f - 0.375f; }

} // namespace

bool CrownPlacement(const YVector& position, float radius, float sizeFactor, YVector* centre, float* halfSize) {
    const YVector d = position - g_Camera.Position();
    const float len = Length(d);
    if (!(len >= 1e-6f)) return false;
    *centre = position - d * (radius * 1.1f / len);
    *halfSize = sizeFactor * radius;
    return true;
}

void YDrawBlastLine::Draw(void* item) {
    if (!g_Render) return;
    static YShader* shader = FindShader("lightning");
    static YTexVertex quad[4];
    const LightningSegment* s = static_cast<const LightningSegment*>(item);
    g_Render->SetWorldMatrix(&g_Camera.view); // world space, whatever the drawer before left
    g_Render->SetShader(shader, true);
    quad[0].pos = s->start + s->side;
    quad[0].uv = quad[0].uv2 = YVector2(1.0f, 0.0f);
    quad[1].pos = s->end + s->side;
    quad[1].uv = quad[1].uv2 = YVector2(1.0f, 1.0f);
    quad[2].pos = s->end - s->side;
    quad[2].uv = quad[2].uv2 = YVector2(0.0f, 1.0f);
    quad[3].pos = s->start - s->side;
    quad[3].uv = quad[3].uv2 = YVector2(0.0f, 0.0f);
    g_Render->DrawTexQuad(quad);
}

YDrawBlastLine* BlastLineDrawer() {
    static YDrawBlastLine drawer;
    return &drawer;
}

int LightningSegmentCount(float length, float segmentLength, int maxCount) {
    // A ratio that is no number or beyond int's range is clamped before the conversion.
    float ratio = std::floor(length / segmentLength);
    if (!(ratio >= 1.0f)) ratio = 1.0f;
    if (ratio > static_cast<float>(maxCount)) ratio = static_cast<float>(maxCount);
    return std::max(1, static_cast<int>(ratio));
}

void BuildLightning(LightningSegment* segments, int maxCount, const YVector* from, const YVector* to, float width,
                    float segmentLength) {
    if (maxCount < 1) return;
    const YVector d = *to - *from;
    const float len = Length(d);
    if (!(len >= 1e-6f)) return;
    const YVector u = d * (1.0f / len);
    const YVector& b = g_Camera.back;
    const YVector side = YVector(u.y * b.z - u.z * b.y, u.z * b.x - u.x * b.z, u.x * b.y - u.y * b.x) * width;
    const int count = LightningSegmentCount(len, segmentLength, maxCount);
    const float step = len / static_cast<float>(count);
    YVector p = *from;
    for (int i = 1; i <= count; ++i) {
        LightningSegment& s = segments[i - 1];
        s.start = p;
        const float jx = Jitter();
        const float jy = Jitter();
        const float jz = Jitter();
        p = *from + u * (step * static_cast<float>(i)) + YVector(jx, jy, jz);
        s.end = p;
        s.side = side;
        const YVector mid = (s.start + s.end) * 0.5f;
        QueueBlendedDraw(&s, &mid, BlastLineDrawer());
    }
}
