#include "editor/editor_console.h"

#include "core/console.h"
#include "editor/editor_console_vars.h"
#include "editor/editor_level.h"
#include "editor/editor_level_file.h"
#include "editor/editor_scene.h"

void RegisterEditorConsoleNames(YConsole& c) {
    c.RegisterCommand("exit", EDITOR_CMD_EXIT);
    c.RegisterCommand("clear", EDITOR_CMD_CLEAR);
    c.RegisterCommand("new", EDITOR_CMD_NEW);
    c.RegisterCommand("n", EDITOR_CMD_NEW);
    c.RegisterCommand("del", EDITOR_CMD_DEL);
    c.RegisterCommand("d", EDITOR_CMD_DEL);
    c.RegisterCommand("reload", EDITOR_CMD_LOAD);
    c.RegisterCommand("load", EDITOR_CMD_LOAD);
    c.RegisterCommand("save", EDITOR_CMD_SAVE);
    c.RegisterCommand("center", EDITOR_CMD_CENTER);
    c.RegisterCommand("new_group", EDITOR_CMD_NEW_GROUP);
    c.RegisterCommand("del_group", EDITOR_CMD_DEL_GROUP);
    c.RegisterCommand("move", EDITOR_CMD_MOVE);
    c.RegisterCommand("size", EDITOR_CMD_SIZE);
    c.RegisterCommand("moveGroup", EDITOR_CMD_MOVE_GROUP);
    c.RegisterCommand("rotateGroup", EDITOR_CMD_ROTATE_GROUP);
    c.RegisterCommand("resetMove", EDITOR_CMD_RESET_MOVE);
    c.RegisterCommand("resetSize", EDITOR_CMD_RESET_SIZE);
    c.RegisterCommand("resetMoveGroup", EDITOR_CMD_RESET_MOVE_GROUP);
    c.RegisterCommand("resetRotateGroup", EDITOR_CMD_RESET_ROTATE_GROUP);
    c.RegisterCommand("action", EDITOR_CMD_ACTION);
    c.RegisterCommand("resetCamera", EDITOR_CMD_RESET_CAMERA);
    c.RegisterCommand("moveAll", EDITOR_CMD_MOVE_ALL);
    c.RegisterCommand("rotateAll", EDITOR_CMD_ROTATE_ALL);
    c.RegisterCommand("glueMax", EDITOR_CMD_GLUE_MAX);
    c.RegisterCommand("bonusMin", EDITOR_CMD_BONUS_MIN);

    RegisterEditorConsoleVariables(c);
}

EditorConsoleHandler::EditorConsoleHandler(YConsole& console, EditorLevel& level, EditorScene& scene, EditorHost& host)
    : console_(console), level_(level), scene_(scene), host_(host) {}

bool EditorConsoleHandler::SaveLevel(const std::string& name) { return SaveEditorLevelNamed(level_, scene_, name); }

bool EditorConsoleHandler::LoadLevelEditor(const std::string& name) {
    return LoadEditorLevelNamed(level_, scene_, name);
}

void EditorConsoleHandler::Transform(int kind) {
    YVector v;
    // A vector that does not parse gives no direction, which changes nothing.
    if (!ParseVectorArg(console_.GetValueText().c_str(), &v)) return;
    EditorTransform(level_, host_.CameraAxes(), kind, &v);
}

void EditorConsoleHandler::RunCommand(int id) {
    const std::string name = console_.GetNameText();
    const std::string& arg = console_.GetValueText();
    std::string answer;
    switch (id) {
        case EDITOR_CMD_EXIT: {
            // Quitting saves the configuration: the answer says whether it was saved.
            const bool saved = host_.QuitEditor();
            console_.Print(name + (saved ? " ok." : " fail."));
            return;
        }
        case EDITOR_CMD_CLEAR:
            level_.ClearLevel();
            answer = name;
            break;
        case EDITOR_CMD_NEW:
            level_.editMode = EDIT_MODE_NEW;
            answer = name + " mode=" + EditorModeName(EDIT_MODE_NEW) + " ok.";
            break;
        case EDITOR_CMD_DEL:
            level_.editMode = EDIT_MODE_DEL;
            answer = name + " mode=" + EditorModeName(EDIT_MODE_DEL) + " ok.";
            break;
        case EDITOR_CMD_LOAD:
            answer = name + (LoadLevelEditor(arg.empty() ? level_.levelName : arg) ? " ok." : " fail.");
            break;
        case EDITOR_CMD_SAVE:
            answer = name + (SaveLevel(arg.empty() ? level_.levelName : arg) ? " ok." : " fail.");
            break;
        case EDITOR_CMD_CENTER:
            CenterLevel(level_);
            answer = name;
            break;
        case EDITOR_CMD_NEW_GROUP:
            level_.NewGroup();
            answer = name + " ok.";
            break;
        case EDITOR_CMD_DEL_GROUP: answer = name + (level_.DeleteGroup(console_.GetInt()) ? " ok." : " fail."); break;
        case EDITOR_CMD_MOVE: Transform(EDIT_MOVE); break;
        case EDITOR_CMD_SIZE: Transform(EDIT_SIZE); break;
        case EDITOR_CMD_MOVE_GROUP: Transform(EDIT_MOVE_GROUP); break;
        case EDITOR_CMD_ROTATE_GROUP: Transform(EDIT_ROTATE_GROUP); break;
        case EDITOR_CMD_MOVE_ALL: Transform(EDIT_MOVE_ALL); break;
        case EDITOR_CMD_ROTATE_ALL: Transform(EDIT_ROTATE_ALL); break;
        case EDITOR_CMD_RESET_MOVE:
            level_.cursor = {0, 0, 0};
            answer = name;
            break;
        case EDITOR_CMD_RESET_SIZE:
            level_.cursorSize = {1, 1, 1};
            answer = name;
            break;
        case EDITOR_CMD_RESET_MOVE_GROUP:
            level_.ResetGroupMove();
            answer = name;
            break;
        case EDITOR_CMD_RESET_ROTATE_GROUP:
            level_.ResetGroupRotation();
            answer = name;
            break;
        case EDITOR_CMD_ACTION: level_.DoAction(); break;
        case EDITOR_CMD_RESET_CAMERA:
            host_.ResetCamera();
            answer = name + " ok.";
            break;
        case EDITOR_CMD_GLUE_MAX:
            level_.ClampGlueToCurrent();
            answer = name;
            break;
        case EDITOR_CMD_BONUS_MIN:
            level_.ResetBonusCounts();
            answer = name;
            break;
        default: break;
    }
    if (!answer.empty()) console_.Print(answer);
}

void EditorConsoleHandler::SetVariable(int id) {
    EditorVarContext context{console_, level_, scene_, host_};
    SetEditorConsoleVariable(context, id);
}
