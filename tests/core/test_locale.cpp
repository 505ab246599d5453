#include "core/locale.h"

#include <gtest/gtest.h>

#include <string>

#include "core/log.h"
#include "support/temp_dir.h"

namespace {

class LocaleTest : public ::testing::Test {
protected:
    void SetUp() override { LogReopen(dir.File("log.txt")); }
    void TearDown() override { LogReopen(""); }

    std::string Write(const std::string& name, const std::string& text) {
        dir.Write(name, text);
        return dir.File(name);
    }
    std::string Log() const { return dir.Read("log.txt"); }

    testsupport::TempDir dir;
    YLocale locale;
};

const char* const kEnglish =
    "<locale>\r\n"
    "  <str name=\"Bonus\">Big &amp; bold</str>\r\n"
    "  <str name=\"multi\">  two\r\nlines  </str>\r\n"
    "  <map incoming=\"New Game\">Neues Spiel</map>\r\n"
    "  <map incoming=\"NEW game\">Later wins</map>\r\n"
    "  <map incoming=\"Quit\">Ende &lt;x&rt;</map>\r\n"
    "  <!-- a comment -->\r\n"
    "  <str name=\"cut\">never closed\r\n"
    "</locale>\r\n";

} // namespace

TEST_F(LocaleTest, ReadsNamedTextsAndTranslations) {
    locale.Load(Write("locale.yml", kEnglish).c_str());

    EXPECT_EQ(locale.GetString("new game"), "Later wins"); // two keys equal but for case: the later wins
    EXPECT_EQ(locale.GetString("NEW GAME"), "Later wins");
    EXPECT_EQ(locale.GetString("Quit"), "Ende <x>");
    EXPECT_EQ(locale.GetString("Not There"), "Not There"); // the key itself, case kept
    std::string out;
    locale.GetString(&out, "qUIT");
    EXPECT_EQ(out, "Ende <x>");

    EXPECT_EQ(locale.Str("Bonus"), "Big & bold");
    EXPECT_EQ(locale.Str("multi"), "  two\nlines  "); // white space kept, CR LF read as LF
    EXPECT_EQ(locale.StrCount(), 2u);                 // "cut" was never closed
    EXPECT_EQ(locale.Str("bonus"), "");               // named texts are case-sensitive...
    EXPECT_EQ(locale.StrCount(), 3u);                 // ...and a miss adds an empty entry
    EXPECT_NE(Log().find("Locale parser error, Tag <str> not closed., file: "), std::string::npos);
}

TEST_F(LocaleTest, ASecondLanguageReplacesTheFirst) {
    locale.Load(Write("a.yml", kEnglish).c_str());
    locale.Load(Write("b.yml", "<locale><str name=\"only\">x</str></locale>").c_str());
    EXPECT_EQ(locale.GetString("new game"), "new game");
    EXPECT_EQ(locale.StrCount(), 1u);
    EXPECT_EQ(locale.MapCount(), 0u);
    EXPECT_EQ(locale.Str("only"), "x");

    locale.Load(dir.File("missing.yml").c_str());
    EXPECT_EQ(locale.StrCount(), 0u);
    EXPECT_EQ(locale.MapCount(), 0u);
}

TEST_F(LocaleTest, BrokenFilesAreLoggedAndKeepWhatReadWell) {
    struct Case {
        const char* text;
        std::size_t strCount;
        std::size_t mapCount;
        bool logged;
    };
    const Case cases[] = {
        {"<locale><str name=\"a\">abc", 0, 0, true},                              // cut off in the text
        {"<locale><str name=\"a\">x</str><str nam=\"b\"/></locale>", 1, 0, true}, // unknown attribute
        // the bad entity ends the text; the closing tag still stores what was read before it
        {"<locale><map incoming=\"a\">&gt;</map><str name=\"b\">ok</str></locale>", 1, 1, true},
        {"<locale><str name=\"a", 0, 0, true},
        {"\x01\xff\xfe garbage", 0, 0, true},
        {"", 0, 0, true}, // an empty file says so
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        LogReopen(dir.File("log.txt"));
        locale.Load(Write("locale.yml", c.text).c_str());
        EXPECT_EQ(locale.StrCount(), c.strCount);
        EXPECT_EQ(locale.MapCount(), c.mapCount);
        EXPECT_EQ(!Log().empty(), c.logged);
    }
}

TEST(LocaleToLower, ChangesOnlyLettersAToZ) { EXPECT_EQ(ToLower("AbC-Z\xC4@[`"), "abc-z\xC4@[`"); }

TEST_F(LocaleTest, ShippedEnglishLocaleReadsCleanly) {
    locale.Load((std::string(KORVELIN_SOURCE_DIR) + "/assets/ui/english/locale.yml").c_str());
    EXPECT_TRUE(Log().empty()) << Log();
    EXPECT_EQ(locale.Str("level_number"), "Level %d");
    EXPECT_EQ(locale.GetString("English"), "English");
}
