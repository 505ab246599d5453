#pragma once
// The level choice: a strip of level thumbnails on the rim of a large wheel, two smaller wheels
// turning with it, and the level page over it ("lev.yml": "lev_up", "lev_down", "onStartGame",
// "level_number", "game_mode"). The picker's position levelScroll moves towards levelTarget at
// five levels a second; once the choice is committed the level starts when the picker arrives.
#include <string>
#include <vector>

class Init;
class UIControl;
class UIImage;
class UILayout;
class UINamedText;
class YGameShellHost;
class YLocale;
class YShader;
class YTexture;

// The most levels the picker serves.
constexpr int LEVEL_CHOICE_MAX_LEVELS = 260;
// Thumbnails held around the centred level.
constexpr int LEVEL_THUMB_SLOTS = 24;
// A thumbnail that leaves the slots stays loaded until it is this many levels away from them, so
// that scrolling to and fro does not load the same pictures again and again.
constexpr int LEVEL_THUMB_KEEP = 13;

// The thumbnail file of a level file name as listed ("a01.lev" -> "levels\thumb\a01.lev.bmp").
std::string LevelThumbnailPath(const std::string& levelName);

// The level files matching `pattern` (e.g. "levels\*.lev"), as listed, that read as levels; a
// missing, empty, unreadable or damaged file is left out with a log line.
std::vector<std::string> ListPlayableLevels(const char* pattern);

// The level-number text: `format` (from the locale) printed with `number`. The format may hold at
// most one integer conversion (%d, %i or %u with flags, width and precision; "%%" is a percent
// sign); a format with any other conversion, or more than one, is not used (logged once per
// format) and the number alone is the text.
std::string FormatLevelNumber(const std::string& format, int number);

// Which shader a thumbnail draws with.
enum class ThumbShader { Normal, Selected, Denied };

class LevelChoice {
public:
    LevelChoice(YGameShellHost& host, Init& config);

    // The level list (file names as listed); more than LEVEL_CHOICE_MAX_LEVELS are cut, logged.
    // The thumbnails of the old list are let go.
    void SetLevels(const std::vector<std::string>& names);
    const std::vector<std::string>& Levels() const { return levels_; }
    int LevelCount() const { return static_cast<int>(levels_.size()); }

    // Looks the level page's controls up again and the level-number format from the locale.
    void SetupLevelPage(const YLocale& locale);
    // The level page's "game_mode" text := the caption of the menu item that fired.
    void ShowGameModeTitle(UIControl* sender);

    // Entry of the level-choice state.
    void EnterLevelChoice();
    void SelectLevel(int index);
    void StartSelectedLevel();
    // Nothing: the picker does not hit-test its thumbnails.
    void ClickLevelThumbnail() {}
    // A key in the level-choice state; false when it is not the picker's (it goes to the UI).
    bool KeyDown(int key);
    // The mouse wheel, 120 per notch.
    void MouseWheel(int delta);

    // The per-frame work: held buttons, scrolling, the start on arrival, the wrap, the thumbnail
    // slots and the start button. leftButton: the framework's left-button flag. Thumbnails are
    // loaded when they enter the slots and let go once they are LEVEL_THUMB_KEEP levels away.
    void Update(float dt, bool leftButton);
    // The per-frame 3D drawing of the picker (after Update); aspect of the game view.
    void DrawLevelPicker(float dt, float aspect);

    // The shader choice of a thumbnail of level L.
    ThumbShader ThumbnailShader(int level) const;

    float levelScroll = 0.0f;
    int levelTarget = 0;
    bool levelChosen = false;
    int base = -1;
    YTexture* slots[LEVEL_THUMB_SLOTS] = {};

private:
    bool IsOpen(int level) const;
    void RefillSlots();
    void ReleaseThumbnails(bool all);
    void UpdateStartButton(int level);

    YGameShellHost& host_;
    Init& config_;
    std::vector<std::string> levels_;
    std::vector<int> heldThumbs_; // levels whose thumbnail is loaded
    UIImage* levUp_ = nullptr;
    UIImage* levDown_ = nullptr;
    UIImage* startButton_ = nullptr;
    UINamedText* levelNumber_ = nullptr;
    std::string numberFormat_;
    int shownNumber_ = -1; // the level whose number the page shows
    bool startRequested_ = false;
    YShader* buttonShader_ = nullptr;
    YShader* buttonHoverShader_ = nullptr;
    YShader* buttonDeniedShader_ = nullptr;
};
