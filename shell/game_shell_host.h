#pragma once
// What the game's state machine, its input handlers, the menu commands and the menu pages ask of
// the game around them: the racket and its rules, the level files, the menu pages and the UI root,
// the music and the sound volumes, the splash show, the level picker, the window and the
// configuration file. GameFramework answers with the real game; the shell's tests answer with a
// recording.
#include <string>
#include <vector>

#include "core/video_mode.h"

class UILayout;
class YTexture;

// The game states: single bits, so that the frame and the input handlers test sets of states with
// one mask.
enum GameState : int {
    GS_SPLASH = 1,
    GS_MAIN_MENU = 2,
    GS_LEVEL_START = 4,
    GS_PLAY = 8,
    GS_GAME_OVER = 16,
    GS_LEVEL_COMPLETE = 32,
    GS_PAUSE = 64,
    GS_ALL_DONE = 256,
    GS_LEVEL_CHOICE = 1024,
    GS_TIP = 2048,
    GS_SCORE_CHECK = 4096,
    GS_SCORE_CHECK_LAST = 8192,
    GS_QUIT = 16384,
    GS_NEXT_LEVEL = 32768,
};

// Sets of states.
constexpr int GS_MASK_GAME_VIEW = 0x848;    // the game on screen: full viewport, orbit camera
constexpr int GS_MASK_FROZEN = 0x840;       // the world stands still
constexpr int GS_MASK_BORDER = 0x1858;      // the table's perimeter border may show
constexpr int GS_MASK_SECOND_PASS = 0x1010; // the table drawn a second time
constexpr int GS_MASK_HUD = 0x3958;         // the HUD is drawn
constexpr int GS_MASK_SCORE_ONLY = 0x3110;  // the HUD shows the score only
constexpr int GS_MASK_SCORE_CHECK = 0x3000; // leaving for the main menu resets the saved progress

// The ten menu pages, in the order the framework declares them.
enum GamePage : int {
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

// One bonus record as the information pages show it.
struct BonusInfoRecord {
    std::string name; // also the name of the bonus's shader
    std::string text; // display text in the current language
    int score = 0;
};

class YGameShellHost {
public:
    // ---- The state machine ----
    // A state change through a fade.
    virtual void RequestState(int state) = 0;
    // The state the game is in.
    virtual int GetState() const = 0;
    // Back into the game from the pause page or a tip.
    virtual void Resume() = 0;

    // ---- The racket ----
    virtual int RacketLives() = 0;
    // The level that state 4 loads (-1 before any choice).
    virtual int RacketLevelIndex() = 0;
    virtual void SetRacketLevelIndex(int index) = 0;
    // The racket's score of the run.
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
    // The page object of a GamePage (null for any other value). Pointers to pages stay valid for
    // the framework's life; pointers to controls inside them do not survive a reload.
    virtual UILayout* Page(int page) = 0;
    // The UI root's page := the page (PAGE_NONE: none). Nothing else.
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
    // Asks for the locale, fonts, shaders, bonus texts and every page of the selected language to
    // be read again. The pages are rebuilt once the current call has returned (at the start of
    // the next frame), never under the control whose command asked for it.
    virtual void RequestLoadPages() = 0;
    // The texture of a picture file, loaded once and cached by name (the renderer's GetTexture).
    virtual YTexture* GetTexture(const std::string& path) = 0;
    // Drops the texture of that picture file, device memory and all; nothing when none is loaded.
    // A pointer GetTexture gave for it is not to be used again.
    virtual void ReleaseTexture(const std::string& path) = 0;
    // The bonus records, in kind order; an index outside the list reads a default record.
    virtual int BonusRecordCount() = 0;
    virtual BonusInfoRecord BonusRecord(int index) = 0;

    // ---- Music and sound ----
    virtual void PlayTrack(int track, float fadeSeconds) = 0;
    virtual void PlayNext(float fadeSeconds) = 0;
    virtual void FadeOutAll() = 0;
    virtual void SetMusicVolume(float volume) = 0;
    virtual void SetSoundVolume(float volume) = 0;

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
    // Destroys the window and creates it again from the configuration's video mode.
    virtual void RecreateWindow() = 0;
    // One record per distinct width and height of the display's modes, sorted by width, then
    // height.
    virtual std::vector<YVideoMode> DisplaySizes() = 0;
    // Ends a right-button camera drag, when one runs.
    virtual void EndOrbitDrag() = 0;
    // Writes "config.yml"; false when it could not be written.
    virtual bool SaveConfig() = 0;
    // Ends the main loop after the current frame (the framework's quit operation).
    virtual void Quit() = 0;

protected:
    ~YGameShellHost() = default;
};
