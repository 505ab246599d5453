// Shadows: the volume quads an edge gives (the cut below the plane, the facing that picks the
// list), the volume of a cube drawn as a shadow caster, what Draw sends with and without planar
// shadows, and the planar projection matrix.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "core/init.h"
#include "core/log.h"
#include "mesh_fixtures.h"
#include "platform/gpu/null/null_device.h"
#include "render/camera.h"
#include "render/mesh/mesh.h"
#include "render/mesh/mesh_import.h"
#include "render/mesh/mesh_instance.h"
#include "render/mesh/mesh_shadow.h"
#include "render/mesh/mesh_text_reader.h"
#include "render/render_d3d.h"
#include "render/scene/shadow_volume.h"
#include "render/shader.h"
#include "render/video_mode.h"
#include "support/temp_dir.h"

namespace {

void ExpectNear(const YVector& got, const YVector& want, float tolerance = 1e-4f) {
    EXPECT_NEAR(got.x, want.x, tolerance);
    EXPECT_NEAR(got.y, want.y, tolerance);
    EXPECT_NEAR(got.z, want.z, tolerance);
}

// The eye straight above the origin at z = 30 looking down; the light travels along (1, 0, -1),
// so a point at height h lands h units further along x. The global camera is put back afterwards.
class ShadowCamera : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = g_Camera;
        YMatrix view;
        view.MatrixSetTranslation(YVector(0, 0, -30));
        g_Camera.SetView(&view);
        const YVector light(1, 0, -1);
        g_Camera.SetLightDir(&light);
    }
    void TearDown() override { g_Camera = saved_; }

    YCamera saved_;
};

enum class List { None, Front, Back };

struct EdgeCase {
    const char* what;
    float plane;
    YVector a, b;
    List list;
    YVector a2, b2; // the ends on the plane
};

using AddEdgeTable = ShadowCamera;

TEST_F(AddEdgeTable, QuadCornersAndList) {
    const EdgeCase cases[] = {
        {"end a below the cut", 0, {0, 0, -0.6f}, {0, 1, 2}, List::None, {}, {}},
        {"end b below the cut", 0, {0, 1, 2}, {0, 0, -0.6f}, List::None, {}, {}},
        {"lower end exactly at the cut", 0, {0, 0, -0.5f}, {0, 1, 2}, List::Back, {-0.5f, 0, 0}, {2, 1, 0}},
        {"the same edge reversed", 0, {0, 1, 2}, {0, 0, -0.5f}, List::Front, {2, 1, 0}, {-0.5f, 0, 0}},
        {"on the plane: degenerate, facing 0", 0, {1, 0, 0}, {2, 0, 0}, List::Back, {1, 0, 0}, {2, 0, 0}},
        {"on the plane, reversed: still back", 0, {2, 0, 0}, {1, 0, 0}, List::Back, {2, 0, 0}, {1, 0, 0}},
        {"raised plane cuts what is below it", 3, {0, 0, 2.4f}, {0, 1, 4}, List::None, {}, {}},
        {"raised plane", 3, {0, 1, 4}, {0, 0, 2.5f}, List::Front, {1, 1, 3}, {-0.5f, 0, 3}},
        {"background plane", -61.3f, {0, -1, -61.7f}, {0, 0, -60.3f}, List::Back, {-0.4f, -1, -61.3f}, {1, 0, -61.3f}},
    };
    for (const EdgeCase& c : cases) {
        SCOPED_TRACE(c.what);
        YShadowVolume volume;
        volume.Begin(c.plane);
        volume.AddEdge(&c.a, &c.b);
        const std::vector<YVector>& got = c.list == List::Front ? volume.front : volume.back;
        const std::vector<YVector>& other = c.list == List::Front ? volume.back : volume.front;
        EXPECT_TRUE(other.empty());
        if (c.list == List::None) {
            EXPECT_TRUE(got.empty());
            continue;
        }
        ASSERT_EQ(got.size(), 6u);
        // Two triangles: (a, b, b') and (a, b', a').
        const YVector want[6] = {c.a, c.b, c.b2, c.a, c.b2, c.a2};
        for (int i = 0; i < 6; ++i) {
            SCOPED_TRACE(i);
            ExpectNear(got[i], want[i]);
        }
    }
}

