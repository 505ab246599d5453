#include "editor/editor_console.h"

#include <algorithm>
#include <cmath>

#include "core/console.h"
#include "core/init.h"
#include "core/log.h"
#include "core/number_text.h"
#include "editor/editor_level.h"
#include "editor/editor_level_file.h"
#include "editor/editor_scene.h"

namespace {

// The longest name a level file stores.
constexpr std::size_t NAME_MAX_BYTES = 99;

// Below the range gives the lower bound, above it the upper; a value that is not a number the
// lower bound.
float ClampValue(float v, float lo, float hi) {
    if (!(v >= lo)) return lo;
    return v > hi ? hi : v;
}

const std::string kLevelFolder = "levels\\";

} // namespace

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

    c.RegisterVariable("fps", EDITOR_VAR_FPS);
    c.RegisterVariable("fullscreen", EDITOR_VAR_FULLSCREEN);
    c.RegisterVariable("video_mode", EDITOR_VAR_VIDEO_MODE);
    c.RegisterVariable("shadows", EDITOR_VAR_SHADOWS);
    c.RegisterVariable("table", EDITOR_VAR_TABLE);
    c.RegisterVariable("cell", EDITOR_VAR_CELL);
    c.RegisterVariable("mode", EDITOR_VAR_MODE);
    c.RegisterVariable("material", EDITOR_VAR_MATERIAL);
    c.RegisterVariable("mat", EDITOR_VAR_MATERIAL);
    c.RegisterVariable("m", EDITOR_VAR_MATERIAL);
    c.RegisterVariable("glue", EDITOR_VAR_GLUE);
    c.RegisterVariable("g", EDITOR_VAR_GLUE);
    c.RegisterVariable("bonus", EDITOR_VAR_BONUS);
    c.RegisterVariable("b", EDITOR_VAR_BONUS);
    c.RegisterVariable("bonuscount", EDITOR_VAR_BONUS_COUNT);
    c.RegisterVariable("bc", EDITOR_VAR_BONUS_COUNT);
    c.RegisterVariable("table_mat", EDITOR_VAR_TABLE_MAT);
    c.RegisterVariable("tm", EDITOR_VAR_TABLE_MAT);
    c.RegisterVariable("env", EDITOR_VAR_ENV);
    c.RegisterVariable("group", EDITOR_VAR_GROUP);
    c.RegisterVariable("show_all", EDITOR_VAR_SHOW_ALL);
    c.RegisterVariable("load", EDITOR_VAR_LOAD);
    c.RegisterVariable("save", EDITOR_VAR_SAVE);
}

EditorConsoleHandler::EditorConsoleHandler(YConsole& console, EditorLevel& level, EditorScene& scene, EditorHost& host)
    : console_(console), level_(level), scene_(scene), host_(host) {}

bool EditorConsoleHandler::SaveLevel(const std::string& name) {
    std::string error;
    if (SaveEditorLevel(level_, scene_, kLevelFolder + name, error)) return true;
    LogPrintf(g_Log, "Save level error, %s, file: %s%s", error.c_str(), kLevelFolder.c_str(), name.c_str());
    return false;
}

