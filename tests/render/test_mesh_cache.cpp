// Loading meshes by name: text file or cache file, which one wins, what is written, and the
// shared mesh objects.
#include "render/mesh/mesh.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "mesh_fixtures.h"
#include "render/mesh/mesh_binary.h"
#include "render/mesh/mesh_import.h"

using meshtest::CubeText;
using meshtest::FanText;
using meshtest::LogCatcher;

namespace {

// Runs in a scratch game folder with a "mesh" folder; meshes made through GetMesh are deleted
// afterwards so each test starts with an empty cache.
class MeshCacheTest : public ::testing::Test {
protected:
    MeshCacheTest() { dir.MakeDir("mesh"); }
    ~MeshCacheTest() override {
        while (!MeshCache().empty()) delete MeshCache().back();
    }

    // A mesh loaded on its own (not through the cache), with what it logged.
    std::unique_ptr<YMesh> Load(const std::string& name) {
        log.Clear();
        auto mesh = std::make_unique<YMesh>();
        mesh->Load(name);
        logged = log.Lines();
        return mesh;
    }

    // The cache file a model's import would write.
    static std::string CacheOf(const std::string& text, const std::string& name) {
        YMeshTextReader in(text);
        YMeshData m;
        EXPECT_EQ(ImportMeshText(in, m), YMeshImportResult::Ok);
        testsupport::TempDir scratch;
        {
            OutFStream out(scratch.File("x").c_str());
            WriteMeshBinary(out, name, m);
            EXPECT_TRUE(out.Close());
        }
        return scratch.Read("x");
    }

