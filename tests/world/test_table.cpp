// The table: reshaping its models for a size, the material list, the on-table test, spots,
// decals and wall flashes, and what its overlay pass draws (over the null device).
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "core/init.h"
#include "core/log.h"
#include "platform/gpu/null/null_device.h"
#include "render/mesh/mesh.h"
#include "render/render_d3d.h"
#include "render/shader.h"
#include "render/video_mode.h"
#include "support/temp_dir.h"
#include "world/physics/table_size.h"
#include "world/physics/wall_contacts.h"
#include "world/table/table.h"
#include "world/table/table_materials.h"

namespace {

// One triangle per subset, each corner its own position group, placed at (x, y) from `corners`
// and with first texture u = `u`.
void FillMesh(YMesh* mesh, int subsets, const std::vector<YVector>& corners, float u) {
    mesh->ClearGeometry();
    mesh->subsets.clear();
    for (int s = 0; s < subsets; ++s) {
        for (int c = 0; c < 3; ++c) {
            const int v = static_cast<int>(mesh->vertices.size());
            const YVector p = corners[static_cast<std::size_t>((s * 3 + c) % corners.size())];
            mesh->vertices.push_back(YVertex(p, YVector(0, 0, 1), YVector2(u, 0.5f)));
            mesh->indices.push_back(static_cast<uint16_t>(v));
            YPositionGroup g{};
            g.pos = p;
            g.vertexCount = 1;
            g.vertices[0] = v;
            mesh->positionGroups.push_back(g);
        }
        mesh->subsets.push_back(YMeshSubset{s * 3, 1, s, s * 3, 3});
    }
}

class TableTest : public ::testing::Test {
protected:
    void SetUp() override {
        LogReopen(dir_.File("log.txt"));
        corners_ = {{12.0f, 11.0f, 0.0f}, {-12.0f, 11.0f, -1.0f}, {3.0f, -4.0f, 0.0f}};
        FillMesh(GetMesh("mesh\\pyramid.mes"), 9, corners_, 3.0f);
        FillMesh(GetMesh("mesh\\border.mes"), 1, corners_, 3.0f);
        table_ = std::make_unique<YTable>();
    }
    void TearDown() override {
        table_.reset();
        WallContacts().clear();
        LogReopen("");
    }
    std::string Log() const { return dir_.Read("log.txt"); }

