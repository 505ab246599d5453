#include "editor/editor_console_vars.h"

#include <cmath>
#include <limits>

#include "core/console.h"
#include "core/init.h"
#include "core/number_text.h"
#include "editor/editor_host.h"
#include "editor/editor_level.h"
#include "editor/editor_level_file.h"
#include "editor/editor_scene.h"
#include "world/bonus/bonus_registry.h"

namespace {

// No end to the range.
constexpr double NONE = std::numeric_limits<double>::infinity();

double Hold(double v, double lo, double hi) {
    if (!(v >= lo)) return lo; // below the range, or not a number
    if (v > hi) return hi;
    if (std::isinf(v)) return lo; // infinite where the range has no upper end
    return v;
}

std::string SizeText(const float* parts, int count) {
    std::string text = FloatToText(parts[0]);
    for (int i = 1; i < count; ++i) text += "x" + FloatToText(parts[i]);
    return text;
}

// `count` floats split at the first count - 1 'x's (the last one takes the rest), each held to
// the variable's range; without enough 'x's the value stays incomplete.
void ReadParts(const std::string& text, int count, const EditorConsoleVariable& variable, EditorVarValue& value) {
    std::size_t end[3] = {text.size(), text.size(), text.size()};
    for (int i = 0; i + 1 < count; ++i) {
        end[i] = text.find('x', i == 0 ? 0 : end[i - 1] + 1);
        if (end[i] == std::string::npos) return;
    }
    std::size_t start = 0;
    for (int i = 0; i < count; ++i) {
        const float f = TextToFloat(std::string_view(text).substr(start, end[i] - start));
        value.parts[i] = static_cast<float>(Hold(f, variable.min, variable.max));
        start = end[i] + 1;
    }
    value.complete = true;
}

std::string SetFps(EditorVarContext&, const EditorVarValue& v) {
    GetInit().fps = v.flag;
    return BoolToString(v.flag);
}

std::string SetFullscreen(EditorVarContext& c, const EditorVarValue& v) {
    if (v.flag != c.host.IsFullScreenWindow()) {
        GetInit().fullscreen = v.flag;
        c.host.RecreateWindow();
    }
    return BoolToString(v.flag);
}

std::string SetVideoMode(EditorVarContext& c, const EditorVarValue& v) {
    c.host.ApplyVideoModeText(*v.text);
    c.host.RecreateWindow();
    return GetInit().videoMode;
}

std::string SetShadows(EditorVarContext&, const EditorVarValue& v) {
    GetInit().shadows = v.flag;
    return BoolToString(v.flag);
}

std::string SetTable(EditorVarContext& c, const EditorVarValue& v) {
    if (v.complete) c.scene.BuildTable(v.parts[0], v.parts[1], c.level.tableMaterial);
    const float size[2] = {c.scene.TableWidth(), c.scene.TableDepth()};
    return SizeText(size, 2);
}

std::string SetCell(EditorVarContext& c, const EditorVarValue& v) {
    if (v.complete) c.scene.SetLevelScale(YVector(v.parts[0], v.parts[1], v.parts[2]));
    // Block types carry the scale in their geometry: drop them and build again, also without a
    // change.
    c.scene.DeleteAllBlocks();
    c.scene.ClearBlockTypeCaches();
    c.level.RebuildScene();
    const YVector s = c.scene.LevelScale();
    const float scale[3] = {s.x, s.y, s.z};
    return SizeText(scale, 3);
}

std::string SetMode(EditorVarContext& c, const EditorVarValue& v) {
    for (int m = 0; m < EDIT_MODE_COUNT; ++m)
        if (*v.text == EditorModeName(m) || *v.text == IntToString(m)) {
            c.level.editMode = m;
            break;
        }
    return EditorModeName(c.level.editMode);
}

std::string SetMaterial(EditorVarContext& c, const EditorVarValue& v) {
    if (c.scene.HasMaterial(*v.text)) c.level.curMaterial = *v.text;
    return c.level.curMaterial;
}

std::string SetGlue(EditorVarContext& c, const EditorVarValue& v) {
    c.level.curGlue = v.parts[0];
    return FloatToText(c.level.curGlue);
}

std::string SetBonus(EditorVarContext& c, const EditorVarValue& v) {
    c.level.curBonus = v.number;
    return IntToString(c.level.curBonus);
}

std::string SetBonusCount(EditorVarContext& c, const EditorVarValue& v) {
    if (c.level.curBonus < 0) return "clear mode";
    return IntToString(c.level.SetBonusCount(v.number));
}

std::string SetTableMaterial(EditorVarContext& c, const EditorVarValue& v) {
    c.level.tableMaterial = *v.text;
    c.scene.BuildTable(c.scene.TableWidth(), c.scene.TableDepth(), c.level.tableMaterial);
    return "";
}

std::string SetEnvironment(EditorVarContext& c, const EditorVarValue& v) {
    c.scene.SetEnvironment(*v.text);
    return "";
}

std::string SetGroup(EditorVarContext& c, const EditorVarValue& v) {
    return c.level.SelectGroup(v.number) ? IntToString(v.number) : " fail.";
}

std::string SetShowAll(EditorVarContext& c, const EditorVarValue& v) {
    c.level.SetShowAll(v.flag);
    return BoolToString(v.flag);
}

std::string SetLoad(EditorVarContext& c, const EditorVarValue& v) {
    c.level.levelName = *v.text;
    return LoadEditorLevelNamed(c.level, c.scene, c.level.levelName) ? " ok." : " fail.";
}

std::string SetSave(EditorVarContext& c, const EditorVarValue& v) {
    c.level.levelName = *v.text;
    return SaveEditorLevelNamed(c.level, c.scene, c.level.levelName) ? " ok." : " fail.";
}

using T = EditorVarType;

const EditorConsoleVariable* Table() {
    // Built at first use: the bonus range follows the bonus registry.
    const double lastBonus = BonusRegistrySize() - 1;
    // clang-format off
    static const EditorConsoleVariable table[] = {
        // id                    names                     type      min               max                    help                                          accessor
        {EDITOR_VAR_FPS,         {"fps"},                  T::BOOL,  0,                0,                     "show frames per second",                     SetFps},
        {EDITOR_VAR_FULLSCREEN,  {"fullscreen"},           T::BOOL,  0,                0,                     "full screen (the window is made again)",     SetFullscreen},
        {EDITOR_VAR_VIDEO_MODE,  {"video_mode"},           T::TEXT,  0,                NONE,                  "video mode, as 800x600:32",                  SetVideoMode},
        {EDITOR_VAR_SHADOWS,     {"shadows"},              T::BOOL,  0,                0,                     "shadows",                                    SetShadows},
        {EDITOR_VAR_TABLE,       {"table"},                T::SIZE2, EDITOR_TABLE_MIN, EDITOR_TABLE_MAX,      "table width x depth",                        SetTable},
        {EDITOR_VAR_CELL,        {"cell"},                 T::SIZE3, EDITOR_CELL_MIN,  EDITOR_CELL_MAX,       "level scale x x y x z",                      SetCell},
        {EDITOR_VAR_MODE,        {"mode"},                 T::TEXT,  0,                NONE,                  "edit mode: new del bonus mat glue, or 0..4", SetMode},
        {EDITOR_VAR_MATERIAL,    {"material", "mat", "m"}, T::TEXT,  0,                NONE,                  "block material",                             SetMaterial},
        {EDITOR_VAR_GLUE,        {"glue", "g"},            T::FLOAT, EDITOR_GLUE_MIN,  NONE,                  "glue of new blocks",                         SetGlue},
        {EDITOR_VAR_BONUS,       {"bonus", "b"},           T::INT,   -1,               lastBonus,             "bonus kind, -1 clears",                      SetBonus},
        {EDITOR_VAR_BONUS_COUNT, {"bonuscount", "bc"},     T::INT,   -NONE,            NONE,                  "count of the bonus kind",                    SetBonusCount},
        {EDITOR_VAR_TABLE_MAT,   {"table_mat", "tm"},      T::TEXT,  0,                EDITOR_NAME_MAX_BYTES, "table material",                             SetTableMaterial},
        {EDITOR_VAR_ENV,         {"env"},                  T::TEXT,  0,                NONE,                  "environment",                                SetEnvironment},
        {EDITOR_VAR_GROUP,       {"group"},                T::INT,   -NONE,            NONE,                  "current group, from 1",                      SetGroup},
        {EDITOR_VAR_SHOW_ALL,    {"show_all"},             T::BOOL,  0,                0,                     "every group or the current one",             SetShowAll},
        {EDITOR_VAR_LOAD,        {"load"},                 T::TEXT,  0,                NONE,                  "load a level, keep its name",                SetLoad},
        {EDITOR_VAR_SAVE,        {"save"},                 T::TEXT,  0,                NONE,                  "save the level under a name",                SetSave},
    };
    // clang-format on
    static_assert(std::size(table) == EDITOR_VAR_COUNT);
    return table;
}

} // namespace

