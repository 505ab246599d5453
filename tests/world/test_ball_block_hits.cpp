// What balls of each mode and the block specials do to real blocks: damage, outright kills, blasts
// and splits of glued sets; fire, water, heavy and electro blocks changing balls; generators,
// teleports and tnt chains. Runs over the block world with a racket that is only its state.
#include <map>
#include <memory>
#include <string>

#include "sound/sound_fx.h"
#include "world/balls/ball.h"
#include "world/block_fixture.h"
#include "world/blocks/block_specials.h"
#include "world/bonus/bonus_config.h"
#include "world/bonus/bonus_registry.h"
#include "world/play/world_setup.h"
#include "world/racket/racket.h"
#include "world/racket/racket_tacked.h"

namespace {

std::map<std::string, int> g_heard;
void Hear(const YSoundFx* sound, const YVector*) {
    if (sound) g_heard[sound->name] += 1;
}

class BallBlockTest : public blocktest::BlockWorldTest {
protected:
    void SetUp() override {
        BlockWorldTest::SetUp();
        g_heard.clear();
        YWorldOutside outside = HeadlessWorldOutside();
        outside.soundObserver = Hear;
        ASSERT_TRUE(SetUpWorld(outside));
        // The block fixture's recorders stay in place of the scoring and the bonus builders.
        RecordBlockCalls();
        // Bonus records whose ball modes all last 20 s.
        BonusConfigs().assign(static_cast<std::size_t>(BonusRegistrySize()), YBonusConfig());
        for (YBonusConfig& config : BonusConfigs()) config.timeout = 20.0f;
        for (const char* special : {"fire", "water", "electro", "generator", "teleport", "heavy", "tnt"})
            materials[special] = BuildBlockMaterial(std::string("sp_") + special, 1, 10, "test_opaque", "in_block", 5,
                                                    "def_stroke", "def_destroy", special);
    }
    void TearDown() override {
        DeleteAllTacked();
        BonusConfigs().clear();
        // Floating texts outlive Clear: age them out too.
        g_ParticleSystem.Clear();
        g_ParticleSystem.Update(100.0f);
        BlockWorldTest::TearDown();
    }

    static int Heard(const std::string& name) { return g_heard.count(name) ? g_heard[name] : 0; }

    YBlockSingle* Single(const YBlockMaterial* m, float x, float y) {
        const YBlockType* type = FindBlockType(m->name, 1, 1, 1);
        return new YBlockSingle(type, nullptr, OnFloor(type, x, y));
    }
    // A row of `n` cells along x glued into one set, the cell `specialAt` of material `special`.
    YBlockSet* Row(int n, float x, float y, const YBlockMaterial* special = nullptr, int specialAt = -1) {
        YBlockSet* set = new YBlockSet;
        set->Place(blocktest::BlockWorldTest::OnFloor(FindBlockType("opaque", 1, 1, 1), x, y));
        for (int i = 0; i < n; ++i) {
            const YBlockMaterial* m = (i == specialAt && special) ? special : opaque;
            set->AddItem(FindBlockType(m->name, 1, 1, 1), i, 0, 0, 1000.0f, -1);
        }
        set->BuildEdges();
        set->Finish();
        PrepareBlockSet(set, true);
        return set;
    }
    YBall* FlyingBall(int mode, float x, float y, float z) {
        YBall* ball = new YBall(mode);
        const YMatrix m = At(x, y, z);
        ball->SetTransform(&m);
        ball->Update(0.0f);
        return ball;
    }
    static bool Alive(const YBlock* b) { return IsBlockAlive(b); }

