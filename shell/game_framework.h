#pragma once
// The game's framework: builds the game, runs its frames and answers its console.
#include <memory>
#include <string>

#include "core/console_command.h"
#include "core/framework.h"

class YConsole;
class YFont;
class YMusicPlayer;
class YRacket;
class YTable;

class GameFramework : public YFramework, public YConsoleCommand {
public:
    explicit GameFramework(const char* exePath);
    ~GameFramework() override;

    void Quit() override;
    bool Frame() override;
    void KeyDown(int key) override;
    void MouseDown(int button, int x, int y) override;
    void Char(int code) override;

    // Creates the game window from the configuration (after DestroyFrameWindow, or at start).
    void CreateMainWindow();

    void RunCommand(int id) override;
    void SetVariable(int id) override;

    // Seconds of the last frame step.
    float FrameTime() const { return frameTime_; }

    // The start-up slide show runs first; then the scene shows.
    enum class State { Splash, Scene };
    State GetState() const { return state_; }

private:
    void LoadPages();
    void DrawScene();
    void ShowTableView();
    void StartSceneLevel();
    void DrawOverlay();

    std::string exePath_;
    std::unique_ptr<YMusicPlayer> music_;
    std::unique_ptr<YTable> table_;
    std::unique_ptr<YRacket> racket_;
    int lastMouseX_ = -1;
    YConsole* console_ = nullptr;
    YFont* systemFont_ = nullptr;
    uint32_t lastTime_ = 0;
    float accumulated_ = 0.0f;
    float frameTime_ = 0.0f;
    bool ignoreNextChar_ = false;
    State state_ = State::Splash;
};
