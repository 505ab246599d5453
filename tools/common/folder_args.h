#pragma once
// The command line of the generators that write one folder of files:
//   <tool> [-v] <output folder>
// -v lists every file written; otherwise only failures and a summary print. (Header only: a folder
// of tools/ with sources of its own would be built as a program.)
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/sys/files.h"

namespace tools {

struct FolderArgs {
    bool verbose = false;
    std::string folder;
};

// Reads the command line into `out` and makes the output folder. Returns 0 on success; 2 after
// printing the usage for a bad command line; 1 after saying so when the folder cannot be made.
inline int ParseFolderArgs(int argc, char** argv, const char* tool, FolderArgs& out) {
    out.verbose = argc == 3 && std::strcmp(argv[1], "-v") == 0;
    if (argc != 2 && !out.verbose) {
        std::fprintf(stderr, "usage: %s [-v] <output folder>\n", tool);
        return 2;
    }
    out.folder = argv[argc - 1];
    if (!plat::MakeDirectory(out.folder)) {
        std::fprintf(stderr, "%s: cannot create %s\n", tool, out.folder.c_str());
        return 1;
    }
    return 0;
}

} // namespace tools
