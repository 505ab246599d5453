#pragma once
// The recorded camera flight over the table ("data\path.cpt"): samples of eye, target and field of
// view. The text file is parsed only while no binary copy (same name ending in "cpb") exists; the
// copy is then written and the samples are always taken from it, so later starts skip the parse.
//
// The samples are kept for the whole run. Nothing replays them yet.
#include <cstdint>
#include <string>
#include <vector>

struct YCameraSample {
    float eye[3];
    float target[3];
    float fov; // degrees
};
static_assert(sizeof(YCameraSample) == 28);

// The loaded path.
std::vector<YCameraSample>& CameraPath();

// The binary copy's name: `path` less its last three characters, plus "cpb".
std::string CameraPathCacheName(const std::string& path);

// Fills CameraPath() from `path` as described above. A missing, short or malformed text file while
// no copy exists leaves the path empty and writes no copy; a copy that is shorter than its count
// says, or whose count is beyond any sane path, is refused whole (empty path). Each case is logged.
// Returns whether samples were loaded.
bool LoadCameraPath(const std::string& path);
