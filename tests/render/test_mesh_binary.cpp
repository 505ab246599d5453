// The binary mesh cache: its exact layout, the round trip of imported models, and damaged files.
#include "render/mesh/mesh_binary.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/streams.h"
#include "mesh_fixtures.h"
#include "render/mesh/mesh_import.h"
#include "render/mesh/skel_binary.h"

using meshtest::CubeText;
using meshtest::LogCatcher;

namespace {

// Builds expected file bytes field by field and remembers where named fields start.
class Bytes {
public:
    Bytes& I32(int32_t v) { return Raw(&v, 4); }
    Bytes& U32(uint32_t v) { return Raw(&v, 4); }
    Bytes& F32(float v) { return Raw(&v, 4); }
    Bytes& U16(uint16_t v) { return Raw(&v, 2); }
    Bytes& Text(const std::string& s) { return Raw(s.data(), s.size()); }
    Bytes& Mark(std::size_t& at) {
        at = data.size();
        return *this;
    }
    Bytes& Raw(const void* p, std::size_t n) {
        data.append(static_cast<const char*>(p), n);
        return *this;
    }
    std::string data;
};

std::string Written(const std::string& name, const YMeshData& mesh) {
    testsupport::TempDir dir;
    const std::string path = dir.File("m.meb");
    OutFStream out(path.c_str());
    WriteMeshBinary(out, name, mesh);
    EXPECT_TRUE(out.Close());
    return dir.Read("m.meb");
}

struct ReadResult {
    bool ok;
    std::string name;
    YMeshData mesh;
    std::vector<std::string> log;
};

ReadResult Read(const std::string& bytes) {
    testsupport::TempDir dir;
    dir.Write("m.meb", bytes);
    LogCatcher log;
    ReadResult r;
    InFStream in(dir.File("m.meb").c_str());
    r.ok = ReadMeshBinary(in, r.name, r.mesh, "mesh\\m.meb");
    r.log = log.Lines();
    return r;
}

void PutI32(std::string& bytes, std::size_t at, int32_t v) { std::memcpy(bytes.data() + at, &v, 4); }

// One triangle with every list holding one record, and its expected file.
struct Tiny {
    YMeshData mesh;
    Bytes file;
    std::size_t vertexCount, faceC, ngFaceCount, ngFace, ngVertexCount, pgVertexCount, pgFaceCount, pgVertex, edgeG,
        index2, subsetStart, subsetCount, subsetMin;

