// Mesh instances over the null device: the private vertex copy and its buffer, the registry of
// drawables and the frame's walk over it, drawing with per-subset shaders, references to shared
// instances, silhouette edges for the shadow volume and the cover shell.
#include "render/mesh/mesh_instance.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "mesh_fixtures.h"
#include "platform/gpu/null/null_device.h"
#include "render/camera.h"
#include "render/draw_list.h"
#include "render/mesh/mesh_shadow.h"
#include "render/render_d3d.h"
#include "render/render_resource.h"
#include "render/shader.h"
#include "render/video_mode.h"

using meshtest::CubeText;

namespace {

// The cube with material (side number % 3), so three subsets of four faces each.
std::string ThreeMaterialCube() {
    std::ostringstream s;
    s << "mesh cube3\n" << meshtest::CUBE_POSITIONS << "tvertices 1\n0 0\nfaces 12\n";
    for (int q = 0; q < 6; ++q) {
        const int* c = meshtest::CUBE_QUADS[q];
        s << c[0] << ' ' << c[1] << ' ' << c[2] << " 0 0 0 " << q % 3 << " 0\n";
        s << c[0] << ' ' << c[2] << ' ' << c[3] << " 0 0 0 " << q % 3 << " 0\n";
    }
    return s.str();
}

// A unit square in the plane z = 0, facing +z.
const char* QUAD =
    "mesh quad\nvertices 4\n0 0 0\n1 0 0\n0 1 0\n1 1 0\ntvertices 1\n0 0\n"
    "faces 2\n0 1 3 0 0 0 0 1\n0 3 2 0 0 0 0 1\n";

YMatrix Identity() { return YMatrix{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}}; }

YMatrix Translation(float x, float y, float z) {
    YMatrix m;
    m.MatrixSetTranslation(YVector(x, y, z));
    return m;
}

void ExpectMatrixNear(const gpu::Matrix& got, const YMatrix& want, const char* what) {
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(got.m[i], want.m[i], 1e-5f) << what << " element " << i;
}

// Edges the shadow sink received, oriented as the shadow volume takes them.
struct Edge {
    YVector from, to;
};
std::vector<Edge> g_edges;
bool g_shadowsOn = true;

bool ShadowsOn() { return g_shadowsOn; }

void CollectEdge(const YVector* a, const YVector* b, bool flip) {
    g_edges.push_back(flip ? Edge{*a, *b} : Edge{*b, *a});
}

// A drawable that only counts what it is asked to do.
class Probe : public YMeshDraw {
public:
    explicit Probe(int flags, std::vector<Probe*>* order_ = nullptr) : YMeshDraw(flags), order(order_) {}
    void Draw() override {
        ++draws;
        if (order) order->push_back(this);
    }
    void DrawWithMatrix(const YMatrix*) override {}

    int draws = 0;
    std::vector<Probe*>* order;
};

class MeshInstanceTest : public ::testing::Test {
protected:
    MeshInstanceTest() {
        setenv("KORVELIN_NO_MESSAGEBOX", "1", 1);
        dir.MakeDir("mesh");
        dir.Write("mesh/cube.mes", CubeText(1));
        dir.Write("mesh/cube3.mes", ThreeMaterialCube());
        dir.Write("mesh/quad.mes", QUAD);
        savedCamera = g_Camera;
        GetMeshShadowSink(&savedEnabled, &savedAddEdge);
        g_edges.clear();
        g_shadowsOn = true;
    }
    ~MeshInstanceTest() override {
        DrawOpaqueQueue();
        DrawBlendedQueue();
        SetMeshShadowSink(savedEnabled, savedAddEdge);
        render.reset();
        g_Camera = savedCamera;
    }

    gpu::NullDevice& MakeDevice() {
        gpu::NullAdapterScript script;
        script.modes = {gpu::DisplayMode{800, 600, 60, gpu::D3DFMT_X8R8G8B8}};
        auto d3d = std::make_shared<gpu::NullDirect3D>(std::move(script));
        render = std::make_unique<Render_D3D>([d3d](uint32_t) -> gpu::Direct3DPtr { return d3d; });
        std::vector<YVideoMode> modes;
        render->GetVideoModes(&modes);
        g_VideoModes.Assign(modes);
        EXPECT_TRUE(render->CreateDevice(nullptr, false, 0));
        device = d3d->LastDevice();
        render->BeginFrame(false);
        device->ClearTrace();
        return *device;
    }