    std::map<std::string, YBlockMaterial*> materials;
    const YVector zero{0, 0, 0};
    const YVector up{0, 0, 1};
};

// A contact of strength s from the ball's side, as a block hands it on.
bool Hit(YBall* ball, YBlockSingle* block, float s) {
    const YVector f(0, s, 0), t(0, 0, 0), n(0, -1, 0);
    const YVector p = block->GetPosition();
    return ball->mode->BumpSingle(block, &f, &t, &p, &n);
}

TEST_F(BallBlockTest, WhatAHitOfEachModeDoesToABlock) {
    struct Row {
        int mode;
        bool reported;   // the hit killed or doomed the block
        float health;    // afterwards (10 to start, a hit of strength 4)
        bool blast;      // an explosion went off
        int smallBalls;  // balls made
        int wantedAfter; // the ball's next mode
    };
    const Row rows[] = {
        {BALL_NORMAL, false, 6, false, 0, BALL_NORMAL},         {BALL_HEAVY, false, 6, false, 0, BALL_HEAVY},
        {BALL_PHANTOM, true, 0, false, 0, BALL_PHANTOM},        {BALL_FIRE, true, 0, false, 0, BALL_FIRE},
        {BALL_EXPLOSIVE, true, 0, true, 0, BALL_FIRE},          {BALL_ELECTRO, true, 0, false, 0, BALL_ELECTRO},
        {BALL_GENERATIVE, false, 6, false, 0, BALL_GENERATIVE}, {BALL_UNIVERSAL, false, 6, false, 0, BALL_UNIVERSAL},
        {BALL_SMALL, false, 6, false, 0, BALL_SMALL},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.mode);
        g_heard.clear();
        YBlockSingle* block = Single(opaque, 0, 3);
        YBall* ball = FlyingBall(r.mode, 0, 2, 0.5f);
        const size_t balls = BallList().size();
        EXPECT_EQ(Hit(ball, block, 4.0f), r.reported);
        EXPECT_FLOAT_EQ(block->health, r.health);
        EXPECT_EQ(block->Dying(), r.reported);
        EXPECT_EQ(Heard("grenade") > 0, r.blast);
        EXPECT_EQ(static_cast<int>(BallList().size() - balls), r.smallBalls);
        EXPECT_EQ(ball->wantedMode, r.wantedAfter);
        delete ball;
        delete block;
    }
    // A killing hit of a generative ball makes a small ball opposite the contact.
    YBlockSingle* block = Single(opaque, 0, 3);
    YBall* ball = FlyingBall(BALL_GENERATIVE, 0, 2, 0.5f);
    EXPECT_TRUE(Hit(ball, block, 50.0f));
    ASSERT_EQ(BallList().size(), 2u);
    YBall* small = BallList()[0] == ball ? BallList()[1] : BallList()[0];
    EXPECT_EQ(small->ModeIndex(), BALL_SMALL);
    EXPECT_FALSE(small->IsBallInPlay());
    const YVector p = small->mode->Position();
    EXPECT_NEAR(p.y, 2 * 2 - 3.0f, 1e-4f); // 2 x ball - contact (here the block's centre, y 3)
    EXPECT_EQ(Heard("small_ball"), 1);
}

TEST_F(BallBlockTest, SuperHitsDoomByHealthAndSplitGluedSets) {
    YBall* fire = FlyingBall(BALL_FIRE, 0, 0, 0.5f);
    YBlockSingle* spent = Single(opaque, -4, 3);
    spent->health = 0.0f;
    EXPECT_TRUE(Hit(fire, spent, 1.0f));
    YBlockSingle* unbreakable = Single(hard, 4, 3);
    ASSERT_LT(unbreakable->health, 0.0f);
    EXPECT_FALSE(Hit(fire, unbreakable, 1.0f));
    EXPECT_FALSE(unbreakable->Dying());

    const YVector f(0, 1, 0), n(0, -1, 0);
    // One cell: the whole set is doomed.
    YBlockSet* one = Row(1, -4, 6);
    const YVector p(0, 0, 0);
    EXPECT_TRUE(fire->mode->BumpSetItem(one, one->items[0], &f, &zero, &p, &n));
    EXPECT_TRUE(one->Dying());
    // Three cells: the hit cell breaks off alone and is doomed; the rest stands.
    YBlockSet* three = Row(3, 2, 6);
    YBlockItem* end = three->items[0];
    EXPECT_TRUE(fire->mode->BumpSetItem(three, end, &f, &zero, &p, &n));
    EXPECT_FALSE(three->Dying());
    EXPECT_EQ(three->items.size(), 2u);
    YBlockSingle* broken = nullptr;
    int singles = 0;
    for (YBlock* b : g_BlockWorld.blocks)
        if (auto* s = dynamic_cast<YBlockSingle*>(b); s && s != spent && s != unbreakable) {
            broken = s;
            ++singles;
        }
    ASSERT_EQ(singles, 1);
    EXPECT_TRUE(broken->Dying());
    EXPECT_FLOAT_EQ(broken->health, 0.0f);
    Frames(20);
    EXPECT_FALSE(Alive(broken));
    EXPECT_FALSE(Alive(one));
    EXPECT_FALSE(Alive(spent));
    EXPECT_TRUE(Alive(unbreakable));
}

