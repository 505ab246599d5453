// Feeds arbitrary bytes, as a file, through the binary mesh cache reader and the skinned-mesh cache
// reader. A mesh it accepts must hold only indices within its lists and survive the normal, scale
// and bind-pose passes; written again, it must read back the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "core/log.h"
#include "core/streams.h"
#include "mesh_check.h"
#include "render/mesh/mesh_binary.h"
#include "render/mesh/skel_binary.h"

namespace {

// One scratch folder per process, removed at exit.
class Scratch {
public:
    Scratch() {
        namespace fs = std::filesystem;
        for (int n = 0;; ++n) {
            fs::path candidate = fs::temp_directory_path() / ("korvelin_fuzz_mesh_binary_" + std::to_string(n));
            std::error_code ec;
            if (fs::create_directory(candidate, ec)) {
                dir_ = candidate;
                break;
            }
            if (ec && ec != std::errc::file_exists) std::abort();
        }
        input_ = (dir_ / "input.meb").string();
        output_ = (dir_ / "output.meb").string();
    }
    ~Scratch() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    const std::string& Input() const { return input_; }
    const std::string& Output() const { return output_; }

private:
    std::filesystem::path dir_;
    std::string input_, output_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static bool quiet = [] {
        LogReopen("");
        return true;
    }();
    (void)quiet;
    static Scratch scratch;
    {
        std::ofstream out(scratch.Input(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    {
        YMeshData mesh;
        YSkelData skel;
        std::string name;
        InFStream in(scratch.Input().c_str());
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
        InFStream in(scratch.Input().c_str());
        ok = ReadMeshBinary(in, name, mesh, "fuzz");
    }
    if (!ok) {
        if (!mesh.IsEmpty() || !mesh.normalGroups.empty() || !mesh.positionGroups.empty() || !mesh.subsets.empty())
            std::abort();
        return 0;
    }
    if (name.size() > 99) std::abort();
    {
        OutFStream out(scratch.Output().c_str());
        WriteMeshBinary(out, name, mesh);
        if (!out.Close()) std::abort();
    }
    YMeshData again;
    std::string againName;
    InFStream in(scratch.Output().c_str());
    if (!ReadMeshBinary(in, againName, again, "fuzz") || againName != name ||
        again.vertices.size() != mesh.vertices.size() || again.indices != mesh.indices)
        std::abort();
    meshfuzz::CheckAccepted(mesh);
    return 0;
}
