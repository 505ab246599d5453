// The level choice: where the picker opens, what selects and starts a level, which thumbnails are
// loaded and how each is drawn.
#include <gtest/gtest.h>

#include "menu_test_support.h"
#include "shell/level_choice.h"
#include "shell/ui/ui_display_widgets.h"
#include "world/level/level_file.h"

#include <fstream>
#include <set>

namespace {

using menutest::FakeHost;

constexpr int KEY_PAGE_UP = 33;
constexpr int KEY_PAGE_DOWN = 34;

struct Fixture {
    FakeHost host;
    Init config;
    std::unique_ptr<UILayout> page = menutest::LoadShippedPage("lev.yml");
    LevelChoice choice{host, config};

    explicit Fixture(int levels = 20, int openLevels = 19) {
        menutest::TwoModes(config);
        config.gameModes[0].openLevels = openLevels;
        std::vector<std::string> names;
        for (int i = 0; i < levels; ++i) names.push_back("l" + std::to_string(i) + ".lev");
        choice.SetLevels(names);
        GetLocale().Str("level_number") = "Level %d";
        host.pages[PAGE_LEV] = page.get();
        choice.SetupLevelPage(GetLocale());
    }
    // Frames until the picker stands still (at most ten seconds).
    void Settle() {
        for (int i = 0; i < 500 && static_cast<float>(choice.levelTarget) != choice.levelScroll; ++i) {
            choice.Update(0.02f, false);
        }
        choice.Update(0.02f, false);
    }
    std::vector<int> Starts() const {
        std::vector<int> out;
        for (int s : host.states) {
            if (s == GS_LEVEL_START) out.push_back(host.levelIndex);
        }
        return out;
    }
};

struct EnterCase {
    int levels;
    int racketIndex;
    int modeLevel;
    int openLevels;
    float scrollBefore;
    int target;
    float scrollAfter;
    int racketAfter;
};

class EnterChoice : public ::testing::TestWithParam<EnterCase> {};

TEST_P(EnterChoice, OpensAtTheRightLevel) {
    const EnterCase& c = GetParam();
    Fixture f(c.levels, c.openLevels);
    f.config.gameModes[0].level = c.modeLevel;
    f.host.levelIndex = c.racketIndex;
    f.choice.levelScroll = c.scrollBefore;
    f.choice.EnterLevelChoice();
    EXPECT_EQ(f.choice.levelTarget, c.target);
    EXPECT_FLOAT_EQ(f.choice.levelScroll, c.scrollAfter);
    EXPECT_EQ(f.host.levelIndex, c.racketAfter);
    EXPECT_EQ(f.host.shown, f.page.get());
    EXPECT_FALSE(f.choice.levelChosen);
}

INSTANTIATE_TEST_SUITE_P(Table, EnterChoice,
                         ::testing::Values(
                             // First entry: the mode's saved level, else the highest open one, else 0; no scrolling in.
                             EnterCase{20, -1, 6, 10, 0.0f, 6, 6.0f, 6}, EnterCase{20, -1, -1, 10, 0.0f, 10, 10.0f, 10},
                             EnterCase{20, -1, -1, 25, 0.0f, 0, 0.0f, 0},
                             EnterCase{20, -1, 15, 10, 0.0f, 10, 10.0f, 15},
                             // Later entries scroll in from at most five levels away.
                             EnterCase{20, 12, -1, 19, 2.0f, 12, 7.0f, 12}, EnterCase{20, 3, -1, 19, 15.0f, 3, 8.0f, 3},
                             EnterCase{20, 12, -1, 19, 10.0f, 12, 10.0f, 12},
                             EnterCase{20, 12, -1, 5, 0.0f, 5, 0.0f, 12},
                             // No levels at all.
                             EnterCase{0, -1, -1, 0, 0.0f, 0, 0.0f, 0}));

TEST(LevelChoice, EnterOnAClosedLevelStartsTheHighestOpenOne) {
    Fixture f(10, 3);
    f.host.levelIndex = 3;
    f.choice.EnterLevelChoice();
    f.choice.levelScroll = 7.0f;
    f.choice.levelTarget = 7;
    f.choice.Update(0.0f, false);
    auto* start = dynamic_cast<UIImage*>(f.page->FindChild("onStartGame"));
    ASSERT_NE(start, nullptr);
    EXPECT_FALSE(start->enabled);
    EXPECT_EQ(f.choice.ThumbnailShader(7), ThumbShader::Denied);
    EXPECT_TRUE(f.choice.KeyDown(plat::VK_RETURN));
    EXPECT_EQ(f.choice.levelTarget, 3);
    f.Settle();
    EXPECT_EQ(f.Starts(), std::vector<int>{3});
}

// With no level the start button cannot start anything and is drawn disabled; once levels come, it
// is the start button of the centred level again.
TEST(LevelChoice, WithoutLevelsTheStartButtonIsGreyedAndStartsNothing) {
    Fixture f(0, 0);
    f.choice.EnterLevelChoice();
    f.choice.Update(0.02f, false);
    auto* start = dynamic_cast<UIImage*>(f.page->FindChild("onStartGame"));
    ASSERT_NE(start, nullptr);
    EXPECT_FALSE(start->enabled);
    EXPECT_TRUE(start->greyWhenDisabled);
    EXPECT_TRUE(f.choice.KeyDown(plat::VK_RETURN));
    EXPECT_TRUE(start->OnMouseDown(0, 1.0f, 1.0f)); // swallowed, no command
    f.Settle();
    EXPECT_TRUE(f.Starts().empty());

    f.choice.SetLevels({"a.lev", "b.lev"});
    f.choice.Update(0.02f, false);
    EXPECT_TRUE(start->enabled);
    EXPECT_FALSE(start->greyWhenDisabled);
}

TEST(LevelChoice, StartsOnlyOnArrivalAndOnce) {
    Fixture f;
    f.host.levelIndex = 0;
    f.choice.EnterLevelChoice();
    f.choice.KeyDown(plat::VK_LEFT);
    f.choice.KeyDown(KEY_PAGE_DOWN);
    f.choice.Update(0.02f, false);
    f.choice.StartSelectedLevel(); // committed while still scrolling: the scroll position counts
    EXPECT_TRUE(f.choice.levelChosen);
    EXPECT_TRUE(f.Starts().empty());
    // After the commit the arrows and the wheel change nothing.
    int target = f.choice.levelTarget;
    f.choice.KeyDown(plat::VK_RIGHT);
    f.choice.KeyDown(KEY_PAGE_UP);
    f.choice.MouseWheel(-240);
    EXPECT_EQ(f.choice.levelTarget, target);
    f.Settle();
    for (int i = 0; i < 10; ++i) f.choice.Update(0.02f, false);
    EXPECT_EQ(f.Starts(), std::vector<int>{target});
}

TEST(LevelChoice, SelectionClampsToTheList) {
    Fixture f(10);
    f.choice.SelectLevel(-4);
    EXPECT_EQ(f.choice.levelTarget, 0);
    f.choice.KeyDown(KEY_PAGE_DOWN);
    EXPECT_EQ(f.choice.levelTarget, 9);
    Fixture empty(0);
    empty.choice.SelectLevel(3);
    EXPECT_EQ(empty.choice.levelTarget, 0);
    empty.choice.StartSelectedLevel();
    EXPECT_FALSE(empty.choice.levelChosen);
    empty.Settle();
    EXPECT_TRUE(empty.host.states.empty());
}

TEST(LevelChoice, EscapeGoesBackAndOtherKeysAreNotThePickers) {
    Fixture f;
    EXPECT_TRUE(f.choice.KeyDown(plat::VK_ESCAPE));
    EXPECT_EQ(f.host.states, std::vector<int>{2});
    EXPECT_FALSE(f.choice.KeyDown(plat::VK_TAB));
}

TEST(LevelChoice, WheelActsOnlyNearTheTarget) {
    Fixture f;
    f.choice.levelScroll = 5.0f;
    f.choice.levelTarget = 5;
    f.choice.MouseWheel(-120);
    EXPECT_EQ(f.choice.levelTarget, 6);
    f.choice.levelScroll = 3.5f;
    f.choice.levelTarget = 6; // 2.5 levels away
    f.choice.MouseWheel(-360);
    EXPECT_EQ(f.choice.levelTarget, 6);
    f.choice.levelScroll = 5.5f;
    f.choice.MouseWheel(240);
    EXPECT_EQ(f.choice.levelTarget, 4);
}

TEST(LevelChoice, HeldButtonsKeepTheTargetOneAhead) {
    Fixture f;
    auto* down = dynamic_cast<UIImage*>(f.page->FindChild("lev_down"));
    ASSERT_NE(down, nullptr);
    f.choice.levelScroll = 4.0f;
    f.choice.levelTarget = 4;
    down->hovered = true;
    f.choice.Update(0.02f, false); // not pressed
    EXPECT_EQ(f.choice.levelTarget, 4);
    f.choice.Update(0.02f, true);
    EXPECT_EQ(f.choice.levelTarget, 5);
}

TEST(LevelChoice, ThumbnailsLoadOnlyWhenTheWindowMoves) {
    Fixture f(40);
    f.choice.levelScroll = 10.0f;
    f.choice.levelTarget = 10;
    f.choice.Update(0.02f, false);
    ASSERT_EQ(f.host.textures.size(), 24u);
    EXPECT_EQ(f.host.textures.front(), "levels\\thumb\\l6.lev.bmp");
    EXPECT_EQ(f.choice.base, 6);
    for (int i = 0; i < 20; ++i) f.choice.Update(0.02f, false);
    EXPECT_EQ(f.host.textures.size(), 24u);
    f.choice.levelTarget = 11;
    f.Settle();
    EXPECT_EQ(f.host.textures.size(), 48u);
    // Slots outside the list stay empty.
    Fixture g(3);
    g.choice.Update(0.0f, false);
    EXPECT_EQ(g.choice.slots[3], nullptr);
    EXPECT_NE(g.choice.slots[4], nullptr);
    EXPECT_NE(g.choice.slots[6], nullptr);
    EXPECT_EQ(g.choice.slots[7], nullptr);
}

TEST(LevelChoice, ThumbnailsFarFromTheSlotsAreLetGo) {
    Fixture f(LEVEL_CHOICE_MAX_LEVELS, LEVEL_CHOICE_MAX_LEVELS - 1);
    f.choice.levelScroll = 10.0f;
    f.choice.levelTarget = 10;
    f.choice.Update(0.02f, false); // slots 6 .. 29
    EXPECT_TRUE(f.host.released.empty());
    f.choice.levelTarget = 30;
    f.Settle(); // slots 26 .. 49: 13 .. 25 stay near, 6 .. 12 are let go
    std::vector<std::string> expected;
    for (int level = 6; level <= 12; ++level)
        expected.push_back("levels\\thumb\\l" + std::to_string(level) + ".lev.bmp");
    EXPECT_EQ(f.host.released, expected);
    // Paging through the whole list keeps at most the slots and the levels near them loaded.
    for (int i = 0; i < LEVEL_CHOICE_MAX_LEVELS / 13; ++i) {
        f.choice.KeyDown(KEY_PAGE_DOWN);
        f.Settle();
    }
    std::set<std::string> loaded(f.host.textures.begin(), f.host.textures.end());
    EXPECT_EQ(loaded.size(), std::size_t{LEVEL_CHOICE_MAX_LEVELS} - 6);
    EXPECT_LE(loaded.size() - f.host.released.size(), std::size_t{LEVEL_THUMB_SLOTS + 2 * LEVEL_THUMB_KEEP});
    // A new list lets every picture of the old one go.
    f.choice.SetLevels({"x.lev"});
    EXPECT_EQ(f.host.released.size(), loaded.size());
}

struct ShaderCase {
    int level;
    int openLevels;
    bool chosen;
    ThumbShader shader;
};

class ThumbShaders : public ::testing::TestWithParam<ShaderCase> {};

TEST_P(ThumbShaders, FollowOpenChosenAndCentred) {
    const ShaderCase& c = GetParam();
    Fixture f(20, c.openLevels);
    f.choice.levelScroll = 5.4f; // centred: 5
    f.choice.levelTarget = 8;
    f.choice.levelChosen = c.chosen;
    EXPECT_EQ(f.choice.ThumbnailShader(c.level), c.shader);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ThumbShaders,
    ::testing::Values(ShaderCase{5, 19, false, ThumbShader::Selected}, ShaderCase{8, 19, false, ThumbShader::Normal},
                      ShaderCase{8, 19, true, ThumbShader::Selected}, ShaderCase{5, 19, true, ThumbShader::Normal},
                      ShaderCase{5, 4, false, ThumbShader::Denied}, ShaderCase{8, 7, true, ThumbShader::Denied}));

TEST(LevelChoice, LevelNumberIsOneBased) {
    Fixture f;
    f.choice.Update(0.0f, false);
    auto* number = dynamic_cast<UINamedText*>(f.page->FindChild("level_number"));
    ASSERT_NE(number, nullptr);
    EXPECT_EQ(number->GetText(), "Level 1");
}

TEST(LevelChoice, ListIsCutAtWhatThePickerServes) {
    Fixture f(300);
    EXPECT_EQ(f.choice.LevelCount(), LEVEL_CHOICE_MAX_LEVELS);
    f.choice.SelectLevel(299);
    EXPECT_EQ(f.choice.levelTarget, LEVEL_CHOICE_MAX_LEVELS - 1);
}

struct FormatCase {
    const char* format;
    int number;
    const char* text;
};

class LevelNumberText : public ::testing::TestWithParam<FormatCase> {};

TEST_P(LevelNumberText, UsesOnlyFormatsWithOneNumber) {
    EXPECT_EQ(FormatLevelNumber(GetParam().format, GetParam().number), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Table, LevelNumberText,
                         ::testing::Values(FormatCase{"Level %d", 3, "Level 3"}, FormatCase{"%03i.", 7, "007."},
                                           FormatCase{"100%% level %u", 2, "100% level 2"},
                                           FormatCase{"Levels", 2, "Levels"}, FormatCase{"", 2, ""},
                                           FormatCase{"Level %s", 4, "4"}, FormatCase{"%d of %d", 4, "4"},
                                           FormatCase{"%n", 4, "4"}, FormatCase{"Level %", 4, "4"},
                                           FormatCase{"%ld", 4, "4"}));

} // namespace

namespace {

TEST(LevelList, DamagedEmptyAndUnreadableFilesAreLeftOut) {
    menutest::ScratchDir dir;
    std::filesystem::create_directories(dir.path / "levels");
    YLevelData good;
    good.bonusCounts.assign(34, 0);
    good.sets.emplace_back();
    good.sets.back().blocks.emplace_back();
    good.sets.back().blocks.back().material = "stone";
    std::string error;
    ASSERT_TRUE(WriteLevelFile((dir / "levels/a01.lev").c_str(), good, error)) << error;
    ASSERT_TRUE(WriteLevelFile((dir / "levels/c03.lev").c_str(), good, error)) << error;
    { std::ofstream(dir / "levels/b01.lev"); } // empty
    std::ofstream(dir / "levels/b02.lev", std::ios::binary) << "DQRK\x02\0\0\0garbage";
    // A name that lists but cannot be opened.
    std::filesystem::create_symlink(dir / "levels/nowhere", dir.path / "levels/b03.lev");
    auto names = ListPlayableLevels((dir.path.string() + "\\levels\\*.lev").c_str());
    EXPECT_EQ(names, (std::vector<std::string>{"a01.lev", "c03.lev"}));
}

} // namespace
