#pragma once
// What the game's state machine and input handlers ask of the game around them: the racket and
// its rules, the level files, the menu pages and the UI root, the music, the splash show, the
// level picker, the window's cursor and the configuration file. GameFramework answers with the
// real game; the shell's tests answer with recordings.
#include <string>

// The ten menu pages, in the order the framework declares them.
enum GamePage {
    PAGE_MAINMENU,
    PAGE_SCORES,
    PAGE_CONTROLS,
    PAGE_BONUSES,
    PAGE_BRICKS,
    PAGE_ABOUT,
    PAGE_OPTIONS,
    PAGE_PAUSE,
    PAGE_LEV,
    PAGE_COMPLETE,
    PAGE_COUNT
};
constexpr int PAGE_NONE = -1;

class YGameShellHost {
public:
    // ---- The racket ----
    virtual int RacketLives() = 0;
    virtual int RacketLevelIndex() = 0;
    virtual void SetRacketLevelIndex(int index) = 0;
    virtual int RacketScore() = 0;
    virtual void RacketNewGame() = 0;
    virtual void RacketContinueGame() = 0;
    virtual void RacketNewRound() = 0;
    virtual void RacketPrepareLevel() = 0;
    virtual void RacketPark() = 0;
    virtual void RacketResetScore() = 0;
    // Steering: the racket's position after the move, in -1 .. 1.
    virtual float RacketMoveTo(float target) = 0;
    virtual float RacketMoveStep(int direction) = 0;
    virtual void RacketAdjustAim(float degrees) = 0;
    // Launches what the racket holds.
    virtual void RacketRelease() = 0;

    // ---- Levels ----
    virtual int LevelCount() = 0;
    // Loads "levels\" + the level name at `index`.
    virtual void LoadLevelAt(int index) = 0;
    virtual void DeleteAllBlocks() = 0;

    // ---- Pages and the UI root ----
    // PAGE_NONE shows no page.
    virtual void ShowPage(int page) = 0;
    // The registry's page of a tip file.
    virtual void ShowTipPage(const std::string& file) = 0;
    virtual bool PageShown() = 0;
    // The text of a named text among the page's direct children; nothing when it is missing.
    virtual void SetPageText(int page, const char* control, const std::string& text) = 0;
    // Whether the current page holds a ticked check box of that name.
    virtual bool CurrentPageBoxTicked(const char* control) = 0;
    virtual void UIKeyDown(int key) = 0;
    virtual void UIChar(int code) = 0;
    virtual void UIMouseDown(int button, int x, int y) = 0;
    virtual void UIMouseUp(int button, int x, int y) = 0;
    virtual void UIMouseMove(int x, int y) = 0;

    // ---- Music ----
    virtual void PlayTrack(int track, float fadeSeconds) = 0;
    virtual void PlayNext(float fadeSeconds) = 0;
    virtual void FadeOutAll() = 0;

    // ---- Menus: the level picker and the score pages ----
    virtual void EnterLevelChoice() = 0;
    virtual void CheckScore(bool afterGame) = 0;
    virtual void SelectLevel(int index) = 0;
    virtual void StartSelectedLevel() = 0;
    virtual void ClickLevelThumbnail() = 0;
    virtual float LevelScroll() = 0;
    virtual int LevelTarget() = 0;

    // ---- The start-up slide show ----
    virtual void SplashSkip() = 0;
    virtual void SplashSkipAll() = 0;

    // ---- The window and the program ----
    virtual bool KeyHeld(int key) = 0;
    virtual int CursorX() = 0;
    virtual int CursorY() = 0;
    virtual int ClientWidth() = 0;
    virtual int ClientHeight() = 0;
    virtual void SetCursorPos(int x, int y) = 0;
    virtual void ToggleFullscreen() = 0;
    // Ends a right-button camera drag, when one runs.
    virtual void EndOrbitDrag() = 0;
    // Writes "config.yml"; false when it could not be written.
    virtual bool SaveConfig() = 0;
    // Ends the main loop after the current frame (the framework's quit operation).
    virtual void Quit() = 0;

protected:
    ~YGameShellHost() = default;
};