TEST_F(BallBlockTest, AnElectroBallStrikesABlockInReachAndDeletesIt) {
    YBlockSingle* block = Single(opaque, 0, 4);
    YBall* ball = FlyingBall(BALL_ELECTRO, 0, 0, 0.5f);
    auto* electro = static_cast<YBallElectro*>(ball->mode);
    bool struck = false;
    for (int i = 0; i < 150 && Alive(block); ++i) {
        const YMatrix m = At(0, 0, 0.5f);
        ball->SetTransform(&m);
        const YVector still(0, 0, 0);
        ball->body.SetLinearVel(&still);
        ball->mode->Update(0.02f);
        for (const ElectroArc& arc : electro->arcs) struck |= arc.state == ElectroArc::STRIKING;
        Frames(1);
    }
    EXPECT_TRUE(struck);
    EXPECT_FALSE(Alive(block));
    EXPECT_GE(Heard("lightning"), 1);
}

TEST_F(BallBlockTest, AStrikeCutShortLeavesTheBlockFreeForTheNextBolt) {
    YBlockSingle* block = Single(opaque, 0, 4);
    YBall* ball = FlyingBall(BALL_ELECTRO, 0, 0, 0.5f);
    auto* electro = static_cast<YBallElectro*>(ball->mode);
    bool striking = false;
    for (int i = 0; i < 100 && !striking; ++i) {
        ball->mode->Update(0.02f);
        for (const ElectroArc& arc : electro->arcs) striking |= arc.state == ElectroArc::STRIKING;
    }
    ASSERT_TRUE(striking);
    EXPECT_TRUE(block->targeted);
    // The ball turns normal in the middle of the strike.
    ball->SetMode(BALL_NORMAL, -1.0f);
    ball->Update(0.01f);
    EXPECT_TRUE(Alive(block));
    EXPECT_FALSE(block->targeted);
}

