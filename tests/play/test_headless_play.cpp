// Whole rounds played headless from input scripts: a block breaks and the level is won, a ball is
// lost, the lives run out, a life bonus from a broken block is caught, the same script gives the
// same end state, and a level that does not load is never won.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>

#include "play/built_level_play.h"
#include "world/bonus/bonus.h"
#include "world/play/headless_run.h"
#include "world/racket/racket.h"

namespace {

class HeadlessPlay : public BuiltLevelPlay {
protected:
    // A 20 x 20 level with one tall block of `material` at cell (x, y) carrying bonus `bonus`,
    // and `keep` unbreakable blocks out of the ball's way so the level goes on (with five blocks in
    // play no Next bonus falls for want of blocks).
    std::string Level(const char* name, const char* material, int x, int y, int bonus = NO_BONUS, int keep = 0) {
        static const int KEEPERS[][2] = {{7, 7}, {-7, 7}, {7, 3}, {-7, 3}};
        YLevelData level;
        level.sets.resize(1);
        level.sets[0].blocks.push_back({x, y, 0, 2, 1, 3, material, 35, bonus});
        for (int i = 0; i < keep && i < 4; ++i)
            level.sets[0].blocks.push_back({KEEPERS[i][0], KEEPERS[i][1], 0, 2, 1, 3, "tough", 35, NO_BONUS});
        return WriteLevel(name, level);
    }
    // Serves at the centre, then walks out of the ball's way, every `period` frames.
    static YPlayScript ServeAndStepAside(int frames, int period) {
        YPlayScript script;
        script.seed = 5;
        for (int i = 0; i < frames; ++i) {
            YPlayFrame f{NAN, false};
            if (i % period == 0) f.target = 0.0f;
            if (i % period == 5) f.click = true;
            if (i % period == 40) f.target = -1.0f;
            script.frames.push_back(f);
        }
        return script;
    }
};

TEST_F(HeadlessPlay, RoundsPlayOutAsScripted) {
    struct Row {
        const char* name;
        const char* material;
        int blockX, blockY;
        int frames;
        int period; // of the serve-and-step-aside script; 0: serve once and stand
        YPlayResult result;
        int lives;     // -1: not checked
        int ballsLost; // at least
        int bonus;     // carried by the block; NO_BONUS: none
        int keep;      // unbreakable blocks that keep the level going
        int score;     // -1: not checked
    };
    const Row rows[] = {
        {"the served ball breaks the only block", "weak", -1, 0, 1500, 0, YPlayResult::LevelComplete, 5, 0, NO_BONUS, 0,
         BREAKABLE_SCORE},
        {"a ball lost when the hero steps aside", "tough", 7, 7, 600, 100000, YPlayResult::Running, 4, 1, NO_BONUS, 0,
         -1},
        {"every ball lost: game over", "tough", -4, 7, 6000, 600, YPlayResult::GameOver, 0, 5, NO_BONUS, 4, -1},
        {"the life bonus of the broken block is caught", "weak", -1, 0, 800, 0, YPlayResult::Running, 6, 0, LIFE_BONUS,
         1, BREAKABLE_SCORE + LIFE_SCORE},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ClearHudCaptions();
        if (row.bonus != NO_BONUS)
            StartLifeBonuses();
        else
            StopBonuses();
        const std::string level = Level("round.lev", row.material, row.blockX, row.blockY, row.bonus, row.keep);
        YPlayScript script;
        if (row.period > 0) {
            script = ServeAndStepAside(row.frames, row.period);
        } else {
            script.frames.assign(static_cast<std::size_t>(row.frames), YPlayFrame{NAN, false});
            script.frames[5].click = true;
        }
        const YPlayOutcome out = RunHeadless(level, script, row.frames);
        EXPECT_EQ(out.result, row.result) << PlayResultName(out.result) << " after " << out.frames;
        if (row.lives >= 0) {
            EXPECT_EQ(out.lives, row.lives);
        }
        EXPECT_GE(out.ballsLost, row.ballsLost);
        if (row.score >= 0) {
            EXPECT_EQ(out.score, row.score);
        }
        if (row.result == YPlayResult::LevelComplete) {
            EXPECT_EQ(out.blocksLeft, 0);
        }
        // What the level notes read: the blocks there were to break, the hard ones still standing
        // (the tough blocks never break; a weak one is not hard), when nine tenths were gone, and
        // no Next bonus ended these rounds.
        const bool tough = std::string(row.material) == "tough";
        EXPECT_EQ(out.blocksAtStart, 1 + row.keep);
        EXPECT_EQ(out.hardLeft, row.keep + (tough ? 1 : 0));
        if (out.blocksLeft * 10 > out.blocksAtStart) {
            EXPECT_EQ(out.ninetyPercentFrame, -1);
        } else {
            EXPECT_GT(out.ninetyPercentFrame, 0);
            EXPECT_LE(out.ninetyPercentFrame, out.frames);
        }
        EXPECT_FALSE(out.endedByNext);
        if (row.bonus == LIFE_BONUS) {
            // The catch announces itself on the HUD.
            ASSERT_FALSE(HudCaptions().empty());
            EXPECT_EQ(HudCaptions().back().text, "Life: +" + std::to_string(LIFE_SCORE));
        }
    }
}

TEST_F(HeadlessPlay, TheSameScriptGivesTheSameEndState) {
    const std::string level = Level("same.lev", "weak", 3, 2);
    const YPlayScript script = MakeSeededScript(11, 900);
    const YPlayOutcome a = RunHeadless(level, script, 900);
    const YPlayOutcome b = RunHeadless(level, script, 900);
    EXPECT_EQ(a.hash, b.hash);
    EXPECT_EQ(a.frames, b.frames);
    EXPECT_EQ(a.score, b.score);
    // Another script plays another game.
    const YPlayOutcome c = RunHeadless(level, MakeSeededScript(12, 900), 900);
    EXPECT_NE(a.hash, c.hash);
}

TEST_F(HeadlessPlay, ALevelThatDoesNotLoadIsNeverWon) {
    const std::string empty = dir_.File("empty.lev");
    std::ofstream(empty).close();
    for (const std::string& path : {empty, dir_.File("missing.lev")}) {
        const YPlayOutcome out = RunHeadless(path, MakeSeededScript(1, 50), 50);
        EXPECT_EQ(out.result, YPlayResult::LevelRefused);
    }
}

} // namespace
