#include "core/init.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/log.h"
#include "support/temp_dir.h"

namespace {

const char* const kModes =
    "<game name=\"easy\" lowBall=\"1\">\n"
    "  <tip filename=\"tip_move.yml\" hits=\"1\"/>\n"
    "</game>\n"
    "<game name=\"classic\" lowBall=\"0\" bonusMode=\"0\"></game>\n";

struct Slide {
    std::string shader, bgShader;
    YColor colour;
    float width, height;
};

// Runs in a scratch game folder holding "data\modes.yml" and the language folders given.
class InitTest : public ::testing::Test {
protected:
    void SetUp() override {
        LogReopen("log.txt");
        dir.MakeDir("data");
        dir.Write("data/modes.yml", kModes);
        InitHooks().addSplashSlide = [this](const std::string& shader, const std::string& bgShader, const YColor& c,
                                            float w, float h) {
            slides.push_back({shader, bgShader, c, w, h});
        };
    }
    void TearDown() override {
        InitHooks() = YInitHooks();
        LogReopen("");
    }

    // A new configuration object, which lists the language folders that exist now.
    Init& Fresh(std::vector<const char*> languages = {"deutsch", "english", "zz.v2"}) {
        for (const char* name : languages) dir.MakeDir(std::string("ui/") + name);
        init = std::make_unique<Init>();
        return *init;
    }
    std::string Log() const { return dir.Read("log.txt"); }

    testsupport::TempDir dir{true};
    std::unique_ptr<Init> init;
    std::vector<Slide> slides;
};

const char* const kConfig =
    "<config>\n"
    "  <video fullscreen=\"0\" mode=\"1024x768:32\" double_buffer=\"1\">\n"
    "  <window width=\"1024\" height=\"700\" maximize=\"1\">\n"
    "  <sound volume=\"0.5\" music=\"0.25\">\n"
    "  <render fps=\"1\" shadows=\"0\">\n"
    "  <splash shader=\"logo\" bgshader=\"bg\" bgcolor=\"ff8000\" width=\"256\" height=\"128\"/>\n"
    "  <interface language=\"deutsch\" showtips=\"0\">\n"
    "  <game name=\"classic\" level=\"4\" scores=\"1200\" lives=\"3\" player=\"Ann\" openLevels=\"7\">\n"
    "  <game name=\"unknown\" level=\"9\">\n"
    "</config>\n";

const char* const kSaved =
    "<config>\n"
    "  <video fullscreen=\"0\" mode=\"1024x768:32\" double_buffer=\"1\">\n"
    "  <window width=\"1024\" height=\"700\" maximize=\"1\">\n"
    "  <sound volume=\"0.5\" music=\"0.25\">\n"
    "  <render fps=\"1\" shadows=\"0\">\n"
    "  <interface language=\"deutsch\" showtips=\"0\">\n"
    "  <game name=\"easy\" level=\"-1\" scores=\"0\" lives=\"0\" player=\"\" openLevels=\"0\">\n"
    "  <game name=\"classic\" level=\"4\" scores=\"1200\" lives=\"3\" player=\"Ann\" openLevels=\"7\">\n"
    "  <game name=\"unknown\" level=\"9\" scores=\"0\" lives=\"0\" player=\"\" openLevels=\"0\">\n"
    "</config>\n";

} // namespace

TEST_F(InitTest, FirstRunUsesTheDefaults) {
    Init& c = Fresh();
    c.Load("config.yml");
    EXPECT_TRUE(c.fullscreen);
    EXPECT_EQ(c.videoMode, "800x600:32");
    EXPECT_EQ(c.windowWidth, 800);
    EXPECT_EQ(c.windowHeight, 600);
    EXPECT_FALSE(c.maximize);
    EXPECT_TRUE(c.doubleBuffer);
    EXPECT_FLOAT_EQ(c.soundVolume, 1.0f);
    EXPECT_FLOAT_EQ(c.musicVolume, 1.0f);
    EXPECT_FALSE(c.fps);
    EXPECT_TRUE(c.shadows);
    EXPECT_TRUE(c.showTips);
    EXPECT_EQ(c.languageIndex, 1);
    EXPECT_EQ(c.GetLanguagePath(), "ui\\english");
    EXPECT_EQ(c.currentGameMode, 0);
    ASSERT_EQ(c.gameModes.size(), 2u);
    EXPECT_EQ(c.gameModes[1].name, "classic");
    EXPECT_EQ(c.languages.GetNames(), (std::vector<std::string>{"deutsch", "english", "zz"}));
}

