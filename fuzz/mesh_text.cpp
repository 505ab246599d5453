// Feeds arbitrary bytes through the text model import (from memory), and what follows a mesh block
// through the skeleton import of skinned models. A model it accepts must hold only indices within
// its lists, survive the normal, scale and bind-pose passes, and pass the cache readers' checks
// after being written as a cache file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/log.h"
#include "core/streams.h"
#include "fuzz_scratch.h"
#include "mesh_check.h"
#include "render/mesh/mesh_binary.h"
#include "render/mesh/mesh_import.h"
#include "render/mesh/skel_binary.h"
#include "render/mesh/skel_import.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static bool quiet = [] {
        LogReopen("");
        return true;
    }();
    (void)quiet;
    static FuzzScratch scratch("mesh_text");
    static const std::string cacheFile = scratch.Path("cache.meb");

    YMeshTextReader in(std::string(reinterpret_cast<const char*>(data), size));
    YMeshData mesh;
    const YMeshImportResult result = ImportMeshText(in, mesh);
    if (result == YMeshImportResult::Refused && !(mesh.IsEmpty() && mesh.positionGroups.empty())) std::abort();
    YSkelData skel;
    const bool skeleton = result == YMeshImportResult::Ok &&
                          ImportSkeletonText(in, mesh.positionGroups.size(), skel) == YMeshImportResult::Ok;
    meshfuzz::CheckSkeleton(skel, mesh.positionGroups.size());
    meshfuzz::CheckAccepted(mesh);

    {
        OutFStream out(cacheFile.c_str());
        WriteMeshBinary(out, "fuzz", mesh);
        if (!out.Close()) std::abort();
    }
    InFStream back(cacheFile.c_str());
    YMeshData read;
    std::string name;
    if (!ReadMeshBinary(back, name, read, "fuzz")) std::abort();
    if (read.vertices.size() != mesh.vertices.size() || read.edges.size() != mesh.edges.size()) std::abort();
    if (skeleton) {
        {
            OutFStream out(cacheFile.c_str());
            WriteSkelMeshBinary(out, "fuzz", mesh, skel);
            if (!out.Close()) std::abort();
        }
        InFStream skelIn(cacheFile.c_str());
        YSkelData skelRead;
        if (!ReadSkelMeshBinary(skelIn, name, read, skelRead, "fuzz") || skelRead.bones.size() != skel.bones.size())
            std::abort();
    }
    return 0;
}
