#include "editor/editor_kbd.h"

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "core/log.h"

int EditorKeyboard::ResolveKey(const std::string& name) const {
    for (const EditorKeyName& k : keyNames) {
        if (k.name != name) continue;
        if (k.code != 0) return k.code;
        break; // the first entry of the name decides
    }
    return name.empty() ? 0 : static_cast<unsigned char>(name[0]);
}

std::vector<std::size_t> EditorKeyboard::MatchingMacros(int key, bool control, bool alt, bool shift) const {
    std::vector<std::size_t> out;
    for (std::size_t i = 0; i < macros.size(); ++i) {
        const EditorMacro& m = macros[i];
        if (m.key == key && m.control == control && m.alt == alt && m.shift == shift) out.push_back(i);
    }
    return out;
}

int ParseKeyCode(const std::string& text) {
    errno = 0;
    const long long v = std::strtoll(text.c_str(), nullptr, 16);
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return static_cast<int>(v);
}

YEditorKbdLoader::YEditorKbdLoader(EditorKeyboard& keyboard, const std::string& file)
    : keyboard_(keyboard), file_(file) {
    XMLTag tag;
    tagKey_ = AddTag(MakeTag(tag, "key", "name", "", "value", "", nullptr));
    tagMacro_ = AddTag(MakeTag(tag, "macro", "key", "", "control", "0", "alt", "0", "shift", "0", nullptr));
}

void YEditorKbdLoader::OnTag(int id) {
    if (id == tagKey_) {
        EditorKeyName key;
        key.name = tags[id].attributes[0].value;
        key.code = ParseKeyCode(tags[id].attributes[1].value);
        keyboard_.keyNames.push_back(std::move(key));
    } else if (id == tagMacro_) {
        if (inMacro_) OnError("Expected </macro>.");
        inMacro_ = true;
    }
}

void YEditorKbdLoader::OnCloseTag(int id) {
    if (id != tagMacro_) return;
    // A closing tag with no opening one would repeat the last macro's chord with stray text.
    if (!inMacro_) {
        OnError("Expected <macro>.");
        return;
    }
    inMacro_ = false;
    const std::vector<XMLAttribute>& a = tags[id].attributes;
    EditorMacro macro;
    macro.key = keyboard_.ResolveKey(a[0].value);
    macro.control = a[1].AsBool();
    macro.alt = a[2].AsBool();
    macro.shift = a[3].AsBool();
    macro.text = text;
    keyboard_.macros.push_back(std::move(macro));
}

bool YEditorKbdLoader::OnError(const char* message) {
    LogPrintf(g_Log, "Keyboard parser error, %s, file: %s, line: %d", message ? message : "", file_.c_str(), GetLine());
    return true;
}

void LoadKeyboardMacros(const char* file, EditorKeyboard& keyboard) {
    const std::string name = file ? file : "";
    LogPrintf(g_Log, "Parse keydoard macro from file, %s", name.c_str());
    YEditorKbdLoader loader(keyboard, name);
    loader.Load(name.c_str());
}
