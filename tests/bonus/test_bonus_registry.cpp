#include <gtest/gtest.h>

#include <memory>
#include <typeinfo>

#include "bonus/bonus_fixture.h"
#include "world/balls/ball.h"
#include "world/blocks/block_hooks.h"
#include "world/bonus/bonus_builders.h"

namespace {

using bonustest::BonusTest;

TEST_F(BonusTest, EveryKindGetsTheBuilderOfItsRegistryEntry) {
    EXPECT_EQ(BonusRegistrySize(), 34);
    for (int kind = 0; kind < 34; ++kind) {
        SCOPED_TRACE(kind);
        std::unique_ptr<YBonusBuilder> b(CreateBonusBuilder(kind));
        ASSERT_TRUE(b);
        if (kind < 24) {
            auto* give = dynamic_cast<YBonusBuilderGive*>(b.get());
            ASSERT_TRUE(give);
            EXPECT_EQ(give->type, nullptr); // made only when needed
            EXPECT_EQ(BonusKindIndex(give->Type()->kind), kind);
            EXPECT_FLOAT_EQ(give->Type()->radius, 0.6f);
        } else if (kind == 25) {
            EXPECT_TRUE(dynamic_cast<YBonusFourBallSmall*>(b.get()));
        } else {
            auto* ball = dynamic_cast<YBonusBuilderBall*>(b.get());
            ASSERT_TRUE(ball);
            EXPECT_EQ(ball->modeIndex, kind == 24 ? 8 : kind - 26);
        }
    }
}

TEST_F(BonusTest, KindsOutsideTheRegistryMakeNoBuilder) {
    for (int kind : {-1, 34, 1 << 30}) EXPECT_EQ(CreateBonusBuilder(kind), nullptr) << kind;
    EXPECT_EQ(CreateBonusType(BonusKind::SmallBall), nullptr);
    EXPECT_EQ(CreateBonusType(BonusKind::NewBallUniversal), nullptr);
    EXPECT_EQ(CreateBonusType(BonusKind::Count), nullptr);
    EXPECT_EQ(CreateBonusType(BonusKindAt(-1)), nullptr);
}

TEST_F(BonusTest, FourBallOffsetsSitOnASphereAroundTheCentre) {
    const YVector expected[4] = {
        {0.0f, 0.0f, 0.35f}, {0.0f, 0.3031f, -0.175f}, {-0.2625f, -0.1516f, -0.175f}, {0.2625f, -0.1516f, -0.175f}};
    const YVector* o = FourBallOffsets();
    for (int k = 0; k < 4; ++k) {
        EXPECT_NEAR(o[k].x, expected[k].x, 1e-4f) << k;
        EXPECT_NEAR(o[k].y, expected[k].y, 1e-4f) << k;
        EXPECT_NEAR(o[k].z, expected[k].z, 1e-4f) << k;
    }
}

// Run puts four small balls at the offsets around the block; after a preview it
// reuses the shown ball looks instead of making new ones.
TEST_F(BonusTest, FourSmallBallsAppearAtTheOffsetsWithOrWithoutAPreview) {
    for (bool shown : {false, true}) {
        SCOPED_TRACE(shown);
        YBonusFourBallSmall builder;
        const YMatrix at = worldtest::At(2.0f, 3.0f, 1.0f);
        YBallMode* previewed[4] = {};
        if (shown) {
            builder.Draw(&at);
            for (int k = 0; k < 4; ++k) previewed[k] = builder.modes[k];
        }
        const std::size_t before = BallList().size();
        const YVector v(1, 1, 1);
        builder.Run(&at, &v);
        ASSERT_EQ(BallList().size(), before + 4);
        for (int k = 0; k < 4; ++k) {
            YBall* ball = BallList()[before + k];
            EXPECT_EQ(ball->ModeIndex(), 8);
            EXPECT_EQ(builder.modes[k], nullptr);
            if (shown) {
                EXPECT_EQ(ball->mode, previewed[k]);
            }
            YVector p;
            ball->body.GetPosition(&p);
            const YVector o = FourBallOffsets()[k];
            EXPECT_NEAR(p.x, 2.0f + o.x, 1e-4f);
            EXPECT_NEAR(p.y, 3.0f + o.y, 1e-4f);
            EXPECT_NEAR(p.z, 1.0f + o.z, 1e-4f);
        }
        DeleteAllTacked();
    }
}

TEST_F(BonusTest, ABallBonusPutsABallOfItsModeWithTheBonusTime) {
    struct Case {
        int kind;
        int mode;
        float time;
    } cases[] = {{26, 0, 10.0f}, {29, 3, 13.0f}, {33, 7, 17.0f}, {24, 8, -1.0f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        std::unique_ptr<YBonusBuilder> b(CreateBonusBuilder(c.kind));
        const YMatrix at = worldtest::At(1.0f, 2.0f, 1.0f);
        b->Draw(&at);
        b->Run(&at, nullptr);
        ASSERT_EQ(BallList().size(), 1u);
        YBall* ball = BallList()[0];
        EXPECT_EQ(ball->ModeIndex(), c.mode);
        EXPECT_FLOAT_EQ(ball->modeTime, c.time);
        YVector p;
        ball->body.GetPosition(&p);
        EXPECT_NEAR(p.y, 2.0f, 1e-5f);
        DeleteAllTacked();
    }
}

TEST_F(BonusTest, AGiveBuilderDropsItsBonusWithTheBlocksVelocityUnlessBonusesRoll) {
    struct Case {
        int bonusMode;
        YVector expected;
    } cases[] = {{0, {2.0f, 3.0f, 0.5f}}, {1, {2.0f, 3.0f, 0.5f}}, {2, {0.0f, -1.0f, 0.0f}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bonusMode);
        GetInit().CurrentGameMode().bonusMode = c.bonusMode;
        std::unique_ptr<YBonusBuilder> b(CreateBonusBuilder(3));
        const YMatrix at = worldtest::At(1.0f, 2.0f, 3.0f);
        const YVector v(2.0f, 3.0f, 0.5f);
        b->Draw(&at);
        b->Run(&at, &v);
        EXPECT_EQ(static_cast<YBonusBuilderGive*>(b.get())->type,
                  nullptr); // handed to the bonus
        ASSERT_EQ(BonusList().size(), 1u);
        YVector got, p;
        BonusList()[0]->body.GetLinearVel(&got);
        BonusList()[0]->body.GetPosition(&p);
        EXPECT_FLOAT_EQ(got.x, c.expected.x);
        EXPECT_FLOAT_EQ(got.y, c.expected.y);
        EXPECT_FLOAT_EQ(got.z, c.expected.z);
        EXPECT_FLOAT_EQ(p.z, 3.0f);
        EXPECT_EQ(BonusList()[0]->type->kind, BonusKind::BallFire);
        DeleteAllBonuses();
    }
}

TEST_F(BonusTest, DestroyedBlocksGetTheirBuildersThroughTheBlockHooks) {
    ASSERT_TRUE(BlockHooks().createBonusBuilder);
    std::unique_ptr<YBonusBuilder> b(BlockHooks().createBonusBuilder(25));
    EXPECT_TRUE(dynamic_cast<YBonusFourBallSmall*>(b.get()));
    EXPECT_EQ(BlockHooks().createBonusBuilder(99), nullptr);
    ASSERT_TRUE(BlockHooks().dropNextBonus);
    BlockHooks().dropNextBonus();
    ASSERT_EQ(BonusList().size(), 1u);
    EXPECT_EQ(BonusList()[0]->type->kind, BonusKind::Next);
}

// The Next bonus drops within an eighth of the width of the centre, over the
// far half, high up.
TEST_F(BonusTest, NextBonusesDropOverTheFarHalfFromHighUp) {
    g_TableSize.Set(40.0f, 60.0f);
    for (int i = 0; i < 200; ++i) DropNextBonus();
    for (YBonus* b : BonusList()) {
        YVector p;
        b->body.GetPosition(&p);
        EXPECT_LE(std::fabs(p.x), 5.0f + 1e-4f);
        EXPECT_GE(p.y, 7.5f - 1e-4f);
        EXPECT_LE(p.y, 22.5f + 1e-4f);
        EXPECT_GE(p.z, 17.5f - 1e-4f);
        EXPECT_LE(p.z, 22.5f + 1e-4f);
    }
}

} // namespace
