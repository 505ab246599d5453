#include "shell/menu_comets.h"

#include <cmath>

#include "platform/sys/crt_rand.h"
#include "render/render.h"
#include "render/scene/particles.h"
#include "render/shader.h"
#include "world/table/table.h"

namespace {

constexpr float YAW_SPEED = 75.0f;
constexpr float PARTICLE_LIFETIME = 0.8f;
constexpr float PARTICLE_SIZE_START = 0.5f;
constexpr float PARTICLE_SIZE_END = 0.2f;
constexpr float PARTICLE_SPEED = 2.0f;
constexpr float PARTICLE_END_ALPHA = 0.75f;
constexpr float LIGHT_SPOT_HEIGHT = 6.5f;
constexpr float STAR_SIZE = 0.7f;

float RandUnit() { return static_cast<float>(plat::CrtRand()) / 32767.0f; }

// A speed around `centre`, up to 2.5 either side.
float SpreadSpeed(float centre) { return centre - 2.5f + 5.0f * RandUnit(); }

YShader* CometShader() {
    static YShader* shader = FindShader("comets");
    return shader;
}

YDrawStar g_DrawStar;

} // namespace

YMenuComet::YMenuComet(float yaw, const float colour_[4]) {
    const float radiusSpeed = SpreadSpeed(33.0f);
    const float heightSpeed = SpreadSpeed(17.0f);
    orbit.Init(yaw, YAW_SPEED, radiusSpeed, heightSpeed, 10.0f, 1.0f, 3.0f, 1.5f);
    for (int i = 0; i < 4; ++i) colour[i] = colour_[i];
}

void YMenuComet::Update(float dt) {
    emissionTimer += dt;
    orbit.Update(dt);
    const int n = static_cast<int>(particleRate * emissionTimer);
    if (n > 0) {
        emissionTimer -= static_cast<float>(n) / particleRate;
        const float endColour[4] = {colour[0], colour[1], colour[2], PARTICLE_END_ALPHA};
        for (int i = 0; i < n; ++i) {
            YVector d;
            float length;
            do {
                d = YVector(RandUnit() - 0.5f, RandUnit() - 0.5f, RandUnit() - 0.5f);
                length = std::sqrt(d.Dot(d));
            } while (length <= 0.000001f);
            const YVector velocity = d * (PARTICLE_SPEED / length);
            g_ParticleSystem.Emit(PARTICLE_LIFETIME, PARTICLE_SIZE_START, PARTICLE_SIZE_END, &orbit.position, &velocity,
                                  -1.0f, nullptr, CometShader(), colour, endColour);
        }
    }
    AddLightSpot(&orbit.position, colour, LIGHT_SPOT_HEIGHT);
    QueueBlendedDraw(this, &orbit.position, &g_DrawStar);
}

void YDrawStar::Draw(void* item) {
    static YShader* shader = FindShader("star");
    static const float TINT[4] = {0.8f, 0.6f, 0.4f, 1.0f};
    const YMenuComet* comet = static_cast<const YMenuComet*>(item);
    if (!g_Render) return;
    g_Render->SetShader(shader, true);
    DrawTintedBillboard(&comet->orbit.position, STAR_SIZE, TINT);
}

YMenuComet* MenuComets() {
    static const float COLOURS[MENU_COMET_COUNT][4] = {
        {1.0f, 0.2f, 0.1f, 1.0f}, {1.0f, 0.6f, 0.2f, 1.0f}, {0.2f, 0.6f, 1.0f, 1.0f}};
    // Built in order, so the speeds are drawn comet by comet.
    static YMenuComet comets[MENU_COMET_COUNT] = {YMenuComet(0.0f, COLOURS[0]), YMenuComet(120.0f, COLOURS[1]),
                                                  YMenuComet(-120.0f, COLOURS[2])};
    return comets;
}

void UpdateMenuComets(float dt) {
    YMenuComet* comets = MenuComets();
    for (int i = 0; i < MENU_COMET_COUNT; ++i) comets[i].Update(dt);
}