    testsupport::TempDir dir{true};
    LogCatcher log;
    std::vector<std::string> logged;
};

using Lines = std::vector<std::string>;

TEST_F(MeshCacheTest, ImportWritesTheCacheWhichLaterLoadsRead) {
    dir.Write("mesh/cube.mes", CubeText(1));
    auto first = Load("mesh\\cube.mes");
    EXPECT_EQ(logged, Lines{"Load mesh file mesh\\cube.mes"});
    EXPECT_EQ(first->loaded, 1);
    EXPECT_EQ(first->vertices.size(), 8u);
    EXPECT_EQ(dir.Read("mesh/cube.meb"), CacheOf(CubeText(1), "mesh\\cube.mes"));

    auto second = Load("mesh\\cube.mes");
    EXPECT_TRUE(logged.empty());
    EXPECT_EQ(second->vertices.size(), 8u);
    EXPECT_EQ(second->edges.size(), 18u);
}

TEST_F(MeshCacheTest, ExistingCacheWinsAndTheTextIsNotOpened) {
    // The text would log an error if it were read; the cache holds another model altogether.
    dir.Write("mesh/m.mes", "garbage");
    dir.Write("mesh/m.meb", CacheOf(FanText(3), "mesh\\m.mes"));
    auto mesh = Load("mesh\\m.mes");
    EXPECT_TRUE(logged.empty());
    EXPECT_EQ(mesh->faces.size(), 3u);
}

TEST_F(MeshCacheTest, NamesNotEndingInMesReadTheCacheName) {
    dir.Write("mesh/m.meb", CacheOf(FanText(3), "mesh\\m.mes"));
    for (const char* name : {"mesh\\m.meb", "mesh\\m.xyz"}) {
        SCOPED_TRACE(name);
        auto mesh = Load(name);
        EXPECT_TRUE(logged.empty());
        EXPECT_EQ(mesh->faces.size(), 3u);
        EXPECT_EQ(mesh->name, name);
    }
    auto none = Load("mesh\\none.ams");
    EXPECT_EQ(logged, Lines{"Error reading mesh file mesh\\none.meb: no such file"});
    EXPECT_TRUE(none->IsEmpty());
    EXPECT_EQ(none->loaded, 1);
}

TEST_F(MeshCacheTest, MissingOrBrokenTextWritesNoCache) {
    auto missing = Load("mesh\\later.mes");
    EXPECT_EQ(logged, (Lines{"Load mesh file mesh\\later.mes", "Error token: "}));
    EXPECT_TRUE(missing->IsEmpty());
    EXPECT_FALSE(dir.Exists("mesh/later.meb"));

    dir.Write("mesh/later.mes", FanText(15));
    auto broken = Load("mesh\\later.mes");
    EXPECT_EQ(logged, (Lines{"Load mesh file mesh\\later.mes", "Error, MAX_FACES_PER_NORMAL = 15  is small"}));
    EXPECT_TRUE(broken->IsEmpty());
    EXPECT_FALSE(dir.Exists("mesh/later.meb"));

    // Once the model is there, the next start imports it.
    dir.Write("mesh/later.mes", FanText(4));
    auto mended = Load("mesh\\later.mes");
    EXPECT_EQ(mended->faces.size(), 4u);
    EXPECT_TRUE(dir.Exists("mesh/later.meb"));
}

TEST_F(MeshCacheTest, DamagedCacheFallsBackToTheTextAndIsRewritten) {
    dir.Write("mesh/c.mes", CubeText(0));
    const std::string good = CacheOf(CubeText(0), "mesh\\c.mes");
    for (const std::string& damaged : {std::string(), good.substr(0, good.size() / 2)}) {
        dir.Write("mesh/c.meb", damaged);
        auto mesh = Load("mesh\\c.mes");
        ASSERT_EQ(logged.size(), 2u);
        EXPECT_EQ(logged[0].rfind("Error reading mesh file mesh\\c.meb: ", 0), 0u);
        EXPECT_EQ(logged[1], "Load mesh file mesh\\c.mes");
        EXPECT_EQ(mesh->vertices.size(), 36u);
        EXPECT_EQ(dir.Read("mesh/c.meb"), good);
    }
}

TEST_F(MeshCacheTest, DamagedCacheWithoutTextLeavesAnEmptyMesh) {
    dir.Write("mesh/c.meb",
              "\x05\x00"
              "ab");
    auto mesh = Load("mesh\\c.meb");
    ASSERT_EQ(logged.size(), 1u);
    EXPECT_TRUE(mesh->IsEmpty());
}

TEST_F(MeshCacheTest, CacheThatCannotBeWrittenLeavesTheImportInUse) {
    // A folder where the cache file would go: it does not count as a cache, and the write fails.
    dir.Write("mesh/d.mes", CubeText(1));
    dir.MakeDir("mesh/d.meb");
    auto mesh = Load("mesh\\d.mes");
    EXPECT_EQ(logged, (Lines{"Load mesh file mesh\\d.mes", "Could not write mesh file mesh\\d.meb"}));
    EXPECT_EQ(mesh->vertices.size(), 8u);
}

TEST_F(MeshCacheTest, NamesShorterThanTheEndingAreNotFound) {
    auto mesh = Load("ab");
    EXPECT_EQ(logged, Lines{"Error reading mesh file ab: no such file"});
    EXPECT_TRUE(mesh->IsEmpty());
}

TEST_F(MeshCacheTest, ScaleIsAbsolute) {
    dir.Write("mesh/cube.mes", CubeText(0));
    YMesh* mesh = GetMesh("mesh\\cube.mes");
    mesh->Scale(2.0f);
    mesh->Scale(3.0f);
    for (const YPositionGroup& g : mesh->positionGroups)
        for (int i = 0; i < g.vertexCount; ++i) {
            const YVector& p = mesh->vertices[g.vertices[i]].pos;
            EXPECT_FLOAT_EQ(p.x, 3.0f * g.pos.x);
            EXPECT_FLOAT_EQ(p.y, 3.0f * g.pos.y);
            EXPECT_FLOAT_EQ(p.z, 3.0f * g.pos.z);
        }
    // Normals stay as imported.
    EXPECT_FLOAT_EQ(mesh->vertices[0].normal.Dot(mesh->vertices[0].normal), 1.0f);
}

TEST_F(MeshCacheTest, OneMeshPerExactName) {
    dir.Write("mesh/cube.mes", CubeText(0));
    YMesh* a = GetMesh("mesh\\cube.mes");
    EXPECT_EQ(GetMesh("mesh\\cube.mes"), a);
    // Another spelling finds the same files but is another mesh, which keeps its own name even
    // though the cache file stores the first one.
    YMesh* b = GetMesh("mesh\\Cube.mes");
    EXPECT_NE(b, a);
    EXPECT_EQ(b->name, "mesh\\Cube.mes");
    EXPECT_EQ(b->vertices.size(), 36u);
    EXPECT_EQ(GetMesh("mesh\\Cube.mes"), b);
    EXPECT_EQ(MeshCache().size(), 2u);
}

} // namespace
