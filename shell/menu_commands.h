#pragma once
// The menus: the command handler that turns a widget's command (the name of the control that
// fired it) into an action of the game, and the pieces it drives: the level choice, the scores
// page, the options page and the information pages.
//
// How the framework drives it:
//   construction   GetScoreTable().LoadScores("scores.dat"); a MenuSystem over the framework
//                  (its YGameShellHost, which also hands out the ten pages), GetInit() and
//                  GetScoreTable(); levelChoice.SetLevels(ListPlayableLevels("levels\*.lev")); then
//                  BuildLevelThumbnails (level_thumbnails.h) once the device exists.
//   page loading   after the options page was read without layout: FillLanguageSelect(locale);
//                  after the about page, the registry pages and the rest: AfterPagesLoaded(locale).
//   UIEvent        OnEvent(type, sender) -> HandleMenuCommand(type, sender).
//   language       "onOptionsApply" with another language calls RequestLoadPages; the framework
//                  reloads the pages at the start of its next frame.
//   states         4096 and 8192 enter with scoresPage.CheckScore(true); 1024 enters with
//                  levelChoice.EnterLevelChoice(); its frame calls levelChoice.Update(dt, left
//                  button held) and, after BeginFrame and the game viewport,
//                  levelChoice.DrawLevelPicker(dt, aspect); its keys go to levelChoice.KeyDown
//                  first (false: to the UI), the wheel to MouseWheel.
#include <string>

#include "shell/game_shell_host.h"
#include "shell/info_pages.h"
#include "shell/level_choice.h"
#include "shell/options_page.h"
#include "shell/scores_page.h"

class Init;
class UIControl;
class YLocale;
class YScoreTable;

class MenuSystem {
public:
    MenuSystem(YGameShellHost& host, Init& config, YScoreTable& scores);

    // A widget event. Only commands (type 0) act: the sender's name is matched exactly against
    // the command names in a fixed order and the first match is carried out. True when a command
    // matched.
    bool HandleMenuCommand(int type, UIControl* sender);

    // While the pages load: the options page's language list (then its layout), after the
    // options page was read without layout.
    void FillLanguageSelect(const YLocale& locale);
    // After every page was loaded: the about page's version, the level page's controls.
    void AfterPagesLoaded(const YLocale& locale);

    LevelChoice levelChoice;
    ScoresPage scoresPage;
    OptionsPage optionsPage;
    InfoPages infoPages;

private:
    // A new game in mode `mode` (clamped to the modes defined, logged), then the level choice.
    void NewGame(int mode, UIControl* sender);
    // A volume tracker moved.
    void Volume(UIControl* sender, bool music);

    YGameShellHost& host_;
    Init& config_;
};
