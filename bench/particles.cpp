// Per-frame cost of the particle pool with 5,000 live particles: every frame the expired ones are
// replaced (as a steady stream of effects would), the pool is updated (age, gravity and speed
// control for half of them, movement) and every particle is queued on the blended draw queue.
// BM_ParticleUpdateAndQueue times that alone; BM_ParticleFrameNullDevice adds draining the queue,
// which draws each particle as a tinted billboard through the null device (recording off, so the
// renderer's own cost and the device's state keeping are measured).
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "core/log.h"
#include "platform/gpu/d3dx_tex.h"
#include "platform/sys/crt_rand.h"
#include "render/draw_list.h"
#include "render/render.h"
#include "render/render_d3d.h"
#include "render/scene/particles.h"
#include "render/scene/space_warp.h"
#include "render/shader.h"
#include "render/texture.h"
#include "support/bench_render.h"

namespace {

constexpr int kLive = 5000;
constexpr float kFrameTime = 0.02f;

const float kHot[4] = {1.0f, 0.8f, 0.3f, 1.0f};
const float kCold[4] = {0.6f, 0.1f, 0.0f, 0.0f};

float Unit() { return static_cast<float>(plat::CrtRand()) / 32767.0f; }

// Tops the pool up to kLive with particles of 1 to 2 s around the origin; every other one is a
// falling spark with speed control.
void Refill(YParticleSystem& ps, YShader* shader) {
    while (ps.Particles().size() < static_cast<std::size_t>(kLive)) {
        const YVector pos(Unit() * 20.0f - 10.0f, Unit() * 20.0f - 10.0f, Unit() * 5.0f);
        const YVector vel(Unit() - 0.5f, Unit() - 0.5f, Unit() + 0.5f);
        const bool spark = (ps.Particles().size() & 1) != 0;
        ps.Emit(1.0f + Unit(), 0.5f, 0.2f, &pos, &vel, spark ? 0.75f : -1.0f, spark ? &ParticleGravity : nullptr,
                shader, kHot, kCold);
    }
}

struct NullRenderer {
    NullRenderer() {
        render = benchrender::MakeNullRenderer();

        texture = std::make_unique<YTexture>();
        gpu::CreateTexture(render->Device(), 64, 64, 0, 0, gpu::D3DFMT_A8R8G8B8, gpu::D3DPOOL_MANAGED,
                           &texture->deviceTexture);
        shader = FindShader("bench_particle");
        shader->Reset();
        shader->renderStates[RS_ALPHA_BLEND_ENABLE] = 1;
        shader->renderStates[RS_SRC_BLEND] = gpu::D3DBLEND_SRCALPHA;
        shader->renderStates[RS_DEST_BLEND] = gpu::D3DBLEND_ONE;
        shader->renderStates[RS_DEPTH_WRITE_ENABLE] = 0;
        YShaderStage* stage = shader->AddStage();
        stage->texture = texture.get();
        stage->states[SS_COLOR_OP] = gpu::D3DTOP_MODULATE;
        stage->states[SS_ALPHA_OP] = gpu::D3DTOP_MODULATE;
    }
    ~NullRenderer() {
        shader->Reset();
        texture.reset();
    }

    std::unique_ptr<Render_D3D> render;
    std::unique_ptr<YTexture> texture;
    YShader* shader = nullptr;
};

void BM_ParticleUpdateAndQueue(benchmark::State& state) {
    NullRenderer r;
    plat::CrtSrand(1);
    YParticleSystem ps;
    Refill(ps, r.shader);
    for (auto _ : state) {
        Refill(ps, r.shader);
        ps.Update(kFrameTime);
        state.PauseTiming();
        DrawBlendedQueue();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * kLive);
}
BENCHMARK(BM_ParticleUpdateAndQueue)->Unit(benchmark::kMicrosecond);

void BM_ParticleFrameNullDevice(benchmark::State& state) {
    NullRenderer r;
    plat::CrtSrand(1);
    YParticleSystem ps;
    Refill(ps, r.shader);
    for (auto _ : state) {
        r.render->BeginFrame(false);
        r.render->SetPerspective(45.0f, 4.0f / 3.0f, 0.1f, 650.0f);
        Refill(ps, r.shader);
        ps.Update(kFrameTime);
        DrawBlendedQueue();
        r.render->EndFrame();
    }
    state.SetItemsProcessed(state.iterations() * kLive);
}
BENCHMARK(BM_ParticleFrameNullDevice)->Unit(benchmark::kMicrosecond);

} // namespace