    std::unique_ptr<YMesh> Load(const char* name) {
        auto mesh = std::make_unique<YMesh>();
        mesh->Load(name);
        return mesh;
    }

    static std::vector<YVertex> BufferContents(const gpu::VertexBufferPtr& buffer) {
        std::vector<YVertex> out(buffer->GetSize() / sizeof(YVertex));
        void* data = nullptr;
        EXPECT_EQ(buffer->Lock(0, 0, &data, 0), 0);
        std::memcpy(out.data(), data, out.size() * sizeof(YVertex));
        buffer->Unlock();
        return out;
    }

    std::vector<std::string> Draws() const { return device->TraceStartingWith("DrawIndexedPrimitive("); }

    testsupport::TempDir dir{true};
    meshtest::LogCatcher log;
    YCamera savedCamera;
    MeshShadowsEnabledFn savedEnabled = nullptr;
    MeshShadowEdgeFn savedAddEdge = nullptr;
    std::unique_ptr<Render_D3D> render;
    std::shared_ptr<gpu::NullDevice> device;
};

// ---------------------------------------------------------------- the vertex copy

TEST_F(MeshInstanceTest, InstanceScalesItsCopyOfThePositionsOnly) {
    auto mesh = Load("mesh\\cube.mes");
    ASSERT_EQ(mesh->vertices.size(), 8u);
    const std::vector<YVertex> original = mesh->vertices;
    for (float scale : {1.0f, 0.5f, 2.0f}) {
        YMeshInstance instance(mesh.get(), scale, 1);
        ASSERT_EQ(instance.vertices.size(), mesh->vertices.size());
        if (scale == 1.0f) {
            EXPECT_EQ(0, std::memcmp(instance.vertices.data(), mesh->vertices.data(),
                                     mesh->vertices.size() * sizeof(YVertex)));
        }
        for (std::size_t i = 0; i < mesh->vertices.size(); ++i) {
            const YVertex& got = instance.vertices[i];
            const YVertex& was = mesh->vertices[i];
            EXPECT_EQ(got.pos.x, was.pos.x * scale) << scale;
            EXPECT_EQ(got.pos.y, was.pos.y * scale) << scale;
            EXPECT_EQ(got.pos.z, was.pos.z * scale) << scale;
            EXPECT_EQ(0, std::memcmp(&got.normal, &was.normal, sizeof got.normal)) << scale;
        }
    }
    // The shared mesh is untouched.
    EXPECT_EQ(0, std::memcmp(mesh->vertices.data(), original.data(), original.size() * sizeof(YVertex)));
}

TEST_F(MeshInstanceTest, VertexBufferFollowsTheDeviceAndTakesEachEditOnce) {
    auto mesh = Load("mesh\\cube.mes");
    YMeshInstance instance(mesh.get(), 1.0f, 1);
    EXPECT_FALSE(instance.vertexBuffer); // made before the device

    MakeDevice();
    RestoreRenderResources(RESOURCE_MESH_INSTANCE);
    ASSERT_TRUE(instance.vertexBuffer);
    EXPECT_EQ(0, std::memcmp(BufferContents(instance.vertexBuffer).data(), instance.vertices.data(),
                             instance.vertices.size() * sizeof(YVertex)));

    // Two edits flagged before one draw: one upload, and the flag is down afterwards.
    instance.vertices[0].pos.x = 42.0f;
    instance.verticesChanged = 1;
    instance.vertices[1].pos.x = 43.0f;
    instance.verticesChanged = 1;
    instance.Draw();
    EXPECT_EQ(instance.verticesChanged, 0);
    EXPECT_EQ(BufferContents(instance.vertexBuffer)[0].pos.x, 42.0f);
    EXPECT_EQ(BufferContents(instance.vertexBuffer)[1].pos.x, 43.0f);
    instance.vertices[0].pos.x = 7.0f; // not flagged: not uploaded
    instance.Draw();
    EXPECT_EQ(BufferContents(instance.vertexBuffer)[0].pos.x, 42.0f);

    ReleaseRenderResources(RESOURCE_MESH_INSTANCE);
    EXPECT_FALSE(instance.vertexBuffer);
    // The copy survived the device: a restore makes the buffer from it.
    RestoreRenderResources(RESOURCE_MESH_INSTANCE);
    ASSERT_TRUE(instance.vertexBuffer);
    EXPECT_EQ(BufferContents(instance.vertexBuffer)[0].pos.x, 7.0f);
}

