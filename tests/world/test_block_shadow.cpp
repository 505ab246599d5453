// A single block's shadow quads are kept while it rests: built again only when it moved, when the
// light turned or the receiving plane changed; what the kept quads give the shadow volume is what
// building them anew gives, for the eye where it is now.
#include "world/block_fixture.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "platform/gpu/null/null_device.h"
#include "render/camera.h"
#include "render/render_d3d.h"
#include "render/scene/shadow_volume.h"
#include "render/video_mode.h"
#include "world/blocks/block_faces.h"

namespace {

class BlockShadowTest : public blocktest::BlockWorldTest {
protected:
    void SetUp() override {
        BlockWorldTest::SetUp();
        savedCamera_ = g_Camera;
        savedShadows_ = GetInit().shadows;
        GetInit().shadows = true;
        gpu::NullAdapterScript script;
        script.modes = {gpu::DisplayMode{800, 600, 60, gpu::D3DFMT_X8R8G8B8}};
        script.depthFormats = {gpu::D3DFMT_D24S8};
        auto d3d = std::make_shared<gpu::NullDirect3D>(std::move(script));
        render_ = std::make_unique<Render_D3D>([d3d](uint32_t) -> gpu::Direct3DPtr { return d3d; });
        std::vector<YVideoMode> modes;
        render_->GetVideoModes(&modes);
        ASSERT_TRUE(render_->CreateDevice(nullptr, false, 0));
        ASSERT_TRUE(ShadowsEnabled());
        YMatrix view;
        view.MatrixSetTranslation(YVector(2, -3, -30));
        g_Camera.SetView(&view);
        const YVector light(-0.3f, 0.5f, -1.0f);
        g_Camera.SetLightDir(&light);
    }
    void TearDown() override {
        ForgetFrameLeftovers();
        g_ShadowVolume.Begin(0.0f);
        render_.reset();
        GetInit().shadows = savedShadows_;
        g_Camera = savedCamera_;
        BlockWorldTest::TearDown();
    }

    // One frame of the world with the volume begun anew, as the game's frame does; long enough for
    // a physics step in every frame.
    static void ShadowFrame() {
        g_ShadowVolume.Begin(0.0f);
        Frames(1, 0.04f);
        ForgetFrameLeftovers();
    }

    // The volume the block's silhouette gives when built from its corners now (the rule the block
    // follows without kept quads).
    static void BuildAnew(const YBlockSingle& b, std::vector<YVector>* front, std::vector<YVector>* back) {
        g_ShadowVolume.Begin(0.0f);
        bool lit[6];
        for (int f = 0; f < 6; ++f) lit[f] = g_Camera.lightDir.Dot(b.normals[f]) > 0.0f;
        for (const auto& e : BOX_EDGES)
            if (lit[e[2]] != lit[e[3]]) AddShadowEdge(&b.corners[e[0]], &b.corners[e[1]], lit[e[2]]);
        *front = g_ShadowVolume.front;
        *back = g_ShadowVolume.back;
    }

    YCamera savedCamera_;
    bool savedShadows_ = true;
    std::unique_ptr<Render_D3D> render_;
};

void ExpectSameCorners(const std::vector<YVector>& got, const std::vector<YVector>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].x, want[i].x) << i;
        EXPECT_EQ(got[i].y, want[i].y) << i;
        EXPECT_EQ(got[i].z, want[i].z) << i;
    }
}

TEST_F(BlockShadowTest, ARestingBlockKeepsItsQuadsWhileAFallingOneBuildsThemEveryFrame) {
    const YBlockType* t = FindBlockType("hard", 1, 1, 1);
    YMatrix turned;
    turned.SetRotationZ(30.0f);
    turned.m[12] = -3.0f;
    turned.m[13] = 2.0f;
    turned.m[14] = t->halfExtents.z + 0.02f;
    auto* resting = new YBlockSingle(t, nullptr, turned);
    Frames(200); // it settles and its body goes to sleep
    ASSERT_FALSE(resting->body.IsEnabled());

    YMatrix high;
    high.MatrixSetTranslation({4.0f, -2.0f, 40.0f});
    auto* falling = new YBlockSingle(t, nullptr, high);
    ShadowFrame();
    const int restingBuilds = resting->shadow.Builds();
    const int fallingBuilds = falling->shadow.Builds();
    for (int i = 0; i < 10; ++i) ShadowFrame();
    EXPECT_EQ(resting->shadow.Builds(), restingBuilds);
    EXPECT_EQ(falling->shadow.Builds(), fallingBuilds + 10);
    EXPECT_EQ(resting->shadow.QuadCount(), 6); // turned under a slanting light: a six-edge silhouette

    // Moved by hand, it builds them again; the light turning does too, and so does another plane.
    YMatrix moved = turned;
    moved.m[12] += 1.0f;
    resting->Place(moved);
    ShadowFrame();
    EXPECT_EQ(resting->shadow.Builds(), restingBuilds + 1);
    Frames(200);
    ASSERT_FALSE(resting->body.IsEnabled());
    int builds = resting->shadow.Builds();
    const YVector light(0.2f, 0.1f, -1.0f);
    g_Camera.SetLightDir(&light);
    ShadowFrame();
    EXPECT_EQ(resting->shadow.Builds(), ++builds);
    g_ShadowVolume.Begin(-2.0f);
    Frames(1);
    EXPECT_EQ(resting->shadow.Builds(), ++builds);
}

TEST_F(BlockShadowTest, KeptQuadsGiveTheVolumeABuildGivesForTheEyeWhereItIsNow) {
    const YBlockType* t = FindBlockType("hard", 2, 1, 1);
    YMatrix turned;
    turned.SetRotationZ(-40.0f);
    turned.m[12] = 1.0f;
    turned.m[13] = 1.0f;
    turned.m[14] = t->halfExtents.z + 0.02f;
    auto* block = new YBlockSingle(t, nullptr, turned);
    Frames(200);
    ASSERT_FALSE(block->body.IsEnabled());
    ShadowFrame();
    const int builds = block->shadow.Builds();

    // Eyes on either side of the block's volume quads: the kept quads change lists with the eye.
    const YVector eyes[] = {{2, -3, 30}, {-25, 10, 8}, {20, 18, 5}, {1, 1, 60}};
    std::vector<std::size_t> frontSizes;
    for (const YVector& eye : eyes) {
        YMatrix view;
        view.MatrixSetTranslation(eye * -1.0f);
        g_Camera.SetView(&view);
        g_ShadowVolume.Begin(0.0f);
        Frames(1);
        ForgetFrameLeftovers();
        const std::vector<YVector> front = g_ShadowVolume.front, back = g_ShadowVolume.back;
        std::vector<YVector> wantFront, wantBack;
        BuildAnew(*block, &wantFront, &wantBack);
        ExpectSameCorners(front, wantFront);
        ExpectSameCorners(back, wantBack);
        EXPECT_EQ(front.size() + back.size(), 36u);
        frontSizes.push_back(front.size());
    }
    EXPECT_NE(*std::min_element(frontSizes.begin(), frontSizes.end()),
              *std::max_element(frontSizes.begin(), frontSizes.end()));
    EXPECT_EQ(block->shadow.Builds(), builds);
}

} // namespace
