#include "render/mesh/mesh_binary.h"

#include <algorithm>
#include <cstdint>

#include "core/log.h"
#include "render/mesh/mesh_binary_io.h"

namespace {

void WriteNameField(YMeshBinWriter& w, const std::string& name) {
    const std::size_t n = std::min<std::size_t>(name.size(), MESH_NAME_MAX);
    const uint16_t length = static_cast<uint16_t>(n);
    w.Bytes(&length, 2);
    w.Bytes(name.data(), n);
}

// The fields of one mesh, each checked against what came before it.
class MeshFieldReader {
public:
    MeshFieldReader(YMeshBinReader& r, YMeshData& mesh) : r_(r), m_(mesh) {}

    bool Read(std::string& name) {
        return Name(name) && Vertices() && Faces() && NormalGroups() && PositionGroups() && Edges() && Indices() &&
               Subsets();
    }

private:
    bool Name(std::string& name) {
        uint16_t length = 0;
        if (!r_.U16(length)) return false;
        if (length > MESH_NAME_MAX) return r_.Fail("name of " + std::to_string(length) + " bytes");
        name.assign(length, '\0');
        return r_.Bytes(name.data(), length);
    }

    bool Vertices() {
        uint32_t n = 0;
        return r_.Count(n, sizeof(YVertex), "vertex") && r_.Array(m_.vertices, n);
    }

    bool Faces() {
        uint32_t n = 0;
        if (!r_.Count(n, sizeof(YMeshFace), "face") || !r_.Array(m_.faces, n)) return false;
        for (const YMeshFace& f : m_.faces)
            if (!Vertex(f.a) || !Vertex(f.b) || !Vertex(f.c)) return false;
        return true;
    }

    // A group count, then that many face or vertex indices.
    bool GroupList(int32_t& count, int32_t* list, int limit, bool faces) {
        if (!r_.I32(count)) return false;
        if (count < 0 || count > limit) return r_.Fail("group of " + std::to_string(count) + " entries");
        if (!r_.Bytes(list, int64_t(count) * 4)) return false;
        for (int32_t i = 0; i < count; ++i)
            if (faces ? !Face(list[i]) : !Vertex(list[i])) return false;
        return true;
    }

    bool NormalGroups() {
        uint32_t n = 0;
        if (!r_.Count(n, 8, "normal group")) return false;
        m_.normalGroups.assign(n, YNormalGroup{});
        for (YNormalGroup& g : m_.normalGroups)
            if (!GroupList(g.faceCount, g.faces, MAX_FACES_PER_NORMAL, true) ||
                !GroupList(g.vertexCount, g.vertices, MAX_VERT_IDX, false))
                return false;
        return true;
    }

    bool PositionGroups() {
        uint32_t n = 0;
        if (!r_.Count(n, 20, "position group")) return false;
        m_.positionGroups.assign(n, YPositionGroup{});
        for (YPositionGroup& g : m_.positionGroups) {
            if (!r_.F32(g.pos.x) || !r_.F32(g.pos.y) || !r_.F32(g.pos.z) || !r_.I32(g.vertexCount) ||
                !r_.I32(g.faceCount))
                return false;
            if (g.vertexCount < 0 || g.vertexCount > MAX_VERT_IDX || g.faceCount < 0 ||
                g.faceCount > MAX_FACES_PER_NORMAL)
                return r_.Fail("group of " + std::to_string(g.vertexCount) + " vertices and " +
                               std::to_string(g.faceCount) + " faces");
            if (!r_.Bytes(g.vertices, int64_t(g.vertexCount) * 4) || !r_.Bytes(g.faces, int64_t(g.faceCount) * 4))
                return false;
            for (int32_t i = 0; i < g.vertexCount; ++i)
                if (!Vertex(g.vertices[i])) return false;
            for (int32_t i = 0; i < g.faceCount; ++i)
                if (!Face(g.faces[i])) return false;
        }
        return true;
    }

