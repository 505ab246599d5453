// levelgen: turns the level descriptions (tools/levelgen/levels/*.txt, see level_text.h) into the
// game's level files.
//   levelgen [-v] <description folder> <game folder>
// Writes "<game folder>/levels/<name>.lev" for every "<name>.txt". Exits non-zero when a
// description is bad or a file cannot be written.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "level_text.h"
#include "platform/sys/files.h"

int main(int argc, char** argv) {
    const bool verbose = argc == 4 && std::strcmp(argv[1], "-v") == 0;
    if (argc != 3 && !verbose) {
        std::fprintf(stderr, "usage: levelgen [-v] <description folder> <game folder>\n");
        return 2;
    }
    const std::filesystem::path source = argv[argc - 2];
    const std::string target = std::string(argv[argc - 1]) + "/levels";
    if (!plat::MakeDirectory(target)) {
        std::fprintf(stderr, "levelgen: cannot create %s\n", target.c_str());
        return 1;
    }
    int written = 0, failed = 0;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(source, ec)) {
        if (entry.path().extension() != ".txt") continue;
        std::ifstream in(entry.path());
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        YLevelData level;
        std::string error;
        const std::string out = target + "/" + entry.path().stem().string() + ".lev";
        if (!ParseLevelText(text, level, error)) {
            std::fprintf(stderr, "levelgen: %s: %s\n", entry.path().string().c_str(), error.c_str());
            ++failed;
        } else if (!WriteLevelFile(out.c_str(), level, error)) {
            std::fprintf(stderr, "levelgen: %s: %s\n", out.c_str(), error.c_str());
            ++failed;
        } else {
            ++written;
            if (verbose) std::printf("%s\n", out.c_str());
        }
    }
    if (ec) {
        std::fprintf(stderr, "levelgen: cannot list %s\n", source.string().c_str());
        return 1;
    }
    std::printf("levelgen: %d levels written\n", written);
    return failed ? 1 : 0;
}
