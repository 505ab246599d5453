#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>

#include "bonus/log_lines.h"
#include "core/init.h"
#include "core/locale.h"
#include "support/temp_dir.h"
#include "world/bonus/bonus_config.h"

namespace {

using bonustest::LogLines;

std::string Tags(int count) {
    std::string s;
    for (int i = 0; i < count; ++i)
        s += "<bonus name=\"k" + std::to_string(i) + "\" score=\"" + std::to_string(100 + i) + "\"/>\n";
    return s;
}

class BonusConfigTest : public ::testing::Test {
protected:
    void Load(const std::string& text) {
        dir.Write("bonuses.yml", text);
        LoadBonusConfigs(dir.File("bonuses.yml").c_str());
    }
    void TearDown() override { BonusConfigs().clear(); }
    testsupport::TempDir dir;
};

TEST_F(BonusConfigTest, TagWithoutAttributesTakesEveryDefault) {
    Load("<bonus/>");
    const YBonusConfig& c = BonusConfig(0);
    EXPECT_EQ(c.name, "");
    EXPECT_EQ(c.timeout, 0.0f);
    EXPECT_EQ(c.score, 0);
    EXPECT_EQ(c.sound, "bonus");
    EXPECT_EQ(c.colour.r, 1.0f);
    EXPECT_EQ(c.colour.g, 1.0f);
    EXPECT_EQ(c.colour.b, 1.0f);
    EXPECT_EQ(c.colour.a, 1.0f);
}

TEST_F(BonusConfigTest, AttributesAreReadIntoTheRecord) {
    Load("<bonus name=\"bonus_fire\" timeout=\"12.5\" color=\"ff800040\" score=\"-7\" sound=\"boom\"/>");
    const YBonusConfig& c = BonusConfig(0);
    EXPECT_EQ(c.name, "bonus_fire");
    EXPECT_FLOAT_EQ(c.timeout, 12.5f);
    EXPECT_EQ(c.score, -7);
    EXPECT_EQ(c.sound, "boom");
    EXPECT_FLOAT_EQ(c.colour.r, 1.0f);
    EXPECT_NEAR(c.colour.g, 128.0f / 255.0f, 1e-6f);
    EXPECT_EQ(c.colour.b, 0.0f);
    EXPECT_NEAR(c.colour.a, 64.0f / 255.0f, 1e-6f);
}

TEST_F(BonusConfigTest, PositionNotNameChoosesTheKind) {
    Load("<bonus name=\"second\" score=\"2\"/><bonus name=\"first\" score=\"1\"/>");
    EXPECT_EQ(BonusConfig(0).name, "second");
    EXPECT_EQ(BonusConfig(0).score, 2);
    EXPECT_EQ(BonusConfig(1).name, "first");
    EXPECT_EQ(BonusConfig(1).score, 1);
}

TEST_F(BonusConfigTest, BadColourKeepsTheRecordSoLaterKindsStayInPlace) {
    LogLines log;
    Load(
        "<bonus name=\"a\" score=\"1\"/>\n<bonus name=\"b\" color=\"f0\" score=\"2\"/>\n<bonus name=\"c\" "
        "score=\"3\"/>\n");
    EXPECT_TRUE(log.Has("Bonus Config Loader error, Error color format., line: 2"))
        << ::testing::PrintToString(log.lines);
    EXPECT_EQ(BonusConfig(1).name, "b");
    EXPECT_EQ(BonusConfig(1).score, 2);
    EXPECT_EQ(BonusConfig(1).colour.r, 1.0f); // white, as without a colour
    EXPECT_EQ(BonusConfig(2).name, "c");
    EXPECT_EQ(BonusConfig(2).score, 3);
}

TEST_F(BonusConfigTest, SyntaxErrorIsLoggedWithItsLineAndReadingGoesOn) {
    LogLines log;
    Load("<bonus name=\"a\"/>\n<bonus name=\"b\" =/>\n<bonus name=\"c\"/>\n");
    bool found = false;
    for (const std::string& l : log.lines)
        if (l.rfind("Bonus Config Loader error, ", 0) == 0 && l.find("line: 2") != std::string::npos) found = true;
    EXPECT_TRUE(found) << ::testing::PrintToString(log.lines);
    EXPECT_EQ(BonusConfig(0).name, "a");
    bool cRead = false;
    for (int k = 1; k < 3; ++k) cRead = cRead || BonusConfig(k).name == "c";
    EXPECT_TRUE(cRead);
}

// However short the file, every kind of the registry has a record, and lookups beyond never fail.
TEST_F(BonusConfigTest, ShortOrMissingFileIsPaddedToEveryKind) {
    struct Case {
        const char* what;
        bool write;
        int tags;
    } cases[] = {{"missing", false, 0},
                 {"empty", true, 0},
                 {"five tags", true, 5},
                 {"all", true, BONUS_KIND_COUNT},
                 {"more", true, BONUS_KIND_COUNT + 6}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LogLines log;
        if (c.write) {
            Load(Tags(c.tags));
        } else {
            LoadBonusConfigs(dir.File("none.yml").c_str());
        }
        EXPECT_EQ(BonusConfigs().size(), static_cast<std::size_t>(std::max(c.tags, BONUS_KIND_COUNT)));
        if (c.tags > 0) {
            EXPECT_EQ(BonusConfig(c.tags - 1).score, 100 + c.tags - 1);
        }
        if (c.tags < BONUS_KIND_COUNT) {
            EXPECT_EQ(BonusConfig(BONUS_KIND_COUNT - 1).score, 0);
            EXPECT_EQ(BonusConfig(BONUS_KIND_COUNT - 1).sound, "bonus");
            EXPECT_TRUE(log.Has("Bonus Config Loader error"));
        }
    }
}

TEST_F(BonusConfigTest, KindsOutsideTheListReadADefaultRecord) {
    Load(Tags(BONUS_KIND_COUNT));
    for (int kind : {-1, BONUS_KIND_COUNT, 1000000}) {
        EXPECT_EQ(BonusConfig(kind).score, 0) << kind;
        EXPECT_EQ(BonusConfig(kind).name, "") << kind;
    }
}

TEST_F(BonusConfigTest, BallModeDurationOnlyForTimedBallKinds) {
    std::string text;
    for (int i = 0; i < BONUS_KIND_COUNT; ++i) text += "<bonus timeout=\"" + std::to_string(10 + i) + "\"/>";
    Load(text);
    YGameMode& mode = GetInit().CurrentGameMode();
    const bool saved = mode.timerBall;
    struct Case {
        int mode;
        bool timerBall;
        float expected;
    } cases[] = {{0, true, 10.0f},  {7, true, 17.0f},  {8, true, -1.0f}, {-1, true, -1.0f},
                 {33, true, -1.0f}, {0, false, -1.0f}, {5, false, -1.0f}};
    for (const Case& c : cases) {
        mode.timerBall = c.timerBall;
        EXPECT_EQ(BonusBallModeDuration(c.mode), c.expected) << c.mode << " " << c.timerBall;
    }
    mode.timerBall = saved;
}

TEST_F(BonusConfigTest, LocalizeTakesTheTextsOfTheLoadedLanguage) {
    Load("<bonus name=\"bonus_x\"/><bonus name=\"bonus_missing\"/>");
    dir.Write("locale.yml", "<locale><str name=\"bonus_x\">Extra</str></locale>");
    GetLocale().Load(dir.File("locale.yml").c_str());
    LocalizeBonusConfig();
    EXPECT_EQ(BonusConfig(0).text, "Extra");
    EXPECT_EQ(BonusConfig(1).text, "");
    dir.Write("locale.yml", "<locale><str name=\"bonus_x\">Zusatz</str></locale>");
    GetLocale().Load(dir.File("locale.yml").c_str());
    LocalizeBonusConfig();
    EXPECT_EQ(BonusConfig(0).text, "Zusatz");
    GetLocale().Load(dir.File("none.yml").c_str());
}

// The shipped data: one record per kind, each named after its kind's icon (nothing is logged),
// with distinct names, each drawn by a shader of "data\shaders.yml" and named in every language.
std::string ReadSource(const std::string& relative) {
    std::ifstream in(std::string(KORVELIN_SOURCE_DIR) + "/" + relative, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(BonusContent, EveryShippedKindHasItsShaderAndItsTexts) {
    LogLines log;
    LoadBonusConfigs((std::string(KORVELIN_SOURCE_DIR) + "/assets/data/bonuses.yml").c_str());
    EXPECT_TRUE(log.lines.empty()) << ::testing::PrintToString(log.lines);
    ASSERT_EQ(BonusConfigs().size(), static_cast<std::size_t>(BONUS_KIND_COUNT));
    const std::string shaders = ReadSource("assets/data/shaders.yml");
    const std::string english = ReadSource("assets/ui/english/locale.yml");
    const std::string german = ReadSource("assets/ui/german/locale.yml");
    std::set<std::string> names;
    for (const YBonusConfig& c : BonusConfigs()) {
        ASSERT_FALSE(c.name.empty());
        EXPECT_TRUE(names.insert(c.name).second) << c.name;
        EXPECT_NE(shaders.find("<shader name=\"" + c.name + "\">"), std::string::npos) << c.name;
        EXPECT_NE(english.find("<str name=\"" + c.name + "\">"), std::string::npos) << c.name;
        EXPECT_NE(german.find("<str name=\"" + c.name + "\">"), std::string::npos) << c.name;
        EXPECT_GE(c.timeout, 0.0f) << c.name;
    }
    for (int k : {0, 8, 16, 17, 18, 19, 20}) EXPECT_GT(BonusConfig(k).timeout, 0.0f) << k;
    BonusConfigs().clear();
}

} // namespace
