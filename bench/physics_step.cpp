// Cost of one physics step (ball updates, collision, quick step, contact hand-out) with 1, 5 and
// 20 balls bouncing on a 40 x 40 table in front of 500 blocks (every body with a listener that ignores its calls) resting on the floor. The blocks
// settle first: ODE's auto-disable puts them to sleep, so they cost next to nothing until a ball
// wakes some. The counters report the blocks awake at the end and the contact records per step.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "core/log.h"
#include "platform/sys/crt_rand.h"
#include "world/physics/arena.h"
#include "world/physics/physics_world.h"
#include "world/physics/rigid_body.h"
#include "world/physics/table_size.h"

namespace {

constexpr float kStep = 0.025f;
constexpr int kBlocks = 500;

float Unit() { return static_cast<float>(plat::CrtRand()) / 32767.0f; }

struct Scene {
    struct Ignore : YBumpEvent {
    } ignore;
    std::vector<std::unique_ptr<YRigidBox>> blocks;
    std::vector<std::unique_ptr<YRigidBall>> balls;

    explicit Scene(int ballCount) {
        PhysicsInit();
        plat::CrtSrand(1);
        dRandSetSeed(1);
        g_TableSize.Set(40.0f, 40.0f);
        dGeomID back = nullptr;
        PhysicsSetArena(&back, 40.0f, 40.0f, 3.0f);
        SetBackWallEnabled(back, true);
        // 25 x 20 blocks in the far half, a little apart; settled until every one sleeps.
        const YVector half(0.45f, 0.45f, 0.45f);
        const YVector inertia(0.135f, 0.135f, 0.135f);
        for (int i = 0; i < kBlocks; ++i) {
            auto b = std::make_unique<YRigidBox>(&half, false);
            b->SetMassDiagonal(1.0f, &inertia, true);
            YMatrix at;
            at.MatrixSetTranslation(YVector(-12.0f + (i % 25), 0.5f + (i / 25), 0.47f));
            b->SetMatrix(&at);
            b->listener = &ignore;
            blocks.push_back(std::move(b));
        }
        for (int i = 0; i < 2000 && Awake() > 0; ++i) g_PhysicsWorld.PhysicsStep(0.05f);
        // Balls in the near half, flying in all directions.
        const YVector ballInertia(1e-5f, 1e-5f, 1e-5f);
        for (int i = 0; i < ballCount; ++i) {
            auto ball = std::make_unique<YRigidBall>(0.5f, 0, 10.0f);
            ball->Configure(0.5f, 0, 10.0f, &ignore);
            ball->SetMassDiagonal(1.0f, &ballInertia, false);
            const YVector dir(Unit() - 0.5f, Unit() - 0.5f, 0.0f);
            const YVector from(Unit() * 30.0f - 15.0f, -18.0f + Unit() * 14.0f, 0.6f);
            ball->Launch(&dir, &from);
            balls.push_back(std::move(ball));
        }
    }
    ~Scene() {
        balls.clear();
        blocks.clear();
        PhysicsShutdown();
    }
    int Awake() const {
        int n = 0;
        for (const auto& b : blocks) n += b->IsEnabled() ? 1 : 0;
        return n;
    }
    void Frame() {
        for (auto& b : balls) b->Update(kStep);
        g_PhysicsWorld.PhysicsStep(kStep);
    }
};

void BM_PhysicsStep(benchmark::State& state) {
    LogReopen("");
    Scene scene(static_cast<int>(state.range(0)));
    const int awakeBefore = scene.Awake();
    long records = 0, steps = 0;
    for (auto _ : state) {
        scene.Frame();
        records += ContactRecordCount();
        ++steps;
    }
    state.counters["blocks_awake_at_start"] = awakeBefore;
    state.counters["blocks_awake_at_end"] = scene.Awake();
    state.counters["records_per_step"] = steps ? static_cast<double>(records) / steps : 0.0;
}
BENCHMARK(BM_PhysicsStep)->Arg(0)->Arg(1)->Arg(5)->Arg(20)->Unit(benchmark::kMicrosecond);

} // namespace