TEST_F(InitTest, SaveWritesEveryAttributeOneGameLinePerModeThenTheUnknownEntries) {
    dir.Write("config.yml", kConfig);
    Init& c = Fresh();
    c.Load("config.yml");
    EXPECT_FALSE(c.fullscreen);
    EXPECT_EQ(c.languageIndex, 0);
    EXPECT_FLOAT_EQ(c.musicVolume, 0.25f);
    ASSERT_TRUE(c.Save());
    EXPECT_EQ(dir.Read("config.yml"), kSaved);

    // What was written reads back to the same file.
    Init& again = Fresh();
    again.Load("config.yml");
    ASSERT_TRUE(again.Save());
    EXPECT_EQ(dir.Read("config.yml"), kSaved);
}

TEST_F(InitTest, OpenedLevelsOnlyRise) {
    struct Case {
        int first, second, expected;
    };
    const Case cases[] = {{5, 3, 5}, {5, 8, 8}, {0, -4, 0}};
    for (const Case& k : cases) {
        SCOPED_TRACE(std::to_string(k.first) + " then " + std::to_string(k.second));
        Init& c = Fresh();
        dir.Write("a.yml", "<game name=\"classic\" level=\"1\" openLevels=\"" + std::to_string(k.first) + "\"/>");
        dir.Write("b.yml", "<game name=\"classic\" level=\"2\" openLevels=\"" + std::to_string(k.second) + "\"/>");
        c.Load("a.yml");
        c.Load("b.yml");
        EXPECT_EQ(c.FindGameMode("classic")->openLevels, k.expected);
        EXPECT_EQ(c.FindGameMode("classic")->level, 2);
    }
}

TEST_F(InitTest, LanguageIsLookedUpAmongTheFolders) {
    struct Case {
        const char* language;
        int index;
        const char* path;
    };
    const Case cases[] = {
        {"english", 1, "ui\\english"},
        {"zz", 2, "ui\\zz.v2"},        // known by the part before the first '.'
        {"klingon", 0, "ui\\deutsch"}, // no such folder: the first in byte order
        {"English", 0, "ui\\deutsch"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.language);
        dir.Write("config.yml", std::string("<interface language=\"") + k.language + "\">");
        Init& c = Fresh();
        c.Load("config.yml");
        EXPECT_EQ(c.languageIndex, k.index);
        EXPECT_EQ(c.GetLanguagePath(), k.path);
    }
}

TEST_F(InitTest, WithoutLanguageFoldersTheConfiguredLanguageIsKept) {
    dir.Write("config.yml", "<config><interface language=\"deutsch\"></config>");
    Init& c = Fresh({});
    EXPECT_TRUE(c.languages.entries.empty());
    EXPECT_EQ(c.GetLanguagePath(), "ui\\english"); // the default, before any load
    c.Load("config.yml");
    EXPECT_EQ(c.GetLanguagePath(), "ui\\deutsch");
    ASSERT_TRUE(c.Save());
    EXPECT_NE(dir.Read("config.yml").find("<interface language=\"deutsch\" showtips=\"1\">"), std::string::npos);
}

