// The command handler, driven through the game's own pages: which page shows, which state is
// requested, where the bonus pages go.
#include <gtest/gtest.h>

#include "menu_test_support.h"
#include "platform/window/virtual_keys.h"
#include "shell/menu_commands.h"
#include "shell/score_table.h"
#include "shell/ui/ui_display_widgets.h"
#include "shell/ui/ui_input_widgets.h"
#include "shell/ui/ui_screen.h"

namespace {

using menutest::FakeHost;

struct Fixture {
    FakeHost host;
    Init config;
    YScoreTable scores;
    std::map<std::string, std::unique_ptr<UILayout>> pages;
    MenuSystem menus{host, config, scores};

    Fixture() {
        menutest::TwoModes(config);
        for (const char* name :
             {"scores", "mainmenu", "controls", "bonuses", "bricks", "pause", "lev", "complete", "options", "about"}) {
            pages[name] = menutest::LoadShippedPage(std::string(name) + ".yml");
        }
        const std::pair<int, const char*> pageNames[] = {{PAGE_SCORES, "scores"},     {PAGE_MAINMENU, "mainmenu"},
                                                         {PAGE_CONTROLS, "controls"}, {PAGE_BONUSES, "bonuses"},
                                                         {PAGE_BRICKS, "bricks"},     {PAGE_PAUSE, "pause"},
                                                         {PAGE_LEV, "lev"},           {PAGE_COMPLETE, "complete"},
                                                         {PAGE_OPTIONS, "options"},   {PAGE_ABOUT, "about"}};
        for (const auto& [page, name] : pageNames) host.pages[page] = pages[name].get();
        for (int i = 0; i < 34; ++i) host.bonuses.push_back({"bonus" + std::to_string(i), "text", 10 * i});
    }
    // The control of that name on a shipped page; the page that holds it.
    UIControl* Sender(const std::string& name) {
        for (auto& [page, layout] : pages) {
            if (UIControl* c = layout->FindDescendant(name)) return c;
        }
        return nullptr;
    }
    std::string Shown() const {
        for (const auto& [name, layout] : pages) {
            if (layout.get() == host.shown) return name;
        }
        return host.shown ? "?" : "";
    }
};

struct CommandCase {
    const char* sender;
    int state;
    int bonusPage;
    bool handled;
    const char* shown; // "" = no page shown
    std::vector<int> states;
    int bonusPageAfter;
};

class MenuCommand : public ::testing::TestWithParam<CommandCase> {};

TEST_P(MenuCommand, Acts) {
    const CommandCase& c = GetParam();
    Fixture f;
    f.host.state = c.state;
    f.menus.infoPages.bonusPage = c.bonusPage;
    UIControl* sender = f.Sender(c.sender);
    UIControl stray;
    if (!sender) {
        stray.name = c.sender;
        sender = &stray;
    }
    EXPECT_EQ(f.menus.HandleMenuCommand(UI_EVENT_COMMAND, sender), c.handled);
    EXPECT_EQ(f.Shown(), c.shown);
    EXPECT_EQ(f.host.states, c.states);
    EXPECT_EQ(f.menus.infoPages.bonusPage, c.bonusPageAfter);
}

using S = std::vector<int>;
INSTANTIATE_TEST_SUITE_P(
    Table, MenuCommand,
    ::testing::Values(
        CommandCase{"onMainMenu", 2, 0, true, "mainmenu", S{}, 0},
        CommandCase{"onSwitchMainMenu", 64, 0, true, "", S{2}, 0}, CommandCase{"onExit", 2, 0, true, "", S{16384}, 0},
        CommandCase{"onScores", 2, 0, true, "scores", S{}, 0}, CommandCase{"onOptions", 2, 0, true, "options", S{}, 0},
        CommandCase{"onOptionsApply", 2, 0, true, "mainmenu", S{}, 0},
        CommandCase{"onInfo", 2, 0, true, "controls", S{}, 0}, CommandCase{"onNextLevel", 32, 0, true, "", S{32768}, 0},
        CommandCase{"onAbout", 2, 0, true, "about", S{}, 0}, CommandCase{"onBricks", 2, 2, true, "bricks", S{}, 2},
        CommandCase{"onNewEasyGame", 2, 0, true, "", S{1024}, 0},
        CommandCase{"onNewOriginalGame", 2, 0, true, "", S{1024}, 0},
        // The scores page's way back: only the page from the main menu, a fade after a game.
        CommandCase{"onScoresMainMenu", 2, 0, true, "mainmenu", S{}, 0},
        CommandCase{"onScoresMainMenu", 4096, 0, true, "", S{2}, 0},
        CommandCase{"onScoresMainMenu", 8192, 0, true, "", S{2}, 0},
        // The bonus pages: 34 records, six hidden, so pages 0..4.
        CommandCase{"onBonuses", 2, 3, true, "bonuses", S{}, 0},
        CommandCase{"onBonusPrev", 2, 0, true, "controls", S{}, 0}, CommandCase{"onBonusPrev", 2, 2, true, "", S{}, 1},
        CommandCase{"onBonusNext", 2, 3, true, "", S{}, 4}, CommandCase{"onBonusNext", 2, 4, true, "bricks", S{}, 4},
        CommandCase{"onBonusesBricks", 2, 4, true, "bonuses", S{}, 4},
        // Names that are no command, and a name differing in case only.
        CommandCase{"lev_up", 1024, 0, false, "", S{}, 0}, CommandCase{"onmainmenu", 2, 0, false, "", S{}, 0},
        CommandCase{"", 2, 0, false, "", S{}, 0}));

TEST(MenuCommands, OnlyCommandEventsAct) {
    Fixture f;
    UIControl* item = f.Sender("onExit");
    for (int type : {UI_EVENT_GOT_FOCUS, UI_EVENT_LOST_FOCUS, UI_EVENT_SELECTION, UI_EVENT_ESCAPE}) {
        EXPECT_FALSE(f.menus.HandleMenuCommand(type, item));
    }
    EXPECT_TRUE(f.host.states.empty());
}

TEST(MenuCommands, ContinueResumes) {
    Fixture f;
    f.menus.HandleMenuCommand(UI_EVENT_COMMAND, f.Sender("onContinue"));
    EXPECT_EQ(f.host.resumes, 1);
}

TEST(MenuCommands, NewGameChoosesTheModeAndShowsItsCaption) {
    Fixture f;
    auto* item = dynamic_cast<UIMenuItem*>(f.Sender("onNewOriginalGame"));
    ASSERT_NE(item, nullptr);
    f.menus.AfterPagesLoaded(GetLocale());
    f.menus.HandleMenuCommand(UI_EVENT_COMMAND, item);
    EXPECT_EQ(f.config.currentGameMode, 1);
    auto* title = dynamic_cast<UINamedText*>(f.pages["lev"]->FindChild("game_mode"));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->GetText(), item->GetText());
    f.menus.HandleMenuCommand(UI_EVENT_COMMAND, f.Sender("onNewEasyGame"));
    EXPECT_EQ(f.config.currentGameMode, 0);
}

