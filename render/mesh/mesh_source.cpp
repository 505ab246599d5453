#include "render/mesh/mesh_source.h"

#include <string_view>

#include "core/log.h"
#include "platform/sys/files.h"
#include "render/mesh/mesh.h"

namespace {

bool EndsWith(const std::string& s, std::string_view ending) {
    return s.size() >= ending.size() && std::string_view(s).substr(s.size() - ending.size()) == ending;
}

} // namespace

YMeshSource OpenMeshSource(const std::string& fileName, const char* textEnding, const char* cacheEnding,
                           const char* loadLine, const std::function<bool(InStream&, const char*)>& readCache,
                           std::string& cacheName, YMeshTextReader& text) {
    cacheName = MeshTwinName(fileName, cacheEnding);
    if (cacheName.empty()) {
        LogPrintf(g_Log, "Error reading mesh file %s: no such file", fileName.c_str());
        return YMeshSource::Done;
    }
    const bool isText = EndsWith(fileName, textEnding);
    if (plat::FileSize(cacheName) >= 0) {
        InFStream in(cacheName.c_str());
        if (readCache(in, cacheName.c_str())) return YMeshSource::Done;
    } else if (!isText) {
        LogPrintf(g_Log, "Error reading mesh file %s: no such file", cacheName.c_str());
    }
    if (!isText) return YMeshSource::Done;

    const YMeshTextReader::OpenResult opened = text.Open(fileName.c_str());
    LogPrintf(g_Log, "%s %s", loadLine, fileName.c_str());
    switch (opened) {
        case YMeshTextReader::OpenResult::Ok: return YMeshSource::Text;
        case YMeshTextReader::OpenResult::TooLarge:
            LogPrintf(g_Log, "Error, mesh file %s is too large", fileName.c_str());
            return YMeshSource::Done;
        default: return YMeshSource::MissingText;
    }
}