TEST_F(ShadowCamera, SwappingTheEndsMovesTheQuadToTheOtherList) {
    const YVector ends[][2] = {
        {{-1, -1, 1}, {1, -1, 1}}, {{1, -1, 1}, {1, 1, 1}}, {{1, 1, 1}, {-1, 1, 2}}, {{3, 2, 0.5f}, {-4, 1, 6}}};
    for (const auto& e : ends) {
        YShadowVolume forward, reversed;
        forward.AddEdge(&e[0], &e[1]);
        reversed.AddEdge(&e[1], &e[0]);
        EXPECT_EQ(forward.front.size() + forward.back.size(), 6u);
        EXPECT_EQ(forward.front.size(), reversed.back.size());
        EXPECT_EQ(forward.back.size(), reversed.front.size());
    }
}

TEST_F(ShadowCamera, HorizontalLightCastsNothing) {
    const YVector flat(1, 0.5f, 0);
    g_Camera.SetLightDir(&flat);
    YShadowVolume volume;
    const YVector a(0, 0, 1), b(0, 1, 1);
    volume.AddEdge(&a, &b);
    volume.AddEdge(&b, &a);
    EXPECT_TRUE(volume.front.empty());
    EXPECT_TRUE(volume.back.empty());
}

TEST_F(ShadowCamera, BeginEmptiesBothListsKeepsTheirStorageAndSetsThePlane) {
    YShadowVolume volume;
    const YVector a(0, 0, 1), b(0, 1, 1);
    for (int i = 0; i < 10; ++i) {
        volume.AddEdge(&a, &b);
        volume.AddEdge(&b, &a);
    }
    const std::size_t frontRoom = volume.front.capacity();
    const std::size_t backRoom = volume.back.capacity();
    volume.Begin(-61.3f);
    EXPECT_TRUE(volume.front.empty());
    EXPECT_TRUE(volume.back.empty());
    EXPECT_EQ(volume.front.capacity(), frontRoom);
    EXPECT_EQ(volume.back.capacity(), backRoom);
    EXPECT_FLOAT_EQ(volume.planeHeight, -61.3f);
}

TEST_F(ShadowCamera, AddShadowEdgeReversesTheEdgeUnlessFlipped) {
    const YVector a(0, 1, 1), b(0, 0, 1);
    YShadowVolume want;
    want.AddEdge(&a, &b);
    ASSERT_EQ(want.front.size(), 6u);

    g_ShadowVolume.Begin(0);
    AddShadowEdge(&a, &b, true);
    ASSERT_EQ(g_ShadowVolume.front.size(), 6u);
    ExpectNear(g_ShadowVolume.front[1], b);

    g_ShadowVolume.Begin(0);
    AddShadowEdge(&a, &b, false);
    ASSERT_EQ(g_ShadowVolume.back.size(), 6u);
    ExpectNear(g_ShadowVolume.back[0], b);
    ExpectNear(g_ShadowVolume.back[1], a);
    g_ShadowVolume.Begin(0);
}

// ---------------------------------------------------------------- casters and drawing

// A renderer over the null device inside a frame, with the camera above, the shadows switch on
// and the three pass shaders told apart by their stencil operations (all restored afterwards).
class ShadowDraw : public ShadowCamera {
protected:
    void SetUp() override {
        ShadowCamera::SetUp();
        LogReopen(dir_.File("log.txt"));
        savedShadows_ = GetInit().shadows;
        GetInit().shadows = true;
        // The volume connects the mesh drawables to itself at start-up; other suites of this
        // program replace that connection with their own.
        SetMeshShadowSink(ShadowsEnabled, AddShadowEdge);
        for (int i = 0; i < 3; ++i) {
            passes_[i] = FindShader("shadowPass" + std::to_string(i + 1));
            savedStates_[i] = passes_[i]->renderStates;
            passes_[i]->renderStates[RS_STENCIL_ENABLE] = 1;
            passes_[i]->renderStates[RS_STENCIL_PASS] = kPassOps[i];
        }
    }
    void TearDown() override {
        g_ShadowVolume.Begin(0);
        render_.reset();
        device_.reset();
        for (int i = 0; i < 3; ++i) passes_[i]->renderStates = savedStates_[i];
        GetInit().shadows = savedShadows_;
        LogReopen("");
        ShadowCamera::TearDown();
    }