// ---------------------------------------------------------------- registry and frame walk

TEST_F(MeshInstanceTest, RegistryHoldsEachDrawableForItsLifetime) {
    const std::size_t before = MeshDrawRegistry().size();
    auto a = std::make_unique<Probe>(1);
    auto b = std::make_unique<Probe>(1);
    auto c = std::make_unique<Probe>(1);
    auto has = [](const YMeshDraw* d) {
        const auto& r = MeshDrawRegistry();
        return std::find(r.begin(), r.end(), d) != r.end();
    };
    EXPECT_EQ(MeshDrawRegistry().size(), before + 3);
    const YMeshDraw* gone = b.get();
    b.reset();
    EXPECT_EQ(MeshDrawRegistry().size(), before + 2);
    EXPECT_FALSE(has(gone));
    EXPECT_TRUE(has(a.get()));
    EXPECT_TRUE(has(c.get()));
    // New drawables start as documented.
    EXPECT_EQ(0, std::memcmp(a->world.m, Identity().m, sizeof(YMatrix)));
    EXPECT_EQ(a->visible, 1);
    EXPECT_EQ(a->shadowMode, SHADOW_VOLUME);
    EXPECT_TRUE(a->shaders.empty());
}

TEST_F(MeshInstanceTest, FrameWalkQueuesVisibleFlaggedDrawablesByTheirFirstShader) {
    gpu::NullDevice& dev = MakeDevice();
    // The eye at (0, 0, 10).
    const YMatrix view = Translation(0, 0, -10);
    g_Camera.SetView(&view);
    YShader solid("test solid");
    YShader glass("test glass");
    glass.renderStates[RS_ALPHA_BLEND_ENABLE] = 1;

    enum Queue { NONE, OPAQUE, BLENDED };
    struct Case {
        const char* what;
        uint8_t visible;
        int flags;
        std::vector<YShaderBase*> shaders;
        float z;
        Queue queue;
    };
    const Case cases[] = {
        {"near solid", 1, 1, {&solid, &glass}, 5, OPAQUE},
        {"far solid, flag bit 1", 1, 2, {&solid}, -20, OPAQUE},
        {"no shaders", 1, 1, {}, 0, OPAQUE},
        {"near glass", 1, 1, {&glass, &solid}, 5, BLENDED},
        {"far glass", 1, 3, {&glass}, -20, BLENDED},
        {"hidden", 0, 1, {&solid}, 0, NONE},
        {"hidden glass", 0, 2, {&glass}, 0, NONE},
        {"no queue flag", 1, 4, {&solid}, 0, NONE},
        {"no flags", 1, 0, {&glass}, 0, NONE},
    };
    std::vector<Probe*> order;
    std::vector<std::unique_ptr<Probe>> probes;
    for (const Case& c : cases) {
        probes.push_back(std::make_unique<Probe>(c.flags, &order));
        probes.back()->visible = c.visible;
        probes.back()->shaders = c.shaders;
        probes.back()->world = Translation(0, 0, c.z);
    }
    QueueMeshDraws();
    EXPECT_EQ(OpaqueDrawQueue().Count(), 3);
    EXPECT_EQ(BlendedDrawQueue().Count(), 2);

    const YMatrix identity = Identity();
    render->SetWorldMatrix(&view);
    DrawOpaqueQueue();
    // Nearest first; each drawn once; then the world transform is the identity again.
    ASSERT_EQ(order.size(), 3u);
    EXPECT_EQ(order[0], probes[0].get());
    EXPECT_EQ(order[1], probes[2].get());
    EXPECT_EQ(order[2], probes[1].get());
    ExpectMatrixNear(dev.State().world, identity, "after the opaque queue");
    order.clear();
    DrawBlendedQueue();
    ASSERT_EQ(order.size(), 2u);
    EXPECT_EQ(order[0], probes[4].get()); // farthest first
    EXPECT_EQ(order[1], probes[3].get());
    for (std::size_t i = 0; i < probes.size(); ++i)
        EXPECT_EQ(probes[i]->draws, cases[i].queue == NONE ? 0 : 1) << cases[i].what;
}

