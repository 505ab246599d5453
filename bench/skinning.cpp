// Per-frame cost of 20 animated heroes, the racket's figure ("mesh\hero.ams", set up as the racket
// sets it up): each frame every hero advances its channels (stand, the walking blend, some running
// or holding a ball, which blend by bone weights) and rebuilds its pose: blending, skinning of
// every position, face and vertex normals, attachment points. BM_HeroSkinning times that alone;
// BM_HeroSkinAndDrawNullDevice adds the frame's queue walk and drawing through the null device
// (recording off, so the renderer's own cost and the device's state keeping are measured): the
// upload of each hero's skinned vertices and its four subsets with their shaders.
//
// The model is read from the game folder beside this program (build the game_data target); it is
// imported from its text, so no cache file is written there.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "core/log.h"
#include "platform/sys/files.h"
#include "render/camera.h"
#include "render/draw_list.h"
#include "render/mesh/hero_channels.h"
#include "render/mesh/mesh_draw.h"
#include "render/mesh/mesh_import.h"
#include "render/mesh/mesh_text_reader.h"
#include "render/mesh/skel_channels.h"
#include "render/mesh/skel_import.h"
#include "render/mesh/skel_instance.h"
#include "render/mesh/skel_mesh.h"
#include "render/render.h"
#include "render/render_d3d.h"
#include "support/bench_render.h"

namespace {

constexpr int kHeroes = 20;
constexpr float kFrameTime = 0.02f;

// Lit, untextured: the figure's clothes, skin and shoes.
struct HeroShader : YShaderBase {
    HeroShader(float r, float g, float b) {
        const float colour[4] = {r, g, b, 1.0f};
        for (int i = 0; i < 4; ++i) material.diffuse[i] = material.ambient[i] = colour[i];
    }
};

// The hero as the racket has it: imported, scaled by 0.02, pose lists and channels from the
// channel table. Empty when the game folder has no model.
std::unique_ptr<YSkelMesh> LoadHero() {
    const std::string exe = plat::ModulePath();
    const std::string path = exe.substr(0, exe.find_last_of('/') + 1) + "game/mesh/hero.ams";
    auto mesh = std::make_unique<YSkelMesh>();
    YMeshTextReader text;
    if (text.Open(path.c_str()) != YMeshTextReader::OpenResult::Ok ||
        ImportMeshText(text, *mesh) != YMeshImportResult::Ok ||
        ImportSkeletonText(text, mesh->positionGroups.size(), *mesh) != YMeshImportResult::Ok)
        return nullptr;
    mesh->name = "mesh\\hero.ams";
    mesh->loaded = 1;
    mesh->BuildBindPose();
    mesh->Restore();
    mesh->Scale(0.02f);
    for (const HeroAnimation& a : HERO_ANIMATIONS) mesh->poseLists.push_back(MakeIntRange(a.firstPose, a.poseCount));
    for (std::size_t c = 0; c < HERO_CHANNELS.size(); ++c) {
        const HeroChannelSetup& ch = HERO_CHANNELS[c];
        mesh->SetChannel(static_cast<int32_t>(c), ch.syncChannel, ch.animation, ch.weight, ch.fadeIn, ch.fadeOut,
                         ch.loop, HERO_CHANNEL_REWIND);
        if (ch.boneWeights) mesh->SetChannelBoneWeights(static_cast<int32_t>(c), ch.boneWeights);
    }
    return mesh;
}

class Scene {
public:
    Scene() {
        render_ = benchrender::MakeNullRenderer();

        mesh_ = LoadHero();
        if (!mesh_) return;
        for (int i = 0; i < kHeroes; ++i) {
            auto hero = std::make_unique<YSkelMeshInstance>(mesh_.get());
            hero->shaders = {&clothes_, &skin_, &shoes_, &trousers_};
            hero->shadowMode = SHADOW_PLANAR;
            hero->drawFlags = 2;
            hero->rate = 100.0f;
            hero->SetPose(0, false);
            // The walking blend at a different speed for each, a few running, some holding a
            // ball; all at different points of their cycles.
            const float w = static_cast<float>(i % 5) / 5.0f;
            hero->StartChannel(ChannelNumber(HeroChannel::Stand), -1, std::max(0.0f, 1.0f - 8.0f * w));
            hero->StartChannel(ChannelNumber(HeroChannel::SlowWalk), -1,
                               w < 0.25f ? 4.0f * w : std::max(0.0f, 1.0f - 4.0f * (w - 0.25f)));
            hero->StartChannel(ChannelNumber(HeroChannel::Walk), -1,
                               w < 0.5f ? std::max(0.0f, 2.6666667f * (w - 0.125f)) : 1.0f - 2.0f * (w - 0.5f));
            if (w > 0.5f) hero->StartChannel(ChannelNumber(HeroChannel::RunTowardsPlusX), -1, 2.0f * (2.0f * w - 1.0f));
            if (i % 3 == 0) hero->StartChannel(ChannelNumber(HeroChannel::Holding), -1, -1);
            for (int k = 0; k < i; ++k) hero->UpdateChannels(0.037f);
            YMatrix place;
            place.MatrixSetTranslation(YVector(static_cast<float>(i - kHeroes / 2), 5.0f, 0.0f));
            hero->SetTransform(place.m);
            heroes_.push_back(std::move(hero));
        }
    }

    bool Loaded() const { return mesh_ != nullptr; }

    void Animate() {
        for (auto& hero : heroes_) {
            hero->UpdateChannels(kFrameTime);
            hero->UpdatePose();
        }
    }

    void Draw() {
        render_->BeginFrame(false);
        render_->SetPerspective(45.0f, 4.0f / 3.0f, 5.0f, 650.0f);
        render_->SetWorldMatrix(&g_Camera.view);
        QueueMeshDraws();
        DrawOpaqueQueue();
        DrawBlendedQueue();
        render_->EndFrame();
    }

private:
    std::unique_ptr<Render_D3D> render_;
    std::unique_ptr<YSkelMesh> mesh_;
    HeroShader clothes_{0.75f, 0.12f, 0.1f}, skin_{0.95f, 0.72f, 0.55f}, shoes_{0.3f, 0.2f, 0.12f},
        trousers_{0.4f, 0.45f, 0.3f};
    std::vector<std::unique_ptr<YSkelMeshInstance>> heroes_; // destroyed before the mesh
};

void BM_HeroSkinning(benchmark::State& state) {
    Scene scene;
    if (!scene.Loaded()) {
        state.SkipWithError("no game/mesh/hero.ams beside the program (build the game_data target)");
        return;
    }
    for (auto _ : state) scene.Animate();
    state.SetItemsProcessed(state.iterations() * kHeroes);
}
BENCHMARK(BM_HeroSkinning)->Unit(benchmark::kMicrosecond);

void BM_HeroSkinAndDrawNullDevice(benchmark::State& state) {
    Scene scene;
    if (!scene.Loaded()) {
        state.SkipWithError("no game/mesh/hero.ams beside the program (build the game_data target)");
        return;
    }
    for (auto _ : state) {
        scene.Animate();
        scene.Draw();
    }
    state.SetItemsProcessed(state.iterations() * kHeroes);
}
BENCHMARK(BM_HeroSkinAndDrawNullDevice)->Unit(benchmark::kMicrosecond);

} // namespace
