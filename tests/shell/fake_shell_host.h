#pragma once
// A game around the state machine, the input handlers and the menus for tests: a racket, levels,
// pages and a cursor kept as plain values, the pages a test hands in, and every call that acts
// recorded (by name in `calls`, or in a list of its own).
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "shell/game_shell_host.h"

struct FakeShellHost : YGameShellHost {
    std::vector<std::string> calls;
    int state = GS_MAIN_MENU; // what GetState answers
    std::vector<int> states;  // every RequestState, in order
    int resumes = 0;
    int lives = 3;
    int levelIndex = 0;
    int score = 0;
    int levels = 3;
    UILayout* pages[PAGE_COUNT] = {}; // what Page answers; a test sets those it uses
    int page = PAGE_NONE;             // the page shown
    UILayout* shown = nullptr;        // its object (null for a tip page or none)
    std::string tipPage;
    bool tipShown = false;
    bool boxTicked = false;
    std::vector<std::pair<std::string, std::string>> texts;
    int loadPagesRequests = 0;
    std::function<void()> onLoadPages; // the reload a pending request runs
    std::vector<std::string> textures; // every texture asked for, in order
    std::vector<std::string> released; // every texture let go, in order
    std::vector<BonusInfoRecord> bonuses;
    std::vector<float> musicVolumes, soundVolumes;
    float racketPos = 0.0f;
    float racketLimit = 1.0f; // MoveTo stops at +-this
    float aim = 0.0f;
    float levelScroll = 0.0f;
    int levelTarget = 0;
    int selected = -1;
    bool held[256] = {};
    int cursorX = 0, cursorY = 0;
    int width = 800, height = 600;
    std::vector<std::pair<int, int>> warps;
    int recreates = 0;
    std::vector<YVideoMode> sizes;
    int saves = 0;
    bool quit = false;

    void Call(const std::string& name) { calls.push_back(name); }
    bool Called(const std::string& name) const {
        for (const std::string& c : calls)
            if (c == name) return true;
        return false;
    }
    // What the framework does at the start of its next frame: the pages asked for are reloaded.
    void RunPendingLoadPages() {
        if (loadPagesRequests == 0) return;
        loadPagesRequests = 0;
        Call("LoadPages");
        if (onLoadPages) onLoadPages();
    }

    void RequestState(int s) override { states.push_back(s); }
    int GetState() const override { return state; }
    void Resume() override { ++resumes; }

    int RacketLives() override { return lives; }
    int RacketLevelIndex() override { return levelIndex; }
    void SetRacketLevelIndex(int index) override { levelIndex = index; }
    int RacketScore() override { return score; }
    void RacketNewGame() override { Call("NewGame"); }
    void RacketContinueGame() override { Call("ContinueGame"); }
    void RacketNewRound() override { Call("NewRound"); }
    void RacketPrepareLevel() override { Call("PrepareLevel"); }
    void RacketPark() override { Call("Park"); }
    void RacketResetScore() override { Call("ResetScore"); }
    float RacketMoveTo(float target) override {
        racketPos = target < -racketLimit ? -racketLimit : target > racketLimit ? racketLimit : target;
        return racketPos;
    }
    float RacketMoveStep(int direction) override {
        Call(direction < 0 ? "MoveStep-" : "MoveStep+");
        return racketPos;
    }
    void RacketAdjustAim(float degrees) override { aim += degrees; }
    void RacketRelease() override { Call("Release"); }
    int LevelCount() override { return levels; }
    void LoadLevelAt(int index) override { Call("LoadLevel" + std::to_string(index)); }
    void DeleteAllBlocks() override { Call("DeleteAllBlocks"); }
    UILayout* Page(int p) override { return p >= 0 && p < PAGE_COUNT ? pages[p] : nullptr; }
    void ShowPage(int p) override {
        page = p;
        shown = Page(p);
        tipShown = false;
    }
    void ShowTipPage(const std::string& file) override {
        tipPage = file;
        tipShown = true;
        page = PAGE_NONE;
        shown = nullptr;
    }
    bool PageShown() override { return page != PAGE_NONE || tipShown; }
    void SetPageText(int p, const char* control, const std::string& text) override {
        if (p == PAGE_COMPLETE) texts.emplace_back(control, text);
    }
    bool CurrentPageBoxTicked(const char* control) override {
        return boxTicked && std::string(control) == "showTips" && PageShown();
    }
    void UIKeyDown(int key) override { Call("UIKey" + std::to_string(key)); }
    void UIChar(int code) override { Call("UIChar" + std::to_string(code)); }
    void UIMouseDown(int button, int, int) override { Call("UIDown" + std::to_string(button)); }
    void UIMouseUp(int button, int, int) override { Call("UIUp" + std::to_string(button)); }
    void UIMouseMove(int, int) override { Call("UIMove"); }
    void RequestLoadPages() override { ++loadPagesRequests; }
    YTexture* GetTexture(const std::string& path) override {
        textures.push_back(path);
        // Any distinct non-null pointer will do: the menus only hand it on.
        return reinterpret_cast<YTexture*>(static_cast<std::uintptr_t>(0x1000 + 16 * textures.size()));
    }
    void ReleaseTexture(const std::string& path) override { released.push_back(path); }
    int BonusRecordCount() override { return static_cast<int>(bonuses.size()); }
    BonusInfoRecord BonusRecord(int i) override { return bonuses[static_cast<std::size_t>(i)]; }
    void PlayTrack(int track, float fade) override {
        Call("PlayTrack" + std::to_string(track) + "/" + std::to_string(static_cast<int>(fade * 10)));
    }
    void PlayNext(float fade) override { Call("PlayNext/" + std::to_string(static_cast<int>(fade * 10))); }
    void FadeOutAll() override { Call("FadeOutAll"); }
    void SetMusicVolume(float v) override { musicVolumes.push_back(v); }
    void SetSoundVolume(float v) override { soundVolumes.push_back(v); }
    void EnterLevelChoice() override { Call("EnterLevelChoice"); }
    void CheckScore(bool afterGame) override { Call(afterGame ? "CheckScore(true)" : "CheckScore(false)"); }
    void SelectLevel(int index) override { selected = index; }
    void StartSelectedLevel() override { Call("StartSelectedLevel"); }
    void ClickLevelThumbnail() override { Call("ClickLevelThumbnail"); }
    float LevelScroll() override { return levelScroll; }
    int LevelTarget() override { return levelTarget; }
    void SplashSkip() override { Call("SplashSkip"); }
    void SplashSkipAll() override { Call("SplashSkipAll"); }
    bool KeyHeld(int key) override { return key >= 0 && key < 256 && held[key]; }
    int CursorX() override { return cursorX; }
    int CursorY() override { return cursorY; }
    int ClientWidth() override { return width; }
    int ClientHeight() override { return height; }
    void SetCursorPos(int x, int y) override {
        cursorX = x, cursorY = y;
        warps.emplace_back(x, y);
    }
    void ToggleFullscreen() override { Call("ToggleFullscreen"); }
    void RecreateWindow() override { ++recreates; }
    std::vector<YVideoMode> DisplaySizes() override { return sizes; }
    void EndOrbitDrag() override { Call("EndOrbitDrag"); }
    bool SaveConfig() override {
        ++saves;
        Call("SaveConfig");
        return true;
    }
    void Quit() override {
        quit = true;
        Call("Quit");
    }
};