TEST(MenuCommands, SecondModeWithOneModeDefinedPlaysTheFirst) {
    Fixture f;
    f.config.gameModes.resize(1);
    f.menus.HandleMenuCommand(UI_EVENT_COMMAND, f.Sender("onNewOriginalGame"));
    EXPECT_EQ(f.config.currentGameMode, 0);
    EXPECT_EQ(f.host.states, S{1024});
}

TEST(MenuCommands, VolumeTrackersSetTheConfigurationAndTheSound) {
    Fixture f;
    auto* music = dynamic_cast<UITracker*>(f.Sender("musicVol"));
    auto* sound = dynamic_cast<UITracker*>(f.Sender("soundVol"));
    ASSERT_TRUE(music && sound);
    music->value = 0.25f;
    sound->value = 0.75f;
    f.menus.HandleMenuCommand(UI_EVENT_COMMAND, music);
    f.menus.HandleMenuCommand(UI_EVENT_COMMAND, sound);
    EXPECT_FLOAT_EQ(f.config.musicVolume, 0.25f);
    EXPECT_FLOAT_EQ(f.config.soundVolume, 0.75f);
    EXPECT_EQ(f.host.musicVolumes, std::vector<float>{0.25f});
    EXPECT_EQ(f.host.soundVolumes, std::vector<float>{0.75f});
    // A control of another class under a volume's name changes nothing.
    UIControl other;
    other.name = "musicVol";
    f.menus.HandleMenuCommand(UI_EVENT_COMMAND, &other);
    EXPECT_FLOAT_EQ(f.config.musicVolume, 0.25f);
}