std::span<const EditorConsoleVariable> EditorConsoleVariables() { return {Table(), EDITOR_VAR_COUNT}; }

void RegisterEditorConsoleVariables(YConsole& console) {
    for (const EditorConsoleVariable& v : EditorConsoleVariables())
        for (const char* name : v.names)
            if (name) console.RegisterVariable(name, v.id);
}

EditorVarValue ReadEditorVarValue(YConsole& console, const EditorConsoleVariable& variable) {
    EditorVarValue value;
    const std::string& text = console.GetValueText();
    value.text = &text;
    switch (variable.type) {
        case T::BOOL: value.flag = console.GetBool(); break;
        case T::INT: value.number = static_cast<int>(Hold(console.GetInt(), variable.min, variable.max)); break;
        case T::FLOAT: ReadParts(text, 1, variable, value); break;
        case T::SIZE2: ReadParts(text, 2, variable, value); break;
        case T::SIZE3: ReadParts(text, 3, variable, value); break;
        case T::TEXT: break;
    }
    return value;
}

void SetEditorConsoleVariable(EditorVarContext& context, int id) {
    if (id < 0 || id >= EDITOR_VAR_COUNT) return;
    const EditorConsoleVariable& variable = EditorConsoleVariables()[static_cast<std::size_t>(id)];
    const std::string name = context.console.GetNameText();
    const EditorVarValue value = ReadEditorVarValue(context.console, variable);
    // A text longer than the variable can hold is refused.
    if (variable.type == T::TEXT && static_cast<double>(value.text->size()) > variable.max) {
        context.console.Print(name + " fail.");
        return;
    }
    context.console.Print(name + variable.set(context, value));
}
