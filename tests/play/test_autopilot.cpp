// The autopilot plays built levels: it clears a table of scattered blocks, it catches the bonus a broken block drops (and the run counts the catch), and a
// script written to a file and read back plays the same game as the script in memory.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "play/built_level_play.h"
#include "world/bonus/bonus.h"
#include "world/play/autopilot.h"
#include "world/play/headless_run.h"
#include "world/play/play_script_file.h"

namespace {

struct Cell {
    int x, y;
    const char* material;
    int bonus;
};

class AutopilotPlay : public BuiltLevelPlay {
protected:
    void SetUp() override {
        BuiltLevelPlay::SetUp();
        StartLifeBonuses();
    }
    // A 20 x 20 level of tall 2 x 1 blocks, each in a set of its own.
    std::string Level(const char* name, const std::vector<Cell>& cells) {
        YLevelData level;
        for (const Cell& c : cells) {
            YLevelSet set;
            set.blocks.push_back({c.x, c.y, 0, 2, 1, 3, c.material, 35, c.bonus});
            level.sets.push_back(set);
        }
        return WriteLevel(name, level);
    }
};

TEST_F(AutopilotPlay, ClearsATableOfScatteredBlocks) {
    const std::string level = Level("scattered.lev", {{-7, 2, "weak", NO_BONUS},
                                                      {5, 6, "weak", NO_BONUS},
                                                      {-2, 7, "weak", NO_BONUS},
                                                      {7, -3, "weak", NO_BONUS},
                                                      {0, 3, "weak", NO_BONUS}});
    constexpr int FRAMES = 15000;
    for (uint32_t seed : {1u, 2u}) {
        SCOPED_TRACE(seed);
        YAutopilot pilot(seed);
        const YPlayOutcome out = RunHeadless(level, pilot, FRAMES, seed);
        EXPECT_EQ(out.result, YPlayResult::LevelComplete) << PlayResultName(out.result) << " after " << out.frames;
        EXPECT_EQ(out.blocksLeft, 0);
        EXPECT_GT(out.lives, 0);
    }
}

TEST_F(AutopilotPlay, CaughtBonusesAreCounted) {
    // The only breakable block holds a life bonus; an unbreakable one keeps the level going until
    // a Next bonus falls (after eleven kicks without a break, or while few blocks stand).
    const std::string level = Level("bonus.lev", {{-1, 0, "weak", LIFE_BONUS}, {7, 7, "tough", NO_BONUS}});
    struct Row {
        const char* name;
        bool autopilot;
        int frames;
        int caught;
        YPlayResult result;
        const char* lastCaption; // of the last catch; null: none
        int lives;
        bool byNext; // the level ended with a block standing
    };
    const Row rows[] = {
        {"the autopilot fetches the life bonus", true, 800, 1, YPlayResult::Running, "Life: +40", 6, false},
        {"and then the Next bonus, which ends the level", true, 6000, 2, YPlayResult::LevelComplete, ": +0", 6, true},
        // Serves at the centre, then walks to the far end: the bonus falls past the hero, and the
        // ball is lost.
        {"a hero that walks away catches nothing", false, 600, 0, YPlayResult::Running, nullptr, 4, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ClearHudCaptions();
        YPlayOutcome out;
        if (row.autopilot) {
            YAutopilot pilot(3);
            out = RunHeadless(level, pilot, row.frames, 3);
        } else {
            YPlayScript script;
            script.frames.assign(static_cast<std::size_t>(row.frames), YPlayFrame{NAN, false});
            script.frames[5].click = true;
            script.frames[40].target = 1.0f;
            out = RunHeadless(level, script, row.frames);
        }
        EXPECT_EQ(out.result, row.result) << PlayResultName(out.result) << " after " << out.frames;
        EXPECT_EQ(out.bonusesCaught, row.caught);
        // Each catch in play shows its caption: the count is of catches, not of bonuses made.
        ASSERT_EQ(HudCaptions().size(), static_cast<std::size_t>(row.caught));
        if (row.lastCaption) {
            EXPECT_EQ(HudCaptions().back().text, row.lastCaption);
        }
        EXPECT_EQ(out.lives, row.lives);
        EXPECT_EQ(out.endedByNext, row.byNext);
        if (row.byNext) {
            EXPECT_EQ(out.blocksLeft, 1);
            EXPECT_EQ(out.hardLeft, 1);
        }
    }
}

TEST_F(AutopilotPlay, AScriptReadFromAFilePlaysAsInMemory) {
    const std::string level = Level("file.lev", {{-1, 0, "weak", NO_BONUS}, {4, 5, "weak", NO_BONUS}});
    // A mouse on a 640 pixel wide window: the targets are the game's for whole pixels.
    constexpr int WIDTH = 640;
    YPlayScript script = MakeSeededScript(21, 2000);
    for (YPlayFrame& f : script.frames) {
        if (std::isnan(f.target)) continue;
        const float x = std::round((f.target + 1.0f) * 0.5f * static_cast<float>(WIDTH));
        f.target = 2.0f * x / static_cast<float>(WIDTH) - 1.0f;
    }
    script.frames[3].click = true;
    script.frames[300].aim = 10.0f;
    script.frames[900].aim = -5.0f;
    const std::string file = dir_.File("script.rec");
    std::string error;
    ASSERT_TRUE(SavePlayScript(file, script, WIDTH, error)) << error;

    YPlayScript loaded;
    loaded.seed = script.seed;
    ASSERT_TRUE(LoadPlayScript(file, loaded, error)) << error;
    const YPlayOutcome fromMemory = RunHeadless(level, script, 2000);
    const YPlayOutcome fromFile = RunHeadless(level, loaded, 2000);
    EXPECT_EQ(fromFile.result, fromMemory.result);
    EXPECT_EQ(fromFile.frames, fromMemory.frames);
    EXPECT_EQ(fromFile.score, fromMemory.score);
    EXPECT_EQ(fromFile.hash, fromMemory.hash);
}

} // namespace
