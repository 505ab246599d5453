#pragma once
// The editor's keyboard: key names and the macros that bind key chords to console lines, read from
// "data\editor_kbd.yml".
//
//   <key name="Left" value="25"/>                                   a name for a virtual-key code (hex)
//   <macro key="Left" control="0" alt="0" shift="1">size [-1,0,0]</macro>
//
// A macro's key is a name defined earlier in the file (the first entry of that name decides, and
// only when its code is not 0), else the code of the key attribute's first character, so "A" is
// 65 and "1" is 49. Every macro whose key and three modifier states match a key press runs, in file
// order.
#include <string>
#include <vector>

#include "core/xml_parser.h"

struct EditorKeyName {
    std::string name;
    int code = 0; // virtual-key code
};

struct EditorMacro {
    bool control = false;
    bool alt = false;
    bool shift = false;
    int key = 0;      // virtual-key code; 0 matches no key press
    std::string text; // one console line
};

// The editor's key names and macros, in file order.
struct EditorKeyboard {
    std::vector<EditorKeyName> keyNames;
    std::vector<EditorMacro> macros;

    // The code of the first key name equal to `name` when that code is not 0, else the first
    // character's code (0 for an empty name).
    int ResolveKey(const std::string& name) const;
    // Indices of the macros that a press of `key` with these modifier states runs, in file order.
    std::vector<std::size_t> MatchingMacros(int key, bool control, bool alt, bool shift) const;
};

class YEditorKbdLoader : public XMLParser {
public:
    // Appends what it reads to `keyboard`; `file` names the file in error lines.
    YEditorKbdLoader(EditorKeyboard& keyboard, const std::string& file);

protected:
    void OnTag(int id) override;
    void OnCloseTag(int id) override;
    bool OnError(const char* message) override;

private:
    EditorKeyboard& keyboard_;
    std::string file_;
    int tagKey_ = 0;
    int tagMacro_ = 0;
    bool inMacro_ = false;
};

// A key code written in hexadecimal as strtol reads it in base 16; an empty or invalid text gives 0,
// a value beyond the int range saturates.
int ParseKeyCode(const std::string& text);

// Logs "Parse keydoard macro from file, <file>" and appends the file's key names and macros to
// `keyboard`. A missing or unreadable file leaves it as it was.
void LoadKeyboardMacros(const char* file, EditorKeyboard& keyboard);
