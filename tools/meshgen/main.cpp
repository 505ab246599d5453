// meshgen <game folder>: writes the game's models as text mesh files into <game folder>/mesh,
// naming each model it writes (models whose file already holds the same text are left alone).
//
// Each model is imported here as the game will import it, so a model that breaks the importer's
// limits fails the build instead of showing up empty. Before a model is written, its binary cache
// (the same name ending in "meb", or "mab" for the skinned hero) is removed: the game prefers an
// existing cache to the text file, so a cache left from an older model would hide the new one.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "core/log.h"
#include "platform/sys/files.h"
#include "render/mesh/mesh_data.h"
#include "render/mesh/mesh_import.h"
#include "render/mesh/skel_data.h"
#include "render/mesh/skel_import.h"
#include "tools/meshgen/models.h"

namespace {

// The importer's error lines go to stderr rather than to a log file in the build folder.
class StderrEcho : public YLogEcho {
public:
    void Print(const std::string& text) override { std::fprintf(stderr, "%s\n", text.c_str()); }
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: meshgen <game folder>\n");
        return 2;
    }
    static StderrEcho echo;
    LogReopen("");
    SetLogConsole(&echo);
    const std::string root = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(plat::NativePath(root + "\\mesh"), ec);
    int failures = 0;
    for (const meshgen::Model& model : meshgen::Models()) {
        const std::string text = model.text();
        YMeshTextReader reader(text);
        YMeshData check;
        YSkelData skeleton;
        const bool skinned = model.file.size() > 3 && model.file.substr(model.file.size() - 3) == "ams";
        if (ImportMeshText(reader, check) != YMeshImportResult::Ok || check.faces.empty() ||
            (skinned && ImportSkeletonText(reader, check.positionGroups.size(), skeleton) != YMeshImportResult::Ok)) {
            std::fprintf(stderr, "meshgen: %s does not import cleanly\n", model.file.c_str());
            ++failures;
            continue;
        }
        const std::string path = root + "\\" + model.file;
        std::string old;
        if (plat::ReadFile(path, old, text.size() + 1, false) == plat::ReadStatus::Ok && old == text) continue;
        // The old cache goes before the new text comes: were it left behind a new text (a failed
        // removal, or a run cut short in between), the next run would find the text current and
        // never remove it, and the game would go on showing the old model.
        const std::string cache = path.substr(0, path.size() - 3) + (skinned ? "mab" : "meb");
        if (plat::FileSize(cache) >= 0 && !plat::RemoveFile(cache)) {
            std::fprintf(stderr, "meshgen: could not remove the old cache %s\n", cache.c_str());
            ++failures;
            continue;
        }
        if (!plat::WriteFileAtomic(path, text)) {
            std::fprintf(stderr, "meshgen: could not write %s\n", path.c_str());
            ++failures;
            continue;
        }
        std::printf("%-22s %5zu faces %5zu vertices %2zu subsets", model.file.c_str(), check.faces.size(),
                    check.vertices.size(), check.subsets.size());
        if (skinned) std::printf(" %2zu bones %3zu poses", skeleton.bones.size(), skeleton.poses.size());
        std::printf("\n");
    }
    return failures ? 1 : 0;
}
