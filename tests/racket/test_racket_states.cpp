// The racket's step: the play states and their transitions, walking to the target with and
// without slip, the frozen hero, and the level-complete report.
#include <cmath>

#include "racket/racket_fixture.h"
#include "world/balls/ball.h"

namespace rackettest {
namespace {

TEST_F(RacketTest, ALostBallPlaysOutAndTheHeroServesAgainFromTheCentre) {
    racket->NewRound();
    const int serves = listener.serves;
    racket->posX = racket->target = 4.0f;
    delete racket->held;
    Frames(1);
    ASSERT_EQ(racket->state, RACKET_BALL_LOST);
    // The ball-lost gesture runs its course before the hero walks back.
    int frames = 0;
    while (racket->state == RACKET_BALL_LOST && frames < 1000) {
        EXPECT_FLOAT_EQ(racket->posX, 4.0f);
        Frames(1);
        ++frames;
    }
    EXPECT_GT(frames, 1);
    ASSERT_EQ(racket->state, RACKET_RETURN);
    EXPECT_FLOAT_EQ(racket->target, 0.0f);
    while (racket->state == RACKET_RETURN && frames < 2000) {
        Frames(1);
        ++frames;
    }
    EXPECT_EQ(racket->state, RACKET_PLAY);
    EXPECT_FLOAT_EQ(racket->posX, 0.0f);
    EXPECT_EQ(listener.serves, serves + 1);
    EXPECT_NE(dynamic_cast<YBall*>(racket->held), nullptr);
}

TEST_F(RacketTest, TheHeroNeverPassesItsTarget) {
    struct Row {
        float dt;
        float distance;
        bool slip;
    };
    const Row rows[] = {
        {0.01f, 0.5f, false}, {0.05f, 0.5f, false}, {0.02f, 6.0f, false}, {0.05f, -8.0f, false},
        {0.01f, 0.5f, true},  {0.05f, 3.0f, true},  {0.02f, -6.0f, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.dt << " " << row.distance << " " << row.slip);
        racket->NewRound();
        if (row.slip) racket->StartSlip(100.0f);
        racket->target = row.distance;
        const float sign = row.distance > 0 ? 1.0f : -1.0f;
        for (int i = 0; i < 300; ++i) {
            Frames(1, row.dt);
            ASSERT_LE(sign * racket->posX, sign * row.distance + 1e-5f);
        }
        if (row.slip) {
            EXPECT_GT(std::fabs(racket->posX - row.distance), 0.0f); // stops short
            EXPECT_GT(sign * racket->posX, 0.5f * sign * row.distance);
        } else {
            // Within the hundredth that counts as arrived.
            EXPECT_NEAR(racket->posX, row.distance, 0.0101f);
        }
    }
}

TEST_F(RacketTest, ReversingStopsAtOnce) {
    racket->NewRound();
    racket->target = 8.0f;
    Frames(10);
    ASSERT_GT(racket->velocity, 5.0f);
    racket->target = -8.0f;
    Frames(1);
    EXPECT_LE(racket->velocity, 0.0f);
    EXPECT_GE(racket->velocity, -racket->acceleration * 0.02f - 1e-4f);
}

TEST_F(RacketTest, AFrozenHeroNeitherWalksNorLetsGoWhenTheGlovesEnd) {
    racket->NewRound();
    racket->glovesTime = 0.05f;
    racket->StartFrost(0.5f);
    racket->target = 5.0f;
    const int keyBefore = racket->hero.Channel(HeroChannel::Stand)->position;
    const float timeBefore = racket->hero.Channel(HeroChannel::Stand)->time;
    Frames(10);
    EXPECT_FLOAT_EQ(racket->posX, 0.0f);
    EXPECT_NE(racket->held, nullptr);
    EXPECT_EQ(racket->hero.Channel(HeroChannel::Stand)->position, keyBefore);
    EXPECT_FLOAT_EQ(racket->hero.Channel(HeroChannel::Stand)->time, timeBefore);
    // A throw is refused while frozen and works once the ice has gone.
    racket->ReleaseTacked(true);
    EXPECT_NE(racket->held, nullptr);
    Frames(30);
    EXPECT_EQ(racket->frostCover.visible, 0);
    EXPECT_GT(racket->posX, 0.0f);
    racket->ReleaseTacked(true);
    EXPECT_EQ(racket->held, nullptr);
}

TEST_F(RacketTest, LevelCompleteRepeatsEveryFrameWhileNoBlockIsLeft) {
    racket->NewRound();
    Frames(3);
    EXPECT_EQ(listener.levelComplete, 0);
    g_BlockWorld.blocksLeft = 0;
    Frames(4);
    EXPECT_EQ(listener.levelComplete, 4);
    // A level that could not be loaded is not a cleared one.
    g_BlockWorld.levelRefused = true;
    Frames(2);
    EXPECT_EQ(listener.levelComplete, 4);
}

TEST_F(RacketTest, StandingStillReportsTheHitCount) {
    racket->NewRound();
    racket->hits = 7;
    Frames(1);
    EXPECT_EQ(listener.lastHits, 7);
    listener.lastHits = -1;
    racket->target = 6.0f;
    Frames(1);
    EXPECT_EQ(listener.lastHits, -1);
}

} // namespace
} // namespace rackettest