    Tiny() {
        for (int i = 0; i < 3; ++i) {
            YVertex v;
            v.pos = {float(i), 2.0f * i, 3.0f * i};
            v.normal = {0, 0, 1};
            v.uv1 = {0.25f * i, 0.5f};
            v.uv2 = {0.125f, 0.0625f * i};
            mesh.vertices.push_back(v);
        }
        mesh.faces.push_back({0, 1, 2, {0, 0, 1}});
        YNormalGroup ng{};
        ng.faceCount = 1;
        ng.faces[0] = 0;
        ng.vertexCount = 2;
        ng.vertices[0] = 0;
        ng.vertices[1] = 1;
        mesh.normalGroups.push_back(ng);
        YPositionGroup pg{};
        pg.pos = {7, 8, 9};
        pg.vertexCount = 1;
        pg.vertices[0] = 2;
        pg.faceCount = 1;
        pg.faces[0] = 0;
        mesh.positionGroups.push_back(pg);
        mesh.edges.push_back({0, 1, 0, 0});
        mesh.indices = {0, 1, 2};
        mesh.subsets.push_back({0, 1, 7, 0, 3});

        file.U16(4).Text("tiny").Mark(vertexCount).U32(3);
        for (const YVertex& v : mesh.vertices)
            file.F32(v.pos.x).F32(v.pos.y).F32(v.pos.z).F32(0).F32(0).F32(1).F32(v.uv1.u).F32(v.uv1.v).F32(v.uv2.u).F32(
                v.uv2.v);
        file.U32(1).I32(0).I32(1).Mark(faceC).I32(2).F32(0).F32(0).F32(1);
        // Normal group: faces first, then vertices.
        file.U32(1).Mark(ngFaceCount).I32(1).Mark(ngFace).I32(0).Mark(ngVertexCount).I32(2).I32(0).I32(1);
        // Position group: position, vertex count, face count, vertices, faces.
        file.U32(1)
            .F32(7)
            .F32(8)
            .F32(9)
            .Mark(pgVertexCount)
            .I32(1)
            .Mark(pgFaceCount)
            .I32(1)
            .Mark(pgVertex)
            .I32(2)
            .I32(0);
        file.U32(1).I32(0).I32(1).I32(0).Mark(edgeG).I32(0);
        file.U32(3).U16(0).U16(1).Mark(index2).U16(2);
        file.U32(1).Mark(subsetStart).I32(0).Mark(subsetCount).I32(1).I32(7).Mark(subsetMin).I32(0).I32(3);
    }
};

void ExpectSameMesh(const YMeshData& a, const YMeshData& b) {
    ASSERT_EQ(a.vertices.size(), b.vertices.size());
    EXPECT_EQ(0, std::memcmp(a.vertices.data(), b.vertices.data(), a.vertices.size() * sizeof(YVertex)));
    ASSERT_EQ(a.faces.size(), b.faces.size());
    EXPECT_EQ(0, std::memcmp(a.faces.data(), b.faces.data(), a.faces.size() * sizeof(YMeshFace)));
    ASSERT_EQ(a.normalGroups.size(), b.normalGroups.size());
    for (std::size_t i = 0; i < a.normalGroups.size(); ++i) {
        const YNormalGroup &x = a.normalGroups[i], &y = b.normalGroups[i];
        ASSERT_EQ(x.faceCount, y.faceCount);
        ASSERT_EQ(x.vertexCount, y.vertexCount);
        EXPECT_TRUE(std::equal(x.faces, x.faces + x.faceCount, y.faces));
        EXPECT_TRUE(std::equal(x.vertices, x.vertices + x.vertexCount, y.vertices));
    }
    ASSERT_EQ(a.positionGroups.size(), b.positionGroups.size());
    for (std::size_t i = 0; i < a.positionGroups.size(); ++i) {
        const YPositionGroup &x = a.positionGroups[i], &y = b.positionGroups[i];
        EXPECT_EQ(0, std::memcmp(&x.pos, &y.pos, sizeof(YVector)));
        ASSERT_EQ(x.faceCount, y.faceCount);
        ASSERT_EQ(x.vertexCount, y.vertexCount);
        EXPECT_TRUE(std::equal(x.faces, x.faces + x.faceCount, y.faces));
        EXPECT_TRUE(std::equal(x.vertices, x.vertices + x.vertexCount, y.vertices));
    }
    ASSERT_EQ(a.edges.size(), b.edges.size());
    EXPECT_EQ(0, std::memcmp(a.edges.data(), b.edges.data(), a.edges.size() * sizeof(YMeshEdge)));
    EXPECT_EQ(a.indices, b.indices);
    ASSERT_EQ(a.subsets.size(), b.subsets.size());
    EXPECT_EQ(0, std::memcmp(a.subsets.data(), b.subsets.data(), a.subsets.size() * sizeof(YMeshSubset)));
}

TEST(MeshBinary, WritesTheExactLayout) {
    const Tiny t;
    EXPECT_EQ(Written("tiny", t.mesh), t.file.data);
    const ReadResult r = Read(t.file.data);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.name, "tiny");
    EXPECT_TRUE(r.log.empty());
    ExpectSameMesh(r.mesh, t.mesh);
}

TEST(MeshBinary, EmptyMeshIsItsNameAndSevenZeroCounts) {
    const std::string bytes = Written("mesh\\e.mes", YMeshData{});
    EXPECT_EQ(bytes.size(), 30u + 10u);
    EXPECT_EQ(bytes, Bytes().U16(10).Text("mesh\\e.mes").Raw(std::string(28, '\0').data(), 28).data);
    const ReadResult r = Read(bytes);
    EXPECT_TRUE(r.ok);
    EXPECT_TRUE(r.mesh.IsEmpty());
}

TEST(MeshBinary, ImportedModelsComeBackElementForElement) {
    const std::string texts[] = {
        CubeText(0, 3),
        CubeText(1),
        "mesh t vertices 4 0 0 0 1 0 0 0 1 0 1 1 0 tvertices 3 0 0 1 0 0 1 "
        "faces 2 0 1 2 0 1 2 4 1  1 3 2 1 0 2 2 1 lightmap lm 1 4 0.5 0.5 0.25 0.25 0 0 1 0.125 tfaces 1 0 3 2 1",
    };
    for (const std::string& text : texts) {
        YMeshTextReader in(text);
        YMeshData imported;
        ASSERT_EQ(ImportMeshText(in, imported), YMeshImportResult::Ok);
        const ReadResult r = Read(Written("mesh\\x.mes", imported));
        ASSERT_TRUE(r.ok);
        EXPECT_EQ(r.name, "mesh\\x.mes");
        ExpectSameMesh(r.mesh, imported);
    }
}

TEST(MeshBinary, EveryTruncationIsRefused) {
    const Tiny t;
    for (std::size_t n = 0; n < t.file.data.size(); ++n) {
        SCOPED_TRACE(n);
        const ReadResult r = Read(t.file.data.substr(0, n));
        EXPECT_FALSE(r.ok);
        ASSERT_EQ(r.log.size(), 1u);
        EXPECT_EQ(r.log[0].rfind("Error reading mesh file mesh\\m.meb: ", 0), 0u) << r.log[0];
        EXPECT_TRUE(r.mesh.IsEmpty());
        EXPECT_TRUE(r.mesh.normalGroups.empty() && r.mesh.positionGroups.empty() && r.mesh.subsets.empty());
    }
}

