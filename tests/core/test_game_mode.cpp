#include "core/game_mode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numeric>
#include <string>
#include <vector>

#include "core/log.h"
#include "platform/sys/files.h"
#include "support/temp_dir.h"

namespace {

class GameModeTest : public ::testing::Test {
protected:
    void SetUp() override {
        LogReopen(dir.File("log.txt"));
        GameModeHooks().registerTipPage = [this](const std::string& page) { pages.push_back(page); };
    }
    void TearDown() override {
        GameModeHooks() = YGameModeHooks();
        LogReopen("");
    }

    std::vector<YGameMode> Read(const std::string& text) {
        dir.Write("modes.yml", text);
        std::vector<YGameMode> modes;
        YGameModeLoader loader(modes);
        loader.Load(dir.File("modes.yml").c_str());
        return modes;
    }
    std::string Log() const { return dir.Read("log.txt"); }

    testsupport::TempDir dir;
    std::vector<std::string> pages;
};

std::string Bonuses(int count, const char* prob) {
    std::string out;
    for (int i = 0; i < count; ++i) out += std::string("<bonus prob=\"") + prob + "\"/>";
    return out;
}

} // namespace

TEST_F(GameModeTest, ProbabilitiesAreFilledByPositionAndNormalised) {
    constexpr float kinds = BONUS_KIND_COUNT;
    struct Case {
        std::string text;
        float first;  // expected entry 0
        float others; // expected entries 1..
    };
    const Case cases[] = {
        {"<game name=\"a\"></game>", 1.0f / kinds, 1.0f / kinds},
        {"<game name=\"a\"/>", 1.0f / kinds, 1.0f / kinds},
        {"<game name=\"a\"><bonus name=\"anything\" prob=\"30\"/></game>", 30.0f / (30.0f + 10.0f * (kinds - 1)),
         10.0f / (30.0f + 10.0f * (kinds - 1))},
        {"<game name=\"a\" defaultProb=\"0\"></game>", 0.0f, 0.0f}, // nothing to share: zeros, not NaN
        {"<game name=\"a\" defaultProb=\"0\"><bonus prob=\"5\"/></game>", 1.0f, 0.0f},
        {"<bonus prob=\"99\"/><game name=\"a\"></game><bonus prob=\"99\"/>", 1.0f / kinds, 1.0f / kinds},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<YGameMode> modes = Read(c.text);
        ASSERT_EQ(modes.size(), 1u);
        const std::vector<float>& p = modes[0].probabilities;
        ASSERT_EQ(p.size(), static_cast<std::size_t>(BONUS_KIND_COUNT));
        EXPECT_FLOAT_EQ(p[0], c.first);
        for (std::size_t i = 1; i < p.size(); ++i) EXPECT_FLOAT_EQ(p[i], c.others) << i;
    }
    EXPECT_TRUE(Log().empty()) << Log();
}

TEST_F(GameModeTest, ReadsFlagsTipsAndFileOrder) {
    std::vector<YGameMode> modes = Read(
        "<game name=\"plain\"/>\n"
        "<game name=\"odd\" lowBall=\"0\" bonusMode=\"1\" swellBonuses=\"0\" wideRacket=\"0\" perimeterBorder=\"0\"\n"
        "      teleports=\"1\" popupLosses=\"1\" popupScores=\"0\" timerBall=\"0\" defaultProb=\"5\">\n"
        "  <tip filename=\"tip_a.yml\" hits=\"3\"/>\n"
        "  <tip filename=\"tip_b.yml\"/>\n"
        "</game>\n");
    ASSERT_EQ(modes.size(), 2u);
    const YGameMode& plain = modes[0];
    EXPECT_EQ(plain.name, "plain");
    EXPECT_EQ(plain.bonusMode, 2);
    EXPECT_TRUE(plain.lowBall && plain.swellBonuses && plain.wideRacket && plain.perimeterBorder && plain.popupScores &&
                plain.timerBall);
    EXPECT_FALSE(plain.teleports || plain.popupLosses);
    EXPECT_EQ(plain.level, -1);
    EXPECT_EQ(plain.openLevels, 0);

    const YGameMode& odd = modes[1];
    EXPECT_EQ(odd.name, "odd");
    EXPECT_EQ(odd.bonusMode, 1);
    EXPECT_FALSE(odd.lowBall || odd.swellBonuses || odd.wideRacket || odd.perimeterBorder || odd.popupScores ||
                 odd.timerBall);
    EXPECT_TRUE(odd.teleports && odd.popupLosses);
    EXPECT_FLOAT_EQ(odd.defaultProb, 5.0f);
    ASSERT_EQ(odd.tips.size(), 2u);
    EXPECT_EQ(odd.tips[0].fileName, "tip_a.yml");
    EXPECT_EQ(odd.tips[0].hits, 3);
    EXPECT_EQ(odd.tips[0].armed, 1);
    EXPECT_EQ(odd.tips[1].hits, 1);
    EXPECT_EQ(pages, (std::vector<std::string>{"tip_a.yml", "tip_b.yml"}));
}

