#pragma once
// The editor's console without a window: the statements run against a level and a scene as the
// framework runs them, and what a window would do (quit, camera, full screen, video mode) is left
// to a host that does nothing unless a subclass says otherwise. Used where levels are made or
// checked by statements alone (the level script tool, the console's tests).
#include <string>
#include <vector>

#include "core/console.h"
#include "core/console_command.h"
#include "editor/editor_console.h"

// A host without a window: every operation does nothing; the camera never turned (right +x,
// up +y, forward +z).
class EditorWindowlessHost : public EditorHost {
public:
    virtual ~EditorWindowlessHost() = default;
    bool QuitEditor() override { return true; }
    void ResetCamera() override {}
    bool IsFullScreenWindow() const override { return false; }
    void RecreateWindow() override {}
    void ApplyVideoModeText(const std::string&) override {}
    EditorCameraAxes CameraAxes() const override { return {}; }
};

// A console whose statements the handler runs (as the framework forwards them), with the
// editor's names registered. The level, scene and host are not owned and must outlive it.
class EditorHeadlessConsole : private YConsoleCommand {
public:
    EditorHeadlessConsole(EditorLevel& level, EditorScene& scene, EditorHost& host);
    ~EditorHeadlessConsole();

    // Runs the line and returns the lines it printed.
    std::vector<std::string> Run(const std::string& line);

    YConsole& Console() { return console_; }
    EditorConsoleHandler& Handler() { return handler_; }

private:
    void RunCommand(int id) override { handler_.RunCommand(id); }
    void SetVariable(int id) override { handler_.SetVariable(id); }

    YConsole console_;
    EditorConsoleHandler handler_;
};
