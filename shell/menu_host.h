#pragma once
// What the menus need of the game framework. The framework implements this interface and hands
// it to the menu code; tests hand a fake that records the calls.
#include <cstdint>
#include <string>
#include <vector>

#include "core/video_mode.h"

class UILayout;
class YTexture;

// Game states the menus request or read (single bits, tested with masks).
namespace gamestate {
constexpr int SLIDE_SHOW = 1;
constexpr int MAIN_MENU = 2;
constexpr int LEVEL_START = 4;
constexpr int PLAY = 8;
constexpr int GAME_OVER = 16;
constexpr int LEVEL_COMPLETE = 32;
constexpr int PAUSE = 64;
constexpr int ALL_LEVELS_DONE = 256;
constexpr int LEVEL_CHOICE = 1024;
constexpr int TIP = 2048;
constexpr int SCORE_CHECK = 4096;
constexpr int SCORE_CHECK_LAST = 8192;
constexpr int QUIT = 16384;
constexpr int NEXT_LEVEL = 32768;
} // namespace gamestate

// The ten fixed pages of the menus (owned by the framework; null when not made).
struct MenuPages {
    UILayout* scores = nullptr;
    UILayout* mainmenu = nullptr;
    UILayout* controls = nullptr;
    UILayout* bonuses = nullptr;
    UILayout* bricks = nullptr;
    UILayout* pause = nullptr;
    UILayout* lev = nullptr;
    UILayout* complete = nullptr;
    UILayout* options = nullptr;
    UILayout* about = nullptr;
};

// One bonus record as the information pages show it.
struct BonusInfoRecord {
    std::string name; // also the name of the bonus's shader
    std::string text; // display text in the current language
    int score = 0;
};

class MenuHost {
public:
    virtual ~MenuHost() = default;

    // The UI root's page := page (null: none). Nothing else.
    virtual void ShowPage(UILayout* page) = 0;
    // A state change through a fade.
    virtual void RequestState(int state) = 0;
    // The state the game is in.
    virtual int GameState() const = 0;
    // Back into the game from the pause page.
    virtual void Resume() = 0;
    // Reloads the locale, fonts, shaders, bonus texts and every page of the selected language.
    virtual void LoadPages() = 0;
    // Destroys the window and creates it again from the configuration's video mode.
    virtual void RecreateWindow() = 0;
    virtual void SetMusicVolume(float volume) = 0;
    virtual void SetSoundVolume(float volume) = 0;

    // The racket's score of the game just played.
    virtual uint32_t RacketScore() const = 0;
    // The level that state 4 loads (-1 before any choice).
    virtual int RacketLevelIndex() const = 0;
    virtual void SetRacketLevelIndex(int index) = 0;

    // One record per distinct width and height of the display's modes, sorted by width, then
    // height.
    virtual std::vector<YVideoMode> DisplaySizes() const = 0;

    // The texture of a picture file, loaded once and cached by name (the renderer's GetTexture).
    virtual YTexture* GetTexture(const std::string& path);

    // The bonus records, in kind order.
    virtual int BonusRecordCount() const = 0;
    virtual BonusInfoRecord BonusRecord(int index) const = 0;
};