    // A windowed 800 x 600 device whose depth buffer is the first of `depthFormats` the adapter
    // offers; a frame is begun and the trace emptied.
    void MakeDevice(std::vector<uint32_t> depthFormats = {gpu::D3DFMT_D24S8}) {
        render_.reset();
        device_.reset();
        gpu::NullAdapterScript script;
        script.modes = {gpu::DisplayMode{800, 600, 60, gpu::D3DFMT_X8R8G8B8}};
        script.depthFormats = std::move(depthFormats);
        auto d3d = std::make_shared<gpu::NullDirect3D>(std::move(script));
        render_ = std::make_unique<Render_D3D>([d3d](uint32_t) -> gpu::Direct3DPtr { return d3d; });
        std::vector<YVideoMode> modes;
        render_->GetVideoModes(&modes);
        g_VideoModes.Assign(modes);
        ASSERT_TRUE(render_->CreateDevice(nullptr, false, 0));
        device_ = d3d->LastDevice();
        render_->BeginFrame(false);
        device_->ClearTrace();
    }

    // The stencil-pass changes and the unindexed draws, in order: which pass drew what.
    std::vector<std::string> PassTrace() const {
        std::vector<std::string> out;
        for (const gpu::NullCall& c : device_->Calls())
            if (c.text.rfind("SetRenderState(STENCILPASS,", 0) == 0 || c.text.rfind("DrawPrimitiveUP(", 0) == 0)
                out.push_back(c.text);
        return out;
    }

    static constexpr uint32_t kPassOps[3] = {gpu::D3DSTENCILOP_DECR, gpu::D3DSTENCILOP_INCR, gpu::D3DSTENCILOP_ZERO};

    testsupport::TempDir dir_;
    bool savedShadows_ = true;
    YShader* passes_[3] = {};
    YRenderStateBlock savedStates_[3];
    std::shared_ptr<gpu::NullDevice> device_;
    std::unique_ptr<Render_D3D> render_;
};

// The cube of side 2 from the mesh fixtures, imported into a mesh of its own.
struct CubeMesh {
    CubeMesh() {
        YMeshTextReader text(meshtest::CubeText(0));
        EXPECT_EQ(ImportMeshText(text, *mesh), YMeshImportResult::Ok);
        mesh->Restore();
    }
    ~CubeMesh() { delete mesh; }
    YMesh* mesh = new YMesh();
};

