#pragma once
// Shared set-up of the game-world suites: ODE and the physics world exist for the whole run, each
// test starts from a seeded generator, a 20 x 20 table size, the default speed factor, infinite
// friction and no racket, and leaves no body behind.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/sys/crt_rand.h"
#include "world/physics/arena.h"
#include "world/physics/physics_world.h"
#include "world/physics/racket_link.h"
#include "world/physics/rigid_body.h"
#include "world/physics/table_size.h"

class PhysicsTest : public ::testing::Test {
protected:
    void SetUp() override {
        PhysicsInit();
        plat::CrtSrand(1);
        dRandSetSeed(1);
        g_TableSize.Set(20.0f, 20.0f);
        g_PhysicsWorld.ResetBallSpeed();
        g_PhysicsWorld.SetContactFriction(-1.0f);
        g_RacketLink = nullptr;
        // Flush time a previous test left in the accumulator.
        g_PhysicsWorld.PhysicsStep(1.0f);
    }
    void TearDown() override {
        g_RacketLink = nullptr;
        // A fresh world for the next test: arena, bodies and contacts all go.
        PhysicsShutdown();
    }

    // Steps the world n times with dt each.
    static void Run(int n, float dt = 0.025f) {
        for (int i = 0; i < n; ++i) g_PhysicsWorld.PhysicsStep(dt);
    }
};

inline YVector PositionOf(const YRigidBody& b) {
    YVector p;
    b.GetPosition(&p);
    return p;
}

inline YVector VelocityOf(const YRigidBody& b) {
    YVector v;
    b.GetLinearVel(&v);
    return v;
}

inline float Length(const YVector& v) { return std::sqrt(v.Dot(v)); }

inline YMatrix At(float x, float y, float z) {
    YMatrix m;
    m.MatrixSetTranslation(YVector(x, y, z));
    return m;
}
