// The options page: configuration into the controls, back out, and what a change sets off.
#include <gtest/gtest.h>

#include "menu_test_support.h"
#include "shell/options_page.h"
#include "shell/ui/ui_input_widgets.h"

namespace {

using menutest::FakeHost;
using menutest::ScratchDir;

YVideoMode Size(uint32_t w, uint32_t h) {
    YVideoMode m;
    m.width = w;
    m.height = h;
    return m;
}

struct Fixture {
    FakeHost host;
    Init config;
    std::unique_ptr<UILayout> page;
    OptionsPage options{host, config};

    Fixture() {
        menutest::TwoModes(config);
        page = std::make_unique<UILayout>();
        page->LoadLayout(std::string(KORVELIN_SOURCE_DIR) + "/assets/ui/english/options.yml", false);
        host.pages[PAGE_OPTIONS] = page.get();
        host.sizes = {Size(640, 480), Size(800, 600), Size(1024, 768)};
        config.languages.entries = {"english", "german"};
        options.FillLanguageSelect(GetLocale());
    }
    UISelect* Select(const char* name) { return dynamic_cast<UISelect*>(page->FindChild(name)); }
};

TEST(OptionsPage, FillCopiesTheConfiguration) {
    Fixture f;
    f.config.videoMode = "1024x768:32@75";
    f.config.languageIndex = 1;
    f.config.showTips = false;
    f.config.musicVolume = 0.3f;
    f.config.soundVolume = 0.6f;
    f.options.FillOptionsPage();
    UISelect* resolution = f.Select("resolution");
    ASSERT_NE(resolution, nullptr);
    EXPECT_EQ(resolution->options, (std::vector<std::string>{"640x480", "800x600", "1024x768"}));
    EXPECT_EQ(resolution->GetIndex(), 2);
    EXPECT_EQ(f.Select("language")->GetIndex(), 1);
    EXPECT_EQ(f.Select("showTips")->GetIndex(), 0);
    EXPECT_FLOAT_EQ(dynamic_cast<UITracker*>(f.page->FindChild("musicVol"))->GetValue(), 0.3f);
    EXPECT_FLOAT_EQ(dynamic_cast<UITracker*>(f.page->FindChild("soundVol"))->GetValue(), 0.6f);
}

TEST(OptionsPage, LanguageListNamesEveryFolderInOrder) {
    Fixture f;
    UISelect* language = f.Select("language");
    ASSERT_NE(language, nullptr);
    // Without a text in the locale a folder is listed under its own name.
    EXPECT_EQ(language->options, (std::vector<std::string>{"english", "german"}));
}

struct ApplyCase {
    const char* configMode;
    int chosen; // index into 640x480, 800x600, 1024x768
    bool recreate;
    const char* modeAfter;
};

class ApplyResolution : public ::testing::TestWithParam<ApplyCase> {};

TEST_P(ApplyResolution, RecreatesTheWindowOnlyForAnotherMode) {
    const ApplyCase& c = GetParam();
    Fixture f;
    f.config.videoMode = c.configMode;
    f.options.FillOptionsPage();
    f.Select("resolution")->SetIndex(c.chosen);
    f.options.ApplyOptions();
    EXPECT_EQ(f.host.recreates, c.recreate ? 1 : 0);
    EXPECT_EQ(f.config.videoMode, c.modeAfter);
    EXPECT_EQ(f.host.loadPagesRequests, 0);
}

INSTANTIATE_TEST_SUITE_P(Table, ApplyResolution,
                         ::testing::Values(ApplyCase{"800x600:16", 1, true, "800x600:32"},
                                           ApplyCase{"800x600:32", 1, false, "800x600:32"},
                                           ApplyCase{"800x600:32@60", 1, false, "800x600:32@60"},
                                           ApplyCase{"800x600:32", 2, true, "1024x768:32"},
                                           ApplyCase{"1280x1024:32", 0, true, "640x480:32"}));

TEST(OptionsPage, NoDisplaySizesLeavesTheModeAlone) {
    Fixture f;
    f.host.sizes.clear();
    f.config.videoMode = "800x600:32";
    f.options.FillOptionsPage();
    f.options.ApplyOptions();
    EXPECT_EQ(f.host.recreates, 0);
    EXPECT_EQ(f.config.videoMode, "800x600:32");
}

TEST(OptionsPage, TipsAloneChangeNothingElse) {
    Fixture f;
    f.config.videoMode = "800x600:32";
    f.config.showTips = true;
    f.options.FillOptionsPage();
    f.Select("showTips")->SetIndex(0);
    f.options.ApplyOptions();
    EXPECT_FALSE(f.config.showTips);
    EXPECT_EQ(f.host.recreates, 0);
    EXPECT_EQ(f.host.loadPagesRequests, 0);
}

TEST(OptionsPage, AnotherLanguageAsksForThePagesOnce) {
    Fixture f;
    f.config.videoMode = "800x600:32";
    f.options.FillOptionsPage();
    f.Select("language")->SetIndex(1);
    f.options.ApplyOptions();
    EXPECT_EQ(f.config.languageIndex, 1);
    EXPECT_EQ(f.host.loadPagesRequests, 1);
    f.options.ApplyOptions();
    EXPECT_EQ(f.host.loadPagesRequests, 1);
}

TEST(OptionsPage, AppliedValuesSurviveSaveAndLoad) {
    ScratchDir dir;
    Fixture f;
    f.config.fileName = dir / "config.yml";
    f.config.videoMode = "800x600:32";
    f.options.FillOptionsPage();
    f.Select("resolution")->SetIndex(2);
    f.Select("showTips")->SetIndex(0);
    f.Select("language")->SetIndex(1);
    dynamic_cast<UITracker*>(f.page->FindChild("musicVol"))->value = 0.4f;
    f.options.ApplyOptions();
    f.config.musicVolume = 0.4f; // the tracker's command sets it as it moves
    ASSERT_TRUE(f.config.Save());

    Init loaded;
    menutest::TwoModes(loaded);
    loaded.languages.entries = {"english", "german"};
    loaded.Load((dir / "config.yml").c_str());
    EXPECT_EQ(loaded.videoMode, "1024x768:32");
    EXPECT_FALSE(loaded.showTips);
    EXPECT_EQ(loaded.GetLanguagePath(), f.config.GetLanguagePath());
    EXPECT_NEAR(loaded.musicVolume, 0.4f, 1e-4);
}

TEST(OptionsPage, MissingControlsAreSkipped) {
    FakeHost host;
    Init config;
    auto page = menutest::PageFromText(
        "<layout><select name=\"resolution\"></select>"
        "<tracker name=\"language\" width=\"10\" height=\"10\"/></layout>");
    OptionsPage options(host, config);
    host.pages[PAGE_OPTIONS] = page.get();
    options.FillLanguageSelect(GetLocale());
    options.FillOptionsPage();
    options.ApplyOptions();
    EXPECT_EQ(host.loadPagesRequests, 0);
    host.pages[PAGE_OPTIONS] = nullptr;
    options.FillOptionsPage();
    options.ApplyOptions();
}

} // namespace