TEST_F(GameModeTest, BonusTagsBeyondTheKindsAreIgnoredAndReportedOncePerGame) {
    std::vector<YGameMode> modes =
        Read("<game name=\"a\">\n" + Bonuses(BONUS_KIND_COUNT, "2") + "\n" + Bonuses(6, "1000") + "</game>\n" +
             "<game name=\"b\">" + Bonuses(BONUS_KIND_COUNT, "2") + "</game>");
    ASSERT_EQ(modes.size(), 2u);
    for (const YGameMode& mode : modes) {
        ASSERT_EQ(mode.probabilities.size(), static_cast<std::size_t>(BONUS_KIND_COUNT));
        for (float p : mode.probabilities) EXPECT_FLOAT_EQ(p, 1.0f / BONUS_KIND_COUNT);
    }
    EXPECT_EQ(Log(), "Game mode config loader error, More <bonus> tags than the " + std::to_string(BONUS_KIND_COUNT) +
                         " bonus kinds, the extra ones are ignored., file: " + dir.File("modes.yml") + ", line: 3\n");
}

// With the world's kind names installed, a named "bonus" tag is checked against the kind at its
// place; the place still decides which kind it sets.
TEST_F(GameModeTest, BonusTagNamesAreCheckedAgainstTheKindAtTheirPlace) {
    GameModeHooks().bonusKindName = [](BonusKind kind) {
        static std::vector<std::string> names;
        if (names.empty())
            for (int k = 0; k < BONUS_KIND_COUNT; ++k) names.push_back("k" + std::to_string(k));
        return names[static_cast<std::size_t>(BonusKindIndex(kind))].c_str();
    };
    struct Case {
        const char* what;
        std::string bonuses; // inside one game, starting on line 2
        std::string logged;  // the message of the one line expected, or empty
        float first;         // the weight the first kind is given
    };
    const Case cases[] = {
        {"named in order", "<bonus name=\"k0\" prob=\"3\"/>\n<bonus name=\"k1\"/>\n", "", 3.0f},
        {"unnamed", "<bonus prob=\"3\"/>\n<bonus/>\n", "", 3.0f},
        {"misnamed", "<bonus name=\"k0\" prob=\"3\"/>\n<bonus name=\"k7\"/>\n",
         "Bonus 1 is named \"k7\" but sets kind 1 \"k1\"., file: " + dir.File("modes.yml") + ", line: 3", 3.0f},
        {"swapped", "<bonus name=\"k1\" prob=\"3\"/>\n", "Bonus 0 is named \"k1\" but sets kind 0 \"k0\".", 3.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LogReopen(dir.File("log.txt"));
        std::vector<YGameMode> modes = Read("<game name=\"a\">\n" + c.bonuses + "</game>\n");
        ASSERT_EQ(modes.size(), 1u);
        const std::vector<float>& p = modes[0].probabilities;
        EXPECT_FLOAT_EQ(p[0] / p[1], c.first / 10.0f);
        if (c.logged.empty()) {
            EXPECT_EQ(Log(), "");
        } else {
            const std::string log = Log();
            EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
            EXPECT_NE(log.find("Game mode config loader error, " + c.logged), std::string::npos) << log;
        }
    }
}

TEST_F(GameModeTest, ATipOutsideAGameIsReportedWithItsLine) {
    std::vector<YGameMode> modes = Read("<tip filename=\"early.yml\"/>\n<game name=\"a\"/>\n");
    ASSERT_EQ(modes.size(), 1u);
    EXPECT_TRUE(modes[0].tips.empty());
    EXPECT_TRUE(pages.empty());
    EXPECT_EQ(Log(), "Game mode config loader error, Tag <tip> outside <game>., file: " + dir.File("modes.yml") +
                         ", line: 1\n");
}

TEST_F(GameModeTest, BrokenFilesGiveLoggedErrorsAndUsableModes) {
    struct Case {
        const char* text;
        std::size_t modes;
    };
    const Case cases[] = {
        {"<game name=\"a\"><bonus prob=\"30\"/>", 1},                  // cut off inside the game
        {"<game name=\"a\"><game name=\"b\"></game>", 2},              // a game not closed before the next
        {"<game name=\"a\" bogus=\"1\"></game><game name=\"b\"/>", 1}, // unknown attribute: that game is lost
        {"<game name=\"a\"><bonus prob=\"-50\"/></game>", 1},
        {"<game name=\"a\" defaultProb=\"nan\"><bonus prob=\"1\"/></game>", 1},
        {"<game name=\"a\"><bonus prob=\"1e39\"/></game>", 1},
        {"<game name=\"a", 0},
        {"\x7f\x45\x4c\x46\x02\x01 <<<>>> &&& <game", 0},
        {"", 0},                            // empty
        {"<!-- only a comment -->\n", 0},   // no mode in it
        {"<bonus prob=\"1\"/><bonus/>", 0}, // no game in it
        {"<gmae name=\"typo\"></gmae>", 0}, // misspelt
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        LogReopen(dir.File("log.txt"));
        std::vector<YGameMode> modes = Read(c.text);
        EXPECT_EQ(modes.size(), c.modes);
        // Every damage is logged, naming the file.
        EXPECT_NE(Log().find(dir.File("modes.yml")), std::string::npos) << Log();
        for (const YGameMode& mode : modes) {
            float sum = std::accumulate(mode.probabilities.begin(), mode.probabilities.end(), 0.0f);
            for (float p : mode.probabilities) EXPECT_TRUE(p >= 0.0f && p <= 1.0f) << p;
            EXPECT_TRUE(sum == 0.0f || std::fabs(sum - 1.0f) < 1e-4f) << sum;
        }
    }
}

TEST_F(GameModeTest, AMissingFileAddsNothing) {
    std::vector<YGameMode> modes;
    YGameModeLoader loader(modes);
    loader.Load(dir.File("none.yml").c_str());
    EXPECT_TRUE(modes.empty());
}

TEST_F(GameModeTest, ShippedModesReadCleanly) {
    const std::string path = std::string(KORVELIN_SOURCE_DIR) + "/assets/data/modes.yml";
    std::vector<YGameMode> modes;
    YGameModeLoader loader(modes);
    loader.Load(path.c_str());
    EXPECT_TRUE(Log().empty()) << Log();
    ASSERT_GE(modes.size(), 2u);
    EXPECT_EQ(modes[0].name, "easy");
    EXPECT_EQ(modes[1].name, "original");
    for (const YGameMode& mode : modes) {
        SCOPED_TRACE(mode.name);
        float sum = std::accumulate(mode.probabilities.begin(), mode.probabilities.end(), 0.0f);
        EXPECT_NEAR(sum, 1.0f, 1e-4f);
        EXPECT_FALSE(mode.tips.empty());
    }
    // One "bonus" tag per kind in every mode, no more: extra tags would be dropped without a word.
    std::string text;
    ASSERT_EQ(plat::ReadFile(path, text, 1u << 20, true), plat::ReadStatus::Ok);
    std::size_t tagsSeen = 0;
    for (std::size_t at = text.find("<bonus "); at != std::string::npos; at = text.find("<bonus ", at + 1)) ++tagsSeen;
    EXPECT_EQ(tagsSeen, modes.size() * BONUS_KIND_COUNT);
}