// ---------------------------------------------------------------- drawing

// The material power of each shader in the test list is its position + 1, so the trace tells
// which shader every subset was drawn with.
TEST_F(MeshInstanceTest, SubsetsAreDrawnWithTheirShaderModuloTheList) {
    MakeDevice();
    auto mesh = Load("mesh\\cube3.mes");
    ASSERT_EQ(mesh->subsets.size(), 3u);
    std::vector<std::unique_ptr<YShader>> shaders;
    for (int i = 0; i < 4; ++i) {
        shaders.push_back(std::make_unique<YShader>("test shader " + std::to_string(i)));
        shaders.back()->material.power = static_cast<float>(i + 1);
    }
    // A quarter turn about z, then 10 units away.
    const YMatrix view{{0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 0, 0, -10, 1}};
    g_Camera.SetView(&view);
    YMeshInstance instance(mesh.get(), 1.0f, 1);
    instance.world = Translation(1, 2, 3);
    instance.shadowMode = SHADOW_NONE;

    struct Case {
        std::size_t listLength;
        std::vector<float> powers; // per subset
    };
    const Case cases[] = {{1, {1, 1, 1}}, {2, {1, 2, 1}}, {3, {1, 2, 3}}, {4, {1, 2, 3}}, {0, {}}};
    for (const Case& c : cases) {
        instance.shaders.clear();
        for (std::size_t i = 0; i < c.listLength; ++i) instance.shaders.push_back(shaders[i].get());
        render->BeginFrame(false);
        device->ClearTrace();
        instance.Draw();

        std::vector<float> powers;
        std::vector<int> starts;
        float power = 0;
        for (const std::string& line : device->Trace()) {
            if (line.rfind("SetMaterial(", 0) == 0) power = std::stof(line.substr(line.rfind('|') + 1));
            if (line.rfind("DrawIndexedPrimitive(", 0) == 0) {
                powers.push_back(power);
                std::istringstream in(line.substr(line.find(',') + 1));
                int minIndex = 0, span = 0, start = 0;
                char comma;
                in >> minIndex >> comma >> span >> comma >> start;
                starts.push_back(start);
            }
        }
        EXPECT_EQ(powers, c.powers) << c.listLength;
        if (c.listLength > 0) {
            EXPECT_EQ(starts, (std::vector<int>{mesh->subsets[0].startIndex, mesh->subsets[1].startIndex,
                                                mesh->subsets[2].startIndex}));
        }
        // Object first, then the camera's view.
        const YMatrix want{{0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, -2, 1, -7, 1}};
        ExpectMatrixNear(device->State().world, want, "world x view");
    }
}

TEST_F(MeshInstanceTest, ReferencesDrawTheSharedInstanceWithTheirOwnMatrixAndShaders) {
    MakeDevice();
    auto mesh = Load("mesh\\cube3.mes");
    YShader red("test red");
    red.material.power = 5;
    YMeshInstance shared(mesh.get(), 1.0f, 0);
    shared.visible = 0; // the shared one is never drawn itself
    YMeshInstanceRef a(1, &shared);
    YMeshInstanceRef none(1);
    a.shaders = {&red};
    none.shaders = {&red};
    a.world = Translation(4, 0, 0);
    g_Camera.SetView(&a.world); // anything but the identity

    none.Draw();
    none.DrawWithMatrix(&a.world);
    EXPECT_TRUE(Draws().empty());

    a.Draw();
    EXPECT_EQ(Draws().size(), 3u);
    ExpectMatrixNear(device->State().world, Translation(8, 0, 0), "reference world x view");
    EXPECT_EQ(device->State().material.Power, 5.0f);
}

