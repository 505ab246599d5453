#include "render/mesh/mesh.h"

#include <algorithm>
#include <utility>

#include "core/log.h"
#include "render/mesh/mesh_binary.h"
#include "render/mesh/mesh_import.h"
#include "render/mesh/mesh_source.h"
#include "render/render.h"

namespace {

// Made on first use and never freed: meshes live until the process ends.
std::vector<YMesh*>& Cache() {
    static auto* cache = new std::vector<YMesh*>();
    return *cache;
}

// Takes the geometry of `from`, keeping this mesh's index buffer.
void TakeGeometry(YMeshData& to, YMeshData& from) {
    to.vertices.swap(from.vertices);
    to.faces.swap(from.faces);
    to.normalGroups.swap(from.normalGroups);
    to.positionGroups.swap(from.positionGroups);
    to.edges.swap(from.edges);
    to.indices.swap(from.indices);
    to.subsets.swap(from.subsets);
}

} // namespace

YMesh::YMesh() {
    typeMask = RESOURCE_MESH;
    Cache().push_back(this);
}

YMesh::~YMesh() {
    std::vector<YMesh*>& cache = Cache();
    auto it = std::find(cache.begin(), cache.end(), this);
    if (it != cache.end()) {
        *it = cache.back();
        cache.pop_back();
    }
    YMesh::Release();
}

std::string MeshTwinName(const std::string& fileName, const char* ending) {
    if (fileName.size() < 3) return {};
    return fileName.substr(0, fileName.size() - 3) + ending;
}

// The cache file when it is usable, else the text file (mesh_source.h): the import, when it read
// the whole model, is written as the cache file and read back from it. A missing or broken text
// file writes no cache, so adding or mending it later takes effect at the next start; a cache that
// cannot be written or read back leaves the imported model in use.
void YMesh::Load(const std::string& fileName) {
    name = fileName;
    loaded = 1;
    ClearGeometry();
    std::string twin;
    YMeshTextReader text;
    const YMeshSource source = OpenMeshSource(
        fileName, "mes", "meb", "Load mesh file",
        [this](InStream& in, const char* file) { return ReadBinary(in, file); }, twin, text);
    if (source == YMeshSource::Done) return Restore();
    if (ImportMeshText(text, *this) != YMeshImportResult::Ok || source != YMeshSource::Text) return Restore();

    OutFStream out(twin.c_str());
    WriteBinary(out);
    if (!out.Close()) {
        LogPrintf(g_Log, "Could not write mesh file %s", twin.c_str());
        return Restore();
    }
    InFStream back(twin.c_str());
    YMeshData read;
    std::string storedName;
    if (ReadMeshBinary(back, storedName, read, twin.c_str())) TakeGeometry(*this, read);
    Restore();
}

void YMesh::Restore() {
    if (!g_Render) return;
    if (indexBuffer) g_Render->ReleaseBuffer(indexBuffer);
    indexBuffer = g_Render->CreateIndexBuffer(indices);
}

void YMesh::Release() {
    if (g_Render && indexBuffer) g_Render->ReleaseBuffer(indexBuffer);
}

void YMesh::Scale(float s) { ScalePositions(s); }

void YMesh::WriteBinary(OutStream& out) const { WriteMeshBinary(out, name, *this); }

bool YMesh::ReadBinary(InStream& in, const char* fileName) {
    std::string storedName;
    return ReadMeshBinary(in, storedName, *this, fileName);
}

YMesh* GetMesh(const std::string& name) {
    for (YMesh* m : Cache())
        if (m->name == name) return m;
    auto* mesh = new YMesh();
    mesh->Load(name);
    return mesh;
}

const std::vector<YMesh*>& MeshCache() { return Cache(); }