TEST_F(InitTest, SplashTagsAddSlidesAndAreNeverSaved) {
    dir.Write("splash.yml",
              "<config>\n"
              "<splash shader=\"a\" bgshader=\"b\" bgcolor=\"ff8000\" width=\"256\" height=\"128\"/>\n"
              "<splash shader=\"bad\" bgcolor=\"12\"/>\n"
              "<splash shader=\"c\"/>\n"
              "</config>\n");
    Init& c = Fresh();
    c.Load("splash.yml");
    ASSERT_EQ(slides.size(), 2u);
    EXPECT_EQ(slides[0].shader, "a");
    EXPECT_EQ(slides[0].bgShader, "b");
    EXPECT_FLOAT_EQ(slides[0].colour.r, 1.0f);
    EXPECT_FLOAT_EQ(slides[0].colour.g, 128.0f / 255.0f);
    EXPECT_FLOAT_EQ(slides[0].colour.b, 0.0f);
    EXPECT_FLOAT_EQ(slides[0].width, 256.0f);
    EXPECT_FLOAT_EQ(slides[0].height, 128.0f);
    EXPECT_EQ(slides[1].shader, "c"); // every attribute of a tag starts at its default
    EXPECT_EQ(slides[1].bgShader, "");
    EXPECT_FLOAT_EQ(slides[1].width, 500.0f);
    // Reported on the line of the faulty tag.
    EXPECT_NE(Log().find("Init parser error, Error color format., file: splash.yml, line: 3"), std::string::npos);

    dir.Write("config.yml", kConfig);
    c.Load("config.yml"); // "splash" in config.yml adds a slide too
    EXPECT_EQ(slides.size(), 3u);
    ASSERT_TRUE(c.Save());
    EXPECT_EQ(dir.Read("config.yml").find("splash"), std::string::npos);
}

TEST_F(InitTest, PlayerNamesWithQuotesSurviveASave) {
    Init& c = Fresh();
    c.Load("config.yml");
    c.gameModes[0].player = "Ann \"the hammer\"";
    c.gameModes[0].openLevels = 3;
    c.gameModes[1].player = "O'Neil \"X\""; // both quote kinds: the double ones become single ones
    c.gameModes[1].openLevels = 6;
    c.gameModes[1].scores = 900;
    ASSERT_TRUE(c.Save());

    Init& again = Fresh();
    again.Load("config.yml");
    EXPECT_EQ(again.gameModes[0].player, "Ann \"the hammer\"");
    EXPECT_EQ(again.gameModes[0].openLevels, 3);
    EXPECT_EQ(again.gameModes[1].player, "O'Neil 'X'");
    EXPECT_EQ(again.gameModes[1].openLevels, 6);
    EXPECT_EQ(again.gameModes[1].scores, 900);
    EXPECT_EQ(Log().find("Init parser error"), std::string::npos);
}

TEST_F(InitTest, TagsLeftOutOfAReadFileTakeTheirDefaults) {
    dir.Write("a.yml", "<config><window width=\"1024\"></config>");
    dir.Write("b.yml", "<config><video fullscreen=\"0\"></config>");
    Init& c = Fresh();
    c.Load("a.yml");
    EXPECT_EQ(c.windowWidth, 1024);
    c.Load("missing.yml"); // nothing read: the values of the last load stay
    EXPECT_EQ(c.windowWidth, 1024);
    c.Load("b.yml"); // every tag starts from its defaults in each file read
    EXPECT_EQ(c.windowWidth, 800);
    EXPECT_FALSE(c.fullscreen);
}

TEST_F(InitTest, VolumesAreClampedWhenRead) {
    struct Case {
        const char* text;
        float volume;
    };
    const Case cases[] = {{"0.25", 0.25f}, {"2", 1.0f}, {"-1", 0.0f}, {"nan", 0.0f}, {"1e40", 1.0f}, {"x", 0.0f}};
    for (const Case& k : cases) {
        SCOPED_TRACE(k.text);
        dir.Write("config.yml", std::string("<sound volume=\"") + k.text + "\" music=\"" + k.text + "\">");
        Init& c = Fresh();
        c.Load("config.yml");
        EXPECT_FLOAT_EQ(c.soundVolume, k.volume);
        EXPECT_FLOAT_EQ(c.musicVolume, k.volume);
    }
}

