#include "world/racket/racket_visuals.h"

#include <cmath>

#include "core/init.h"
#include "platform/sys/crt_rand.h"
#include "render/camera.h"
#include "render/draw_list.h"
#include "render/render.h"
#include "render/scene/particles.h"
#include "render/shader.h"
#include "world/physics/table_size.h"
#include "world/racket/falling_bonus_link.h"
#include "world/racket/racket.h"
#include "world/racket/racket_tacked.h"
#include "world/table/wall_contacts.h"

namespace {

float Unit() { return static_cast<float>(plat::CrtRand()) / 32767.0f; }

YSpeedLine g_SpeedLines[SPEED_LINE_COUNT];
YShieldCell g_ShieldCells[SHIELD_CELL_MAX];
int g_ShieldCellCount = 0;
float g_SparkAccumulator = 0.0f;

// A quad from start to end, widened by +-0.2 of the camera's up axis, with "speedline" at
// 0.33 x the line's strength.
class YDrawSpeedLine final : public YDrawObj {
public:
    void Draw(void* item) override {
        if (!g_Render) return;
        const YSpeedLine& line = *static_cast<const YSpeedLine*>(item);
        static YShader* shader = FindShader("speedline");
        shader->material.diffuse[3] = 0.33f * line.strength;
        g_Render->SetShader(shader, true);
        const YVector w = g_Camera.up * 0.2f;
        YTexVertex v[4];
        v[0] = {line.start - w, {0.0f, 0.0f}, {0.0f, 0.0f}};
        v[1] = {line.start + w, {0.0f, 1.0f}, {0.0f, 1.0f}};
        v[2] = {line.end + w, {1.0f, 1.0f}, {1.0f, 1.0f}};
        v[3] = {line.end - w, {1.0f, 0.0f}, {1.0f, 0.0f}};
        g_Render->DrawTexQuad(v);
    }
};

// A shield cell: "split2" tinted (0.2a, 0.1a, 0.75a, a), a square of half size 1.5 on the near wall.
class YShieldCellDraw final : public YDrawObj {
public:
    void Draw(void* item) override {
        if (!g_Render) return;
        const YShieldCell& cell = *static_cast<const YShieldCell*>(item);
        static YShader* shader = FindShader("split2");
        const float a = cell.opacity;
        const float colour[4] = {0.2f * a, 0.1f * a, 0.75f * a, a};
        g_Render->SetShader(shader, true);
        YMaterial m;
        for (int i = 0; i < 4; ++i) m.emissive[i] = colour[i];
        g_Render->SetMaterial(&m, false);
        DrawWallContactQuad(&cell.position, false, 1.5f);
    }
};

YDrawSpeedLine g_SpeedLineDrawer;
YShieldCellDraw g_ShieldCellDrawer;

void AddShieldCell(const YVector& p, float shieldTime) {
    const float a = 1.0f - (p.y + g_TableSize.halfDepth) / 7.0f;
    if (!(a > 0.0f && a < 1.0f) || g_ShieldCellCount >= SHIELD_CELL_MAX) return;
    YShieldCell& cell = g_ShieldCells[g_ShieldCellCount++];
    cell.position = YVector(p.x, -g_TableSize.halfDepth, p.z);
    cell.opacity = a * std::fmin(1.0f, 0.2f * shieldTime);
}

void SpeedLines(YRacket& r) {
    const float ratio = r.speedFactor * r.velocity / r.maxSpeed;
    const float s = std::fabs(ratio / 3.0f);
    const float d = 2.0f * ratio;
    for (YSpeedLine& line : g_SpeedLines) {
        const float z = 0.25f + 3.5f * Unit();
        const float y = r.posY - 1.0f + 2.0f * Unit();
        const float sign = d <= 0.0f ? -1.0f : 1.0f;
        const float x1 = r.posX - sign * Unit();
        const float x0 = x1 - d;
        if (std::fabs(x0) <= g_TableSize.halfWidth) {
            line.start = YVector(x0, y, z);
            line.end = YVector(x1, y, z);
            line.strength = s;
            const YVector mid = (line.start + line.end) * 0.5f;
            QueueBlendedDraw(&line, &mid, &g_SpeedLineDrawer);
        }
    }
}

void SleepSparks(YRacket& r, float dt) {
    static YShader* shader = FindShader("spark2");
    static const float start[4] = {0.5f, 0.7f, 1.0f, 0.7f};
    static const float end[4] = {0.5f, 0.7f, 1.0f, 0.1f};
    g_SparkAccumulator += dt;
    const int n = static_cast<int>(g_SparkAccumulator * 20.0f);
    g_SparkAccumulator -= 0.05f * static_cast<float>(n);
    for (int i = 0; i < n; ++i) {
        const float angle = 2.0f * 3.14159265f * Unit();
        const float m = 0.7f + 0.2f * Unit();
        const YVector p(r.posX + std::cos(angle) * m, r.posY + std::sin(angle) * m, 4.0f * Unit());
        const YVector v(r.speedFactor * r.velocity * 0.5f, 0.0f, 0.0f);
        g_ParticleSystem.Emit(0.3425f + 0.015f * Unit(), 0.25f, 0.2f, &p, &v, -1.0f, nullptr, shader, start, end);
    }
}

void VisitBonus(const YVector& p, void* context) { AddShieldCell(p, *static_cast<float*>(context)); }

void ShieldCells(YRacket& r) {
    g_ShieldCellCount = 0;
    if (GetInit().CurrentGameMode().bonusMode != 2) {
        float shieldTime = r.shieldTime;
        FallingBonusLink().visitPositions(VisitBonus, &shieldTime);
    }
    for (YRacketTacked* obj : TackedList()) {
        if (obj == r.held) continue;
        YMatrix m;
        obj->GetMatrix(&m);
        AddShieldCell(YVector(m.m[12], m.m[13], m.m[14]), r.shieldTime);
    }
    for (int i = 0; i < g_ShieldCellCount; ++i)
        QueueBlendedDraw(&g_ShieldCells[i], &g_ShieldCells[i].position, &g_ShieldCellDrawer);
}

} // namespace

void SetFrostStrength(float strength) {
    static YShader* frost = FindShader("frost");
    frost->material.diffuse[3] = strength;
}

void UpdateRacketVisuals(YRacket& r, float dt) {
    if (r.vivacityTime > 0.0f && std::fabs(r.speedFactor * r.velocity) > r.maxSpeed) {
        SpeedLines(r);
    } else if (r.slumberTime > 0.0f) {
        SleepSparks(r, dt);
    }
    if (r.shieldTime > 0.0f) {
        ShieldCells(r);
    } else {
        g_ShieldCellCount = 0;
    }
}

const YSpeedLine* SpeedLines() { return g_SpeedLines; }
const YShieldCell* ShieldCells() { return g_ShieldCells; }
int ShieldCellCount() { return g_ShieldCellCount; }
