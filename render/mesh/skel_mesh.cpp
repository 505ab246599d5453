#include "render/mesh/skel_mesh.h"

#include <algorithm>
#include <string_view>

#include "core/log.h"
#include "platform/sys/files.h"
#include "render/mesh/mesh_import.h"
#include "render/mesh/skel_binary.h"
#include "render/mesh/skel_import.h"

namespace {

std::vector<YSkelMesh*>& Cache()
{
    static auto* cache = new std::vector<YSkelMesh*>();
    return *cache;
}

bool EndsWith(const std::string& s, std::string_view e)
{
    return s.size() >= e.size() && std::string_view(s).substr(s.size() - e.size()) == e;
}

} // namespace

YSkelMesh::YSkelMesh()
{
    Cache().push_back(this);
}

YSkelMesh::~YSkelMesh()
{
    std::vector<YSkelMesh*>& cache = Cache();
    auto it = std::find(cache.begin(), cache.end(), this);
    if (it != cache.end()) {
        *it = cache.back();
        cache.pop_back();
    }
}

// As YMesh::Load, with "ams" and "mab" for "mes" and "meb": a usable cache file is read; else the
// text is imported and, when mesh block and skeleton were read whole, cached. A damaged cache
// falls back to the text; a missing or broken text writes no cache.
void YSkelMesh::Load(const std::string& fileName)
{
    name = fileName;
    loaded = 1;
    ClearGeometry();
    ClearSkeleton();
    const std::string twin = MeshTwinName(fileName, "mab");
    const bool isText = EndsWith(fileName, "ams");
    if (twin.empty()) {
        LogPrintf(g_Log, "Error reading mesh file %s: no such file", fileName.c_str());
        return Restore();
    }
    if (plat::FileSize(twin) >= 0) {
        InFStream in(twin.c_str());
        if (ReadBinary(in, twin.c_str())) {
            BuildBindPose();
            return Restore();
        }
    } else if (!isText) {
        LogPrintf(g_Log, "Error reading mesh file %s: no such file", twin.c_str());
    }
    if (!isText)
        return Restore();

    YMeshTextReader text;
    const YMeshTextReader::OpenResult opened = text.Open(fileName.c_str());
    LogPrintf(g_Log, "Load skeleton mesh file %s", fileName.c_str());
    if (opened == YMeshTextReader::OpenResult::TooLarge) {
        LogPrintf(g_Log, "Error, mesh file %s is too large", fileName.c_str());
        return Restore();
    }
    if (ImportMeshText(text, *this) != YMeshImportResult::Ok ||
        ImportSkeletonText(text, positionGroups.size(), *this) != YMeshImportResult::Ok ||
        opened != YMeshTextReader::OpenResult::Ok) {
        ClearGeometry();
        ClearSkeleton();
        return Restore();
    }
    BuildBindPose();
    OutFStream out(twin.c_str());
    WriteBinary(out);
    if (!out.Close())
        LogPrintf(g_Log, "Could not write mesh file %s", twin.c_str());
    Restore();
}

void YSkelMesh::Scale(float s)
{
    for (YPositionGroup& g : positionGroups) {
        g.pos = g.pos * s;
        for (int i = 0; i < g.vertexCount; ++i)
            vertices[g.vertices[i]].pos = g.pos;
    }
    for (YBone& bone : bones)
        bone.offset = bone.offset * s;
    for (YSkelAttachment& a : attachments)
        for (int k = 12; k < 15; ++k)
            a.local.m[k] *= s;
    for (YSkelPose& pose : poses)
        pose.rootOffset = pose.rootOffset * s;
    BuildBindPose();
}

void YSkelMesh::WriteBinary(OutStream& out) const
{
    WriteSkelMeshBinary(out, name, *this, *this);
}

bool YSkelMesh::ReadBinary(InStream& in, const char* fileName)
{
    std::string storedName;
    return ReadSkelMeshBinary(in, storedName, *this, *this, fileName);
}

YSkelMesh* GetSkelMesh(const std::string& name)
{
    for (YSkelMesh* m : Cache())
        if (m->name == name)
            return m;
    auto* mesh = new YSkelMesh();
    mesh->Load(name);
    return mesh;
}

const std::vector<YSkelMesh*>& SkelMeshCache()
{
    return Cache();
}