TEST_F(InitTest, TheVideoModeTextIsKeptAsWrittenForTheStartUpToResolve) {
    dir.Write("config.yml", "<video mode=\"640x480:16\">");
    Init& c = Fresh();
    c.Load("config.yml");
    EXPECT_EQ(c.videoMode, "640x480:16");
}

TEST_F(InitTest, AFailedSaveIsReportedAndKeepsTheOldFile) {
    Init& c = Fresh();
    EXPECT_FALSE(c.Save()); // nothing loaded yet: no file to write

    c.Load("no_such_folder\\config.yml");
    EXPECT_FALSE(c.Save());
    EXPECT_FALSE(dir.Exists("no_such_folder"));
    EXPECT_NE(Log().find("Configuration not saved"), std::string::npos);
}

TEST_F(InitTest, ModesAreReadOnceAndAgainWhileMissing) {
    std::filesystem::remove(dir.File("data/modes.yml"));
    Init& c = Fresh();
    c.Load("config.yml");
    EXPECT_TRUE(c.gameModes.empty());
    YGameMode& fallback = c.CurrentGameMode(); // no mode: a record with the defaults
    EXPECT_EQ(fallback.probabilities.size(), static_cast<std::size_t>(BONUS_KIND_COUNT));
    EXPECT_FLOAT_EQ(fallback.probabilities[0], 1.0f / BONUS_KIND_COUNT);

    dir.Write("data/modes.yml", kModes);
    c.Load("config.yml");
    c.Load("config.yml");
    ASSERT_EQ(c.gameModes.size(), 2u);
    c.currentGameMode = 1;
    EXPECT_EQ(&c.CurrentGameMode(), &c.gameModes[1]);
    c.currentGameMode = 2;
    EXPECT_EQ(c.CurrentGameMode().name, "");
}

TEST_F(InitTest, BrokenFilesGiveLoggedErrorsAndDefaults) {
    struct Case {
        const char* text;
        bool fullscreen;
        int width;
        const char* logged;
    };
    const Case cases[] = {
        {"<config>\n<bogus/>\n<window width=\"1024\">", true, 1024,
         "Init parser error, Unknown tag: bogus, file: config.yml, line: 2"},
        {"<config><video fullscreen=\"0\"><window widht=\"1\"></config>", false, 800,
         "Unknown attribute: widht of tag: window"},
        {"<?xml version=\"1.0\"?><config>", true, 800, "Unknown tag: ?xml"},
        {"\x01\x02 binary \xff", true, 800, "Expected '<'."},
        {"<config>\n  <window width=\"1024\" height=\"7", true, 1024, "ends inside"},
        {"<config><game name=\"classic\" level=\"3\" lives=\"", true, 800, "ends inside"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.text);
        LogReopen("log.txt");
        dir.Write("config.yml", k.text);
        Init& c = Fresh();
        c.Load("config.yml");
        EXPECT_EQ(c.fullscreen, k.fullscreen);
        EXPECT_EQ(c.windowWidth, k.width);
        EXPECT_EQ(c.windowHeight, 600);
        EXPECT_EQ(c.FindGameMode("classic")->level, -1); // no "game" tag completed
        EXPECT_NE(Log().find(k.logged), std::string::npos) << Log();
    }
}

