// The operations through which bonuses, weapons and blocks change the racket, and the rules that
// follow from them: the gloves and their end, taking and letting go of objects, lives and the end
// of the game, and a broken block's points against the count that drops a Next bonus.
#include "racket/racket_fixture.h"
#include "world/balls/ball.h"
#include "world/racket/pipe.h"

namespace rackettest {
namespace {

// Serves the held ball and catches it again with gloves of `seconds`; the ball caught.
YBall* ServeAndCatch(YRacket& racket, float seconds) {
    auto* ball = dynamic_cast<YBall*>(racket.held);
    EXPECT_NE(ball, nullptr);
    racket.ReleaseTacked(true);
    EXPECT_EQ(racket.held, nullptr);
    racket.StartGloves(seconds);
    const YVector n(0.0f, 1.0f, 0.0f);
    EXPECT_TRUE(racket.CatchBall(ball, &n));
    return ball;
}

TEST_F(RacketTest, TheGlovesServeTheCaughtBallWhenTheyRunOutWhateverElseRuns) {
    // Gloves of `first` seconds, started again after 0.2 s by a second pair of `again` seconds
    // (0: none), beside another effect of 1 s; the ball is still in the hand 0.4 s after the catch
    // or not.
    struct Row {
        const char* name;
        void (*other)(YRacket&);
        float first;
        float again;
        bool heldAt04;
    };
    const Row rows[] = {
        {"alone", [](YRacket&) {}, 0.3f, 0.0f, false},
        {"a longer new pair replaces what was left", [](YRacket&) {}, 0.3f, 0.5f, true},
        {"a shorter new pair ends them earlier", [](YRacket&) {}, 1.0f, 0.1f, false},
        {"with the shield up", [](YRacket& r) { r.StartShield(1.0f); }, 0.3f, 0.0f, false},
        {"while slumbering", [](YRacket& r) { r.StartSlumber(1.0f); }, 0.3f, 0.0f, false},
        {"while lively", [](YRacket& r) { r.StartVivacity(1.0f); }, 0.3f, 0.0f, false},
        {"while slipping", [](YRacket& r) { r.StartSlip(1.0f); }, 0.3f, 0.0f, false},
        {"a timed ball mode", [](YRacket& r) { r.SetBallModeAll(3, 1.0f); }, 0.3f, 0.0f, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        racket->NewRound();
        row.other(*racket);
        const float shield = racket->shieldTime, slumber = racket->slumberTime, vivacity = racket->vivacityTime;
        const float slip = racket->slipTime, ballMode = racket->ballModeTime;
        YBall* ball = ServeAndCatch(*racket, row.first);
        Frames(10);
        ASSERT_EQ(racket->held, ball) << "the gloves hold it while they last";
        if (row.again > 0.0f) racket->StartGloves(row.again);
        Frames(10);
        EXPECT_EQ(racket->held == ball, row.heldAt04);
        // The other effect runs on by its own timer.
        EXPECT_NEAR(racket->shieldTime, shield > 0.0f ? shield - 0.4f : shield, 1e-4f);
        EXPECT_NEAR(racket->slumberTime, slumber > 0.0f ? slumber - 0.4f : slumber, 1e-4f);
        EXPECT_NEAR(racket->vivacityTime, vivacity > 0.0f ? vivacity - 0.4f : vivacity, 1e-4f);
        EXPECT_NEAR(racket->slipTime, slip > 0.0f ? slip - 0.4f : slip, 1e-4f);
        EXPECT_NEAR(racket->ballModeTime, ballMode > 0.0f ? ballMode - 0.4f : ballMode, 1e-4f);
        if (row.heldAt04) {
            Frames(16);
            EXPECT_NE(racket->held, ball) << "the second pair ends as well";
        }
    }
}

TEST_F(RacketTest, TheGlovesThrowOnlyABallAndNothingWhileFrozenOrFull) {
    racket->NewRound();
    racket->ReleaseTacked(true);
    // Something other than a ball in the hand stays there when the gloves run out.
    auto* pipe = new YPipe();
    racket->Hold(pipe);
    racket->StartGloves(0.1f);
    Frames(10);
    EXPECT_EQ(racket->held, pipe);
    // Full hands or frost: no catch, whatever the gloves.
    YBall* ball = new YBall(0);
    const YVector n(0.0f, 1.0f, 0.0f);
    racket->StartGloves(5.0f);
    EXPECT_FALSE(racket->CatchBall(ball, &n));
    racket->LetGo(pipe);
    racket->StartFrost(1.0f);
    EXPECT_FALSE(racket->CatchBall(ball, &n));
    EXPECT_EQ(racket->held, nullptr);
    delete pipe;
    delete ball;
}

TEST_F(RacketTest, LettingGoForgetsOnlyTheObjectInTheHand) {
    racket->NewRound();
    racket->ReleaseTacked(true);
    auto* first = new YPipe();
    auto* second = new YPipe();
    racket->Hold(first);
    racket->LetGo(second);
    EXPECT_EQ(racket->held, first) << "a thrown object that is no longer held changes nothing";
    racket->Hold(second);
    EXPECT_EQ(racket->held, second);
    racket->LetGo(second);
    EXPECT_EQ(racket->held, nullptr);
    // Letting go keeps the object alive: it still counts among the held-capable objects.
    EXPECT_EQ(TackedList().size(), 3u); // the served ball and both pipes
    delete first;
    delete second;
}

TEST_F(RacketTest, LivesGainedAndLostAndTheEndOfTheGame) {
    struct Row {
        const char* name;
        int lives;
        bool gain;
        int after;
        int gameOver;
    };
    const Row rows[] = {
        {"a life more at five", 5, true, 6, 0},
        {"a life more at the last", 1, true, 2, 0},
        {"a life less", 3, false, 2, 0},
        {"the last life lost ends the game", 1, false, 0, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        racket->NewRound();
        listener.gameOver = 0;
        racket->lives = row.lives;
        if (row.gain) {
            racket->GainLife();
        } else {
            racket->LoseLife();
        }
        EXPECT_EQ(racket->lives, row.after);
        EXPECT_EQ(listener.gameOver, row.gameOver);
        EXPECT_EQ(racket->state, RACKET_PLAY) << "the shell, not the racket, leaves play";
    }
}

TEST_F(RacketTest, OnlyABrokenBlockStartsTheCountToTheNextDropAgain) {
    // Ten kicks, then points from a block or from a bonus, then one more kick: the 11th kick
    // without a break drops a Next bonus; a block's points start the count again, a bonus's not.
    struct Row {
        const char* name;
        void (*points)(YRacket&);
        int drops;
    };
    const Row rows[] = {
        {"a block broke", [](YRacket& r) { r.OnBlockDestroyed(30); }, 0},
        {"a bonus was caught", [](YRacket& r) { r.AddScore(30); }, 1},
    };
    int drops = 0;
    BlockHooks().dropNextBonus = [&drops] { ++drops; };
    const YVector n(0.0f, 1.0f, 0.0f), at(0.0f, -8.0f, 0.5f);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        racket->NewGame();
        drops = 0;
        YBall* ball = new YBall(0);
        for (int i = 0; i < 10; ++i) racket->KickBall(ball, &n, &at);
        row.points(*racket);
        EXPECT_EQ(racket->score, 30);
        racket->KickBall(ball, &n, &at);
        EXPECT_EQ(drops, row.drops);
        delete ball;
    }
}

} // namespace
} // namespace rackettest
