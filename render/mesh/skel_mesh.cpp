#include "render/mesh/skel_mesh.h"

#include <algorithm>

#include "core/log.h"
#include "render/mesh/mesh_import.h"
#include "render/mesh/mesh_source.h"
#include "render/mesh/skel_binary.h"
#include "render/mesh/skel_import.h"

namespace {

std::vector<YSkelMesh*>& Cache() {
    static auto* cache = new std::vector<YSkelMesh*>();
    return *cache;
}

} // namespace

YSkelMesh::YSkelMesh() { Cache().push_back(this); }

YSkelMesh::~YSkelMesh() {
    std::vector<YSkelMesh*>& cache = Cache();
    auto it = std::find(cache.begin(), cache.end(), this);
    if (it != cache.end()) {
        *it = cache.back();
        cache.pop_back();
    }
}

// As YMesh::Load, with "ams" and "mab" for "mes" and "meb": a usable cache file is read; else the
// text is imported and, when mesh block and skeleton were read whole, cached (and not read back).
// A damaged cache falls back to the text; a missing or broken text writes no cache.
void YSkelMesh::Load(const std::string& fileName) {
    name = fileName;
    loaded = 1;
    ClearGeometry();
    ClearSkeleton();
    std::string twin;
    YMeshTextReader text;
    const YMeshSource source = OpenMeshSource(
        fileName, "ams", "mab", "Load skeleton mesh file",
        [this](InStream& in, const char* file) {
            if (!ReadBinary(in, file)) return false;
            BuildBindPose();
            return true;
        },
        twin, text);
    if (source == YMeshSource::Done) return Restore();
    if (ImportMeshText(text, *this) != YMeshImportResult::Ok ||
        ImportSkeletonText(text, positionGroups.size(), *this) != YMeshImportResult::Ok ||
        source != YMeshSource::Text) {
        ClearGeometry();
        ClearSkeleton();
        return Restore();
    }
    BuildBindPose();
    OutFStream out(twin.c_str());
    WriteBinary(out);
    if (!out.Close()) LogPrintf(g_Log, "Could not write mesh file %s", twin.c_str());
    Restore();
}

void YSkelMesh::Scale(float s) {
    for (YPositionGroup& g : positionGroups) {
        g.pos = g.pos * s;
        for (int i = 0; i < g.vertexCount; ++i) vertices[g.vertices[i]].pos = g.pos;
    }
    for (YBone& bone : bones) bone.offset = bone.offset * s;
    for (YSkelAttachment& a : attachments)
        for (int k = 12; k < 15; ++k) a.local.m[k] *= s;
    for (YSkelPose& pose : poses) pose.rootOffset = pose.rootOffset * s;
    BuildBindPose();
}

void YSkelMesh::WriteBinary(OutStream& out) const { WriteSkelMeshBinary(out, name, *this, *this); }

bool YSkelMesh::ReadBinary(InStream& in, const char* fileName) {
    std::string storedName;
    return ReadSkelMeshBinary(in, storedName, *this, *this, fileName);
}

YSkelMesh* GetSkelMesh(const std::string& name) {
    for (YSkelMesh* m : Cache())
        if (m->name == name) return m;
    auto* mesh = new YSkelMesh();
    mesh->Load(name);
    return mesh;
}

const std::vector<YSkelMesh*>& SkelMeshCache() { return Cache(); }
