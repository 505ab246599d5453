// editorscript: makes levels the way the level editor does, by running its console statements.
//   editorscript <script folder> <blocks file> <game folder>
// Every "<name>.con" of the script folder is run line by line through the editor's console (lines
// starting with '#' and empty lines are skipped) over a level with the block materials of the
// blocks file, in the game folder, so that its "save=<name>.lev" lands in "<game folder>/levels".
// Exits non-zero when a statement is unknown, answers " fail.", or a script saves nothing.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/log.h"
#include "editor/editor_data_scene.h"
#include "editor/editor_headless.h"
#include "editor/editor_level.h"
#include "platform/sys/files.h"
#include "world/blocks/block_material.h"

namespace {

bool EndsWith(const std::string& s, const std::string& end) {
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

// Runs one script; false (with the reason on stderr) when a statement fails.
bool RunScript(const std::filesystem::path& file) {
    EditorDataScene scene;
    EditorLevel level;
    level.scene = &scene;
    level.curMaterial = scene.FirstMaterial();
    EditorWindowlessHost host;
    EditorHeadlessConsole editor(level, scene, host);
    SetLogConsole(nullptr);

    std::ifstream in(file);
    std::string line;
    int number = 0;
    bool saved = false;
    while (std::getline(in, line)) {
        ++number;
        if (line.empty() || line[0] == '#') continue;
        for (const std::string& answer : editor.Run(line)) {
            if (EndsWith(answer, " fail.") || answer.rfind("? '", 0) == 0 || answer.rfind("Error", 0) == 0) {
                std::fprintf(stderr, "editorscript: %s:%d: %s -> %s\n", file.string().c_str(), number, line.c_str(),
                             answer.c_str());
                return false;
            }
            if (answer.rfind("save", 0) == 0 && EndsWith(answer, " ok.")) saved = true;
        }
    }
    if (!saved) std::fprintf(stderr, "editorscript: %s saves no level\n", file.string().c_str());
    return saved;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: editorscript <script folder> <blocks file> <game folder>\n");
        return 2;
    }
    const std::filesystem::path scripts = std::filesystem::absolute(argv[1]);
    const std::string blocks = std::filesystem::absolute(argv[2]).string();
    LogReopen("");
    LoadBlockMaterials(blocks.c_str());
    if (BlockMaterials().empty()) {
        std::fprintf(stderr, "editorscript: no block material in %s\n", blocks.c_str());
        return 1;
    }
    std::error_code ec;
    std::filesystem::current_path(argv[3], ec);
    if (ec || !plat::MakeDirectory("levels")) {
        std::fprintf(stderr, "editorscript: cannot use %s/levels\n", argv[3]);
        ResetBlockMaterials();
        return 1;
    }
    int made = 0, failed = 0;
    for (const auto& entry : std::filesystem::directory_iterator(scripts, ec)) {
        if (entry.path().extension() != ".con") continue;
        if (RunScript(entry.path()))
            ++made;
        else
            ++failed;
    }
    std::printf("editorscript: %d levels made\n", made);
    ResetBlockMaterials();
    return failed || ec ? 1 : 0;
}
