// pathgen: writes the camera flight over the table behind the menus, "data\path.cpt", into the
// game folder: one lap round the table at a gently rising and falling height, looking at the
// table's middle.
//   pathgen [-v] <game folder>
// The game keeps a binary copy ("data\path.cpb") that it trusts over the text, so a stale copy is
// removed whenever the text is written.
#include <cmath>
#include <cstdio>
#include <string>

#include "platform/sys/files.h"
#include "tools/common/folder_args.h"

namespace {

constexpr int SAMPLES = 120;
constexpr double RADIUS = 32.0;
constexpr double HEIGHT = 18.0;
constexpr double HEIGHT_SWING = 3.0;
constexpr double FOV = 45.0;
constexpr double PI = 3.14159265358979323846;

std::string PathText() {
    std::string text = "CAMPATH " + std::to_string(SAMPLES) + "\n";
    char line[160];
    for (int i = 0; i < SAMPLES; ++i) {
        // Starts behind the racket's side of the table (-y) and turns anticlockwise seen from above.
        const double a = 2.0 * PI * i / SAMPLES;
        const double x = RADIUS * std::sin(a);
        const double y = -RADIUS * std::cos(a);
        const double z = HEIGHT + HEIGHT_SWING * std::sin(2.0 * a);
        std::snprintf(line, sizeof line, "%.3f %.3f %.3f  0 0 0  %.1f\n", x, y, z, FOV);
        text += line;
    }
    return text;
}

} // namespace

int main(int argc, char** argv) {
    tools::FolderArgs args;
    if (int rc = tools::ParseFolderArgs(argc, argv, "pathgen", args)) return rc;
    const std::string data = args.folder + "/data";
    if (!plat::MakeDirectory(data)) {
        std::fprintf(stderr, "pathgen: cannot create %s\n", data.c_str());
        return 1;
    }
    const std::string path = data + "/path.cpt";
    if (!plat::WriteFileAtomic(path, PathText())) {
        std::fprintf(stderr, "pathgen: cannot write %s\n", path.c_str());
        return 1;
    }
    const std::string cache = data + "/path.cpb";
    if (plat::FileSize(cache) >= 0 && !plat::RemoveFile(cache)) {
        std::fprintf(stderr, "pathgen: cannot remove the stale %s\n", cache.c_str());
        return 1;
    }
    if (args.verbose) std::printf("%s\n", path.c_str());
    return 0;
}
