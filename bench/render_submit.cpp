// Per-frame submission cost of a scene of 1,000 textured drawables: each frame queues them on the
// opaque draw queue by distance, drains it, and each drawer applies one of eight shaders (its
// texture, states and material), sets its world matrix and draws a textured quad; the frame begins
// and ends as the game's does (no colour clear). Through the null device (recording off, so the
// renderer's own cost and the device's state keeping are measured) and through OpenGL when a
// display is available.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "core/log.h"
#include "platform/gpu/d3dx_tex.h"
#include "platform/gpu/null/null_device.h"
#include "platform/gpu/pixel_format.h"
#include "platform/window/window.h"
#include "render/draw_list.h"
#include "render/render.h"
#include "render/render_d3d.h"
#include "render/texture.h"
#include "render/video_mode.h"
#include "support/bench_render.h"

namespace {

constexpr int kDrawables = 1000;
constexpr int kShaders = 8;

struct BenchShader : YShaderBase {
    BenchShader(YTexture* texture, int variant) {
        renderStates[RS_ALPHA_BLEND_ENABLE] = variant % 2;
        auto* stage = new YShaderStageBase();
        stage->texture = texture;
        stage->states[SS_COLOR_OP] = gpu::D3DTOP_MODULATE;
        stage->states[SS_ALPHA_OP] = gpu::D3DTOP_SELECTARG1;
        stage->states[SS_MIN_FILTER] = stage->states[SS_MAG_FILTER] = gpu::D3DTEXF_LINEAR;
        stages.push_back(stage);
        material.diffuse[0] = 0.1f * static_cast<float>(variant);
    }
    ~BenchShader() override {
        for (YShaderStageBase* s : stages) delete s;
    }
};

struct Drawable {
    YShaderBase* shader;
    YMatrix world;
    YVector pos;
};

class QuadDrawer : public YDrawObj {
public:
    void Draw(void* item) override {
        const Drawable& d = *static_cast<const Drawable*>(item);
        g_Render->SetShader(d.shader, true);
        g_Render->SetWorldMatrix(&d.world);
        static const YTexVertex quad[4] = {{{-1, -1, 0}, {0, 0}, {0, 0}},
                                           {{1, -1, 0}, {1, 0}, {1, 0}},
                                           {{1, 1, 0}, {1, 1}, {1, 1}},
                                           {{-1, 1, 0}, {0, 1}, {0, 1}}};
        g_Render->DrawTexQuad(quad);
    }
};

// The scene: textures, shaders and drawables spread over a 40 x 25 grid.
class Scene {
public:
    explicit Scene(gpu::IDevice* device) {
        for (int i = 0; i < kShaders; ++i) {
            textures_.push_back(std::make_unique<YTexture>());
            gpu::CreateTexture(device, 64, 64, 0, 0, gpu::D3DFMT_X8R8G8B8, gpu::D3DPOOL_MANAGED,
                               &textures_.back()->deviceTexture);
            shaders_.push_back(std::make_unique<BenchShader>(textures_.back().get(), i));
        }
        drawables_.resize(kDrawables);
        for (int i = 0; i < kDrawables; ++i) {
            Drawable& d = drawables_[static_cast<size_t>(i)];
            d.shader = shaders_[static_cast<size_t>((i * 7) % kShaders)].get();
            d.pos = YVector(static_cast<float>(i % 40) - 20.0f, static_cast<float>(i / 40) - 12.0f, 0.0f);
            d.world = YMatrix{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, d.pos.x, d.pos.y, d.pos.z, 1}};
        }
    }

    void Frame(YRender& r) {
        r.BeginFrame(false); // as the game frame: the background picture covers the screen
        r.SetPerspective(45.0f, 4.0f / 3.0f, 5.0f, 650.0f);
        for (Drawable& d : drawables_) QueueOpaqueDraw(&d, &d.pos, &drawer_);
        DrawOpaqueQueue();
        r.EndFrame();
    }

private:
    std::vector<std::unique_ptr<YTexture>> textures_;
    std::vector<std::unique_ptr<BenchShader>> shaders_;
    std::vector<Drawable> drawables_;
    QuadDrawer drawer_;
};

void BM_SubmitNullDevice(benchmark::State& state) {
    std::unique_ptr<Render_D3D> render = benchrender::MakeNullRenderer();
    {
        Scene scene(render->Device());
        for (auto _ : state) scene.Frame(*render);
        state.SetItemsProcessed(state.iterations() * kDrawables);
    }
}
BENCHMARK(BM_SubmitNullDevice)->Unit(benchmark::kMicrosecond);

// The window, the OpenGL device and the scene, made once per process and kept for every run:
// with repetitions, a window made and dropped per run lets an X server that resets when its last
// client leaves refuse the next run's window, so that run would skip while the others ran, and
// Google Benchmark's statistics cannot take runs of different lengths. Left to the end of the
// process on purpose (the X connection and the context go with it).
struct GlSetup {
    plat::Window window;
    std::unique_ptr<Render_D3D> render;
    std::unique_ptr<Scene> scene;
    std::string error;
};

GlSetup& OpenGlSetup() {
    static GlSetup* setup = [] {
        auto* s = new GlSetup();
        LogReopen("");
        plat::WindowDesc desc;
        desc.title = "render_submit";
        desc.width = 800;
        desc.height = 600;
        if (!s->window.Create(desc) || !benchrender::DisplayHasUsableMode()) {
            s->error = std::string("no OpenGL display (run under xvfb-run): ") + plat::Window::LastError();
            return s;
        }
        s->render = std::make_unique<Render_D3D>();
        std::vector<YVideoMode> modes;
        s->render->GetVideoModes(&modes);
        if (!s->render->CreateDevice(s->window.NativeHandle(), false, 0)) {
            s->render.reset();
            s->error = "no OpenGL device";
            return s;
        }
        s->scene = std::make_unique<Scene>(s->render->Device());
        return s;
    }();
    return *setup;
}

void BM_SubmitOpenGl(benchmark::State& state) {
    GlSetup& gl = OpenGlSetup();
    if (!gl.scene) {
        state.SkipWithError(gl.error.c_str());
        return;
    }
    for (auto _ : state) gl.scene->Frame(*gl.render);
    state.SetItemsProcessed(state.iterations() * kDrawables);
}
BENCHMARK(BM_SubmitOpenGl)->Unit(benchmark::kMicrosecond);

} // namespace