TEST_F(InitTest, ProgressOfModesThatCouldNotBeReadSurvivesASave) {
    const char* const progress =
        "<config>\n"
        "  <game name=\"easy\" level=\"2\" scores=\"300\" lives=\"4\" player=\"Bo\" openLevels=\"3\">\n"
        "  <game name=\"classic\" level=\"5\" scores=\"1200\" lives=\"2\" player=\"Ann & Co\" "
        "openLevels=\"8\">\n"
        "</config>\n";
    struct Case {
        const char* name;
        const char* modes; // nullptr: no file
    };
    const Case cases[] = {
        {"missing", nullptr},
        {"empty", ""},
        {"binary", "\x01\x02 binary \xff"},
        {"cut inside the second mode", "<game name=\"easy\"></game>\n<game name=\"clas"},
        {"unknown tags only", "<mode name=\"easy\"/>\n<mode name=\"classic\"/>\n"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        if (k.modes)
            dir.Write("data/modes.yml", k.modes);
        else
            std::filesystem::remove(dir.File("data/modes.yml"));
        dir.Write("config.yml", progress);
        Init& damaged = Fresh();
        damaged.Load("config.yml");
        ASSERT_TRUE(damaged.Save());
        // Saved twice, as quitting after a stored score does: the entries are written once each.
        ASSERT_TRUE(damaged.Save());
        const std::string saved = dir.Read("config.yml");
        for (const char* name : {"easy", "classic"}) {
            const std::string line = std::string("<game name=\"") + name + "\"";
            const std::size_t at = saved.find(line);
            EXPECT_NE(at, std::string::npos) << saved;
            EXPECT_EQ(saved.find(line, at + 1), std::string::npos) << saved;
        }

        dir.Write("data/modes.yml", kModes);
        Init& restored = Fresh();
        restored.Load("config.yml");
        ASSERT_NE(restored.FindGameMode("easy"), nullptr);
        ASSERT_NE(restored.FindGameMode("classic"), nullptr);
        const YGameMode& easy = *restored.FindGameMode("easy");
        EXPECT_EQ(easy.level, 2);
        EXPECT_EQ(easy.scores, 300);
        EXPECT_EQ(easy.lives, 4);
        EXPECT_EQ(easy.player, "Bo");
        EXPECT_EQ(easy.openLevels, 3);
        const YGameMode& classic = *restored.FindGameMode("classic");
        EXPECT_EQ(classic.level, 5);
        EXPECT_EQ(classic.scores, 1200);
        EXPECT_EQ(classic.lives, 2);
        EXPECT_EQ(classic.player, "Ann & Co");
        EXPECT_EQ(classic.openLevels, 8);
    }
}

TEST_F(InitTest, AnUnknownEntryReadTwiceIsKeptOnceWithItsLatestValues) {
    dir.Write("a.yml", "<game name=\"gone\" level=\"1\" openLevels=\"2\"/>");
    dir.Write("b.yml", "<game name=\"gone\" level=\"6\" openLevels=\"4\"/><game name=\"\" level=\"3\"/>");
    Init& c = Fresh();
    c.Load("a.yml");
    c.Load("b.yml");
    ASSERT_TRUE(c.Save());
    const std::string saved = dir.Read("b.yml");
    const std::string gone = "<game name=\"gone\" level=\"6\" scores=\"0\" lives=\"0\" player=\"\" openLevels=\"4\">";
    EXPECT_NE(saved.find(gone), std::string::npos) << saved;
    EXPECT_EQ(saved.find("name=\"gone\" level=\"1\""), std::string::npos) << saved;
    EXPECT_NE(saved.find("<game name=\"\" level=\"3\""), std::string::npos) << saved;
}

TEST_F(InitTest, AnUnknownEntryWhoseModeIsReadLaterIsWrittenOnceAsThatMode) {
    std::filesystem::remove(dir.File("data/modes.yml"));
    dir.Write("config.yml", "<game name=\"classic\" level=\"4\" openLevels=\"5\"/>");
    Init& c = Fresh();
    c.Load("config.yml"); // no modes: the entry is kept as read
    dir.Write("data/modes.yml", kModes);
    c.Load("config.yml"); // modes read now, and the entry fills its mode
    ASSERT_NE(c.FindGameMode("classic"), nullptr);
    c.FindGameMode("classic")->level = 7;
    ASSERT_TRUE(c.Save());
    const std::string saved = dir.Read("config.yml");
    EXPECT_NE(saved.find("<game name=\"classic\" level=\"7\""), std::string::npos) << saved;
    EXPECT_EQ(saved.find("level=\"4\""), std::string::npos) << saved;
}
