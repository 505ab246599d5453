#pragma once
// A game world for the ball, weapon and special tests: the physics world, a table size, a racket
// that is nothing but its state (no hero), a seeded generator and an ear on the world's sounds.
// Every held-capable object and every pending deletion is cleaned up afterwards.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <string>

#include "platform/sys/crt_rand.h"
#include "render/scene/particles.h"
#include "sound/sound_fx.h"
#include "world/physics/physics_world.h"
#include "world/physics/table_size.h"
#include "world/physics/zdelete.h"
#include "world/play/world_setup.h"
#include "world/racket/racket.h"
#include "world/racket/racket_tacked.h"
#include "world/world_sound.h"

namespace worldtest {

inline std::map<std::string, int>& Heard() {
    static std::map<std::string, int> heard;
    return heard;
}

inline void Hear(const YSoundFx* sound, const YVector*) {
    if (sound) Heard()[sound->name] += 1;
}

inline bool Finite(const YVector& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

inline YMatrix At(float x, float y, float z) {
    YMatrix m;
    m.MatrixSetTranslation(YVector(x, y, z));
    return m;
}

// Puts a held-capable object at (x, y, z) with no turn.
template <class T>
void Place(T* object, float x, float y, float z) {
    const YMatrix m = At(x, y, z);
    object->SetMatrix(&m);
}

class WorldTest : public ::testing::Test {
protected:
    void SetUp() override {
        PhysicsInit();
        plat::CrtSrand(1);
        dRandSetSeed(1);
        g_TableSize.Set(20.0f, 20.0f);
        g_PhysicsWorld.ResetBallSpeed();
        Heard().clear();
        YWorldOutside outside = HeadlessWorldOutside();
        outside.soundObserver = Hear;
        ASSERT_TRUE(SetUpWorld(outside));
        racket = std::make_unique<YRacket>();
        racket->posY = -9.0f;
        racket->state = 0; // in play
        g_ParticleSystem.Clear();
    }
    void TearDown() override {
        DeleteAllTacked();
        for (int i = 0; i < 4 && !YZDelete::Pending().empty(); ++i) YZDelete::TickAll(1.0f);
        racket.reset();
        TearDownWorld();
        // Floating texts outlive Clear: age them out too.
        g_ParticleSystem.Clear();
        g_ParticleSystem.Update(100.0f);
        g_ParticleSystem.Clear();
    }
    static int HeardOf(const std::string& name) {
        auto it = Heard().find(name);
        return it == Heard().end() ? 0 : it->second;
    }

    std::unique_ptr<YRacket> racket;
};

} // namespace worldtest
