// A mesh's index buffer over the null device: made by the registry's restore, dropped by its
// release, and made at once for a mesh first loaded while a device exists.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "mesh_fixtures.h"
#include "platform/gpu/null/null_device.h"
#include "render/mesh/mesh.h"
#include "render/render_d3d.h"
#include "render/render_resource.h"
#include "render/video_mode.h"

using namespace gpu;
using meshtest::CubeText;

namespace {

class MeshDeviceTest : public ::testing::Test {
protected:
    MeshDeviceTest() {
        setenv("KORVELIN_NO_MESSAGEBOX", "1", 1);
        dir.MakeDir("mesh");
        dir.Write("mesh/cube.mes", CubeText(1));
    }
    ~MeshDeviceTest() override { render.reset(); }

    void MakeDevice() {
        NullAdapterScript script;
        script.modes = {DisplayMode{800, 600, 60, D3DFMT_X8R8G8B8}};
        auto d3d = std::make_shared<NullDirect3D>(std::move(script));
        render = std::make_unique<Render_D3D>([d3d](uint32_t) -> Direct3DPtr { return d3d; });
        std::vector<YVideoMode> modes;
        render->GetVideoModes(&modes);
        g_VideoModes.Assign(modes);
        ASSERT_TRUE(render->CreateDevice(nullptr, false, 0));
    }

    static std::vector<uint16_t> BufferContents(const IndexBufferPtr& buffer) {
        std::vector<uint16_t> out(buffer->GetSize() / 2);
        void* data = nullptr;
        EXPECT_EQ(buffer->Lock(0, 0, &data, 0), 0);
        std::memcpy(out.data(), data, out.size() * 2);
        buffer->Unlock();
        return out;
    }

    testsupport::TempDir dir{true};
    meshtest::LogCatcher log;
    std::unique_ptr<Render_D3D> render;
};

TEST_F(MeshDeviceTest, RegistryRestoreMakesTheIndexBufferAndReleaseDropsIt) {
    YMesh mesh;
    mesh.Load("mesh\\cube.mes");
    EXPECT_FALSE(mesh.indexBuffer);

    MakeDevice();
    RestoreRenderResources(RESOURCE_ALL);
    ASSERT_TRUE(mesh.indexBuffer);
    EXPECT_EQ(BufferContents(mesh.indexBuffer), mesh.indices);

    ReleaseRenderResources(RESOURCE_ALL);
    EXPECT_FALSE(mesh.indexBuffer);
    RestoreRenderResources(RESOURCE_MESH);
    EXPECT_TRUE(mesh.indexBuffer);
}

TEST_F(MeshDeviceTest, MeshLoadedWithADeviceGetsItsBufferAtOnce) {
    MakeDevice();
    YMesh mesh;
    mesh.Load("mesh\\cube.mes");
    ASSERT_TRUE(mesh.indexBuffer);
    EXPECT_EQ(BufferContents(mesh.indexBuffer), mesh.indices);

    // An empty model has nothing to put in a buffer.
    YMesh empty;
    empty.Load("mesh\\missing.mes");
    EXPECT_FALSE(empty.indexBuffer);
}

} // namespace
