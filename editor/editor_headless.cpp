#include "editor/editor_headless.h"

EditorHeadlessConsole::EditorHeadlessConsole(EditorLevel& level, EditorScene& scene, EditorHost& host)
    : console_(this), handler_(console_, level, scene, host) {
    RegisterEditorConsoleNames(console_);
}

EditorHeadlessConsole::~EditorHeadlessConsole() = default;

std::vector<std::string> EditorHeadlessConsole::Run(const std::string& line) {
    const std::size_t before = console_.GetLineCount();
    console_.Execute(line);
    std::vector<std::string> out;
    for (std::size_t i = before; i < console_.GetLineCount(); ++i) out.push_back(console_.GetLine(i));
    return out;
}
