// The world's one set-up: a program that leaves out a connection it needs is refused at set-up
// with the connection named in the log; a call into a connection never made stops the program
// naming it; the editor's world (no racket) scores for no one and drops nothing, the game's world
// scores for the racket and drops the Next bonus after the eleventh kick without a break.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "core/color.h"
#include "core/log.h"
#include "support/temp_dir.h"
#include "world/balls/ball.h"
#include "world/balls/world_links.h"
#include "world/blocks/block_hooks.h"
#include "world/bonus/bonus.h"
#include "world/bonus/bonus_effects.h"
#include "world/physics_fixture.h"
#include "world/play/world_setup.h"
#include "world/racket/falling_bonus_link.h"
#include "world/racket/hero_model.h"
#include "world/racket/racket.h"
#include "world/racket/racket_tacked.h"

namespace {

void Caption(const std::string&, const YColor&) {}
void Clear() {}

class WorldSetUp : public PhysicsTest {
protected:
    void SetUp() override {
        PhysicsTest::SetUp();
        LogReopen(dir_.File("log.txt"));
        g_HeroMeshFile = "test\\no_hero_here.ams"; // the racket plays without its model
    }
    void TearDown() override {
        // Connected again (a test may have left the world unconnected) to delete what it made.
        ASSERT_TRUE(SetUpWorld(HeadlessWorldOutside()));
        DeleteAllTacked();
        DeleteAllBonuses();
        TearDownWorld();
        g_HeroMeshFile = "mesh\\hero.ams";
        LogReopen("");
        PhysicsTest::TearDown();
    }
    std::string Log() const {
        std::ifstream in(dir_.File("log.txt"));
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    testsupport::TempDir dir_;
};

TEST_F(WorldSetUp, AMissingConnectionIsRefusedAndNamed) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    struct Row {
        const char* name;
        bool racket;
        bool caption, clear;
        bool accepted;
        const char* logged; // part of the refusal's line; null: nothing refused
    };
    const Row rows[] = {
        {"the game's connections", true, true, true, true, nullptr},
        {"no caption", true, false, true, false, "no caption connection"},
        {"nothing to clear the captions", true, true, false, false, "clears the captions"},
        {"the editor: no racket, no HUD", false, false, false, true, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TearDownWorld();
        YWorldOutside outside;
        outside.racket = row.racket;
        outside.showCaption = row.caption ? Caption : nullptr;
        outside.clearCaptions = row.clear ? Clear : nullptr;
        EXPECT_EQ(SetUpWorld(outside), row.accepted);
        if (row.logged) {
            EXPECT_NE(Log().find(row.logged), std::string::npos) << Log();
            // Refused means nothing was connected.
            EXPECT_DEATH(BlockHooks().dropNextBonus(), "drop Next bonus");
        }
    }
}

TEST_F(WorldSetUp, ACallIntoAConnectionNeverMadeStopsNamingIt) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TearDownWorld();
    EXPECT_DEATH(BlockHooks().createBonusBuilder(3), "create bonus builder");
    EXPECT_DEATH(BlockHooks().blockDestroyed(5), "block destroyed");
    EXPECT_DEATH(BlockHooks().dropNextBonus(), "drop Next bonus");
    EXPECT_DEATH(BlockHooks().deleteAllTacked(), "delete all tacked");
    EXPECT_DEATH(FallingBonusLink().updateAll(0.02f), "update falling bonuses");
    EXPECT_DEATH(FallingBonusLink().deleteAll(), "delete falling bonuses");
    EXPECT_DEATH(g_BonusCaptionHook("Life: +40", YColor{}), "caption");
    EXPECT_DEATH(g_ClearHudCaptions(), "clear captions");
    EXPECT_DEATH(g_BonusModeTimeout(1), "time-out");
}

TEST_F(WorldSetUp, TheEditorsWorldScoresForNoOneAndDropsNothing) {
    YWorldOutside editor;
    editor.racket = false;
    ASSERT_TRUE(SetUpWorld(editor));
    YRacket racket(nullptr); // a racket that happens to exist is still no player of the editor's
    racket.score = 7;
    racket.hitsSinceBreak = 3;
    BlockHooks().blockDestroyed(25);
    BlockHooks().dropNextBonus();
    EXPECT_EQ(racket.score, 7);
    EXPECT_EQ(racket.hitsSinceBreak, 3);
    EXPECT_TRUE(BonusList().empty());
    g_BonusCaptionHook("Life: +40", YColor{});
    g_ClearHudCaptions();
}

TEST_F(WorldSetUp, TheGamesWorldScoresAndDropsTheNextBonusAfterTheEleventhKick) {
    ASSERT_TRUE(SetUpWorld(HeadlessWorldOutside()));
    YRacket racket(nullptr);
    racket.posY = -9.0f;
    racket.state = 0;
    racket.hitsSinceBreak = 3;
    BlockHooks().blockDestroyed(25);
    EXPECT_EQ(racket.score, 25);
    EXPECT_EQ(racket.hitsSinceBreak, 0);

    YBall* ball = new YBall(BALL_NORMAL);
    const YVector normal(0.0f, 1.0f, 0.0f);
    const YVector point(0.0f, -8.0f, 1.0f);
    for (int kick = 1; kick <= 10; ++kick) racket.KickBall(ball, &normal, &point);
    EXPECT_TRUE(BonusList().empty()) << "ten kicks without a break drop nothing";
    racket.KickBall(ball, &normal, &point);
    ASSERT_EQ(BonusList().size(), 1u);
    EXPECT_NE(dynamic_cast<YBonusNext*>(BonusList()[0]->type), nullptr);
    // The falling bonus is the racket's to update and goes with the held objects.
    FallingBonusLink().updateAll(0.02f);
    BlockHooks().deleteAllTacked();
    EXPECT_TRUE(BonusList().empty());
    EXPECT_TRUE(TackedList().empty());
}

} // namespace
