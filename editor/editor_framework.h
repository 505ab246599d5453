#pragma once
// The level editor's framework: builds the editor, runs its frames and answers its console.
#include <string>

#include "core/console_command.h"
#include "core/framework.h"

class YConsole;

// Names of the editor's console, with the ids its handlers switch on.
enum YEditorConsoleCommand { EDITOR_CMD_EXIT = 0 };

class EditorFramework : public YFramework, public YConsoleCommand {
public:
    explicit EditorFramework(const char* exePath);
    ~EditorFramework() override;

    void Quit() override;
    bool Frame() override;
    void KeyDown(int key) override;
    void Char(int code) override;

    void CreateEditorWindow();
    void ToggleFullscreen();

    void RunCommand(int id) override;
    void SetVariable(int id) override;

private:
    std::string exePath_;
    YConsole* console_ = nullptr;
    uint32_t lastTime_ = 0;
    bool keyConsumed_ = false;
};
