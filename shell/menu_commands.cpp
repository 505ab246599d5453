#include "shell/menu_commands.h"

#include <algorithm>

#include "core/init.h"
#include "core/log.h"
#include "shell/ui/ui_control.h"
#include "shell/ui/ui_input_widgets.h"

MenuSystem::MenuSystem(YGameShellHost& host, Init& config, YScoreTable& scores)
    : levelChoice(host, config),
      scoresPage(host, config, scores),
      optionsPage(host, config),
      infoPages(host),
      host_(host),
      config_(config) {}

void MenuSystem::FillLanguageSelect(const YLocale& locale) { optionsPage.FillLanguageSelect(locale); }

void MenuSystem::AfterPagesLoaded(const YLocale& locale) {
    SetAboutVersion(host_.Page(PAGE_ABOUT));
    levelChoice.SetupLevelPage(locale);
}

void MenuSystem::NewGame(int mode, UIControl* sender) {
    int modes = static_cast<int>(config_.gameModes.size());
    if (mode >= modes) {
        int fallback = std::max(0, modes - 1);
        LogPrintf(g_Log, "Game mode %d is not defined (%d modes); mode %d is played", mode, modes, fallback);
        mode = fallback;
    }
    config_.currentGameMode = mode;
    levelChoice.ShowGameModeTitle(sender);
    host_.RequestState(GS_LEVEL_CHOICE);
}

void MenuSystem::Volume(UIControl* sender, bool music) {
    auto* tracker = dynamic_cast<UITracker*>(sender);
    if (!tracker) return;
    float value = tracker->GetValue();
    if (music) {
        config_.musicVolume = value;
        host_.SetMusicVolume(value);
    } else {
        config_.soundVolume = value;
        host_.SetSoundVolume(value);
    }
}

bool MenuSystem::HandleMenuCommand(int type, UIControl* sender) {
    if (type != UI_EVENT_COMMAND || !sender) return false;
    const std::string& name = sender->name;
    // The commands in matching order; the first whose name equals the sender's is carried out.
    using Run = void (*)(MenuSystem&, UIControl*);
    struct Entry {
        const char* name;
        Run run;
    };
    static const Entry table[] = {
        {"onMainMenu", [](MenuSystem& m, UIControl*) { m.host_.ShowPage(PAGE_MAINMENU); }},
        {"onContinue", [](MenuSystem& m, UIControl*) { m.host_.Resume(); }},
        {"onSwitchMainMenu", [](MenuSystem& m, UIControl*) { m.host_.RequestState(GS_MAIN_MENU); }},
        {"onCheckScore", [](MenuSystem& m, UIControl*) { m.scoresPage.CheckScore(false); }},
        {"onScoresMainMenu",
         [](MenuSystem& m, UIControl*) {
             m.scoresPage.CommitWinnerName();
             if (m.host_.GetState() != GS_MAIN_MENU) {
                 m.host_.RequestState(GS_MAIN_MENU);
             } else {
                 m.host_.ShowPage(PAGE_MAINMENU);
             }
         }},
        {"onExit", [](MenuSystem& m, UIControl*) { m.host_.RequestState(GS_QUIT); }},
        {"onScores",
         [](MenuSystem& m, UIControl*) {
             m.scoresPage.FillScoresPage();
             m.host_.ShowPage(PAGE_SCORES);
         }},
        {"onOptions",
         [](MenuSystem& m, UIControl*) {
             m.optionsPage.FillOptionsPage();
             m.host_.ShowPage(PAGE_OPTIONS);
         }},
        {"onOptionsApply",
         [](MenuSystem& m, UIControl*) {
             m.optionsPage.ApplyOptions();
             m.host_.ShowPage(PAGE_MAINMENU);
         }},
        {"winnername", [](MenuSystem& m, UIControl*) { m.scoresPage.CommitWinnerName(); }},
        {"onNewEasyGame", [](MenuSystem& m, UIControl* s) { m.NewGame(0, s); }},
        {"onNewOriginalGame", [](MenuSystem& m, UIControl* s) { m.NewGame(1, s); }},
        {"onInfo", [](MenuSystem& m, UIControl*) { m.host_.ShowPage(PAGE_CONTROLS); }},
        {"onNextLevel", [](MenuSystem& m, UIControl*) { m.host_.RequestState(GS_NEXT_LEVEL); }},
        {"onBonuses",
         [](MenuSystem& m, UIControl*) {
             m.infoPages.bonusPage = 0;
             m.infoPages.FillBonusPage();
             m.host_.ShowPage(PAGE_BONUSES);
         }},
        {"onBonusPrev",
         [](MenuSystem& m, UIControl*) {
             if (m.infoPages.bonusPage < 1) {
                 m.host_.ShowPage(PAGE_CONTROLS);
             } else {
                 --m.infoPages.bonusPage;
                 m.infoPages.FillBonusPage();
             }
         }},
        {"onBonusNext",
         [](MenuSystem& m, UIControl*) {
             if (m.infoPages.OnLastBonusPage()) {
                 m.host_.ShowPage(PAGE_BRICKS);
             } else {
                 ++m.infoPages.bonusPage;
                 m.infoPages.FillBonusPage();
             }
         }},
        {"onAbout", [](MenuSystem& m, UIControl*) { m.host_.ShowPage(PAGE_ABOUT); }},
        {"onBricks", [](MenuSystem& m, UIControl*) { m.host_.ShowPage(PAGE_BRICKS); }},
        {"onBonusesBricks",
         [](MenuSystem& m, UIControl*) {
             m.infoPages.FillBonusPage();
             m.host_.ShowPage(PAGE_BONUSES);
         }},
        {"onStartGame", [](MenuSystem& m, UIControl*) { m.levelChoice.StartSelectedLevel(); }},
        {"musicVol", [](MenuSystem& m, UIControl* s) { m.Volume(s, true); }},
        {"soundVol", [](MenuSystem& m, UIControl* s) { m.Volume(s, false); }},
    };
    for (const Entry& e : table) {
        if (name == e.name) {
            e.run(*this, sender);
            return true;
        }
    }
    return false;
}