    TempDir dir_;
    std::vector<YVector> corners_;
    std::unique_ptr<YTable> table_;
};

TEST_F(TableTest, WideTableMovesGroupsOutAndStretchesTextures) {
    table_->Build(30.0f, 20.0f, nullptr);
    EXPECT_FLOAT_EQ(g_TableSize.halfWidth, 15.0f);
    const std::vector<YVertex>& v = table_->pyramid->vertices;
    for (std::size_t i = 0; i < v.size(); ++i) {
        const YVector& p0 = corners_[i % 3];
        EXPECT_FLOAT_EQ(v[i].pos.x, p0.x + (p0.x >= 0 ? 5.0f : -5.0f)) << i;
        EXPECT_FLOAT_EQ(v[i].pos.y, p0.y) << i;
        EXPECT_FLOAT_EQ(v[i].pos.z, p0.z) << i;
    }
    // k = 5: subset 4 rounds 3 x 1.25 = 3.75 to 4; subset 6 stretches by 1 + 5 / 18; subset 7 maps
    // the moved corner at 0.11 per unit.
    for (int c = 0; c < 3; ++c) {
        EXPECT_FLOAT_EQ(v[12 + c].uv1.u, 4.0f);
        EXPECT_FLOAT_EQ(v[18 + c].uv1.u, 3.0f * (1.0f + 5.0f / 18.0f));
        EXPECT_FLOAT_EQ(v[21 + c].uv1.u, v[21 + c].pos.x * 0.11f);
        EXPECT_FLOAT_EQ(v[21 + c].uv1.v, v[21 + c].pos.y * 0.11f);
        EXPECT_FLOAT_EQ(v[c].uv1.u, 3.0f) << "other subsets keep theirs";
        EXPECT_FLOAT_EQ(table_->border->vertices[c].uv1.u, 4.0f);
    }
    // Building back at 20 x 20 restores the modelled shape.
    table_->Build(20.0f, 20.0f, nullptr);
    for (std::size_t i = 0; i < v.size(); ++i) EXPECT_FLOAT_EQ(v[i].pos.x, corners_[i % 3].x);
    EXPECT_FLOAT_EQ(v[12].uv1.u, 3.0f);
}

TEST_F(TableTest, ModelsWithFewerSubsetsAreReshapedWhereTheyCan) {
    FillMesh(GetMesh("mesh\\pyramid.mes"), 2, corners_, 3.0f);
    FillMesh(GetMesh("mesh\\border.mes"), 0, corners_, 3.0f);
    YTable small;
    small.Build(40.0f, 30.0f, nullptr);
    EXPECT_FLOAT_EQ(small.pyramid->vertices[0].pos.x, 12.0f + 10.0f);
}

TEST_F(TableTest, MaterialsFromTheFileAndUnknownNames) {
    const std::string file = dir_.File("env.yml");
    dir_.Write("env.yml",
               "<pyramid/>\n<pyramid name=\"stone\" shader1=\"t_a\"/>\n<environment name=\"x\" "
               "shader=\"y\"/>\n<bogus a=\"1\"/>\n<pyramid name=\"stone\" shader10=\"t_b\"/>\n");
    TableMaterials().clear();
    LoadTableMaterials(file.c_str());
    ASSERT_EQ(TableMaterials().size(), 2u);
    const YTableMaterial* unnamed = FindTableMaterial("");
    ASSERT_NE(unnamed, nullptr);
    const char* defaults[] = {"pyr1", "pyr2", "pyr2", "pyr4", "pyr5", "pyr6", "pyr7", "pyr2", "pyr9", "border"};
    ASSERT_EQ(unnamed->shaders.size(), 10u);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(unnamed->shaders[i], FindShader(defaults[i]));
    const YTableMaterial* stone = FindTableMaterial("stone");
    ASSERT_NE(stone, nullptr);
    ASSERT_EQ(stone->shaders.size(), 20u) << "a repeated name appends";
    EXPECT_EQ(stone->shaders[0], FindShader("t_a"));
    EXPECT_EQ(stone->shaders[19], FindShader("t_b"));
    EXPECT_NE(Log().find("Table Marterial Loader error, "), std::string::npos) << "the unknown tag is logged";

    const std::vector<YShaderBase*> before = table_->pyramid->shaders;
    table_->Build(20.0f, 20.0f, "no such material");
    EXPECT_EQ(table_->pyramid->shaders, before);
    table_->Build(20.0f, 20.0f, "stone");
    EXPECT_EQ(table_->pyramid->shaders.size(), 20u);
    ASSERT_EQ(table_->border->shaders.size(), 1u);
    EXPECT_EQ(table_->border->shaders[0], FindShader("t_b"));
    TableMaterials().clear();
}

TEST_F(TableTest, InsideIsStrictAtTheEdges) {
    const struct {
        YVector p;
        bool inside;
    } cases[] = {{{0, 0, 0}, true},       {{9.99f, 0, 0}, true}, {{10, 0, 0}, false},     {{0, -10, 0}, false},
                 {{0, 0, -0.01f}, false}, {{0, 0, 50}, true},    {{-9.9f, 9.9f, 1}, true}};
    for (const auto& c : cases) EXPECT_EQ(table_->IsInside(&c.p), c.inside) << c.p.x << " " << c.p.y << " " << c.p.z;
}

TEST_F(TableTest, SpotAndDecalAcceptance) {
    const float colour[4] = {1.0f, 0.5f, 0.25f, 1.0f};
    YShader* s = FindShader("lmap");
    const YVector atLimit(0, 0, 2.0f), onFloor(1, 2, 0.0f), halfway(0, 0, 1.0f), below(0, 0, -0.1f),
        farOut(13.5f, 0, 0.5f);
    table_->AddSpot(&atLimit, s, colour, 2.0f);
    table_->AddSpot(&below, s, colour, 2.0f);
    table_->AddSpot(&farOut, s, colour, 2.0f);
    EXPECT_TRUE(table_->spots.empty());
    table_->AddSpot(&onFloor, s, colour, 2.0f);
    table_->AddSpot(&halfway, s, colour, 2.0f);
    ASSERT_EQ(table_->spots.size(), 2u);
    EXPECT_FLOAT_EQ(table_->spots[0].halfSize, 2.0f);
    EXPECT_FLOAT_EQ(table_->spots[0].colour[0], 1.0f);
    EXPECT_FLOAT_EQ(table_->spots[1].halfSize, 3.0f) << "higher: larger";
    EXPECT_FLOAT_EQ(table_->spots[1].colour[1], 0.25f) << "and fainter";

    const YVector decalHigh(0, 0, 1.0f), decalLow(0, 0, 0.5f);
    table_->AddDecal(1.0f, 1.0f, 1.0f, &decalHigh, s, colour, colour);
    EXPECT_TRUE(table_->decals.empty()) << "a decal at z = size is not added";
    table_->AddDecal(1.0f, 1.0f, 3.0f, &decalLow, s, colour, colour);
    ASSERT_EQ(table_->decals.size(), 1u);
    table_->spots.clear();
    table_->UpdateDecals(0.5f);
    ASSERT_EQ(table_->spots.size(), 1u) << "a live decal shows as a spot";
    EXPECT_FLOAT_EQ(table_->spots[0].halfSize, 2.0f + 0.5f);
    table_->UpdateDecals(0.6f);
    EXPECT_TRUE(table_->decals.empty());
    table_->Build(20.0f, 20.0f, nullptr);
    EXPECT_TRUE(table_->decals.empty());
}

TEST_F(TableTest, CornerSpotIsCutNotSqueezed) {
    YLightSpot spot{9.0f, -9.5f, 2.0f, {1, 1, 1, 1}, nullptr};
    YTexVertex q[4];
    ASSERT_TRUE(SpotQuad(spot, 10.0f, 10.0f, q));
    // x runs 7..11, cut at 10: u 0..0.75; y runs -11.5..-7.5, cut at -10: v 0.375..1.
    EXPECT_FLOAT_EQ(q[0].pos.x, 7.0f);
    EXPECT_FLOAT_EQ(q[1].pos.x, 10.0f);
    EXPECT_FLOAT_EQ(q[0].pos.y, -10.0f);
    EXPECT_FLOAT_EQ(q[2].pos.y, -7.5f);
    EXPECT_FLOAT_EQ(q[1].uv.u, 0.75f);
    EXPECT_FLOAT_EQ(q[0].uv.v, 0.375f);
    EXPECT_FLOAT_EQ(q[2].uv.v, 1.0f);
    EXPECT_FLOAT_EQ(q[0].pos.z, 0.01f);
    EXPECT_FLOAT_EQ(q[0].uv2.u, 1.0f) << "the second set is not cut";
    YLightSpot outside{30.0f, 0.0f, 2.0f, {1, 1, 1, 1}, nullptr};
    EXPECT_FALSE(SpotQuad(outside, 10.0f, 10.0f, q));
}

TEST_F(TableTest, WallContactsBelowTheFloorMakeNoFlash) {
    const YVector n(0, -1, 0), side(1, -0.05f, 0);
    const YVector below(0, 10, -0.1f), above(0, 10, 0.5f), onSide(-10, 3, 0.5f);
    OnWallContact(&below, &n);
    EXPECT_TRUE(WallContacts().empty());
    OnWallContact(&above, &n);
    OnWallContact(&onSide, &side);
    ASSERT_EQ(WallContacts().size(), 2u);
    EXPECT_FALSE(WallContacts()[0].sideWall);
    EXPECT_TRUE(WallContacts()[1].sideWall);
    table_->UpdateDecals(0.2f);
    EXPECT_EQ(WallContacts().size(), 2u);
    table_->UpdateDecals(0.1f);
    EXPECT_TRUE(WallContacts().empty()) << "gone after 0.25 s";

    // The flash square stays on the wall and above the floor.
    YTexVertex q[4];
    const YVector low(9.5f, 10.0f, 0.2f);
    ASSERT_TRUE(WallContactQuad(&low, false, 1.0f, q));
    EXPECT_FLOAT_EQ(q[0].pos.z, 0.0f);
    EXPECT_FLOAT_EQ(q[0].uv.v, 1.0f - 0.8f / 2.0f);
    EXPECT_FLOAT_EQ(q[1].pos.x, 10.0f);
    EXPECT_FLOAT_EQ(q[1].uv.u, 0.75f);
    EXPECT_FLOAT_EQ(q[0].pos.y, 9.95f);
}

TEST_F(TableTest, OverlaysDrawTheIceOnceAndEmptyTheSpots) {
    gpu::NullAdapterScript script;
    script.modes = {gpu::DisplayMode{1024, 768, 75, gpu::D3DFMT_X8R8G8B8}};
    script.displayMode = gpu::DisplayMode{1024, 768, 60, gpu::D3DFMT_X8R8G8B8};
    auto d3d = std::make_shared<gpu::NullDirect3D>(script);
    {
        Render_D3D render([d3d](uint32_t) -> gpu::Direct3DPtr { return d3d; });
        std::vector<YVideoMode> modes;
        render.GetVideoModes(&modes);
        g_VideoModes.Assign(modes);
        ASSERT_TRUE(render.CreateDevice(nullptr, false, 0));
        gpu::NullDevice& dev = *d3d->LastDevice();
        auto draws = [&] {
            int n = 0;
            for (const gpu::NullCall& c : dev.Calls())
                if (c.text.rfind("DrawPrimitiveUP", 0) == 0) ++n;
            return n;
        };
        table_->frostLevel = 0.5f;
        const float colour[4] = {1, 1, 1, 1};
        const YVector p(0, 0, 0);
        table_->AddSpot(&p, FindShader("lmap"), colour, 1.0f);
        const int before = draws();
        table_->Draw(TABLE_DRAW_OVERLAYS);
        // Without the full-pass flag the floor goes in depth only: one quad, then the overlays.
        EXPECT_EQ(draws() - before, 3) << "depth floor, ice cover and one spot";
        EXPECT_FLOAT_EQ(table_->frostLevel, 0.0f);
        EXPECT_TRUE(table_->spots.empty());
        const int after = draws();
        table_->Draw(TABLE_DRAW_OVERLAYS);
        EXPECT_EQ(draws() - after, 1) << "no frost, no spots: the depth floor alone";
        render.ReleaseDevice();
    }
}

} // namespace