TEST_F(MeshInstanceTest, DrawWithMatrixUsesTheParentAndNoShaderAndSkipsHiddenObjects) {
    MakeDevice();
    auto mesh = Load("mesh\\cube3.mes");
    YShader own("test own");
    own.material.power = 9;
    YMeshInstance instance(mesh.get(), 1.0f, 1);
    instance.shaders = {&own};
    instance.world = Translation(1, 0, 0);
    // A quarter turn about z, flattened onto z = 0.5.
    const YMatrix flatten{{0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0.5f, 1}};

    instance.DrawWithMatrix(&flatten);
    EXPECT_EQ(Draws().size(), 3u);
    EXPECT_TRUE(device->TraceStartingWith("SetMaterial(").empty());
    const YMatrix want{{0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0.5f, 1}};
    ExpectMatrixNear(device->State().world, want, "world x parent");

    device->ClearTrace();
    instance.visible = 0;
    instance.DrawWithMatrix(&flatten);
    instance.Draw();
    YMeshInstanceRef ref(1, &instance);
    ref.visible = 0;
    ref.Draw();
    ref.DrawWithMatrix(&flatten);
    EXPECT_TRUE(Draws().empty());
}

// ---------------------------------------------------------------- silhouettes

TEST_F(MeshInstanceTest, CubeLitFromAboveCastsTheLoopOfItsLowerRim) {
    MakeDevice();
    SetMeshShadowSink(ShadowsOn, CollectEdge);
    const YVector down(0, 0, -1);
    g_Camera.SetLightDir(&down);
    auto mesh = Load("mesh\\cube.mes");

    // Exact turns: a side face must stay exactly edge-on to the light.
    const YMatrix upsideDown{{1, 0, 0, 0, 0, -1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1}};
    const YMatrix turned{{0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 3, 0, 0, 1}}; // a quarter about z, x + 3
    const YMatrix tipped{{1, 0, 0, 0, 0, 0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1}}; // a quarter about x
    YMatrix doubled = Identity();
    doubled.m[0] = doubled.m[5] = doubled.m[10] = 2;
    struct Case {
        const char* what;
        YMatrix world;
        float z;    // height of every silhouette point (the lower rim in the world)
        float half; // half the rim's side
        float cx;   // rim centre x
    };
    const Case cases[] = {
        {"identity", Identity(), -1, 1, 0},
        {"lifted", Translation(0, 0, 5), 4, 1, 0},
        {"upside down: the light is taken into the object", upsideDown, -1, 1, 0},
        {"turned and moved", turned, -1, 1, 3},
        {"tipped: the light is taken back, not forward", tipped, -1, 1, 0},
        {"doubled", doubled, -2, 2, 0},
    };
    for (const Case& c : cases) {
        YMeshInstance instance(mesh.get(), 1.0f, 1);
        instance.world = c.world;
        g_edges.clear();
        instance.Draw();
        ASSERT_EQ(g_edges.size(), 4u) << c.what;
        for (const Edge& e : g_edges) {
            for (const YVector& p : {e.from, e.to}) {
                EXPECT_NEAR(p.z, c.z, 1e-5f) << c.what;
                EXPECT_NEAR(std::fabs(p.x - c.cx), c.half, 1e-5f) << c.what;
                EXPECT_NEAR(std::fabs(p.y), c.half, 1e-5f) << c.what;
            }
            // One way round: every edge ends where exactly one other begins.
            int next = 0;
            for (const Edge& f : g_edges)
                if (std::fabs(f.from.x - e.to.x) + std::fabs(f.from.y - e.to.y) < 1e-4f) ++next;
            EXPECT_EQ(next, 1) << c.what;
        }
    }
}

