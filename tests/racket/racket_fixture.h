#pragma once
// A racket on a procedural hero: a few bones, the full set of key poses (or fewer, for models that
// are too small), hold points, and a parked walk whose poses carry their root turns. A recording
// play-event listener, an ear on the world's sounds, the 15-bit generator seeded, a 20 x 20 table
// size, and blocks counted as standing so that a level is not taken as cleared.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "core/init.h"
#include "core/log.h"
#include "render/mesh/hero_channels.h"
#include "render/mesh/skel_mesh.h"
#include "render/scene/particles.h"
#include "sound/sound_fx.h"
#include "support/temp_dir.h"
#include "world/blocks/block.h"
#include "world/blocks/block_hooks.h"
#include "world/physics/zdelete.h"
#include "world/physics_fixture.h"
#include "world/play/world_setup.h"
#include "world/racket/hero_model.h"
#include "world/racket/racket.h"
#include "world/racket/racket_tacked.h"
#include "world/world_sound.h"

namespace rackettest {

// Model units per world unit is 50: the racket scales the model by 0.02.
constexpr float PARKED_STEP = 10.0f; // model units walked per parked-walk key

// A hero of `bones` bones in a chain, `poses` key poses of 4 frames each and `attachments` hold
// points, registered under `name`. With every pose, the parked walk's poses carry growing root
// offsets along -y.
inline YSkelMesh* MakeHero(const std::string& name, int bones, int poses, int attachments) {
    auto* mesh = new YSkelMesh();
    mesh->name = name;
    for (int b = 0; b < bones; ++b) {
        YBone bone;
        bone.parent = b - 1;
        bone.offset = YVector(0.0f, 0.0f, b == 0 ? 50.0f : 10.0f);
        mesh->bones.push_back(bone);
    }
    for (int p = 0; p < poses; ++p) {
        YSkelPose pose;
        pose.frames = 4;
        pose.rotations.assign(static_cast<std::size_t>(bones), YQuat{0, 0, 0, 1});
        mesh->poses.push_back(pose);
    }
    if (poses >= HERO_POSE_COUNT) {
        const HeroAnimation& walk = HERO_ANIMATIONS[HERO_CHANNEL_PARKED_WALK];
        for (int k = 0; k < walk.poseCount; ++k)
            mesh->poses[static_cast<std::size_t>(walk.firstPose + k)].rootOffset.y = -PARKED_STEP * (k + 1);
    }
    for (int a = 0; a < attachments; ++a) {
        YSkelAttachment at;
        at.bone = std::min(a, bones - 1);
        at.local.MatrixSetTranslation(YVector(0.0f, -40.0f, 10.0f * a));
        mesh->attachments.push_back(at);
    }
    mesh->BuildBindPose();
    return mesh;
}

inline const std::string& FullHero() {
    static const std::string name = [] {
        MakeHero("test\\hero_full.ams", 4, HERO_POSE_COUNT, HERO_ATTACHMENT_COUNT);
        return std::string("test\\hero_full.ams");
    }();
    return name;
}

struct Listener : YGameEvent {
    void OnGameOver() override { ++gameOver; }
    void OnLevelComplete() override { ++levelComplete; }
    void OnServe() override { ++serves; }
    void OnRacketHits(int h) override { lastHits = h; }
    int gameOver = 0;
    int levelComplete = 0;
    int serves = 0;
    int lastHits = -1;
};

inline std::map<std::string, int>& Heard() {
    static std::map<std::string, int> heard;
    return heard;
}

inline void Hear(const YSoundFx* sound, const YVector*) {
    if (sound) Heard()[sound->name] += 1;
}

class RacketTest : public PhysicsTest {
protected:
    void SetUp() override {
        PhysicsTest::SetUp();
        LogReopen(dir_.File("log.txt"));
        plat::CrtSrand(3);
        Heard().clear();
        YWorldOutside outside = HeadlessWorldOutside();
        outside.soundObserver = Hear;
        ASSERT_TRUE(SetUpWorld(outside));
        savedMode_ = GetInit().CurrentGameMode();
        g_BlockWorld.blocksLeft = 5;
        g_BlockWorld.levelRefused = false;
        g_HeroMeshFile = FullHero();
        Make(&listener);
    }
    void TearDown() override {
        DeleteAllTacked();
        for (int i = 0; i < 4 && !YZDelete::Pending().empty(); ++i) YZDelete::TickAll(1.0f);
        racket.reset();
        TearDownWorld();
        GetInit().CurrentGameMode() = savedMode_;
        g_HeroMeshFile = "mesh\\hero.ams";
        g_ParticleSystem.Clear();
        LogReopen("");
        PhysicsTest::TearDown();
    }
    void Make(YGameEvent* l) {
        racket.reset();
        racket = std::make_unique<YRacket>(l);
        racket->posY = -9.0f;
    }
    // n frames of the racket's step.
    void Frames(int n, float dt = 0.02f) {
        for (int i = 0; i < n; ++i) racket->RacketUpdate(dt);
    }
    static int HeardOf(const std::string& name) {
        auto it = Heard().find(name);
        return it == Heard().end() ? 0 : it->second;
    }
    std::string Log() const { return dir_.Read("log.txt"); }

    testsupport::TempDir dir_;
    Listener listener;
    std::unique_ptr<YRacket> racket;
    YGameMode savedMode_;
};

} // namespace rackettest
