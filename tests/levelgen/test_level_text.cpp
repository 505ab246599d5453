// The level tool's description reader: the bonus counts it writes hold the counted bonuses and
// every bonus placed on a block.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "tools/levelgen/level_text.h"

namespace {

TEST(LevelText, CountsHoldTheRandomBonusesAndThePlacedOnes) {
    struct Row {
        const char* name;
        const char* text;
        std::map<int, int32_t> counts; // every other kind 0
    };
    const Row rows[] = {
        {"counted only", "bonus 3 2\nset 0 0 0\nblock 0 0 0 1 1 1 wood\n", {{3, 2}}},
        {"placed only", "set 0 0 0\nblock 0 0 0 1 1 1 wood bonus=7\nblock 1 0 0 1 1 1 wood bonus=7\n", {{7, 2}}},
        {"placed on top of a count",
         "bonus 3 2\nbonus 7 1\nset 0 0 0\nblock 0 0 0 1 1 1 wood bonus=3\nset 5 0 0\nblock 0 0 0 1 1 1 wood bonus=9\n",
         {{3, 3}, {7, 1}, {9, 1}}},
        {"a box places its bonus once", "set 0 0 0\nbox 0 0 0 3 2 1 ice bonus=13\n", {{13, 1}}},
        {"old layout", "old-layout centre\nbonus 1 1\nset 0 0 0\nblock 0 0 0 1 1 1 wood bonus=1\n", {{1, 2}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        YLevelData level;
        std::string error;
        ASSERT_TRUE(ParseLevelText(row.text, level, error)) << error;
        ASSERT_EQ(level.bonusCounts.size(), static_cast<std::size_t>(BONUS_KIND_COUNT));
        for (std::size_t k = 0; k < BONUS_KIND_COUNT; ++k) {
            const auto it = row.counts.find(static_cast<int>(k));
            EXPECT_EQ(level.bonusCounts[k], it == row.counts.end() ? 0 : it->second) << "kind " << k;
        }
    }
}

TEST(LevelText, CountsTheFileCannotHoldAreRefused) {
    const std::string max = std::to_string(LEVEL_BONUS_COUNT_MAX);
    const std::string half = std::to_string(LEVEL_BONUS_COUNT_MAX / 2 + 1);
    const std::string rows[] = {
        "bonus 4 -1\n",
        "bonus 4 " + half + "\nbonus 4 " + half + "\n",
        "bonus 4 " + max + "\nset 0 0 0\nblock 0 0 0 1 1 1 wood bonus=4\n",
    };
    for (const std::string& text : rows) {
        SCOPED_TRACE(text);
        YLevelData level;
        std::string error;
        EXPECT_FALSE(ParseLevelText(text, level, error));
        EXPECT_FALSE(error.empty());
    }
}

} // namespace