TEST(MeshBinary, HostileFieldsAreRefused) {
    const Tiny t;
    struct Case {
        const char* what;
        std::size_t Tiny::*field;
        int32_t value;
        const char* reason;
    };
    const Case cases[] = {
        {"vertex count 2^31", &Tiny::vertexCount, INT32_MIN, "vertex count 2147483648 beyond the end of the file"},
        {"vertex count past the end", &Tiny::vertexCount, 1000, "vertex count 1000 beyond the end of the file"},
        {"face corner beyond the vertices", &Tiny::faceC, 3, "vertex index 3 out of range"},
        {"negative face corner", &Tiny::faceC, -1, "vertex index -1 out of range"},
        {"normal group of 16 faces", &Tiny::ngFaceCount, 16, "group of 16 entries"},
        {"normal group of -1 faces", &Tiny::ngFaceCount, -1, "group of -1 entries"},
        {"normal group face beyond the faces", &Tiny::ngFace, 1, "face index 1 out of range"},
        {"normal group of 16 vertices", &Tiny::ngVertexCount, 16, "group of 16 entries"},
        {"position group of 16 vertices", &Tiny::pgVertexCount, 16, "group of 16 vertices and 1 faces"},
        {"position group of 16 faces", &Tiny::pgFaceCount, 16, "group of 1 vertices and 16 faces"},
        {"position group vertex beyond the vertices", &Tiny::pgVertex, 3, "vertex index 3 out of range"},
        {"edge face beyond the faces", &Tiny::edgeG, 1, "face index 1 out of range"},
        {"subset beyond the indices", &Tiny::subsetCount, 2, "subset outside the mesh"},
        {"negative subset start", &Tiny::subsetStart, -3, "subset outside the mesh"},
        {"subset vertices beyond the mesh", &Tiny::subsetMin, 1, "subset outside the mesh"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string bytes = t.file.data;
        PutI32(bytes, t.*c.field, c.value);
        const ReadResult r = Read(bytes);
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.log, std::vector<std::string>{std::string("Error reading mesh file mesh\\m.meb: ") + c.reason});
        EXPECT_TRUE(r.mesh.IsEmpty());
        EXPECT_TRUE(r.mesh.normalGroups.empty() && r.mesh.positionGroups.empty() && r.mesh.subsets.empty());
    }
}

TEST(MeshBinary, IndexBeyondTheVerticesIsRefused) {
    const Tiny t;
    std::string bytes = t.file.data;
    const uint16_t three = 3;
    std::memcpy(bytes.data() + t.index2, &three, 2);
    const ReadResult r = Read(bytes);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.log, std::vector<std::string>{"Error reading mesh file mesh\\m.meb: vertex index 3 out of range"});
}

// What the writer stores, the reader takes back: long names (deep paths) included, so their cache
// is used instead of importing the text file again at every start. A stored length beyond what the
// writer ever stores is refused.
TEST(MeshBinary, EveryNameTheWriterStoresReadsBack) {
    for (std::size_t length : {0u, 99u, 100u, 4096u, 32767u}) {
        SCOPED_TRACE(length);
        const std::string name(length, 'n');
        const ReadResult r = Read(Written(name, YMeshData{}));
        EXPECT_TRUE(r.ok);
        EXPECT_EQ(r.name, name);
        EXPECT_TRUE(r.log.empty());
    }
    const ReadResult cut = Read(Written(std::string(40000, 'n'), YMeshData{}));
    EXPECT_TRUE(cut.ok);
    EXPECT_EQ(cut.name, std::string(32767, 'n'));

    Bytes hostile;
    hostile.U16(40000).Text(std::string(40000, 'n'));
    for (int i = 0; i < 7; ++i) hostile.U32(0);
    const ReadResult refused = Read(hostile.data);
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.log, std::vector<std::string>{"Error reading mesh file mesh\\m.meb: name of 40000 bytes"});
}

} // namespace

namespace {

// A stream that claims more bytes than any cache may hold and delivers nothing.
class HugeStream : public InStream {
public:
    void Read(void*, int32_t) override { ++reads; }
    void Skip(int32_t) override { ++reads; }
    int32_t Remaining() override { return (32 << 20) + 1; }
    int reads = 0;
};

} // namespace

TEST(MeshBinary, OversizedCachesAreRefusedBeforeReading) {
    LogCatcher log;
    for (bool skinned : {false, true}) {
        HugeStream in;
        std::string name = "kept?";
        YMeshData mesh;
        bool ok;
        if (skinned) {
            YSkelData skel;
            ok = ReadSkelMeshBinary(in, name, mesh, skel, "big.mab");
        } else {
            ok = ReadMeshBinary(in, name, mesh, "big.meb");
        }
        EXPECT_FALSE(ok);
        EXPECT_EQ(in.reads, 0);
        EXPECT_TRUE(mesh.IsEmpty());
    }
    const auto lines = log.Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "Error reading mesh file big.meb: file of 33554433 bytes");
    EXPECT_EQ(lines[1], "Error reading mesh file big.mab: file of 33554433 bytes");
}
