// The racket's construction on the hero model: its starting values, the channel set-up, the parked
// walk's turning table, and models that are missing or too small to play every channel.
#include <cmath>

#include "racket/racket_fixture.h"
#include "world/balls/ball.h"
#include "world/racket/pipe.h"

namespace rackettest {
namespace {

TEST_F(RacketTest, ConstructionValues) {
    const YRacket& r = *racket;
    EXPECT_FLOAT_EQ(r.maxSpeed, 25.0f);
    EXPECT_FLOAT_EQ(r.acceleration, 100.0f);
    EXPECT_FLOAT_EQ(r.kickSpeed, 1.5f);
    EXPECT_FLOAT_EQ(r.aimAngle, 15.0f);
    EXPECT_FLOAT_EQ(r.width, 3.0f);
    EXPECT_FLOAT_EQ(r.walkRange, 3.0f);
    EXPECT_EQ(r.lives, 3);
    EXPECT_EQ(r.levelIndex, -1);
    EXPECT_FLOAT_EQ(r.glovesTime, -1.0f);
    EXPECT_FLOAT_EQ(r.ballModeTime, -1.0f);
    EXPECT_FLOAT_EQ(r.idleTime, 10.0f);
    EXPECT_FLOAT_EQ(r.speedFactor, 1.0f);
    EXPECT_EQ(r.state, RACKET_PARKED);
    EXPECT_EQ(r.held, nullptr);
    EXPECT_EQ(g_Racket, racket.get());
    EXPECT_EQ(r.hero.shaders.size(), 4u);
    EXPECT_EQ(r.hero.drawFlags, 2);
    EXPECT_EQ(r.frostCover.visible, 0);
    // Every channel of the layout plays on the full model.
    ASSERT_EQ(r.hero.skeleton->channelConfigs.size(), HERO_CHANNELS.size());
    EXPECT_EQ(r.hero.skeleton->channelConfigs[11].poseList, 6);
    EXPECT_NE(r.hero.Channel(HeroChannel::Stand)->state, CHANNEL_STOPPED);
    EXPECT_EQ(Log().find("Hero model"), std::string::npos);
}

TEST_F(RacketTest, TheParkedWalkTurnsTheHeroRoundItsCircle) {
    // The poses' root offsets became the turning table, in world units, and left the poses.
    const std::vector<float>& turns = HeroRootTurns(racket->hero.skeleton);
    const HeroAnimation& walk = HERO_ANIMATIONS[ChannelNumber(HeroChannel::ParkedWalk)];
    ASSERT_EQ(turns.size(), static_cast<std::size_t>(walk.poseCount));
    for (int k = 0; k < walk.poseCount; ++k) {
        EXPECT_NEAR(turns[static_cast<std::size_t>(k)], -PARKED_STEP * 0.02f * (k + 1), 1e-5f);
        EXPECT_FLOAT_EQ(racket->hero.skeleton->poses[static_cast<std::size_t>(walk.firstPose + k)].rootOffset.y, 0.0f);
    }
    racket->Park();
    float lastAngle = NAN;
    int turned = 0;
    for (int i = 0; i < 200; ++i) {
        Frames(1);
        const YMatrix& m = racket->hero.world;
        EXPECT_NEAR(std::hypot(m.m[12], m.m[13]), 4.0f, 1e-3f);
        const float angle = std::atan2(m.m[13], m.m[12]);
        if (!std::isnan(lastAngle) && angle != lastAngle) ++turned;
        lastAngle = angle;
    }
    EXPECT_GT(turned, 100);
}

TEST_F(RacketTest, ModelsTooSmallStillPlay) {
    struct Row {
        const char* name;
        const char* file;
        int bones, poses, attachments; // bones < 0: no model made (a missing file)
    };
    const Row rows[] = {
        {"missing file", "test\\no_such_hero.ams", -1, 0, 0},
        {"two bones, three poses, no hold points", "test\\hero_tiny.ams", 2, 3, 0},
        {"every pose, no hold points", "test\\hero_handless.ams", 4, HERO_POSE_COUNT, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.bones >= 0) MakeHero(row.file, row.bones, row.poses, row.attachments);
        g_HeroMeshFile = row.file;
        Make(&listener);
        Make(&listener); // a second racket on the same model reports nothing more
        racket->Park();
        Frames(50);
        racket->NewGame();
        Frames(5);
        ASSERT_NE(racket->held, nullptr);
        YMatrix m;
        racket->held->GetMatrix(&m);
        EXPECT_TRUE(std::isfinite(m.m[12]) && std::isfinite(m.m[13]) && std::isfinite(m.m[14]));
        racket->ReleaseTacked(true);
        EXPECT_EQ(racket->held, nullptr);
        Frames(5);
        racket->PrepareLevel();
        Frames(20);
        racket->held->GetMatrix(&m);
        EXPECT_TRUE(std::isfinite(m.m[12]));
    }
    // One line per model that cannot play everything.
    const std::string log = Log();
    int lines = 0;
    for (std::size_t at = log.find("Hero model"); at != std::string::npos; at = log.find("Hero model", at + 1)) ++lines;
    EXPECT_EQ(lines, 3);
}

TEST_F(RacketTest, HeldObjectsFollowTheHoldPoints) {
    racket->NewRound();
    racket->posX = racket->target = 2.0f;
    Frames(1);
    YMatrix m;
    racket->held->GetMatrix(&m);
    // Hold point 0 of the fixture: 40 model units in front (the figure faces -y, turned to +y).
    EXPECT_NEAR(m.m[12], racket->posX, 1e-3f);
    EXPECT_NEAR(m.m[13], racket->posY + 0.8f, 1e-3f);
}

} // namespace
} // namespace rackettest
