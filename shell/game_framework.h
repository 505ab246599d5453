#pragma once
// The game's application object: builds the whole game in a fixed order, runs its frames through
// the state machine, routes keys and mouse by state, answers the game console and takes the game
// down again. It listens to the widgets (UIEvent), the console (YConsoleCommand) and the racket's
// play events (YGameEvent), and it is the one host (YGameShellHost) of the state machine, the
// input handlers and the menus.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/console_command.h"
#include "core/framework.h"
#include "render/camera.h"
#include "shell/game_frame.h"
#include "shell/game_input.h"
#include "shell/game_shell_host.h"
#include "shell/game_states.h"
#include "shell/menu_commands.h"
#include "shell/scene_camera.h"
#include "shell/ui/ui_control.h"
#include "shell/ui/ui_screen.h"
#include "world/racket/game_event.h"

class UILayout;
class YConsole;
class YFont;
class YMusicPlayer;
class YRacket;
class YTable;

class GameFramework : public YFramework,
                      public UIEvent,
                      public YConsoleCommand,
                      public YGameEvent,
                      private YGameShellHost {
public:
    explicit GameFramework(const char* exePath);
    ~GameFramework() override;

    // YFramework
    void Quit() override;
    // Quit: saves the configuration and ends the game; whether the configuration was saved.
    bool SaveAndQuit();
    bool Frame() override;
    void KeyDown(int key) override;
    void Char(int code) override;
    void MouseDown(int button, int x, int y) override;
    void MouseUp(int button, int x, int y) override;
    void MouseMove(int x, int y) override;
    void MouseWheel(int delta) override;
    void OnResize(int width, int height) override;

    // UIEvent: the menu commands.
    void OnEvent(int type, UIControl* sender) override;

    // YConsoleCommand
    void RunCommand(int id) override;
    void SetVariable(int id) override;

    // Play events of the racket.
    void OnGameOver() override;
    void OnLevelComplete() override;
    void OnServe() override;
    void OnRacketHits(int hits) override;

    // The state machine.
    void RequestState(int s) override { states_.RequestState(s); }
    void EnterState(int s) { states_.EnterState(s); }
    void Resume() override { states_.Resume(); }
    int GetState() const override { return states_.state; }
    int FadePhase() const { return states_.fadePhase; }

    // The window from the configuration: full screen at its video mode, or windowed at its size.
    void CreateMainWindow();
    void ToggleFullscreen() override;
    void EndOrbitDrag() override { input_.EndOrbitDrag(); }
    void SyncCursorToRacket(float position) { input_.SyncCursorToRacket(position); }

    // Places the camera for the state (the still view with dt 0).
    void UpdateCamera(float dt);
    // The viewport of a 3D pass for the state; returns the aspect to project with.
    float SetGameViewport();

    // Reads the language's texts, fonts, shaders and every page.
    void LoadPages();
    // LoadPages at the start of the next frame (the options page's language change).
    void RequestLoadPages() override { loadPagesPending_ = true; }
    UILayout* Page(int page) override { return page >= 0 && page < PAGE_COUNT ? pages_[page].get() : nullptr; }
    UIScreen& Screen() { return screen_; }
    const std::vector<std::string>& LevelNames() const { return levelNames_; }
    YOrbitView& OrbitView() { return camera_.orbitView; }

    bool KeyHeld(int key) override { return KeyState(key); }
    int CursorX() override { return MouseX(); }
    int CursorY() override { return MouseY(); }
    int ClientWidth() override { return YFramework::ClientWidth(); }
    int ClientHeight() override { return YFramework::ClientHeight(); }
    void SetCursorPos(int x, int y) override { YFramework::SetCursorPos(x, y); }

    MenuSystem& Menus() { return menus_; }

private:
    void DrawScene(float dt);
    void DrawOverlay(float dt);
    void DrawFade(float darkness);
    void DrawBallMarkers();

    // YGameShellHost
    int RacketLives() override;
    int RacketLevelIndex() override;
    void SetRacketLevelIndex(int index) override;
    int RacketScore() override;
    void RacketNewGame() override;
    void RacketContinueGame() override;
    void RacketNewRound() override;
    void RacketPrepareLevel() override;
    void RacketPark() override;
    void RacketResetScore() override;
    float RacketMoveTo(float target) override;
    float RacketMoveStep(int direction) override;
    void RacketAdjustAim(float degrees) override;
    void RacketRelease() override;
    int LevelCount() override;
    void LoadLevelAt(int index) override;
    void DeleteAllBlocks() override;
    void ShowPage(int page) override;
    void ShowTipPage(const std::string& file) override;
    bool PageShown() override;
    void SetPageText(int page, const char* control, const std::string& text) override;
    bool CurrentPageBoxTicked(const char* control) override;
    void UIKeyDown(int key) override;
    void UIChar(int code) override;
    void UIMouseDown(int button, int x, int y) override;
    void UIMouseUp(int button, int x, int y) override;
    void UIMouseMove(int x, int y) override;
    void PlayTrack(int track, float fadeSeconds) override;
    void PlayNext(float fadeSeconds) override;
    void FadeOutAll() override;
    void EnterLevelChoice() override;
    void CheckScore(bool afterGame) override;
    void SelectLevel(int index) override;
    void StartSelectedLevel() override;
    void ClickLevelThumbnail() override;
    float LevelScroll() override { return menus_.levelChoice.levelScroll; }
    int LevelTarget() override { return menus_.levelChoice.levelTarget; }
    void SplashSkip() override;
    void SplashSkipAll() override;
    bool SaveConfig() override;
    void RecreateWindow() override;
    std::vector<YVideoMode> DisplaySizes() override;
    void SetMusicVolume(float volume) override;
    void SetSoundVolume(float volume) override;
    YTexture* GetTexture(const std::string& path) override;
    void ReleaseTexture(const std::string& path) override;
    int BonusRecordCount() override;
    BonusInfoRecord BonusRecord(int index) override;

    std::string exePath_;
    YSceneCamera camera_; // the player's orbit view and the menu orbiter
    std::unique_ptr<YMusicPlayer> music_;
    std::unique_ptr<UILayout> pages_[PAGE_COUNT];
    UIScreen screen_;
    YFont* systemFont_ = nullptr;
    std::vector<std::string> levelNames_;
    float farClip_ = 650.0f;
    float nearClip_ = 5.0f;
    YGameStates states_;
    YGameInput input_;
    YGameFrameClock clock_;
    bool loadPagesPending_ = false;
    MenuSystem menus_;
    std::unique_ptr<YRacket> racket_;
    std::unique_ptr<YTable> table_;
    YConsole* console_ = nullptr;
};