// The apply button fires from inside its own key handler; the reload it asks for deletes every
// control of its page, so it must wait until the handler has returned. Under AddressSanitizer a
// reload on the spot shows as a use after free.
TEST(MenuCommands, ALanguageChangeRebuildsThePagesAfterTheCommandReturns) {
    Fixture f;
    f.config.languages.entries = {"english", "german"};
    f.config.languageIndex = 0;
    UILayout* options = f.pages["options"].get();
    UILayout* mainmenu = f.pages["mainmenu"].get();
    f.menus.FillLanguageSelect(GetLocale());
    auto* language = dynamic_cast<UISelect*>(options->FindChild("language"));
    ASSERT_NE(language, nullptr);
    ASSERT_EQ(language->OptionCount(), 2);
    language->SetIndex(1);
    // What the framework's reload does: every page read again from the language's folder.
    f.host.onLoadPages = [&] {
        for (auto& [name, page] : f.pages) {
            const bool layout = name != "options";
            page->LoadLayout(std::string(KORVELIN_SOURCE_DIR) + "/assets/ui/german/" + name + ".yml", layout);
        }
        f.menus.FillLanguageSelect(GetLocale());
        f.menus.AfterPagesLoaded(GetLocale());
    };
    struct Listener : UIEvent {
        MenuSystem* menus = nullptr;
        void OnEvent(int type, UIControl* sender) override { menus->HandleMenuCommand(type, sender); }
    } listener;
    listener.menus = &f.menus;
    UIScreen screen;
    screen.Init(800.0f, 600.0f, &listener, nullptr);
    auto* apply = dynamic_cast<UIMenuItem*>(options->FindDescendant("onOptionsApply"));
    ASSERT_NE(apply, nullptr);
    const std::string english = apply->GetText();

    EXPECT_TRUE(apply->OnKeyDown(plat::VK_RETURN));
    // Asked for, not done: the button and its page are as they were.
    EXPECT_EQ(f.config.languageIndex, 1);
    EXPECT_EQ(f.host.loadPagesRequests, 1);
    EXPECT_FALSE(f.host.Called("LoadPages"));
    EXPECT_EQ(options->FindDescendant("onOptionsApply"), apply);
    EXPECT_EQ(apply->GetText(), english);
    EXPECT_EQ(f.Shown(), "mainmenu");

    f.host.RunPendingLoadPages();
    screen.Shutdown();
    EXPECT_EQ(f.host.calls, std::vector<std::string>{"LoadPages"});
    // The same page objects, rebuilt in the new language; the main menu still shows.
    EXPECT_EQ(f.host.shown, mainmenu);
    auto* rebuilt = dynamic_cast<UIMenuItem*>(options->FindDescendant("onOptionsApply"));
    ASSERT_NE(rebuilt, nullptr);
    EXPECT_EQ(rebuilt->GetText(),
              "\xDC"
              "bernehmen");
    EXPECT_EQ(dynamic_cast<UISelect*>(options->FindChild("language"))->OptionCount(), 2);
    // Opened and applied again with the language now in use, it asks for nothing more.
    f.menus.HandleMenuCommand(UI_EVENT_COMMAND, mainmenu->FindDescendant("onOptions"));
    f.menus.HandleMenuCommand(UI_EVENT_COMMAND, rebuilt);
    EXPECT_EQ(f.host.loadPagesRequests, 0);
}

TEST(MenuCommands, AboutPageShowsTheVersionAfterEveryLoad) {
    Fixture f;
    f.menus.AfterPagesLoaded(GetLocale());
    auto* version = dynamic_cast<UINamedText*>(f.pages["about"]->FindChild("version"));
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->GetText(), "v1.73");
    f.pages["about"]->LoadLayout(std::string(KORVELIN_SOURCE_DIR) + "/assets/ui/german/about.yml", true);
    f.menus.AfterPagesLoaded(GetLocale());
    version = dynamic_cast<UINamedText*>(f.pages["about"]->FindChild("version"));
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->GetText(), "v1.73");
}

} // namespace
