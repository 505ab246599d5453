#include "shell/camera_path.h"

#include <cstring>
#include <locale>
#include <sstream>

#include "core/file_list.h"
#include "core/log.h"
#include "core/streams.h"
#include "platform/sys/files.h"

namespace {

// A path of a million samples is far beyond anything recorded by hand or by tool; larger counts
// are taken for damage rather than allocated.
constexpr std::size_t MAX_SAMPLES = 1000000;
constexpr std::size_t SAMPLE_BYTES = sizeof(YCameraSample);
constexpr std::size_t MAX_CACHE_BYTES = 4 + MAX_SAMPLES * SAMPLE_BYTES;
// Seven numbers of at most a few dozen characters each.
constexpr std::size_t MAX_TEXT_BYTES = MAX_SAMPLES * 7 * 32;

// Parses the text form into `out`; false (logged) when it cannot be read in full.
bool ParseText(const std::string& path, std::vector<YCameraSample>& out) {
    std::string text;
    switch (plat::ReadFile(path, text, MAX_TEXT_BYTES, true)) {
        case plat::ReadStatus::Ok: break;
        case plat::ReadStatus::Missing: LogPrintf(g_Log, "Camera path %s: no such file", path.c_str()); return false;
        case plat::ReadStatus::TooLarge: LogPrintf(g_Log, "Camera path %s: file too large", path.c_str()); return false;
        case plat::ReadStatus::Error: LogPrintf(g_Log, "Camera path %s: could not read", path.c_str()); return false;
    }
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    std::string header;
    long long count = -1;
    if (!(in >> header >> count) || count < 0 || static_cast<unsigned long long>(count) > MAX_SAMPLES) {
        LogPrintf(g_Log, "Camera path %s: no valid sample count", path.c_str());
        return false;
    }
    std::vector<YCameraSample> samples(static_cast<std::size_t>(count));
    for (YCameraSample& s : samples) {
        float* f[7] = {&s.eye[0], &s.eye[1], &s.eye[2], &s.target[0], &s.target[1], &s.target[2], &s.fov};
        for (float* v : f) {
            if (!(in >> *v)) {
                LogPrintf(g_Log, "Camera path %s: fewer numbers than %lld samples need", path.c_str(), count);
                return false;
            }
        }
    }
    out.swap(samples);
    return true;
}

bool WriteCache(const std::string& cache, const std::vector<YCameraSample>& samples) {
    OutFStream out(cache.c_str());
    const uint32_t count = static_cast<uint32_t>(samples.size());
    out.Write(&count, 4);
    for (const YCameraSample& s : samples) out.Write(&s, static_cast<int32_t>(SAMPLE_BYTES));
    if (!out.Close()) {
        LogPrintf(g_Log, "Could not write camera path file %s", cache.c_str());
        return false;
    }
    return true;
}

// Reads the binary form into `out`; false (logged) when it is missing or damaged.
bool ReadCache(const std::string& cache, std::vector<YCameraSample>& out) {
    std::string bytes;
    switch (plat::ReadFile(cache, bytes, MAX_CACHE_BYTES, false)) {
        case plat::ReadStatus::Ok: break;
        case plat::ReadStatus::Missing: LogPrintf(g_Log, "Camera path %s: no such file", cache.c_str()); return false;
        case plat::ReadStatus::TooLarge:
            LogPrintf(g_Log, "Camera path %s: file too large", cache.c_str());
            return false;
        case plat::ReadStatus::Error: LogPrintf(g_Log, "Camera path %s: could not read", cache.c_str()); return false;
    }
    uint32_t count = 0;
    if (bytes.size() < 4) {
        LogPrintf(g_Log, "Camera path %s: truncated", cache.c_str());
        return false;
    }
    std::memcpy(&count, bytes.data(), 4);
    if (count > (bytes.size() - 4) / SAMPLE_BYTES) {
        LogPrintf(g_Log, "Camera path %s: %u samples do not fit in %zu bytes", cache.c_str(), count, bytes.size());
        return false;
    }
    out.resize(count);
    if (count > 0) std::memcpy(out.data(), bytes.data() + 4, count * SAMPLE_BYTES);
    return true;
}

} // namespace

std::vector<YCameraSample>& CameraPath() {
    static std::vector<YCameraSample> path;
    return path;
}

std::string CameraPathCacheName(const std::string& path) {
    return (path.size() >= 3 ? path.substr(0, path.size() - 3) : std::string()) + "cpb";
}

bool LoadCameraPath(const std::string& path) {
    std::vector<YCameraSample>& samples = CameraPath();
    samples.clear();
    const std::string cache = CameraPathCacheName(path);
    if (!FileExists(cache.c_str(), false)) {
        std::vector<YCameraSample> parsed;
        if (!ParseText(path, parsed)) return false;
        // Should the copy not be written, the parsed samples still serve this run.
        if (!WriteCache(cache, parsed)) {
            samples.swap(parsed);
            return !samples.empty();
        }
    }
    if (!ReadCache(cache, samples)) {
        samples.clear();
        return false;
    }
    return !samples.empty();
}
