// The level's bonus hand-out under a game mode's probabilities.
#include <gtest/gtest.h>

#include <vector>

#include "world/level/bonus_handout.h"

namespace {

std::vector<float> Uniform(int kinds) { return std::vector<float>(kinds, 1.0f / kinds); }

int CountGiven(const std::vector<int32_t>& kinds) {
    int n = 0;
    for (int32_t k : kinds) n += k >= 0;
    return n;
}

TEST(BonusHandOut, FortyItemsWithNoCountsGetFourBonuses) {
    const std::vector<YBonusCandidate> items(40);
    const std::vector<int32_t> result = HandOutBonuses(std::vector<int32_t>(34, 0), Uniform(34), items);
    EXPECT_EQ(CountGiven(result), 4);
}

TEST(BonusHandOut, AForbiddenPlacedKindIsRedrawnIntoAnAllowedOneAndItsCountDropped) {
    std::vector<float> probabilities = Uniform(34);
    probabilities[5] = 0.0f;
    std::vector<int32_t> counts(34, 0);
    counts[5] = 3;
    std::vector<YBonusCandidate> items(5);
    items[2].placedKind = 5;
    const std::vector<int32_t> result = HandOutBonuses(counts, probabilities, items);
    EXPECT_GE(result[2], 0);
    EXPECT_NE(result[2], 5);
    for (int32_t k : result) EXPECT_NE(k, 5);
}

TEST(BonusHandOut, PlacedBonusesCountAmongTheLevelsTotalAndSpecialsGetNoRandomBonus) {
    // Twenty items: item 0 carries a placed kind 2, items 1 and 2 have a special, the other 17 are
    // candidates, more than any row hands out. The counts are the level's totals, the placed bonus
    // among them: what is left after taking it off goes to random candidates.
    struct Row {
        const char* name;
        int32_t count2; // the file's count of the placed kind
        int random2;    // random bonuses of kind 2
        int random7;    // random bonuses of kind 7
    };
    const Row rows[] = {
        {"count covers the placed bonus", 1, 0, 10},
        {"two more of the placed kind at random", 3, 2, 10},
        {"count left below the placed bonus takes one off the rest", 0, 0, 9},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<int32_t> counts(34, 0);
        counts[2] = row.count2;
        counts[7] = 10;
        std::vector<YBonusCandidate> items(20);
        items[0].placedKind = 2;
        items[1].hasSpecial = true;
        items[2].hasSpecial = true;
        const std::vector<int32_t> result = HandOutBonuses(counts, Uniform(34), items);
        EXPECT_EQ(result[0], 2);
        EXPECT_EQ(result[1], -1);
        EXPECT_EQ(result[2], -1);
        int random2 = 0, random7 = 0;
        for (std::size_t i = 3; i < result.size(); ++i) {
            EXPECT_TRUE(result[i] == -1 || result[i] == 2 || result[i] == 7) << i;
            random2 += result[i] == 2;
            random7 += result[i] == 7;
        }
        EXPECT_EQ(random2, row.random2);
        EXPECT_EQ(random7, row.random7);
    }
}

TEST(BonusHandOut, BlendedItemsAreUsedOnlyWhenOpaqueOnesRunOut) {
    std::vector<int32_t> counts(34, 0);
    counts[1] = 2;
    std::vector<YBonusCandidate> items(6);
    for (int i = 0; i < 4; ++i) items[i].blended = true;
    std::vector<int32_t> result = HandOutBonuses(counts, Uniform(34), items);
    EXPECT_EQ(result[4], 1);
    EXPECT_EQ(result[5], 1);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(result[i], -1);

    counts[1] = 4;
    result = HandOutBonuses(counts, Uniform(34), items);
    EXPECT_EQ(CountGiven(result), 4);
    EXPECT_EQ(result[4], 1);
    EXPECT_EQ(result[5], 1);
}

TEST(BonusHandOut, AModeAllowingOneKindThatIsAlreadyCountedAddsNothingForbidden) {
    // Every weight is 0: the counts already match the only allowed kind, so the roulette has
    // nothing to draw and must neither hang nor fall back to a forbidden kind 0.
    std::vector<float> probabilities(34, 0.0f);
    probabilities[9] = 1.0f;
    std::vector<int32_t> counts(34, 0);
    counts[9] = 1;
    const std::vector<int32_t> result = HandOutBonuses(counts, probabilities, std::vector<YBonusCandidate>(100));
    EXPECT_EQ(CountGiven(result), 1);
    for (int32_t k : result) EXPECT_TRUE(k == -1 || k == 9);
}

TEST(BonusHandOut, WeightsFavourKindsTheCountsLeaveShort) {
    std::vector<int32_t> counts(4, 0);
    counts[0] = 3;
    counts[1] = 1;
    const std::vector<float> w = BuildBonusWeights(counts, {0.25f, 0.25f, 0.25f, 0.25f});
    EXPECT_FLOAT_EQ(w[0], 0.0f);
    EXPECT_FLOAT_EQ(w[1], 0.0f);
    EXPECT_FLOAT_EQ(w[2], 0.5f);
    EXPECT_FLOAT_EQ(w[3], 0.5f);
}

} // namespace
