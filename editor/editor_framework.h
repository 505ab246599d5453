#pragma once
// The level editor's framework: builds the editor, turns keys, characters, mouse and wheel into
// console lines, macros and camera motion, draws the editing frame, and answers its console.
#include <cstdint>
#include <memory>
#include <string>

#include "core/console_command.h"
#include "core/framework.h"
#include "editor/editor_console.h"
#include "editor/editor_frame_draw.h"
#include "editor/editor_input.h"
#include "editor/editor_kbd.h"
#include "editor/editor_level.h"
#include "render/camera.h"

class YConsole;
class YFont;
class EditorScene;

class EditorFramework : public YFramework, public YConsoleCommand, public EditorHost {
public:
    explicit EditorFramework(const char* exePath);
    ~EditorFramework() override;

    void Quit() override;
    // Quit: saves the configuration and ends the editor; whether the configuration was saved.
    bool SaveAndQuit();
    bool Frame() override;
    void OnResize(int width, int height) override;
    void MouseMove(int x, int y) override;
    void MouseWheel(int delta) override;
    void MouseDown(int button, int x, int y) override;
    void MouseUp(int button, int x, int y) override;
    void KeyDown(int key) override;
    void Char(int code) override;

    void CreateEditorWindow();
    void ToggleFullscreen();

    void RunCommand(int id) override;
    void SetVariable(int id) override;

    bool SaveLevel(const char* name);
    bool LoadLevelEditor(const char* name);

    // EditorHost
    bool QuitEditor() override { return SaveAndQuit(); }
    void ResetCamera() override;
    bool IsFullScreenWindow() const override { return IsFullScreen(); }
    void RecreateWindow() override;
    void ApplyVideoModeText(const std::string& text) override;
    EditorCameraAxes CameraAxes() const override;

    EditorLevel& Level() { return level_; }
    YConsole* Console() { return console_; }
    float CameraDistance() const { return cameraDistance_; }

private:
    std::string exePath_;
    YFont* font_ = nullptr;
    float cameraDistance_ = 30.0f;
    YArcBall arcBall_;
    EditorLevel level_;
    EditorKeyboard keyboard_;
    std::unique_ptr<EditorScene> scene_;
    YConsole* console_ = nullptr;
    std::unique_ptr<EditorConsoleHandler> handler_;
    std::unique_ptr<EditorInput> input_;
    EditorFrameClock clock_;
    EditorFrameDraw frameDraw_;
};
