#include "core/data_folders.h"

#include "core/log.h"
#include "platform/sys/files.h"

const std::vector<std::string>& RequiredDataFolders() {
    // "data": materials, sounds, shaders, game modes; "ui": the language folders with every page.
    static const std::vector<std::string> folders = {"data", "ui"};
    return folders;
}

std::vector<std::string> MissingDataFolders(const std::string& root) {
    std::vector<std::string> missing;
    for (const std::string& folder : RequiredDataFolders()) {
        bool found = false;
        for (const plat::DirEntry& entry : plat::ListDirectory(root + "\\" + folder)) found = found || entry.isDir;
        if (!found) missing.push_back(folder);
    }
    return missing;
}

bool CheckDataFolders(const std::function<void(const char* text, const char* title)>& messageBox,
                      const std::string& root) {
    const std::vector<std::string> missing = MissingDataFolders(root);
    if (missing.empty()) return true;
    std::string names;
    for (const std::string& folder : missing) names += (names.empty() ? "" : ", ") + folder;
    LogPrintf(g_Log, "Game data missing: folder%s %s not found in the working folder; the program ends.",
              missing.size() > 1 ? "s" : "", names.c_str());
    if (messageBox) {
        const std::string text = "The game's data is missing: the folder" +
                                 std::string(missing.size() > 1 ? "s " : " ") + names +
                                 (missing.size() > 1 ? " were" : " was") +
                                 " not found.\nStart the game from its own folder, or install it again.";
        messageBox(text.c_str(), "Korvelin");
    }
    return false;
}
