#pragma once
// The text console of the game and of the level editor: a panel that slides down over the upper half
// of the 800 by 600 overlay, shows every line the log writes and everything printed to it, and takes
// a typed line of statements: commands ("exit now") and variable assignments ("fps=1").
//
// The console knows no command itself. Its owner registers names with ids and implements
// YConsoleCommand; the console parses the line, looks the names up and calls the owner, which reads
// the statement's texts back (GetNameText, GetValueText, GetInt, GetFloat, GetBool) and prints.
//
// Threads: everything runs on the main thread except Print, which the log may call from any thread
// (a music or stream thread logging an error). The printed lines and the scroll index are guarded
// by the console's own lock; drawing never holds that lock while it calls the renderer, so a
// renderer that logs from inside a draw call cannot dead-lock the console.
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/log.h"

class YConsoleCommand;

// One corner of the panel quad: position and texture coordinates.
struct YConsoleVertex {
    float x = 0.0f, y = 0.0f, z = 0.0f;
    float u = 0.0f, v = 0.0f;
};

// What the console needs of the renderer: the console font ("sysfont") and shader ("console").
// The renderer installs one with YConsole::SetDrawer once fonts and shaders exist; until then the
// console behaves as with an empty font (every character has width 0) and draws nothing.
class YConsoleDrawer {
public:
    // The font's unscaled width-table entry for the character.
    virtual float CharWidth(unsigned char c) const = 0;
    // Applies the "console" shader with its material and draws the panel quad.
    virtual void DrawPanel(const YConsoleVertex (&quad)[4]) = 0;
    // Draws text in the console font at (x, y) and the given text size; returns the width drawn.
    virtual float DrawText(float x, float y, float size, const std::string& text) = 0;

protected:
    ~YConsoleDrawer() = default;
};

class YConsole : public YLogEcho {
public:
    static constexpr float SHOWN_POSITION = 300.0f; // lower edge of a shown panel
    static constexpr float SLIDE_SPEED = 400.0f;    // overlay units per second
    static constexpr float BLINK_PERIOD = 0.3f;     // seconds on, then as long off
    static constexpr float EDIT_WIDTH_MAX = 760.0f; // 800 less a margin of 40
    static constexpr float TEXT_SIZE = 20.0f;
    static constexpr float LINE_HEIGHT = 20.0f;

    // Builds the console, sets the panel's texture coordinates, runs Update(0), becomes the console
    // the log echoes to and the one GetConsole returns. `owner` is not owned and may be null.
    explicit YConsole(YConsoleCommand* owner);
    void SetOwner(YConsoleCommand* owner) { owner_ = owner; }
    ~YConsole();
    YConsole(const YConsole&) = delete;
    YConsole& operator=(const YConsole&) = delete;

    // Not owned; null draws nothing and makes every character width 0.
    void SetDrawer(YConsoleDrawer* drawer) { drawer_ = drawer; }

    // Insert the name with the id, or give an existing name the new id. Names are case-sensitive.
    void RegisterCommand(const std::string& name, int id);
    void RegisterVariable(const std::string& name, int id);

    // Appends one line per piece of `text` between line feeds (so "a\n" adds "a" and "", and ""
    // adds one empty line), then shows the newest line. Any thread; never logs.
    void Print(const std::string& text) override;

    // 8 removes the last character of the edit line; 13 runs the line; any other character (0..255)
    // whose width in the console font is not 0 is appended unless the line would then be wider than
    // EDIT_WIDTH_MAX.
    void OnChar(int code);
    // Replaces the edit line with `text` and runs it.
    void Execute(const std::string& text);
    // Runs the statements of the edit line and empties it.
    void ExecuteLine();
    // Page Up (true) or Page Down (false) through the printed lines.
    void Scroll(bool up);
    // Slides the panel and blinks the cursor.
    void Update(float seconds);
    // Draws the panel, the prompt with the edit line and cursor, and the lines from the scroll index
    // upwards. Nothing while the panel's lower edge is at 0 or above the screen. A panel that is not
    // shown and rests above 0 (the editor's strip) starts at the answer instead: the newest line
    // printed while the last line of statements ran, so lines logged later (a texture made by a
    // frame) do not push the answer out of the strip. Before any statement printed, the newest line.
    void Draw();

    // The statement being executed, for the owner's handlers.
    const std::string& GetNameText() const { return nameText_; }
    const std::string& GetValueText() const { return valueText_; }
    int GetInt() const;     // atoi of the value text
    float GetFloat() const; // atof of the value text
    // "true" and "1" give true, "false" and "0" false; anything else prints "? '<text>'." and gives
    // false.
    bool GetBool();

    // Observers.
    const std::string& GetEditLine() const { return editLine_; }
    std::size_t GetLineCount() const;
    std::string GetLine(std::size_t index) const; // empty outside the list
    int GetScrollIndex() const;                   // -1: the newest line
    bool IsCursorOn() const { return cursorOn_; }
    // The panel quad shared by all consoles: corners (0, p-600), (0, p), (800, p), (800, p-600).
    static const YConsoleVertex (&GetQuad())[4] { return s_quad; }

    // Set by the owners: whether the panel slides down (to SHOWN_POSITION) or up (to the hidden
    // position), the panel's lower edge, and where it rests when hidden.
    bool shown = false;
    float position = 0.0f;
    float hiddenPosition = 0.0f;

private:
    void SetQuad(float p);
    float EditLineWidth() const;

    static YConsoleVertex s_quad[4];

    YConsoleCommand* owner_ = nullptr;
    YConsoleDrawer* drawer_ = nullptr;

    // Guards lines_ and scrollIndex_. Lines are a deque so that a reference to a line stays valid
    // while other threads append (lines are never removed).
    mutable std::mutex lock_;
    std::deque<std::string> lines_;
    int scrollIndex_ = -1;
    int answerIndex_ = -1; // newest line printed by the thread running statements, while it ran them
    int executing_ = 0;    // depth of ExecuteLine (a handler may run another line)
    std::thread::id executingThread_;

    std::string editLine_;
    float blinkTimer_ = 0.0f;
    bool cursorOn_ = true;

    std::map<std::string, int> commands_;
    std::map<std::string, int> variables_;
    std::string nameText_;
    std::string valueText_;

    // Lines picked for the current Draw, kept between frames so drawing does not allocate.
    std::vector<const std::string*> visible_;
};

// The console built last and not yet destroyed, or nullptr.
YConsole* GetConsole();

// Names of the game's console, with the ids the game's handlers switch on.
enum YGameConsoleCommand { GAME_CMD_EXIT = 0, GAME_CMD_OPEN_ALL_LEVELS = 1 };
enum YGameConsoleVariable {
    GAME_VAR_FPS = 0,
    GAME_VAR_FULLSCREEN = 1,
    GAME_VAR_VIDEO_MODE = 2,
    GAME_VAR_SOUND_VOLUME = 3,
    GAME_VAR_MUSIC_VOLUME = 4,
    GAME_VAR_SHADOWS = 5,
    GAME_VAR_SHOWTIPS = 6,
};

// The first call builds the game's console with `owner` and registers the game's names; later calls
// return it with `owner` as its owner (a framework made after an earlier one was deleted takes the
// console over). It lives until the process ends.
YConsole* CreateGameConsole(YConsoleCommand* owner);
// The first call builds the editor's console with `owner`, resting 45 units down when hidden and
// starting at 600; the editor registers its own names. Later calls return it with `owner` as its owner.
YConsole* CreateEditorConsole(YConsoleCommand* owner);

// "true" or "false".
const char* BoolToString(bool value);
