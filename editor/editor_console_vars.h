#pragma once
// The editor's console variables, kept the way an engine keeps its cvars: one table gives every
// variable its names, the type its value is read as, the range the value is held to, a line of
// help and the accessor that applies the value and says the result. Registering the names and
// setting a variable both go through the table; nothing else knows a variable by its id.
#include <cstddef>
#include <span>
#include <string>

class YConsole;
class EditorLevel;
class EditorScene;
class EditorHost;

enum EditorConsoleVariableId {
    EDITOR_VAR_FPS = 0,
    EDITOR_VAR_FULLSCREEN = 1,
    EDITOR_VAR_VIDEO_MODE = 2,
    EDITOR_VAR_SHADOWS = 3,
    EDITOR_VAR_TABLE = 4,
    EDITOR_VAR_CELL = 5,
    EDITOR_VAR_MODE = 6,
    EDITOR_VAR_MATERIAL = 7,
    EDITOR_VAR_GLUE = 8,
    EDITOR_VAR_BONUS = 9,
    EDITOR_VAR_BONUS_COUNT = 10,
    EDITOR_VAR_TABLE_MAT = 11,
    EDITOR_VAR_ENV = 12,
    EDITOR_VAR_GROUP = 13,
    EDITOR_VAR_SHOW_ALL = 14,
    EDITOR_VAR_LOAD = 15,
    EDITOR_VAR_SAVE = 16,
    EDITOR_VAR_COUNT = 17,
};

// Limits of the console's values.
constexpr float EDITOR_TABLE_MIN = 10.0f;
constexpr float EDITOR_TABLE_MAX = 100.0f;
constexpr float EDITOR_CELL_MIN = 0.25f;
constexpr float EDITOR_CELL_MAX = 10.0f;
constexpr float EDITOR_GLUE_MIN = 1.0f;
// The longest name a level file stores.
constexpr std::size_t EDITOR_NAME_MAX_BYTES = 99;

// How a variable's value text is read.
enum class EditorVarType {
    BOOL,  // "true"/"1" or "false"/"0"; anything else is answered "? '<text>'." and reads false
    INT,   // atoi, held to [min, max]
    FLOAT, // atof, held to [min, max]
    SIZE2, // "AxB": two floats, each held to [min, max]
    SIZE3, // "AxBxC": three floats, each held to [min, max]
    TEXT,  // the text as typed; one longer than max bytes is refused with " fail."
};

// A value as its variable's type read it, already held to the variable's range.
struct EditorVarValue {
    bool flag = false;
    int number = 0;
    float parts[3] = {0.0f, 0.0f, 0.0f}; // FLOAT: parts[0]; SIZE2 and SIZE3: the components
    bool complete = false;               // SIZE2 and SIZE3: the text had every separating 'x'
    const std::string* text = nullptr;   // the value text as typed, for every type
};

// What a variable's accessor works on.
struct EditorVarContext {
    YConsole& console;
    EditorLevel& level;
    EditorScene& scene;
    EditorHost& host;
};

struct EditorConsoleVariable {
    EditorConsoleVariableId id;
    const char* names[3]; // the name, then its aliases; unused places are null
    EditorVarType type;
    // INT, FLOAT, SIZE2, SIZE3: the range; TEXT: max is the longest text in bytes. Below the range
    // gives min, above it max; a value that is not a number, or an infinite one where the range
    // has no upper end, gives min.
    double min;
    double max;
    const char* help;
    // Applies the value; returns the answer's text after the statement's "name=".
    std::string (*set)(EditorVarContext& context, const EditorVarValue& value);
};

// Every variable, in id order.
std::span<const EditorConsoleVariable> EditorConsoleVariables();

// Registers every variable name (aliases included) with its id.
void RegisterEditorConsoleVariables(YConsole& console);

// Reads the console's current value text as the variable's type and range.
EditorVarValue ReadEditorVarValue(YConsole& console, const EditorConsoleVariable& variable);

// Runs the console's current variable statement for the id and prints the answer: the name text
// followed by the accessor's answer. An id outside the table does nothing.
void SetEditorConsoleVariable(EditorVarContext& context, int id);