TEST_F(BallBlockTest, ModeBlocksChangeTouchingBalls) {
    struct Row {
        const char* special;
        int before;
        int after;
        const char* sound;
    };
    const Row rows[] = {
        {"fire", BALL_NORMAL, BALL_FIRE, "firing"},    {"fire", BALL_EXPLOSIVE, BALL_EXPLOSIVE, nullptr},
        {"heavy", BALL_FIRE, BALL_HEAVY, "heavy"},     {"electro", BALL_EXPLOSIVE, BALL_ELECTRO, "lightning"},
        {"water", BALL_FIRE, BALL_NORMAL, "psshh"},    {"water", BALL_EXPLOSIVE, BALL_NORMAL, "psshh"},
        {"water", BALL_ELECTRO, BALL_NORMAL, "psshh"}, {"water", BALL_HEAVY, BALL_HEAVY, nullptr},
        {"water", BALL_SMALL, BALL_SMALL, nullptr},    {"water", BALL_NORMAL, BALL_NORMAL, nullptr},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.special) + " " + std::to_string(r.before));
        g_heard.clear();
        YBlockSingle* block = Single(materials[r.special], 0, 3);
        YBall* ball = FlyingBall(r.before, 0, 2, 0.5f);
        ball->modeTime = 1.0f;
        ASSERT_NE(block->special, nullptr);
        EXPECT_TRUE(block->special->Hit(ball->mode, block)) << "mode blocks let the contact through";
        EXPECT_EQ(ball->wantedMode, r.after);
        EXPECT_EQ(r.sound ? Heard(r.sound) : 0, r.sound ? 1 : 0);
        if (!r.sound && r.before == BALL_EXPLOSIVE) {
            EXPECT_FLOAT_EQ(ball->modeTime, 5.0f) << "the longer time";
        }
        delete ball;
        delete block;
    }
    // The whole water table over the nine modes.
    for (int m = 0; m < BALL_MODE_COUNT; ++m) {
        YBlockSingle* block = Single(materials["water"], 0, 3);
        YBall* ball = FlyingBall(m, 0, 2, 0.5f);
        block->special->Hit(ball->mode, block);
        EXPECT_EQ(ball->wantedMode, (m >= 3 && m <= 5) ? 0 : m) << m;
        delete ball;
        delete block;
    }
    // A wall touching the block, or a non-ball, changes nothing.
    YBlockSingle* fire = Single(materials["fire"], 0, 3);
    EXPECT_TRUE(fire->special->Hit(nullptr, fire));
    delete fire;
}

TEST_F(BallBlockTest, WithoutTimedBallsABlockGivesItsModeForGood) {
    GetInit().CurrentGameMode().timerBall = false;
    YBlockSingle* block = Single(materials["heavy"], 0, 3);
    YBall* ball = FlyingBall(BALL_NORMAL, 0, 2, 0.5f);
    block->special->Hit(ball->mode, block);
    EXPECT_EQ(ball->wantedMode, BALL_HEAVY);
    EXPECT_FLOAT_EQ(ball->modeTime, -0.25f);
    for (int i = 0; i < 100; ++i) ball->Update(0.05f);
    EXPECT_EQ(ball->ModeIndex(), BALL_HEAVY);
}

TEST_F(BallBlockTest, AGeneratorMakesOneSmallBallASecondAndIgnoresSmallBalls) {
    // Unbreakable, so that the balls it makes do not knock it out meanwhile.
    YBlockSingle* gen = Single(BuildBlockMaterial("sp_gen_hard", 1, -1, "test_opaque", "in_block", 5, "def_stroke",
                                                  "def_destroy", "generator"),
                               0, 3);
    YBall* small = FlyingBall(BALL_SMALL, 8, -8, 0.5f);
    YBall* ball = FlyingBall(BALL_NORMAL, -8, -8, 0.5f);
    EXPECT_TRUE(gen->special->Hit(small->mode, gen));
    EXPECT_EQ(BallList().size(), 2u);
    EXPECT_TRUE(gen->special->Hit(ball->mode, gen));
    ASSERT_EQ(BallList().size(), 3u);
    EXPECT_EQ(BallList()[2]->ModeIndex(), BALL_SMALL);
    const YVector p = BallList()[2]->mode->Position();
    EXPECT_NEAR(std::fabs(p.x) + std::fabs(p.y - 3) + std::fabs(p.z - 0.52f), 0.5f, 1e-3f) << "on a face centre";
    EXPECT_EQ(Heard("small_ball"), 1);
    Frames(25); // 0.5 s
    gen->special->Hit(ball->mode, gen);
    EXPECT_EQ(BallList().size(), 3u) << "resting";
    Frames(30);
    gen->special->Hit(ball->mode, gen);
    EXPECT_EQ(BallList().size(), 4u);
}

