#pragma once
// Small text models and a log catcher shared by the mesh tests.
#include <sstream>
#include <string>
#include <vector>

#include "core/log.h"
#include "support/temp_dir.h"

namespace meshtest {

// Positions of a cube of side 2 centred on the origin: bit 0 of the index is x, bit 1 y, bit 2 z.
inline const char* CUBE_POSITIONS =
    "vertices 8\n"
    "-1 -1 -1\n 1 -1 -1\n -1 1 -1\n 1 1 -1\n -1 -1 1\n 1 -1 1\n -1 1 1\n 1 1 1\n";

// The six sides as quads, counter-clockwise seen from outside (so the face normals point out).
inline const int CUBE_QUADS[6][4] = {
    {0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4}, {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5},
};

// A closed cube of 12 triangles. Texture coordinate i belongs to position i (so corners that
// share a position share their uv); every face gets smoothing mask `mask` and material `material`.
inline std::string CubeText(unsigned mask, int material = 0) {
    std::ostringstream s;
    s << "mesh cube\n" << CUBE_POSITIONS << "tvertices 8\n";
    for (int i = 0; i < 8; ++i) s << (i & 1) << ' ' << ((i >> 1) & 1) * 0.5 << '\n';
    s << "faces 12\n";
    for (const auto& q : CUBE_QUADS) {
        const int tri[2][3] = {{q[0], q[1], q[2]}, {q[0], q[2], q[3]}};
        for (const auto& t : tri)
            s << t[0] << ' ' << t[1] << ' ' << t[2] << ' ' << t[0] << ' ' << t[1] << ' ' << t[2] << ' ' << material
              << ' ' << mask << '\n';
    }
    return s.str();
}

// A fan of `n` triangles around position 0 (which n face corners then share), in the plane z = 0.
inline std::string FanText(int n) {
    std::ostringstream s;
    s << "mesh fan\nvertices " << n + 2 << "\n0 0 0\n";
    for (int i = 0; i <= n; ++i) s << i + 1 << ' ' << (i % 2 ? 1 : 0) + i << " 0\n";
    s << "tvertices 1\n0 0\nfaces " << n << '\n';
    for (int i = 0; i < n; ++i) s << "0 " << i + 1 << ' ' << i + 2 << " 0 0 0 0 1\n";
    return s.str();
}

// Sends the log to a scratch file for the object's life.
class LogCatcher {
public:
    LogCatcher() { LogReopen(dir_.File("log.txt")); }
    ~LogCatcher() { LogReopen(""); }
    LogCatcher(const LogCatcher&) = delete;
    LogCatcher& operator=(const LogCatcher&) = delete;

    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        std::istringstream in(dir_.Read("log.txt"));
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    // Forgets what was logged so far.
    void Clear() const { LogReopen(dir_.File("log.txt")); }

private:
    testsupport::TempDir dir_;
};

} // namespace meshtest
