// Feeds arbitrary bytes, as a file, through the binary mesh cache reader and the skinned-mesh cache
// reader. A mesh it accepts must hold only indices within its lists and survive the normal, scale
// and bind-pose passes; written again, it must read back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/log.h"
#include "core/streams.h"
#include "fuzz_scratch.h"
#include "mesh_check.h"
#include "render/mesh/mesh_binary.h"
#include "render/mesh/skel_binary.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static bool quiet = [] {
        LogReopen("");
        return true;
    }();
    (void)quiet;
    static FuzzScratch scratch("mesh_binary");
    const std::string input = scratch.Write("input.meb", data, size);
    const std::string output = scratch.Path("output.meb");
    {
        YMeshData mesh;
        YSkelData skel;
        std::string name;
        InFStream in(input.c_str());
        if (ReadSkelMeshBinary(in, name, mesh, skel, "fuzz")) {
            meshfuzz::CheckSkeleton(skel, mesh.positionGroups.size());
            meshfuzz::CheckAccepted(mesh);
        } else if (!mesh.IsEmpty() || !skel.bones.empty() || !skel.poses.empty()) {
            std::abort();
        }
    }
    YMeshData mesh;
    std::string name;
    bool ok = false;
    {
        InFStream in(input.c_str());
        ok = ReadMeshBinary(in, name, mesh, "fuzz");
    }
    if (!ok) {
        if (!mesh.IsEmpty() || !mesh.normalGroups.empty() || !mesh.positionGroups.empty() || !mesh.subsets.empty())
            std::abort();
        return 0;
    }
    if (name.size() > static_cast<std::size_t>(MESH_NAME_MAX)) std::abort();
    {
        OutFStream out(output.c_str());
        WriteMeshBinary(out, name, mesh);
        if (!out.Close()) std::abort();
    }
    YMeshData again;
    std::string againName;
    InFStream in(output.c_str());
    if (!ReadMeshBinary(in, againName, again, "fuzz") || againName != name ||
        again.vertices.size() != mesh.vertices.size() || again.indices != mesh.indices)
        std::abort();
    meshfuzz::CheckAccepted(mesh);
    return 0;
}
