// Import of text models: vertex splitting by smoothing and texture coordinates, normals, subsets,
// edges, the group limits and a table of malformed files.
#include "render/mesh/mesh_import.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "mesh_fixtures.h"
#include "render/mesh/mesh_data.h"

using meshtest::CubeText;
using meshtest::FanText;
using meshtest::LogCatcher;

namespace {

struct Imported {
    YMeshData mesh;
    YMeshImportResult result;
    std::vector<std::string> log;
};

Imported Import(const std::string& text) {
    LogCatcher log;
    Imported out;
    YMeshTextReader in(text);
    out.result = ImportMeshText(in, out.mesh);
    out.log = log.Lines();
    return out;
}

void ExpectNear(const YVector& a, const YVector& b) {
    EXPECT_NEAR(a.x, b.x, 1e-5f);
    EXPECT_NEAR(a.y, b.y, 1e-5f);
    EXPECT_NEAR(a.z, b.z, 1e-5f);
}

TEST(MeshImport, FlatCubeSplitsEveryCornerAndTakesFaceNormals) {
    const Imported r = Import(CubeText(0));
    ASSERT_EQ(r.result, YMeshImportResult::Ok);
    EXPECT_TRUE(r.log.empty());
    const YMeshData& m = r.mesh;
    ASSERT_EQ(m.faces.size(), 12u);
    EXPECT_EQ(m.vertices.size(), 36u);
    EXPECT_EQ(m.normalGroups.size(), 36u);
    ASSERT_EQ(m.positionGroups.size(), 8u);
    for (const YMeshFace& f : m.faces) {
        // Outward: the normal points the same way as the face's centre.
        const YVector centre = (m.vertices[f.a].pos + m.vertices[f.b].pos + m.vertices[f.c].pos) * (1.0f / 3);
        EXPECT_NEAR(f.normal.Dot(f.normal), 1.0f, 1e-5f);
        EXPECT_NEAR(f.normal.Dot(centre), 1.0f, 1e-5f);
        for (int32_t v : {f.a, f.b, f.c}) ExpectNear(m.vertices[v].normal, f.normal);
    }
    // Every position group lists the vertices split from it, each at the group's position.
    int listed = 0;
    for (const YPositionGroup& g : m.positionGroups) {
        listed += g.vertexCount;
        for (int i = 0; i < g.vertexCount; ++i) ExpectNear(m.vertices[g.vertices[i]].pos, g.pos);
    }
    EXPECT_EQ(listed, 36);
}

TEST(MeshImport, SmoothCubeSharesOneVertexPerCornerWithAveragedNormals) {
    const Imported r = Import(CubeText(1));
    ASSERT_EQ(r.result, YMeshImportResult::Ok);
    const YMeshData& m = r.mesh;
    ASSERT_EQ(m.vertices.size(), 8u);
    ASSERT_EQ(m.normalGroups.size(), 8u);
    const float d = 1.0f / std::sqrt(3.0f);
    for (const YVertex& v : m.vertices) {
        EXPECT_NEAR(v.normal.Dot(v.normal), 1.0f, 1e-5f);
        EXPECT_GT(v.normal.Dot(v.pos), 0.5f);
        // The two corners whose three sides each give two triangles get the diagonal.
        if (v.pos.x == v.pos.y && v.pos.y == v.pos.z) ExpectNear(v.normal, YVector(d, d, d) * v.pos.x);
    }
}

TEST(MeshImport, TextureVIsFlipped) {
    const Imported r = Import(
        "mesh t vertices 3 0 0 0 1 0 0 0 1 0 tvertices 3 0 0.25 1 0 0 1 "
        "faces 1 0 1 2 0 1 2 0 0");
    ASSERT_EQ(r.result, YMeshImportResult::Ok);
    ASSERT_EQ(r.mesh.vertices.size(), 3u);
    EXPECT_FLOAT_EQ(r.mesh.vertices[0].uv1.v, 0.75f);
    EXPECT_FLOAT_EQ(r.mesh.vertices[1].uv1.v, 1.0f);
    // Without a light-map block the second set is a copy of the first.
    EXPECT_FLOAT_EQ(r.mesh.vertices[0].uv2.v, 0.75f);
}

TEST(MeshImport, FacesAreSortedByMaterialIntoSubsets) {
    const Imported r = Import(
        "mesh t vertices 6 0 0 0 1 0 0 0 1 0 5 0 0 6 0 0 5 1 0 tvertices 1 0 0 "
        "faces 3 3 4 5 0 0 0 2 0  0 1 2 0 0 0 1 0  0 2 1 0 0 0 2 0");
    ASSERT_EQ(r.result, YMeshImportResult::Ok);
    const YMeshData& m = r.mesh;
    ASSERT_EQ(m.subsets.size(), 2u);
    EXPECT_EQ(m.subsets[0].materialId, 1);
    EXPECT_EQ(m.subsets[0].startIndex, 0);
    EXPECT_EQ(m.subsets[0].primitiveCount, 1);
    EXPECT_EQ(m.subsets[1].materialId, 2);
    EXPECT_EQ(m.subsets[1].startIndex, 3);
    EXPECT_EQ(m.subsets[1].primitiveCount, 2);
    // Material 1's face comes first in the index list, and each subset's vertex range covers the
    // indices it draws.
    EXPECT_FLOAT_EQ(m.vertices[m.indices[1]].pos.x, 1.0f);
    for (const YMeshSubset& s : m.subsets)
        for (int i = s.startIndex; i < s.startIndex + 3 * s.primitiveCount; ++i) {
            EXPECT_GE(m.indices[i], s.minIndex);
            EXPECT_LT(m.indices[i], s.minIndex + s.vertexSpan);
        }
}

TEST(MeshImport, ClosedCubePairsEveryTriangleEdgeExactlyOnce) {
    for (unsigned mask : {0u, 1u}) {
        SCOPED_TRACE(mask);
        const Imported r = Import(CubeText(mask));
        const YMeshData& m = r.mesh;
        ASSERT_EQ(m.edges.size(), 18u);
        std::set<std::pair<int, int>> used; // (face, edge start corner)
        auto cornerOf = [&](int face, int32_t vertex) {
            const YMeshFace& f = m.faces[face];
            return vertex == f.a ? 0 : vertex == f.b ? 1 : vertex == f.c ? 2 : -1;
        };
        auto pos = [&](int32_t v) { return m.vertices[v].pos; };
        for (const YMeshEdge& e : m.edges) {
            EXPECT_LT(e.f, e.g);
            const int c = cornerOf(e.f, e.a);
            ASSERT_GE(c, 0);
            const int32_t fv[3] = {m.faces[e.f].a, m.faces[e.f].b, m.faces[e.f].c};
            EXPECT_EQ(fv[(c + 1) % 3], e.b) << "a -> b runs along face f";
            EXPECT_TRUE(used.insert({e.f, c}).second);
            // Face g has the same two points the other way round.
            const int32_t gv[3] = {m.faces[e.g].a, m.faces[e.g].b, m.faces[e.g].c};
            int found = -1;
            for (int d = 0; d < 3; ++d)
                if (pos(gv[d]).x == pos(e.b).x && pos(gv[d]).y == pos(e.b).y && pos(gv[d]).z == pos(e.b).z &&
                    pos(gv[(d + 1) % 3]).x == pos(e.a).x && pos(gv[(d + 1) % 3]).y == pos(e.a).y &&
                    pos(gv[(d + 1) % 3]).z == pos(e.a).z)
                    found = d;
            ASSERT_GE(found, 0);
            EXPECT_TRUE(used.insert({e.g, found}).second);
        }
        EXPECT_EQ(used.size(), 36u);
    }
}

TEST(MeshImport, EdgesPairPositionsWithinTheTolerance) {
    // Two triangles sharing an edge whose ends are written slightly differently in each.
    const Imported r = Import(
        "mesh t vertices 6 0 0 0 1 0 0 0 1 0 1.0000003 0 0 0 1.0000004 0 1 1 0 "
        "tvertices 1 0 0 faces 2 0 1 2 0 0 0 0 0 3 5 4 0 0 0 0 0");
    ASSERT_EQ(r.result, YMeshImportResult::Ok);
    ASSERT_EQ(r.mesh.edges.size(), 1u);
    EXPECT_EQ(r.mesh.edges[0].f, 0);
    EXPECT_EQ(r.mesh.edges[0].g, 1);
}

TEST(MeshImport, SmoothingFollowsTheOpeningFaceOnly) {
    // Three faces meet at position 0 with masks 1, 3 and 2. The last one opens the group and takes
    // the face with mask 3, but not the face with mask 1, although 3 shares a bit with it.
    const Imported r = Import(
        "mesh t vertices 4 0 0 0 1 0 0 0 1 0 -1 0 0 tvertices 1 0 0 "
        "faces 3 0 1 2 0 0 0 0 1  0 2 3 0 0 0 0 3  0 3 1 0 0 0 0 2");
    ASSERT_EQ(r.result, YMeshImportResult::Ok);
    EXPECT_EQ(r.mesh.positionGroups[0].vertexCount, 2);
}

TEST(MeshImport, FacesWithoutAreaAddNothingAndOpposedFacesFallBackToZUp) {
    // Faces 0 and 1 are one triangle both ways round (mask 1: one group per position, whose
    // normals cancel); face 2 has no area.
    const Imported r = Import(
        "mesh t vertices 4 0 0 0 1 0 0 0 1 0 2 0 0 tvertices 1 0 0 "
        "faces 3 0 1 2 0 0 0 0 1  0 2 1 0 0 0 0 1  0 1 3 0 0 0 0 0");
    ASSERT_EQ(r.result, YMeshImportResult::Ok);
    const YMeshData& m = r.mesh;
    ExpectNear(m.faces[0].normal, {0, 0, 1});
    ExpectNear(m.faces[1].normal, {0, 0, -1});
    ExpectNear(m.faces[2].normal, {0, 0, 0});
    for (const YVertex& v : m.vertices) {
        EXPECT_TRUE(std::isfinite(v.normal.x) && std::isfinite(v.normal.y) && std::isfinite(v.normal.z));
        ExpectNear(v.normal, {0, 0, 1});
    }
}

TEST(MeshImport, LightMapBlockGivesTheSecondCoordinates) {
    // Face 0 is named in "tfaces"; face 1 keeps its texture indices as light-map indices.
    const Imported r = Import(
        "mesh t vertices 4 0 0 0 1 0 0 0 1 0 1 1 0 tvertices 3 0 0 1 0 0 1 "
        "faces 2 0 1 2 0 1 2 0 1  1 3 2 1 0 2 0 1 "
        "lightmap lm 1 4 0.5 0.5 0.25 0.25 0 0 1 0.125 tfaces 1 0 3 2 1");
    ASSERT_EQ(r.result, YMeshImportResult::Ok);
    const YMeshData& m = r.mesh;
    ASSERT_EQ(m.faces.size(), 2u);
    const YVertex& a = m.vertices[m.faces[0].a];
    EXPECT_FLOAT_EQ(a.uv1.u, 0.0f);
    EXPECT_FLOAT_EQ(a.uv2.u, 1.0f);
    EXPECT_FLOAT_EQ(a.uv2.v, 0.875f);
    const YVertex& b = m.vertices[m.faces[0].b];
    EXPECT_FLOAT_EQ(b.uv2.u, 0.0f);
    EXPECT_FLOAT_EQ(b.uv2.v, 1.0f);
    // Face 1's first corner has texture index 1, so light-map coordinate 1.
    const YVertex& c = m.vertices[m.faces[1].a];
    EXPECT_FLOAT_EQ(c.uv2.u, 0.25f);
    EXPECT_FLOAT_EQ(c.uv2.v, 0.75f);
    // Same position and uv, different light-map uv: two vertices at position 1.
    EXPECT_EQ(m.positionGroups[1].vertexCount, 2);
}

TEST(MeshImport, FourteenCornersOnOnePositionImportFifteenAreRefused) {
    const Imported ok = Import(FanText(14));
    EXPECT_EQ(ok.result, YMeshImportResult::Ok);
    EXPECT_EQ(ok.mesh.faces.size(), 14u);
    EXPECT_TRUE(ok.log.empty());

    const Imported refused = Import(FanText(15));
    EXPECT_EQ(refused.result, YMeshImportResult::Refused);
    EXPECT_EQ(refused.log, std::vector<std::string>{"Error, MAX_FACES_PER_NORMAL = 15  is small"});
    EXPECT_TRUE(refused.mesh.IsEmpty());
    EXPECT_TRUE(refused.mesh.positionGroups.empty());
}

TEST(MeshImport, AnyWordAfterTheFacesEndsTheBlock) {
    const std::string tri = "mesh t vertices 3 0 0 0 1 0 0 0 1 0 tvertices 1 0 0 faces 1 0 1 2 0 0 0 0 0";
    for (const char* tail : {"", " end", " sceleton hero 3"}) {
        SCOPED_TRACE(tail);
        YMeshTextReader in(tri + tail);
        YMeshData m;
        LogCatcher log;
        EXPECT_EQ(ImportMeshText(in, m), YMeshImportResult::Ok);
        EXPECT_EQ(m.faces.size(), 1u);
        EXPECT_TRUE(log.Lines().empty());
        // The closing word is consumed; what follows is left for the reader's next user.
        if (std::string(tail).find("hero") != std::string::npos) {
            EXPECT_EQ(in.Word(), "hero");
        }
    }
}

TEST(MeshImport, MissingTfacesKeepsTheModelUnsorted) {
    const Imported r = Import(
        "mesh t vertices 3 0 0 0 1 0 0 0 1 0 tvertices 1 0 0 "
        "faces 2 0 1 2 0 0 0 5 0  0 2 1 0 0 0 1 0 lightmap a b 1 0 0 nofaces");
    EXPECT_EQ(r.result, YMeshImportResult::Incomplete);
    EXPECT_EQ(r.log, std::vector<std::string>{"Error token: nofaces"});
    ASSERT_EQ(r.mesh.subsets.size(), 2u);
    EXPECT_EQ(r.mesh.subsets[0].materialId, 5);
    EXPECT_EQ(r.mesh.subsets[1].materialId, 1);
}

// The position block of `n` positions at the origin.
std::string Positions(int n) {
    std::string s = "vertices " + std::to_string(n) + "\n";
    for (int i = 0; i < n; ++i) s += "0 0 0\n";
    return s;
}

TEST(MeshImport, MalformedFilesAreLoggedAndLeaveNoModel) {
    const std::string head = "mesh t vertices 3 0 0 0 1 0 0 0 1 0 tvertices 1 0 0 ";
    struct Case {
        const char* what;
        std::string text;
        YMeshImportResult result;
        const char* line;
    };
    const Case cases[] = {
        {"empty file", "", YMeshImportResult::Incomplete, "Error token: "},
        {"wrong first word", "mash t", YMeshImportResult::Incomplete, "Error token: mash"},
        {"misspelt keyword", "mesh t vertexes 3", YMeshImportResult::Incomplete, "Error token: vertexes"},
        {"negative count", "mesh t vertices -1", YMeshImportResult::Refused, "Error token: -1"},
        {"count beyond the file", "mesh t vertices 1000000 0 0 0", YMeshImportResult::Refused, "Error token: 1000000"},
        {"count beyond 32 bits", "mesh t vertices 99999999999", YMeshImportResult::Refused, "Error token: 99999999999"},
        {"more positions than 16-bit indices reach", "mesh t " + Positions(65537), YMeshImportResult::Refused,
         "Error token: 65537"},
        {"count that is no number", "mesh t vertices three", YMeshImportResult::Refused, "Error token: three"},
        {"real with junk", "mesh t vertices 1 0 1.5x 0", YMeshImportResult::Refused, "Error token: 1.5x"},
        {"not a finite real", "mesh t vertices 1 0 nan 0", YMeshImportResult::Refused, "Error token: nan"},
        {"huge real", "mesh t vertices 1 0 1e39 0", YMeshImportResult::Refused, "Error token: 1e39"},
        {"file ends in a position", "mesh t vertices 2 0 0 0 1 0", YMeshImportResult::Refused, "Error token: "},
        {"count beyond the words left", "mesh t vertices 2 0 0 0 1", YMeshImportResult::Refused, "Error token: 2"},
        {"file ends in a face", head + "faces 1 0 1 2 0 0 0 0", YMeshImportResult::Refused, "Error token: "},
        {"position index too large", head + "faces 1 0 1 3 0 0 0 0 0", YMeshImportResult::Refused, "Error token: 3"},
        {"negative position index", head + "faces 1 0 -1 2 0 0 0 0 0", YMeshImportResult::Refused, "Error token: -1"},
        {"texture index too large", head + "faces 1 0 1 2 0 1 0 0 0", YMeshImportResult::Refused, "Error token: 1"},
        {"smoothing mask no number", head + "faces 1 0 1 2 0 0 0 0 all", YMeshImportResult::Refused,
         "Error token: all"},
        {"tfaces face out of range", head + "faces 1 0 1 2 0 0 0 0 0 lightmap a b 1 0 0 tfaces 1 1 0 0 0",
         YMeshImportResult::Refused, "Error token: 1"},
        {"tfaces coordinate out of range", head + "faces 1 0 1 2 0 0 0 0 0 lightmap a b 1 0 0 tfaces 1 0 0 2 0",
         YMeshImportResult::Refused, "Error token: 2"},
        {"light-map list shorter than the texture indices",
         "mesh t vertices 3 0 0 0 1 0 0 0 1 0 tvertices 2 0 0 1 1 faces 1 0 1 2 0 1 0 0 0 "
         "lightmap a b 1 0 0 tfaces 0",
         YMeshImportResult::Refused, "Error token: 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Imported r = Import(c.text);
        EXPECT_EQ(r.result, c.result);
        EXPECT_EQ(r.log, std::vector<std::string>{c.line});
        EXPECT_TRUE(r.mesh.IsEmpty());
        EXPECT_TRUE(r.mesh.subsets.empty());
    }
}

TEST(MeshImport, AsManyPositionsAsVerticesCanBeAddressedAreRead) {
    const Imported r = Import("mesh t " + Positions(65536) + "tvertices 0 faces 0");
    EXPECT_EQ(r.result, YMeshImportResult::Ok);
    EXPECT_TRUE(r.log.empty());
    EXPECT_EQ(r.mesh.positionGroups.size(), 65536u);
}

TEST(MeshImport, NumbersReadInTheCLocale) {
    const Imported r = Import(
        "mesh t vertices 3 +0 0 0 1e0 0 0 0 .5e1 0 tvertices 1 0 0 "
        "faces 1 0 1 2 0 0 0 -3 4294967295");
    ASSERT_EQ(r.result, YMeshImportResult::Ok);
    EXPECT_FLOAT_EQ(r.mesh.positionGroups[2].pos.y, 5.0f);
    EXPECT_EQ(r.mesh.subsets[0].materialId, -3);
}

} // namespace