// The quad's normal from its first triangle (a, b, b').
YVector QuadNormal(const YVector* q) {
    const YVector u = q[1] - q[0], v = q[2] - q[0];
    return {u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
}

TEST_F(ShadowDraw, CubeHandsItsSilhouetteToTheVolume) {
    MakeDevice();
    CubeMesh cube;
    YMeshInstance instance(cube.mesh, 1.0f, 0);
    instance.shaders.push_back(passes_[0]);
    YMatrix place;
    place.MatrixSetTranslation(YVector(0, 0, 3)); // the cube spans z 2..4
    instance.SetTransform(place.m);

    g_ShadowVolume.Begin(0);
    instance.Draw();

    // Light along (1, 0, -1): the faces +x and -z turn away from it, the others do not (the
    // faces +y and -y are grazed), so the silhouette runs round the cube over six edges.
    struct Want {
        YVector middle;
        bool front; // the eye above the middle of the cube sees only the upper +x side's quad
    };
    const Want want[] = {{{1, 0, 4}, true},   {{1, 1, 3}, false}, {{1, -1, 3}, false},
                         {{-1, 0, 2}, false}, {{0, 1, 2}, false}, {{0, -1, 2}, false}};
    std::vector<bool> found(6, false);
    const YVector centre(0, 0, 3);
    for (const std::vector<YVector>* list : {&g_ShadowVolume.front, &g_ShadowVolume.back}) {
        ASSERT_EQ(list->size() % 6, 0u);
        for (std::size_t q = 0; q < list->size(); q += 6) {
            const YVector* quad = &(*list)[q];
            const YVector middle = (quad[0] + quad[1]) * 0.5f;
            const auto it = std::find_if(std::begin(want), std::end(want), [&](const Want& w) {
                return std::fabs(w.middle.x - middle.x) + std::fabs(w.middle.y - middle.y) +
                           std::fabs(w.middle.z - middle.z) <
                       1e-4f;
            });
            ASSERT_NE(it, std::end(want))
                << "not a silhouette edge: " << middle.x << ' ' << middle.y << ' ' << middle.z;
            const std::size_t k = static_cast<std::size_t>(it - std::begin(want));
            EXPECT_FALSE(found[k]) << "edge " << k << " twice";
            found[k] = true;
            EXPECT_EQ(it->front, list == &g_ShadowVolume.front) << "edge " << k;
            // Every side of the volume faces out of it, and reaches down to the table.
            EXPECT_GT(QuadNormal(quad).Dot(quad[0] - centre), 0.0f) << "edge " << k;
            EXPECT_NEAR(quad[2].z, 0.0f, 1e-5f);
            EXPECT_NEAR(quad[5].z, 0.0f, 1e-5f);
        }
    }
    for (int k = 0; k < 6; ++k) EXPECT_TRUE(found[k]) << "edge " << k << " missing";
}

// Records the planar-shadow calls and the shader current at each.
class PlanarProbe : public YMeshDraw {
public:
    explicit PlanarProbe(int mode) : YMeshDraw(0) { shadowMode = mode; }
    void Draw() override {}
    void DrawWithMatrix(const YMatrix* parent) override {
        matrices.push_back(*parent);
        current.push_back(g_Render->CurrentShader());
    }
    std::vector<YMatrix> matrices;
    std::vector<const YShaderBase*> current;
};

TEST_F(ShadowDraw, VolumesThenPlanarShadowsThenTheDarkening) {
    MakeDevice();
    PlanarProbe none(SHADOW_NONE), volume(SHADOW_VOLUME), planar(SHADOW_PLANAR), planar2(SHADOW_PLANAR);
    const YVector a(0, 1, 1), b(0, 0, 1), c(2, 0, 1), d(2, 1, 1);
    g_ShadowVolume.Begin(0);
    g_ShadowVolume.AddEdge(&a, &b); // front
    g_ShadowVolume.AddEdge(&d, &c); // front
    g_ShadowVolume.AddEdge(&b, &a); // back

    g_ShadowVolume.Draw(false);
    const std::vector<std::string> volumesOnly = {
        "SetRenderState(STENCILPASS,8)", "DrawPrimitiveUP(TRIANGLELIST,2,12)",  // back list, pass 1
        "SetRenderState(STENCILPASS,7)", "DrawPrimitiveUP(TRIANGLELIST,4,12)",  // front list, pass 2
        "SetRenderState(STENCILPASS,2)", "DrawPrimitiveUP(TRIANGLESTRIP,2,12)", // darkening, pass 3
    };
    EXPECT_EQ(PassTrace(), volumesOnly);
    for (const PlanarProbe* p : {&none, &volume, &planar, &planar2}) EXPECT_TRUE(p->matrices.empty());

    device_->ClearTrace();
    g_ShadowVolume.Draw(true);
    EXPECT_EQ(PassTrace(), volumesOnly);
    EXPECT_TRUE(none.matrices.empty());
    EXPECT_TRUE(volume.matrices.empty());
    const YMatrix want = g_Camera.view * PlanarShadowMatrix(g_Camera.lightDir);
    for (const PlanarProbe* p : {&planar, &planar2}) {
        ASSERT_EQ(p->matrices.size(), 1u);
        EXPECT_EQ(p->current[0], passes_[1]); // drawn into the stencil with pass 2
        for (int i = 0; i < 16; ++i) EXPECT_NEAR(p->matrices[0].m[i], want.m[i], 1e-3f + std::fabs(want.m[i]) * 1e-5f);
    }

    // A new pass forgets the volumes; the planar projection keeps the light of its first use.
    g_ShadowVolume.Begin(0);
    const YVector otherLight(-1, 0, -1);
    g_Camera.SetLightDir(&otherLight);
    device_->ClearTrace();
    g_ShadowVolume.Draw(true);
    EXPECT_EQ(PassTrace(),
              (std::vector<std::string>{"SetRenderState(STENCILPASS,8)", "SetRenderState(STENCILPASS,7)",
                                        "SetRenderState(STENCILPASS,2)", "DrawPrimitiveUP(TRIANGLESTRIP,2,12)"}));
    ASSERT_EQ(planar.matrices.size(), 2u);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(planar.matrices[1].m[i], planar.matrices[0].m[i]);
}

TEST_F(ShadowDraw, WithoutTheSwitchOrAStencilBufferNothingIsCollectedOrDrawn) {
    struct Case {
        const char* what;
        bool shadows;
        uint32_t depth;
        bool enabled;
    };
    const Case cases[] = {
        {"switch on, stencil buffer", true, gpu::D3DFMT_D24S8, true},
        {"switch off", false, gpu::D3DFMT_D24S8, false},
        {"depth buffer without stencil", true, gpu::D3DFMT_D24X8, false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.what);
        GetInit().shadows = k.shadows;
        MakeDevice({k.depth});
        EXPECT_EQ(ShadowsEnabled(), k.enabled);

        CubeMesh cube;
        YMeshInstance caster(cube.mesh, 1.0f, 0);
        caster.shaders.push_back(passes_[0]);
        PlanarProbe planar(SHADOW_PLANAR);
        g_ShadowVolume.Begin(0);
        caster.Draw();
        EXPECT_EQ(g_ShadowVolume.front.empty() && g_ShadowVolume.back.empty(), !k.enabled);

        device_->ClearTrace();
        g_ShadowVolume.Draw(true);
        EXPECT_EQ(device_->Calls().empty(), !k.enabled);
        EXPECT_EQ(planar.matrices.size(), k.enabled ? 1u : 0u);
    }
}

TEST(ShadowsEnabled, FalseWithoutARenderer) {
    ASSERT_EQ(g_Render, nullptr);
    EXPECT_FALSE(ShadowsEnabled());
}

// ---------------------------------------------------------------- the planar projection

// Points transformed as row vectors (x, y, z, 1) and divided by w.
YVector Project(const YMatrix& s, const YVector& p) {
    float r[4];
    for (int j = 0; j < 4; ++j) r[j] = p.x * s.m[j] + p.y * s.m[4 + j] + p.z * s.m[8 + j] + s.m[12 + j];
    return {r[0] / r[3], r[1] / r[3], r[2] / r[3]};
}

TEST(PlanarShadow, MatrixForAKnownLightDirection) {
    // l = (10000, 20000, -40000, 1), p = (0, 0, 1, -0.01), k = p . l = -40000.01.
    const YMatrix s = PlanarShadowMatrix(YVector(1, 2, -4));
    const float want[16] = {40000.01f, 0,         0,     0, //
                            0,         40000.01f, 0,     0, //
                            10000,     20000,     0.01f, 1, //
                            -100,      -200,      400,   40000};
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(s.m[i], want[i], 1e-3f + std::fabs(want[i]) * 1e-6f) << i;
}

TEST(PlanarShadow, PointsLandOnThePlaneAlongTheLight) {
    const YVector light(1, 2, -4);
    const YMatrix s = PlanarShadowMatrix(light);
    const YVector points[] = {{0, 0, 4.01f}, {3, -2, 0.01f}, {-5, 7, 12}, {0, 0, -3}};
    for (const YVector& p : points) {
        SCOPED_TRACE(p.z);
        // A light this far away is nearly parallel: the point moves along the light to z = 0.01.
        const YVector parallel = p - light * ((p.z - 0.01f) / light.z);
        ExpectNear(Project(s, p), parallel, 5e-3f);
    }
}

} // namespace
