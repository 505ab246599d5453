#pragma once
// The editor's console statements: 23 commands and 17 variables that do everything the editor can
// do, typed into the console or sent by a keyboard macro. Every answer is one console line: a
// command's word followed by " ok.", " fail." or nothing, a variable's name, "=" and its new value.
#include <string>

#include "editor/editor_host.h"

class YConsole;
class EditorLevel;
class EditorScene;

enum EditorConsoleCommandId {
    EDITOR_CMD_EXIT = 0,
    EDITOR_CMD_CLEAR = 1,
    EDITOR_CMD_NEW = 2,
    EDITOR_CMD_DEL = 3,
    EDITOR_CMD_LOAD = 4,
    EDITOR_CMD_SAVE = 5,
    EDITOR_CMD_CENTER = 6,
    EDITOR_CMD_NEW_GROUP = 7,
    EDITOR_CMD_DEL_GROUP = 8,
    EDITOR_CMD_MOVE = 9,
    EDITOR_CMD_SIZE = 10,
    EDITOR_CMD_MOVE_GROUP = 11,
    EDITOR_CMD_ROTATE_GROUP = 12,
    EDITOR_CMD_RESET_MOVE = 13,
    EDITOR_CMD_RESET_SIZE = 14,
    EDITOR_CMD_RESET_MOVE_GROUP = 15,
    EDITOR_CMD_RESET_ROTATE_GROUP = 16,
    EDITOR_CMD_ACTION = 17,
    EDITOR_CMD_RESET_CAMERA = 18,
    EDITOR_CMD_MOVE_ALL = 19,
    EDITOR_CMD_ROTATE_ALL = 20,
    EDITOR_CMD_GLUE_MAX = 21,
    EDITOR_CMD_BONUS_MIN = 22,
};

// Registers every command and variable name (aliases included) with its id.
void RegisterEditorConsoleNames(YConsole& console);

// Runs the editor's statements against the level, the scene and the host. The level file names
// are relative to "levels\".
class EditorConsoleHandler {
public:
    EditorConsoleHandler(YConsole& console, EditorLevel& level, EditorScene& scene, EditorHost& host);

    void RunCommand(int id);
    // Through the table of variables (editor_console_vars.h).
    void SetVariable(int id);

    // The level file operations behind "save" and "load": "levels\" + name.
    bool SaveLevel(const std::string& name);
    bool LoadLevelEditor(const std::string& name);

private:
    void Transform(int kind);

    YConsole& console_;
    EditorLevel& level_;
    EditorScene& scene_;
    EditorHost& host_;
};