bool EditorConsoleHandler::LoadLevelEditor(const std::string& name) {
    std::string error;
    if (LoadEditorLevel(level_, scene_, kLevelFolder + name, error)) return true;
    LogPrintf(g_Log, "Load level error, %s, file: %s%s", error.c_str(), kLevelFolder.c_str(), name.c_str());
    return false;
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
    const std::string name = console_.GetNameText();
    const std::string value = console_.GetValueText();
    Init& init = GetInit();
    std::string answer;
    switch (id) {
        case EDITOR_VAR_FPS:
            init.fps = console_.GetBool();
            answer = BoolToString(init.fps);
            break;
        case EDITOR_VAR_FULLSCREEN: {
            const bool v = console_.GetBool();
            if (v != host_.IsFullScreenWindow()) {
                init.fullscreen = v;
                host_.RecreateWindow();
            }
            answer = BoolToString(v);
            break;
        }
        case EDITOR_VAR_VIDEO_MODE:
            host_.ApplyVideoModeText(value);
            host_.RecreateWindow();
            answer = init.videoMode;
            break;
        case EDITOR_VAR_SHADOWS:
            init.shadows = console_.GetBool();
            answer = BoolToString(init.shadows);
            break;
        case EDITOR_VAR_TABLE: {
            const std::size_t x = value.find('x');
            if (x != std::string::npos) {
                const float w = ClampValue(TextToFloat(value.substr(0, x)), EDITOR_TABLE_MIN, EDITOR_TABLE_MAX);
                const float d = ClampValue(TextToFloat(value.substr(x + 1)), EDITOR_TABLE_MIN, EDITOR_TABLE_MAX);
                scene_.BuildTable(w, d, level_.tableMaterial);
            }
            answer = FloatToText(scene_.TableWidth()) + "x" + FloatToText(scene_.TableDepth());
            break;
        }
        case EDITOR_VAR_CELL: {
            const std::size_t x1 = value.find('x');
            const std::size_t x2 = x1 == std::string::npos ? x1 : value.find('x', x1 + 1);
            if (x2 != std::string::npos) {
                YVector s(ClampValue(TextToFloat(value.substr(0, x1)), EDITOR_CELL_MIN, EDITOR_CELL_MAX),
                          ClampValue(TextToFloat(value.substr(x1 + 1, x2 - x1 - 1)), EDITOR_CELL_MIN, EDITOR_CELL_MAX),
                          ClampValue(TextToFloat(value.substr(x2 + 1)), EDITOR_CELL_MIN, EDITOR_CELL_MAX));
                scene_.SetLevelScale(s);
            }
            // Block types carry the scale in their geometry: drop them and build again.
            scene_.DeleteAllBlocks();
            scene_.ClearBlockTypeCaches();
            level_.RebuildScene();
            const YVector s = scene_.LevelScale();
            answer = FloatToText(s.x) + "x" + FloatToText(s.y) + "x" + FloatToText(s.z);
            break;
        }
        case EDITOR_VAR_MODE:
            for (int m = 0; m < EDIT_MODE_COUNT; ++m)
                if (value == EditorModeName(m) || value == IntToString(m)) {
                    level_.editMode = m;
                    break;
                }
            answer = EditorModeName(level_.editMode);
            break;
        case EDITOR_VAR_MATERIAL:
            if (scene_.HasMaterial(value)) level_.curMaterial = value;
            answer = level_.curMaterial;
            break;
        case EDITOR_VAR_GLUE: {
            const float g = console_.GetFloat();
            level_.curGlue = g >= EDITOR_GLUE_MIN && std::isfinite(g) ? g : EDITOR_GLUE_MIN;
            answer = FloatToText(level_.curGlue);
            break;
        }
        case EDITOR_VAR_BONUS:
            level_.curBonus = std::clamp(console_.GetInt(), -1, BonusRegistrySize() - 1);
            answer = IntToString(level_.curBonus);
            break;
        case EDITOR_VAR_BONUS_COUNT:
            if (level_.curBonus < 0) {
                answer = "clear mode";
            } else {
                answer = IntToString(level_.SetBonusCount(console_.GetInt()));
            }
            break;
        case EDITOR_VAR_TABLE_MAT:
            // A name the level file cannot hold is refused.
            if (value.size() > NAME_MAX_BYTES) {
                answer = " fail.";
                break;
            }
            level_.tableMaterial = value;
            scene_.BuildTable(scene_.TableWidth(), scene_.TableDepth(), level_.tableMaterial);
            break;
        case EDITOR_VAR_ENV: scene_.SetEnvironment(value); break;
        case EDITOR_VAR_GROUP: {
            const int n = console_.GetInt();
            answer = level_.SelectGroup(n) ? IntToString(n) : " fail.";
            break;
        }
        case EDITOR_VAR_SHOW_ALL: {
            const bool v = console_.GetBool();
            level_.SetShowAll(v);
            answer = BoolToString(v);
            break;
        }
        case EDITOR_VAR_LOAD:
            level_.levelName = value;
            answer = LoadLevelEditor(level_.levelName) ? " ok." : " fail.";
            break;
        case EDITOR_VAR_SAVE:
            level_.levelName = value;
            answer = SaveLevel(level_.levelName) ? " ok." : " fail.";
            break;
        default: return;
    }
    console_.Print(name + answer);
}
