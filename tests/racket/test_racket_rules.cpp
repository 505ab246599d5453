// The rules of a run: serves, lost balls, lives, game over with and without a listener, the wide
// racket, timed ball modes, and the progress written to the configuration.
#include <fstream>

#include "racket/racket_fixture.h"
#include "world/balls/ball.h"
#include "world/physics/physics_world.h"

namespace rackettest {
namespace {

YBall* HeldBall(YRacket& r) { return dynamic_cast<YBall*>(r.held); }

TEST_F(RacketTest, LosingBallsCountsLivesDownToGameOver) {
    struct Row {
        const char* name;
        int lives;
        int livesAfter;
        int gameOvers;
    };
    const Row rows[] = {
        {"the last life: game over at once", 1, 0, 1},
        {"lives left: no game over", 3, 2, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        listener = Listener{};
        Heard().clear();
        racket->lives = row.lives;
        racket->NewRound();
        delete racket->held; // the ball goes: nothing is left in play
        Frames(1);
        EXPECT_EQ(racket->lives, row.livesAfter);
        EXPECT_EQ(HeardOf("bonus_death"), 1);
        EXPECT_EQ(listener.gameOver, row.gameOvers);
        EXPECT_EQ(HeardOf("game_over"), row.gameOvers);
        // The hero plays the ball-lost gesture either way.
        EXPECT_EQ(racket->state, RACKET_BALL_LOST);
        // Only play loses balls: the following frames lose nothing more.
        Frames(3);
        EXPECT_EQ(racket->lives, row.livesAfter);
    }
}

TEST_F(RacketTest, AServeAtNoLivesReportsGameOverAtOnce) {
    racket->lives = 0;
    racket->NewRound();
    EXPECT_EQ(listener.gameOver, 1);
    ASSERT_NE(HeldBall(*racket), nullptr);
    EXPECT_EQ(racket->state, RACKET_PLAY);
}

TEST_F(RacketTest, WithoutAListenerTheRunStartsOverByItself) {
    Make(nullptr);
    racket->NewRound();
    racket->lives = 1;
    delete racket->held;
    Frames(1);
    EXPECT_EQ(racket->lives, 5);
    EXPECT_EQ(racket->state, RACKET_RETURN);
    // Back at the centre it serves again.
    Frames(2);
    EXPECT_EQ(racket->state, RACKET_PLAY);
    EXPECT_NE(HeldBall(*racket), nullptr);
}

TEST_F(RacketTest, TheWideRacketFlagTakesEffectAtTheNextServe) {
    YGameMode& mode = GetInit().CurrentGameMode();
    mode.wideRacket = false;
    racket->NewRound();
    EXPECT_FLOAT_EQ(racket->width, 2.0f);
    mode.wideRacket = true;
    Frames(5);
    EXPECT_FLOAT_EQ(racket->width, 2.0f);
    racket->NewRound();
    EXPECT_FLOAT_EQ(racket->width, 3.0f);
}

TEST_F(RacketTest, TimedBallModes) {
    YGameMode& mode = GetInit().CurrentGameMode();
    mode.timerBall = true;
    YBall* ball = new YBall(0);
    ball->SetMode(3, 5.0f);
    // A negative time only records the mode: the ball keeps its timed mode.
    racket->SetBallModeAll(2, -1.0f);
    EXPECT_EQ(racket->ballMode, 2);
    EXPECT_EQ(ball->wantedMode, 3);
    EXPECT_FLOAT_EQ(ball->modeTime, 5.0f);
    // A timed mode goes to every ball at once.
    racket->SetBallModeAll(4, 7.0f);
    EXPECT_EQ(ball->wantedMode, 4);
    EXPECT_FLOAT_EQ(ball->modeTime, 7.0f);
    // Without timed balls a ball that asks gets the mode for good.
    mode.timerBall = false;
    YBall* other = new YBall(0);
    racket->ApplyBallMode(other);
    EXPECT_EQ(other->wantedMode, 4);
    EXPECT_LT(other->modeTime, 0.0f);
    // The mode runs out: every ball goes back to normal.
    mode.timerBall = true;
    racket->NewRound();
    racket->SetBallModeAll(4, 0.05f);
    Frames(5);
    EXPECT_EQ(racket->ballMode, 0);
    EXPECT_LT(racket->ballModeTime, 0.0f);
}

TEST_F(RacketTest, TheEffectStartersAndTheirEnd) {
    racket->NewRound();
    racket->StartSlumber(0.1f);
    EXPECT_FLOAT_EQ(racket->speedFactor, 0.5f);
    EXPECT_FLOAT_EQ(racket->hero.rate, 50.0f);
    racket->StartVivacity(0.1f);
    EXPECT_FLOAT_EQ(racket->slumberTime, 0.0f);
    EXPECT_FLOAT_EQ(racket->speedFactor, 3.0f);
    Frames(6);
    EXPECT_FLOAT_EQ(racket->speedFactor, 1.0f);
    EXPECT_FLOAT_EQ(racket->hero.rate, 100.0f);

    racket->StartSlip(2.0f);
    EXPECT_NEAR(ContactFriction(), 0.1, 1e-6);
    racket->StartShield(5.0f);
    racket->ShieldTick(10.0f);
    EXPECT_LE(racket->shieldTime, 0.0f);
    racket->StartFrost(3.0f);
    EXPECT_EQ(racket->frostCover.visible, 1);
    racket->ClearEffects();
    EXPECT_EQ(racket->frostCover.visible, 0);
    EXPECT_FLOAT_EQ(racket->frostTime, 0.0f);
    EXPECT_FLOAT_EQ(racket->slipTime, 0.0f);
    EXPECT_GT(ContactFriction(), 1e30);
}

TEST_F(RacketTest, ParkAndTheStandingPose) {
    racket->NewRound();
    racket->Park();
    EXPECT_EQ(racket->state, RACKET_PARKED);
    EXPECT_EQ(racket->held, nullptr);
    EXPECT_FLOAT_EQ(racket->hero.rate, 30.0f);
    racket->PrepareLevel();
    EXPECT_EQ(racket->state, RACKET_STANDING);
    ASSERT_NE(racket->held, nullptr);
    EXPECT_EQ(racket->held->kind, TACKED_PIPE);
    EXPECT_EQ(TackedList().size(), 1u);
    // Standing: the hero does not walk, and losing nothing happens.
    racket->target = 5.0f;
    Frames(10);
    EXPECT_FLOAT_EQ(racket->posX, 0.0f);
    EXPECT_EQ(HeardOf("bonus_death"), 0);
}

TEST_F(RacketTest, EveryServeWritesTheProgressToTheConfiguration) {
    Init& init = GetInit();
    const std::vector<YGameMode> savedModes = init.gameModes;
    init.gameModes.assign(1, YGameMode());
    init.gameModes[0].name = "test";
    init.currentGameMode = 0;
    { std::ofstream(dir_.File("config.yml")) << "<config>\n</config>\n"; }
    init.Load(dir_.File("config.yml").c_str());
    racket->levelIndex = 4;
    racket->NewGame();
    racket->score = 1234;
    racket->lives = 2;
    racket->NewRound();
    const YGameMode saved = GetInit().CurrentGameMode();
    // Read back by the core's own reader.
    GetInit().CurrentGameMode().scores = 0;
    GetInit().CurrentGameMode().lives = 0;
    GetInit().Load(dir_.File("config.yml").c_str());
    const YGameMode& mode = GetInit().CurrentGameMode();
    EXPECT_EQ(mode.scores, 1234);
    EXPECT_EQ(mode.lives, 2);
    EXPECT_EQ(mode.level, 4);
    EXPECT_EQ(saved.scores, 1234);
    init.gameModes = savedModes;
}

} // namespace
} // namespace rackettest