TEST_F(MeshInstanceTest, OnlyVolumeShadowModeCastsEdgesAndOnlyWhileShadowsAreOn) {
    MakeDevice();
    const YVector down(0, 0, -1);
    g_Camera.SetLightDir(&down);
    auto mesh = Load("mesh\\cube.mes");
    YMeshInstance instance(mesh.get(), 1.0f, 1);
    YMeshInstanceRef ref(1, &instance);
    ref.world = Translation(0, 0, 3);
    YMeshInstanceRef empty(1);

    SetMeshShadowSink(nullptr, nullptr);
    instance.Draw(); // no sink connected
    EXPECT_TRUE(g_edges.empty());

    SetMeshShadowSink(ShadowsOn, CollectEdge);
    struct Case {
        const char* what;
        int mode;
        bool on;
        std::size_t edges;
    };
    const Case cases[] = {
        {"volume", SHADOW_VOLUME, true, 4},
        {"none", SHADOW_NONE, true, 0},
        {"planar", SHADOW_PLANAR, true, 0},
        {"shadows off", SHADOW_VOLUME, false, 0},
    };
    for (const Case& c : cases) {
        g_shadowsOn = c.on;
        instance.shadowMode = c.mode;
        g_edges.clear();
        instance.Draw();
        EXPECT_EQ(g_edges.size(), c.edges) << c.what;
    }
    g_shadowsOn = true;
    g_edges.clear();
    empty.Draw();
    EXPECT_TRUE(g_edges.empty());
    ref.Draw(); // the reference's matrix and mode, the shared instance's geometry
    ASSERT_EQ(g_edges.size(), 4u);
    EXPECT_NEAR(g_edges[0].from.z, 2.0f, 1e-5f);
}

// ---------------------------------------------------------------- cover

TEST_F(MeshInstanceTest, CoverFollowsTheCoveredSurfaceOutwards) {
    auto quad = Load("mesh\\quad.mes");
    auto cube = Load("mesh\\cube.mes");
    ASSERT_EQ(quad->vertices.size(), 4u);
    ASSERT_EQ(cube->vertices.size(), 8u);

    // Flat: every corner lifted along the face normal.
    YMeshInstance sheet(quad.get(), 1.0f, 1);
    YMeshInstanceCover frost(&sheet, 1.0f, 0.05f, 1);
    for (YVertex& v : sheet.vertices) v.pos.x += 1; // the cover takes the covered instance's current vertices
    frost.Rebuild();
    EXPECT_EQ(frost.verticesChanged, 1);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(frost.vertices[i].pos.x, sheet.vertices[i].pos.x);
        EXPECT_FLOAT_EQ(frost.vertices[i].pos.y, sheet.vertices[i].pos.y);
        EXPECT_FLOAT_EQ(frost.vertices[i].pos.z, 0.05f);
        EXPECT_EQ(0, std::memcmp(&frost.vertices[i].normal, &sheet.vertices[i].normal, sizeof(YVector)));
    }

    // Closed: every corner moves outwards by the thickness.
    YMeshInstance box(cube.get(), 1.0f, 1);
    YMeshInstanceCover shell(&box, 1.0f, 0.25f, 1);
    shell.Rebuild();
    for (std::size_t i = 0; i < 8; ++i) {
        const YVector was = box.vertices[i].pos;
        const YVector moved = shell.vertices[i].pos - was;
        EXPECT_NEAR(std::sqrt(moved.Dot(moved)), 0.25f, 1e-5f) << i;
        EXPECT_GT(moved.Dot(was), 0.0f) << i;
    }

    // Faces without area give no direction: straight up.
    for (YMeshFace& f : quad->faces) f.normal = YVector(0, 0, 0);
    frost.thickness = 2.0f;
    frost.Rebuild();
    EXPECT_FLOAT_EQ(frost.vertices[3].pos.z, 2.0f);

    // Over an instance of another mesh, or none, nothing happens.
    YMeshInstanceCover stray(&box, 1.0f, 1.0f, 1);
    stray.covered = &sheet;
    stray.Rebuild();
    EXPECT_EQ(stray.verticesChanged, 0);
    YMeshInstanceCover orphan(nullptr, 1.0f, 1.0f, 1);
    orphan.Rebuild();
    orphan.Draw();
    EXPECT_TRUE(orphan.vertices.empty());
}

} // namespace
