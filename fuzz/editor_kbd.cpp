// Feeds arbitrary bytes through the editor's keyboard-macro reader, then resolves and matches keys
// the way a key press does. Every macro must come from a closed macro tag, so there are never more
// macros than closing tags in the input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/log.h"
#include "editor/editor_kbd.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static bool quiet = [] {
        LogReopen("");
        return true;
    }();
    (void)quiet;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    EditorKeyboard kb;
    {
        YEditorKbdLoader loader(kb, "fuzz.yml");
        XMLParser& parser = loader;
        parser.Parse(input);
    }
    std::size_t closings = 0;
    for (std::size_t at = input.find("macro"); at != std::string_view::npos; at = input.find("macro", at + 1))
        ++closings;
    if (kb.macros.size() > closings) std::abort();
    for (const EditorMacro& m : kb.macros) {
        const auto hits = kb.MatchingMacros(m.key, m.control, m.alt, m.shift);
        if (hits.empty()) std::abort();
    }
    for (const EditorKeyName& k : kb.keyNames) (void)kb.ResolveKey(k.name);
    return 0;
}