    bool Edges() {
        uint32_t n = 0;
        if (!r_.Count(n, sizeof(YMeshEdge), "edge") || !r_.Array(m_.edges, n)) return false;
        for (const YMeshEdge& e : m_.edges)
            if (!Vertex(e.a) || !Vertex(e.b) || !Face(e.f) || !Face(e.g)) return false;
        return true;
    }

    bool Indices() {
        uint32_t n = 0;
        if (!r_.Count(n, 2, "index") || !r_.Array(m_.indices, n)) return false;
        for (uint16_t i : m_.indices)
            if (!Vertex(i)) return false;
        return true;
    }

    bool Subsets() {
        uint32_t n = 0;
        if (!r_.Count(n, sizeof(YMeshSubset), "subset") || !r_.Array(m_.subsets, n)) return false;
        for (const YMeshSubset& s : m_.subsets) {
            const bool indicesFit = s.startIndex >= 0 && s.primitiveCount >= 0 &&
                                    int64_t(s.startIndex) + 3 * int64_t(s.primitiveCount) <= int64_t(m_.indices.size());
            const bool verticesFit = s.minIndex >= 0 && s.vertexSpan >= 0 &&
                                     int64_t(s.minIndex) + s.vertexSpan <= int64_t(m_.vertices.size());
            if (!indicesFit || !verticesFit) return r_.Fail("subset outside the mesh");
        }
        return true;
    }

    bool Vertex(int32_t v) {
        return InRange(v, m_.vertices.size()) || r_.Fail("vertex index " + std::to_string(v) + " out of range");
    }
    bool Face(int32_t f) {
        return InRange(f, m_.faces.size()) || r_.Fail("face index " + std::to_string(f) + " out of range");
    }

    YMeshBinReader& r_;
    YMeshData& m_;
};

} // namespace

void WriteMeshFields(YMeshBinWriter& w, const std::string& name, const YMeshData& mesh) {
    WriteNameField(w, name);
    w.Array(mesh.vertices);
    w.Array(mesh.faces);
    w.U32(static_cast<uint32_t>(mesh.normalGroups.size()));
    for (const YNormalGroup& g : mesh.normalGroups) {
        w.I32(g.faceCount);
        w.Bytes(g.faces, sizeof(int32_t) * static_cast<std::size_t>(g.faceCount));
        w.I32(g.vertexCount);
        w.Bytes(g.vertices, sizeof(int32_t) * static_cast<std::size_t>(g.vertexCount));
    }
    w.U32(static_cast<uint32_t>(mesh.positionGroups.size()));
    for (const YPositionGroup& g : mesh.positionGroups) {
        w.F32(g.pos.x);
        w.F32(g.pos.y);
        w.F32(g.pos.z);
        w.I32(g.vertexCount);
        w.I32(g.faceCount);
        w.Bytes(g.vertices, sizeof(int32_t) * static_cast<std::size_t>(g.vertexCount));
        w.Bytes(g.faces, sizeof(int32_t) * static_cast<std::size_t>(g.faceCount));
    }
    w.Array(mesh.edges);
    w.Array(mesh.indices);
    w.Array(mesh.subsets);
}

bool ReadMeshFields(YMeshBinReader& r, std::string& name, YMeshData& mesh) {
    if (MeshFieldReader(r, mesh).Read(name)) return true;
    mesh.ClearGeometry();
    name.clear();
    return false;
}

void WriteMeshBinary(OutStream& out, const std::string& name, const YMeshData& mesh) {
    YMeshBinWriter w;
    WriteMeshFields(w, name, mesh);
    w.WriteTo(out);
}

bool ReadMeshBinary(InStream& in, std::string& name, YMeshData& mesh, const char* fileName) {
    if (in.Remaining() > MAX_MESH_CACHE_BYTES) {
        LogPrintf(g_Log, "Error reading mesh file %s: file of %d bytes", fileName ? fileName : "", in.Remaining());
        return false;
    }
    YMeshBinReader r(in);
    if (ReadMeshFields(r, name, mesh)) return true;
    LogPrintf(g_Log, "Error reading mesh file %s: %s", fileName ? fileName : "", r.Reason().c_str());
    return false;
}