TEST_F(BallBlockTest, TeleportsSendToEachOtherAndTheDestinationRests) {
    YBlockSingle* alone = Single(materials["teleport"], -5, 0);
    YBall* ball = FlyingBall(BALL_NORMAL, -5, -1, 0.5f);
    Frames(1);
    EXPECT_TRUE(alone->special->Hit(ball->mode, alone)) << "a single teleport never swallows";

    YBlockSingle* other = Single(materials["teleport"], 5, 0);
    Frames(1);
    EXPECT_FALSE(alone->special->Hit(ball->mode, alone)) << "sent: the contact is swallowed";
    YMatrix m;
    ball->mode->GetMatrix(&m);
    EXPECT_NEAR(m.m[12], 5.0f, 0.51f);
    EXPECT_EQ(Heard("teleport"), 1);
    // For 0.5 s the destination swallows contacts without sending anything back: no damage.
    const float health = other->health;
    const YVector f(0, 5, 0), t(0, 0, 0), pos(5, 0, 0.5f), n(0, -1, 0);
    other->OnContact(nullptr, ball->mode, &f, &t, &pos, &n, 0.0f);
    EXPECT_FLOAT_EQ(other->health, health);
    ball->mode->GetMatrix(&m);
    EXPECT_NEAR(m.m[12], 5.0f, 0.51f) << "not sent straight back";
    EXPECT_EQ(Heard("teleport"), 1);
    Frames(30);
    EXPECT_FALSE(other->special->Hit(ball->mode, other));
    ball->mode->GetMatrix(&m);
    EXPECT_NEAR(m.m[12], -5.0f, 0.51f) << "rested: sends again";
    EXPECT_EQ(Heard("teleport"), 2);
}

TEST_F(BallBlockTest, TntBlocksSetEachOtherOff) {
    YBlockSingle* a = Single(materials["tnt"], 0, 0);
    YBlockSingle* b = Single(materials["tnt"], 3, 0);
    YBlockSingle* far = Single(materials["tnt"], -8, 8);
    YBall* ball = FlyingBall(BALL_NORMAL, 0, -1, 0.5f);
    const YVector f(0, 50, 0), t(0, 0, 0), pos(0, -0.5f, 0.5f), n(0, -1, 0);
    a->OnContact(nullptr, ball->mode, &f, &t, &pos, &n, 0.0f);
    EXPECT_FLOAT_EQ(a->health, 10.0f) << "tnt takes no damage";
    Frames(4); // 0.08 s: not yet
    EXPECT_TRUE(Alive(a));
    Frames(12);
    EXPECT_FALSE(Alive(a));
    Frames(20);
    EXPECT_FALSE(Alive(b)) << "set off by the first blast";
    EXPECT_TRUE(Alive(far));
}

TEST_F(BallBlockTest, ATntCellOfAGluedSetBreaksOffAndExplodes) {
    YBlockSet* set = Row(3, -1, 0, materials["tnt"], 1);
    YBall* ball = FlyingBall(BALL_NORMAL, 0, -1, 0.5f);
    YBlockItem* cell = set->items[1];
    ASSERT_NE(cell->special, nullptr);
    const size_t blocks = g_BlockWorld.blocks.size();
    const YVector f(0, 50, 0), t(0, 0, 0), pos(0, -0.5f, 0.5f), n(0, -1, 0);
    set->OnContact(cell, ball->mode, &f, &t, &pos, &n, 0.0f);
    ASSERT_GT(g_BlockWorld.blocks.size(), blocks);
    YBlockSingle* loose = nullptr;
    for (YBlock* b : g_BlockWorld.blocks)
        if (auto* s = dynamic_cast<YBlockSingle*>(b); s && s->type->material == materials["tnt"]) loose = s;
    ASSERT_NE(loose, nullptr);
    EXPECT_FALSE(set->Contains(cell) && set->items.size() == 3u);
    Frames(4);
    EXPECT_TRUE(Alive(loose));
    Frames(14);
    EXPECT_FALSE(Alive(loose)) << "exploded 0.1 to 0.3 s after the hit";
}

} // namespace
