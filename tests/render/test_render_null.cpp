// The renderer over the null device: what reaches the device (state caching, shader application,
// frames, text and mesh draws), the display-mode list and its wiring into the framework, device
// creation and its failure paths, device loss and reset through the resource registry, textures,
// filtered textures, the background picture and captures.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/frame_hooks.h"
#include "core/init.h"
#include "core/log.h"
#include "platform/gpu/null/null_device.h"
#include "platform/gpu/pixel_format.h"
#include "platform/image/image.h"
#include "platform/image/image_write.h"
#include "render/render.h"
#include "render/render_d3d.h"
#include "render/render_hooks.h"
#include "render/render_resource.h"
#include "render/texture.h"
#include "render/video_mode.h"
#include "support/temp_dir.h"

using namespace gpu;

namespace {

DisplayMode Mode(uint32_t w, uint32_t h, uint32_t refresh, uint32_t format = D3DFMT_X8R8G8B8) {
    return DisplayMode{w, h, refresh, format};
}

// Three usable 32-bit modes and a 1024x768 desktop at 60 Hz; four texture stages, D24S8.
NullAdapterScript StandardAdapter() {
    NullAdapterScript s;
    s.modes = {Mode(1024, 768, 75), Mode(800, 600, 85), Mode(800, 600, 60)};
    s.displayMode = Mode(1024, 768, 60);
    return s;
}

// Counts what the registry asks of it.
class CountingResource : public YRenderResource {
public:
    CountingResource(uint32_t mask, const char* name_ = "") {
        typeMask = mask;
        name = name_;
    }
    void Restore() override { ++restored; }
    void Release() override { ++released; }
    int restored = 0;
    int released = 0;
};

// out = (1 - r, g, b / 2, 1)
class InvertRed : public YColorFilter {
public:
    void Apply(float out[4], const float in[4]) override {
        out[0] = 1.0f - in[0];
        out[1] = in[1];
        out[2] = in[2] * 0.5f;
        out[3] = 1.0f;
    }
};

plat::Image Picture(int w, int h, uint32_t (*texel)(int x, int y)) {
    plat::Image img;
    img.Allocate(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t argb = texel(x, y);
            uint8_t* p = img.Pixel(x, y);
            p[0] = static_cast<uint8_t>(argb >> 16);
            p[1] = static_cast<uint8_t>(argb >> 8);
            p[2] = static_cast<uint8_t>(argb);
            p[3] = static_cast<uint8_t>(argb >> 24);
        }
    return img;
}

uint32_t TexelAt(ITexture* texture, uint32_t level, uint32_t x, uint32_t y) {
    SurfaceDesc desc;
    texture->GetLevelDesc(level, &desc);
    LockedRect lr;
    if (Failed(texture->LockRect(level, &lr, nullptr, D3DLOCK_READONLY))) return 0xDEADBEEF;
    const uint8_t* p =
        static_cast<const uint8_t*>(lr.pBits) + static_cast<size_t>(y) * lr.Pitch + x * BytesPerPixel(desc.Format);
    const uint32_t argb = ReadPixelARGB(desc.Format, p);
    texture->UnlockRect(level);
    return argb;
}

class RenderNullTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("KORVELIN_NO_MESSAGEBOX", "1", 1);
        LogReopen(dir_.File("log.txt"));
        savedFullscreen_ = GetInit().fullscreen;
        savedDoubleBuffer_ = GetInit().doubleBuffer;
    }
    void TearDown() override {
        render_.reset();
        device_.reset();
        GetInit().fullscreen = savedFullscreen_;
        GetInit().doubleBuffer = savedDoubleBuffer_;
        LogReopen("");
    }

    Render_D3D& Make(NullAdapterScript script = StandardAdapter()) {
        d3d_ = std::make_shared<NullDirect3D>(std::move(script));
        std::shared_ptr<NullDirect3D> d3d = d3d_;
        render_ = std::make_unique<Render_D3D>([d3d](uint32_t) -> Direct3DPtr { return d3d; });
        modes_.clear();
        render_->GetVideoModes(&modes_);
        g_VideoModes.Assign(modes_);
        return *render_;
    }
    NullDevice& Create(bool fullScreen, int modeIndex = 0) {
        EXPECT_TRUE(render_->CreateDevice(nullptr, fullScreen, modeIndex));
        device_ = d3d_->LastDevice();
        return *device_;
    }

    std::vector<std::string> LogLines() const {
        std::vector<std::string> lines;
        std::istringstream in(dir_.Read("log.txt"));
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    bool Logged(const std::string& line) const {
        for (const std::string& l : LogLines())
            if (l == line) return true;
        return false;
    }

    // A texture file of w x h made by `texel`, written where the test's folder is.
    std::string WritePng(const char* name, int w, int h, uint32_t (*texel)(int, int)) {
        const std::string path = dir_.File(name);
        EXPECT_TRUE(plat::SavePng(path, Picture(w, h, texel), false));
        return path;
    }

    TempDir dir_;
    std::shared_ptr<NullDirect3D> d3d_;
    std::shared_ptr<NullDevice> device_;
    std::unique_ptr<Render_D3D> render_;
    std::vector<YVideoMode> modes_;
    bool savedFullscreen_ = true;
    bool savedDoubleBuffer_ = true;
};

std::vector<std::string> Texts(const std::vector<YVideoMode>& modes) {
    std::vector<std::string> out;
    for (const YVideoMode& m : modes) out.push_back(m.ToString() + "#" + std::to_string(m.index));
    return out;
}

// ---------------------------------------------------------------- states and shaders

// A shader with `stages` stages, each modulating `texture` with the diffuse colour.
struct TestShader : YShaderBase {
    TestShader(int stageCount, YTexture* texture) {
        for (int i = 0; i < stageCount; ++i) {
            auto* stage = new YShaderStageBase();
            stage->texture = texture;
            stage->states[SS_COLOR_OP] = D3DTOP_MODULATE;
            stages.push_back(stage);
        }
    }
    ~TestShader() override {
        for (YShaderStageBase* s : stages) delete s;
    }
};

struct TraceCase {
    const char* name;
    std::function<void(YRender&)> setup; // not traced
    std::function<void(YRender&)> act;
    std::vector<std::string> expected; // each a prefix of the traced line at its position
};

TEST_F(RenderNullTest, OnlyChangesReachTheDevice) {
    YTexture texture;
    static const float kWhite[4] = {1, 1, 1, 1};
    static const float kRed[4] = {1, 0, 0, 1};
    auto blend = [] {
        YRenderStateBlock b = YRenderStateBlock::Defaults();
        b[RS_ALPHA_BLEND_ENABLE] = 1;
        b[RS_DEST_BLEND] = D3DBLEND_INVSRCALPHA;
        return b;
    }();
    TestShader one(1, &texture), other(1, &texture), three(3, &texture);
    other.renderStates[RS_DEST_BLEND] = D3DBLEND_ONE;
    YMaterial red;
    red.emissive[0] = 1.0f;

    const std::vector<TraceCase> cases = {
        {"a render state asked for twice is sent once",
         nullptr,
         [&](YRender& r) {
             r.ApplyStateBlock(&blend);
             r.ApplyStateBlock(&blend);
         },
         {"SetRenderState(ALPHABLENDENABLE,1)", "SetRenderState(DESTBLEND,6)"}},
        {"a stage state asked for twice is sent once",
         nullptr,
         [&](YRender& r) {
             YStageStates s;
             s[SS_COLOR_OP] = D3DTOP_MODULATE;
             r.ApplyStageStates(1, &s);
             r.ApplyStageStates(1, &s);
         },
         {"SetTextureStageState(1,COLOROP,4)"}},
        {"white texture factor counts as sent after a frame begins; red goes once",
         nullptr,
         [&](YRender& r) {
             r.SetTextureFactor(kWhite);
             r.SetTextureFactor(kRed);
             r.SetTextureFactor(kRed);
         },
         {"SetRenderState(TEXTUREFACTOR,4294901760)"}},
        {"an equal material is skipped only when asked",
         nullptr,
         [&](YRender& r) {
             r.SetMaterial(&red, true);
             r.SetMaterial(&red, true);
             r.SetMaterial(&red, false);
         },
         {"SetMaterial(", "SetMaterial("}},
        {"a texture is bound once, never to a stage the device lacks",
         nullptr,
         [&](YRender& r) {
             r.BindStageTexture(&texture, 0);
             r.BindStageTexture(&texture, 0);
             r.BindStageTexture(&texture, 4);
         },
         {"SetTexture(0,tex#"}},
        {"the current shader again sends nothing, not even its material",
         [&](YRender& r) { r.SetShader(&one, false); },
         [&](YRender& r) { r.SetShader(&one, true); },
         {}},
        {"another shader sends only the states that differ",
         [&](YRender& r) { r.SetShader(&one, true); },
         [&](YRender& r) { r.SetShader(&other, true); },
         {"SetRenderState(DESTBLEND,2)"}},
        {"three stages to one switches the others off",
         [&](YRender& r) { r.SetShader(&three, false); },
         [&](YRender& r) { r.SetShader(&one, false); },
         {"SetTexture(1,null)", "SetTextureStageState(1,COLOROP,1)", "SetTextureStageState(1,ALPHAOP,1)",
          "SetTexture(2,null)", "SetTextureStageState(2,COLOROP,1)", "SetTextureStageState(2,ALPHAOP,1)"}},
    };

    for (const TraceCase& c : cases) {
        SCOPED_TRACE(c.name);
        Make();
        NullDevice& dev = Create(false);
        texture.deviceTexture.reset();
        ASSERT_EQ(dev.CreateTexture(4, 4, 1, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, &texture.deviceTexture), D3D_OK);
        render_->BeginFrame(false);
        if (c.setup) c.setup(*render_);
        dev.ClearTrace();
        c.act(*render_);
        const std::vector<std::string> trace = dev.Trace();
        ASSERT_EQ(trace.size(), c.expected.size()) << ::testing::PrintToString(trace);
        for (size_t i = 0; i < trace.size(); ++i) EXPECT_EQ(trace[i].rfind(c.expected[i], 0), 0u) << trace[i];
        render_.reset();
    }
    texture.deviceTexture.reset();
}

TEST_F(RenderNullTest, EveryFrameSendsTheDefaultsExceptTheUnknownMarkerValue) {
    Make();
    NullDevice& dev = Create(false);
    std::vector<std::string> frames[2];
    for (auto& frame : frames) {
        dev.ClearTrace();
        render_->BeginFrame(true);
        frame = dev.TraceStartingWith("SetRenderState(");
        const auto stages = dev.TraceStartingWith("SetTextureStageState(");
        EXPECT_EQ(stages.size(), 4u * 12u); // 11 states and the texture transform switch, per device stage
        EXPECT_EQ(dev.TraceStartingWith("Clear(").front(), "Clear(0,0x7,0x00000000,1,0)");
        render_->EndFrame();
    }
    const std::vector<std::string> expected = {
        "SetRenderState(ALPHABLENDENABLE,0)", "SetRenderState(SRCBLEND,2)",
        "SetRenderState(DESTBLEND,1)",        "SetRenderState(ZFUNC,2)",
        "SetRenderState(CULLMODE,2)",         "SetRenderState(ZENABLE,1)",
        "SetRenderState(ZWRITEENABLE,1)",     "SetRenderState(STENCILENABLE,0)",
        "SetRenderState(STENCILFAIL,1)",      "SetRenderState(STENCILZFAIL,1)",
        "SetRenderState(STENCILPASS,1)",      "SetRenderState(STENCILFUNC,8)",
        "SetRenderState(STENCILREF,0)",       "SetRenderState(SPECULARENABLE,1)"};
    EXPECT_EQ(frames[0], expected);
    EXPECT_EQ(frames[1], expected);   // the caches were forgotten again
    EXPECT_EQ(dev.PresentCount(), 3); // the empty frame after creation, then two
}

TEST_F(RenderNullTest, TextQuadsFollowTheGlyphsAndThePen) {
    Make();
    NullDevice& dev = Create(false);
    YFontBase font;
    font.widths[int{'A'}] = 0.5f;
    font.glyphs[int{'A'}] =
        YGlyph{{{0, 0, 0, 0.25f, 0.5f}, {1, 0, 0, 0.75f, 0.5f}, {1, 1, 0, 0.75f, 1}, {0, 1, 0, 0.25f, 1}}};
    render_->BeginFrame(false);
    dev.ClearTrace();

    EXPECT_FLOAT_EQ(render_->DrawText(&font, 10, 100, 20, "AzA"), 20.0f); // 'z' has no width
    // Both glyphs in one strip: each glyph's corners in the order 0 1 3 2 (the fan 0 1 2 3 with
    // its winding), joined by the first glyph's last vertex and the second's first repeated, so
    // the triangles between them have no area.
    std::vector<const NullCall*> draws;
    for (const NullCall& c : dev.Calls())
        if (c.text.rfind("DrawPrimitiveUP(", 0) == 0) draws.push_back(&c);
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0]->text, "DrawPrimitiveUP(TRIANGLESTRIP,8,28)");
    ASSERT_EQ(draws[0]->vertices.size(), 10 * sizeof(YTexVertex));
    YTexVertex v[10];
    std::memcpy(v, draws[0]->vertices.data(), sizeof v);
    for (int q = 0; q < 2; ++q) {
        SCOPED_TRACE(q);
        const YTexVertex* g = v + 6 * q;
        const float x0 = 10.0f + 10.0f * q;
        EXPECT_FLOAT_EQ(g[0].pos.x, x0);
        EXPECT_FLOAT_EQ(g[0].pos.y, 80.0f); // the cell's top, one size above the baseline
        EXPECT_FLOAT_EQ(g[1].pos.x, x0 + 20.0f);
        EXPECT_FLOAT_EQ(g[3].pos.x, x0 + 20.0f); // corner 2
        EXPECT_FLOAT_EQ(g[3].pos.y, 100.0f);
        EXPECT_FLOAT_EQ(g[2].pos.x, x0); // corner 3
        EXPECT_FLOAT_EQ(g[2].pos.y, 100.0f);
        EXPECT_FLOAT_EQ(g[1].uv.u, 0.75f);
        EXPECT_FLOAT_EQ(g[1].uv2.u, 0.75f);
    }
    EXPECT_EQ(std::memcmp(&v[4], &v[3], sizeof v[3]), 0);
    EXPECT_EQ(std::memcmp(&v[5], &v[6], sizeof v[6]), 0);
    dev.ClearTrace();
    EXPECT_EQ(render_->DrawText(&font, 0, 0, 20, ""), 0.0f);
    EXPECT_TRUE(dev.TraceStartingWith("DrawPrimitiveUP(").empty());
}

TEST_F(RenderNullTest, MeshSubsetsAreTakenModuloTheirCount) {
    Make();
    NullDevice& dev = Create(false);
    YMeshBase mesh;
    mesh.subsets = {{0, 1, 0, 0, 3}, {3, 2, 1, 1, 4}, {9, 1, 2, 2, 3}};
    mesh.indexBuffer = render_->CreateIndexBuffer({0, 1, 2, 1, 2, 3, 2, 3, 4, 2, 3, 4});
    YMeshInstanceData instance;
    instance.mesh = &mesh;
    instance.vertexBuffer = render_->CreateVertexBuffer(std::vector<YVertex>(5));
    ASSERT_TRUE(mesh.indexBuffer && instance.vertexBuffer);

    render_->BeginFrame(false);
    dev.ClearTrace();
    const int list[] = {7, -1, 0};
    render_->DrawMeshSubsets(&instance, list);
    EXPECT_EQ(dev.TraceStartingWith("DrawIndexedPrimitive("),
              std::vector<std::string>{"DrawIndexedPrimitive(TRIANGLELIST,1,4,3,2)"});
    EXPECT_EQ(dev.TraceStartingWith("SetStreamSource(").size(), 1u);

    // Nothing to take a number modulo: an empty mesh, or an object without shaders, draws nothing.
    YMeshBase empty;
    empty.indexBuffer = mesh.indexBuffer;
    YMeshInstanceData emptyInstance;
    emptyInstance.vertexBuffer = instance.vertexBuffer;
    emptyInstance.mesh = &empty;
    dev.ClearTrace();
    render_->DrawMeshSubsets(&emptyInstance, list);
    render_->DrawMesh(&emptyInstance);
    render_->DrawMeshShaded(&instance, {});
    EXPECT_TRUE(dev.Trace().empty());
}

TEST_F(RenderNullTest, VertexBufferUpdateNeverWritesPastTheBuffer) {
    Make();
    Create(false);
    std::vector<YVertex> two(2), five(5);
    for (size_t i = 0; i < five.size(); ++i) five[i].pos = YVector(static_cast<float>(i + 1), 0, 0);
    VertexBufferPtr vb = render_->CreateVertexBuffer(two);
    ASSERT_TRUE(vb);
    render_->UpdateVertexBuffer(vb, five);
    void* data = nullptr;
    ASSERT_EQ(vb->Lock(0, 0, &data, 0), D3D_OK);
    ASSERT_EQ(vb->GetSize(), 2 * sizeof(YVertex));
    const YVertex* v = static_cast<const YVertex*>(data);
    EXPECT_EQ(v[0].pos.x, 1.0f);
    EXPECT_EQ(v[1].pos.x, 2.0f);
    vb->Unlock();
}

TEST_F(RenderNullTest, ShaderFileKeywords) {
    Render_D3D& r = Make();
    struct Row {
        bool stage;
        int index;
        const char* word;
        uint32_t value;
    };
    const Row rows[] = {
        {false, RS_ALPHA_BLEND_ENABLE, "1", 1},
        {false, RS_STENCIL_ENABLE, "false", 0},
        {false, RS_DEPTH_ENABLE, "true", D3DZB_TRUE},
        {false, RS_DEPTH_ENABLE, "1", 0xFFFFFFFF},
        {false, RS_SRC_BLEND, "scrcolor", D3DBLEND_SRCCOLOR},
        {false, RS_SRC_BLEND, "srccolor", 0xFFFFFFFF},
        {false, RS_CULL_MODE, "cww", D3DCULL_CCW},
        {false, RS_CULL_MODE, "ccw", 0xFFFFFFFF},
        {false, RS_DEPTH_FUNC, "LESS", 0xFFFFFFFF},
        {false, RS_STENCIL_FUNC, "notequal", D3DCMP_NOTEQUAL},
        {false, RS_STENCIL_PASS, "incr", D3DSTENCILOP_INCR},
        {false, RS_TEXTURE_FACTOR, "one", 0xFFFFFFFF},
        {false, RS_STENCIL_REF, "0", 0xFFFFFFFF},
        {false, RS_STENCIL_WRITE_MASK, "keep", 0xFFFFFFFF},
        {true, SS_COLOR_OP, "substract", D3DTOP_SUBTRACT},
        {true, SS_ALPHA_OP, "lerp", D3DTOP_LERP},
        {true, SS_COLOR_ARG2, "color", D3DTA_TFACTOR},
        {true, SS_MIP_FILTER, "linear", D3DTEXF_LINEAR},
        {true, SS_ADDRESS_V, "repeat", D3DTADDRESS_WRAP},
        {true, SS_ADDRESS_U, "wrap", 0xFFFFFFFF},
        {true, 11, "repeat", 0xFFFFFFFF},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.word);
        EXPECT_EQ(
            row.stage ? r.ParseStageStateValue(row.index, row.word) : r.ParseRenderStateValue(row.index, row.word),
            row.value);
    }
}

// ---------------------------------------------------------------- modes and device creation

TEST_F(RenderNullTest, ModeListKeepsUsableModesSortedWithTheDesktopLast) {
    NullAdapterScript s;
    s.modes = {Mode(800, 600, 60, D3DFMT_R8G8B8),
               Mode(600, 480, 60),
               Mode(640, 480, 60, D3DFMT_R5G6B5),
               Mode(1024, 768, 60, D3DFMT_X1R5G5B5),
               Mode(1024, 768, 75),
               Mode(800, 600, 85),
               Mode(800, 600, 60)};
    s.refusedDisplayFormats = {D3DFMT_R5G6B5};
    s.formatsWithoutDepth = {D3DFMT_X1R5G5B5};
    s.displayMode = Mode(1024, 768, 60);
    Render_D3D& r = Make(s);

    // 640x480 at the desktop's format is offered too: full screen scales the back buffer.
    EXPECT_EQ(Texts(modes_), (std::vector<std::string>{"640x480:32@60#0", "800x600:32@60#1", "800x600:32@85#2",
                                                       "1024x768:32@75#3", "1024x768:32@60#-1"}));
    const std::vector<std::string> log = LogLines();
    const std::vector<std::string> expected = {
        "Mode 800x600:24@60 ignored",      "Mode 600x480:32@60 ignored",
        "Mode 640x480:16@60 failed.",      "Mode 1024x768:16@60 checked, depth buffer failed.",
        "Mode 1024x768:32@75 checked, ok", "Mode 800x600:32@85 checked, ok",
        "Mode 800x600:32@60 checked, ok",  "Mode 640x480:32@60 scaled to the desktop"};
    ASSERT_GE(log.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(log.end() - static_cast<long>(expected.size()), log.end()), expected);
    EXPECT_EQ(r.AdapterModes()[0].depthFormat, D3DFMT_D24S8);
    EXPECT_TRUE(r.AdapterModes()[0].hasStencil);
}

TEST_F(RenderNullTest, DesktopRecordFallsBackToAListedModeTheDisplayCanShow) {
    struct Case {
        const char* name;
        DisplayMode display;
        bool queryFails;
        const char* desktop;
    };
    const Case cases[] = {
        {"the display's own mode when it has a depth buffer", Mode(1024, 768, 60), false, "1024x768:32@60"},
        // X1R5G5B5 has no depth format here: the largest listed mode that fits, then one whose
        // refresh the display has.
        {"a listed mode that fits, at a refresh the display has", Mode(1024, 768, 60, D3DFMT_X1R5G5B5), false,
         "800x600:32@60"},
        {"all zero when the display cannot be asked", Mode(1024, 768, 60), true, "0x0:0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NullAdapterScript s = StandardAdapter();
        s.formatsWithoutDepth = {D3DFMT_X1R5G5B5};
        s.displayMode = c.display;
        s.displayModeFails = c.queryFails;
        Make(s);
        EXPECT_EQ(modes_.back().ToString(), c.desktop);
        EXPECT_EQ(modes_.back().index, -1);
        render_.reset();
    }
}

TEST_F(RenderNullTest, ADisplayWithOneModeOffersTheCommonSizesUpToItsOwn) {
    NullAdapterScript s;
    s.modes = {Mode(1280, 1024, 60)};
    s.displayMode = Mode(1280, 1024, 60);
    Make(s);
    std::vector<std::string> texts;
    for (const YVideoMode& m : g_VideoModes.Modes()) texts.push_back(m.ToString());
    EXPECT_EQ(texts,
              (std::vector<std::string>{"640x480:32@60", "800x600:32@60", "1024x768:32@60", "1152x864:32@60",
                                        "1280x720:32@60", "1280x800:32@60", "1280x960:32@60", "1280x1024:32@60"}));
    // A saved 800x600:32 stays 800x600, and its device gets a back buffer of that size.
    const YVideoMode chosen = g_VideoModes.Resolve("800x600:32");
    EXPECT_EQ(chosen.ToString(), "800x600:32@60");
    Create(true, chosen.index);
    EXPECT_EQ(device_->Presentation().BackBufferWidth, 800u);
    EXPECT_EQ(device_->Presentation().BackBufferHeight, 600u);
    EXPECT_EQ(device_->Presentation().FullScreen_RefreshRateInHz, 60u);
}

TEST_F(RenderNullTest, TheModeTextIsResolvedOnceToTheListedModeTheDeviceGets) {
    Make();
    InstallRenderHooks();
    YFrameHooks& h = FrameHooks();
    struct Case {
        const char* text;
        const char* resolved;
    };
    const Case cases[] = {
        {"800x600:32", "800x600:32@60"},   // the desktop's refresh when none is given
        {"1024x768:32", "1024x768:32@75"}, // the only rate of that size
        {"1280x1024:32", "640x480:32@60"}, // unknown sizes take the first listed mode
        {"junk", "640x480:32@60"},
    };
    for (const Case& c : cases) {
        const YVideoMode m = g_VideoModes.Resolve(c.text);
        EXPECT_EQ(m.ToString(), c.resolved) << c.text;
        ASSERT_GE(m.index, 0) << c.text;
        EXPECT_EQ(g_VideoModes.Modes()[static_cast<std::size_t>(m.index)], m) << c.text;
    }
    EXPECT_TRUE(h.rendererExists());
    h.createDevice(nullptr, true, g_VideoModes.Resolve("1024x768:32"));
    device_ = d3d_->LastDevice();
    ASSERT_TRUE(device_);
    EXPECT_EQ(device_->Presentation().BackBufferWidth, 1024u);
    EXPECT_EQ(device_->Presentation().FullScreen_RefreshRateInHz, 75u);
    EXPECT_EQ(device_->Presentation().Windowed, 0);

    FrameHooks() = YFrameHooks{};
}

TEST_F(RenderNullTest, WindowedDeviceThatFailsIsMadeInFullScreen) {
    NullAdapterScript s = StandardAdapter();
    s.createDeviceResults = {E_FAIL};
    Make(s);
    GetInit().fullscreen = false;
    NullDevice& dev = Create(false, 3);
    EXPECT_TRUE(GetInit().fullscreen);
    EXPECT_EQ(dev.Presentation().Windowed, 0);
    EXPECT_EQ(dev.Presentation().BackBufferWidth, 1024u);
    EXPECT_EQ(dev.Presentation().FullScreen_PresentationInterval, D3DPRESENT_INTERVAL_ONE);
    const std::vector<std::string> log = LogLines();
    const std::vector<std::string> expected = {"Video mode = 1024x768:32@60",
                                               "Fullscreen = 0",
                                               "Could not create D3D device.",
                                               "Video mode = 1024x768:32@60",
                                               "Fullscreen = 1",
                                               "D3D device created.",
                                               "Caps MaxSimultaneousTextures = 4",
                                               "AvailableTextureMemory = 64",
                                               "Max texture size = 2048",
                                               "Textures scale = 1"};
    ASSERT_GE(log.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(log.end() - static_cast<long>(expected.size()), log.end()), expected);
}

TEST_F(RenderNullTest, FatalStartFailuresEndTheProgramWithCodeZero) {
    const std::string config = dir_.File("config.yml");
    struct Case {
        const char* name;
        std::function<void()> run;
        const char* lastLine;
    };
    const Case cases[] = {
        {"no Direct3D object", [] { Render_D3D r([](uint32_t) -> Direct3DPtr { return nullptr; }); },
         "Could not create D3D object."},
        {"no usable display mode",
         [this] {
             NullAdapterScript s;
             s.modes = {Mode(800, 600, 60, D3DFMT_R8G8B8)};
             Make(s);
         },
         "Message box (Pelorwick Error): Requires 3D Accelerator Card."},
        {"no device even in full screen",
         [this, config] {
             NullAdapterScript s = StandardAdapter();
             s.createDeviceResults = {E_FAIL, E_FAIL};
             Make(s);
             GetInit().Load(config.c_str());
             GetInit().videoMode = "1600x1200:32";
             render_->CreateDevice(nullptr, false, 0);
         },
         "Could not create D3D device."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EXIT(c.run(), ::testing::ExitedWithCode(0), "");
        ASSERT_FALSE(LogLines().empty());
        EXPECT_EQ(LogLines().back(), c.lastLine);
    }
    // The configured mode was reset to the smallest listed one and saved.
    EXPECT_NE(dir_.Read("config.yml").find("mode=\"640x480:32@60\""), std::string::npos) << dir_.Read("config.yml");
}

// ---------------------------------------------------------------- loss, reset, registry

TEST_F(RenderNullTest, LostDeviceIsResetThroughTheRegistryAndTexturesSurvive) {
    GetInit().doubleBuffer = true;
    Make();
    NullDevice& dev = Create(true, 0);
    const std::string file =
        WritePng("survivor.png", 8, 8, [](int x, int y) { return 0xFF000000u | (x * 30u) << 8 | y; });
    YTexture* texture = GetTexture(file.c_str());
    CountingResource aroundReset(RESOURCE_RESET), mesh(RESOURCE_MESH);
    RestoreRenderResources(RESOURCE_ALL);
    ASSERT_TRUE(texture->deviceTexture);
    const TexturePtr kept = texture->deviceTexture;
    EXPECT_TRUE(render_->HasBackgroundTarget());
    EXPECT_TRUE(render_->TakeBackgroundLost());
    EXPECT_FALSE(render_->TakeBackgroundLost());

    dev.DeclareLost();
    dev.ClearTrace();
    EXPECT_FALSE(render_->IsDeviceReady());
    EXPECT_TRUE(dev.TraceStartingWith("Reset(").empty());

    dev.DeclareNotReset();
    dev.FailNext("Reset");
    EXPECT_FALSE(render_->IsDeviceReady()); // the reset failed: no frame now, try again later
    EXPECT_FALSE(render_->HasBackgroundTarget());
    EXPECT_TRUE(render_->IsDeviceReady());
    EXPECT_EQ(dev.TraceStartingWith("Reset(").size(), 2u);
    EXPECT_TRUE(render_->HasBackgroundTarget()); // made again although the first attempt failed
    EXPECT_TRUE(render_->TakeBackgroundLost());
    EXPECT_FALSE(render_->TakeBackgroundLost());
    EXPECT_EQ(aroundReset.released, 2);
    EXPECT_EQ(aroundReset.restored, 2); // once by the restore-all, once after the reset
    EXPECT_EQ(mesh.released, 0);
    EXPECT_EQ(mesh.restored, 1);
    EXPECT_EQ(texture->deviceTexture, kept);

    render_->BeginFrame(true);
    render_->BindStageTexture(texture, 0);
    render_->EndFrame();
    EXPECT_EQ(dev.PresentCount(), 2);

    render_->ReleaseDevice();
    EXPECT_FALSE(texture->deviceTexture);
    EXPECT_EQ(mesh.released, 1);
    EXPECT_FALSE(render_->IsDeviceReady());
    delete texture;
}

TEST_F(RenderNullTest, WindowedResizeLetsTheDeviceMeasureTheWindow) {
    Make();
    NullDevice& dev = Create(false);
    EXPECT_EQ(dev.Presentation().BackBufferWidth, 800u); // the null window's client size
    dev.ClearTrace();
    EXPECT_TRUE(render_->ResetDevice());
    EXPECT_EQ(dev.TraceStartingWith("Reset("), std::vector<std::string>{"Reset(0x0,fmt=22,windowed=1)"});
    EXPECT_EQ(render_->Presentation().BackBufferWidth, 800u);

    render_.reset();
    Make();
    NullDevice& full = Create(true, 0);
    full.ClearTrace();
    EXPECT_TRUE(render_->ResetDevice());
    EXPECT_TRUE(full.TraceStartingWith("Reset(").empty());
}

TEST_F(RenderNullTest, RegistryRemovalMovesTheLastEntryAndMasksSelect) {
    auto a = std::make_unique<CountingResource>(RESOURCE_MESH, "a");
    auto b = std::make_unique<CountingResource>(RESOURCE_MESH_INSTANCE, "b");
    auto c = std::make_unique<CountingResource>(RESOURCE_MESH_INSTANCE, "c");
    const auto& reg = RenderResources();
    const size_t posB = static_cast<size_t>(std::find(reg.begin(), reg.end(), b.get()) - reg.begin());
    b.reset();
    ASSERT_LT(posB, reg.size());
    EXPECT_EQ(reg[posB], c.get());

    RestoreRenderResources(RESOURCE_RESET);
    EXPECT_EQ(a->restored + c->restored, 0);
    RestoreRenderResources(RESOURCE_MESH_INSTANCE);
    EXPECT_EQ(a->restored, 0);
    EXPECT_EQ(c->restored, 1);
    EXPECT_EQ(FindRenderResource("c", RESOURCE_MESH_INSTANCE), c.get());
    EXPECT_EQ(FindRenderResource("c", RESOURCE_MESH), nullptr);
    EXPECT_EQ(FindRenderResource("C", RESOURCE_ALL), nullptr);
}

// A resource that, once restored or released, hands itself to an action kept outside it (the
// action may drop the resource, so it must not live in it).
class ActingResource : public CountingResource {
public:
    ActingResource(uint32_t mask, const std::function<void(ActingResource*)>* act_)
        : CountingResource(mask), act(act_) {}
    void Restore() override {
        CountingResource::Restore();
        (*act)(this);
    }
    void Release() override {
        CountingResource::Release();
        (*act)(this);
    }
    const std::function<void(ActingResource*)>* act;
};

TEST_F(RenderNullTest, ResourcesMadeOrDroppedDuringAWalkNeitherSkipNorRepeatOthers) {
    // A type bit of its own, so that only this test's resources take part.
    constexpr uint32_t MASK = 0x100;
    struct Case {
        const char* name;
        size_t actor; // the resource that acts, 0..3
        int dropped;  // the resource it drops (itself included), or -1
        bool makes;   // it makes a new resource
    };
    const Case cases[] = {
        {"an earlier one is dropped", 2, 0, false},
        {"itself is dropped", 1, 1, false},
        {"the one before it is dropped", 1, 0, false},
        {"a later one is dropped", 0, 2, false},
        {"the last one drops the first", 3, 0, false},
        {"the last one drops itself", 3, 3, false},
        {"one is made", 1, -1, true},
    };
    for (bool restore : {true, false}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (restore ? " while restoring" : " while releasing"));
            std::vector<std::unique_ptr<ActingResource>> res;
            std::unique_ptr<ActingResource> made;
            bool acted = false;
            const std::function<void(ActingResource*)> act = [&](ActingResource* self) {
                if (acted || self != res[c.actor].get()) return;
                acted = true;
                if (c.makes) made = std::make_unique<ActingResource>(MASK, &act);
                if (c.dropped >= 0) res[static_cast<size_t>(c.dropped)].reset();
            };
            for (int i = 0; i < 4; ++i) res.push_back(std::make_unique<ActingResource>(MASK, &act));
            if (restore)
                RestoreRenderResources(MASK);
            else
                ReleaseRenderResources(MASK);
            EXPECT_TRUE(acted);
            size_t alive = 0;
            for (size_t i = 0; i < res.size(); ++i) {
                if (!res[i]) continue;
                ++alive;
                EXPECT_EQ(restore ? res[i]->restored : res[i]->released, 1) << "resource " << i;
                EXPECT_EQ(restore ? res[i]->released : res[i]->restored, 0) << "resource " << i;
            }
            if (made) {
                ++alive;
                EXPECT_EQ(restore ? made->restored : made->released, 1);
            }
            // The registry holds exactly the resources that are left.
            size_t listed = 0;
            for (YRenderResource* r : RenderResources()) listed += (r->typeMask & MASK) != 0;
            EXPECT_EQ(listed, alive);
        }
    }
}

// ---------------------------------------------------------------- textures

TEST_F(RenderNullTest, TexturesAreSharedByExactNameAndLoadOnceTheDeviceExists) {
    const std::string file = WritePng("shared.png", 4, 4, [](int, int) { return 0xFF336699u; });
    Make();
    YTexture* t = GetTexture(file.c_str());
    EXPECT_EQ(GetTexture(file.c_str()), t);
    EXPECT_FALSE(t->deviceTexture); // no device yet: nothing read
    std::string upper = file;
    upper.replace(upper.size() - 10, 6, "SHARED");
    YTexture* other = GetTexture(upper.c_str());
    EXPECT_NE(other, t); // another name, another texture (whatever file it finds)
    EXPECT_EQ(FindTexture(upper), other);

    Create(false);
    RestoreRenderResources(RESOURCE_ALL);
    EXPECT_TRUE(t->deviceTexture);
    EXPECT_TRUE(Logged("Load texture " + file + ", ok"));
    EXPECT_EQ(TexelAt(t->deviceTexture.get(), 0, 3, 3), 0xFF336699u);
    delete t;
    delete other;
}

TEST_F(RenderNullTest, LargeTexturesAreCutTo512AndBrokenFilesAreRetried) {
    Make();
    Create(false);
    const std::string big = WritePng("big.png", 2048, 1024, [](int, int) { return 0xFF808080u; });
    YTexture* bigTexture = GetTexture(big.c_str());
    ASSERT_TRUE(bigTexture->deviceTexture);
    SurfaceDesc desc;
    bigTexture->deviceTexture->GetLevelDesc(0, &desc);
    EXPECT_EQ(desc.Width, 512u);
    EXPECT_EQ(desc.Height, 512u);
    EXPECT_EQ(bigTexture->deviceTexture->GetLevelCount(), 10u);

    const std::string broken = dir_.File("broken.png");
    std::string bytes;
    ASSERT_TRUE(plat::EncodePng(Picture(16, 16, [](int, int) { return 0xFFFFFFFFu; }), false, bytes));
    dir_.Write("broken.png", bytes.substr(0, bytes.size() / 2));
    YTexture* brokenTexture = GetTexture(broken.c_str());
    EXPECT_FALSE(brokenTexture->deviceTexture);
    EXPECT_TRUE(Logged("Load texture " + broken + ", failed"));

    dir_.Write("broken.png", bytes);
    RestoreRenderResources(RESOURCE_TEXTURE);
    EXPECT_TRUE(brokenTexture->deviceTexture);
    EXPECT_EQ(FindTexture(broken), brokenTexture);
    delete bigTexture;
    delete brokenTexture;
}

TEST_F(RenderNullTest, FilteredTextureMapsEveryTexelOfItsSource) {
    Make();
    Create(false);
    auto texel = [](int x, int y) {
        return 0xFF000000u | static_cast<uint32_t>(x * 60) << 16 | static_cast<uint32_t>(y * 60) << 8 | 0x40u;
    };
    const std::string file = WritePng("source.png", 4, 4, texel);
    YTexture* source = GetTexture(file.c_str());
    YFilterTexture filtered(source, new InvertRed());
    RestoreRenderResources(RESOURCE_ALL); // the source first, then the copy registered after it
    ASSERT_TRUE(filtered.deviceTexture);
    EXPECT_TRUE(Logged("Filter texture " + file + ": ok"));
    EXPECT_TRUE(Logged("Create mipmap levels: ok"));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            const uint32_t red = 255u - static_cast<uint32_t>(x * 60);
            const uint32_t expected = 0xFF000000u | red << 16 | static_cast<uint32_t>(y * 60) << 8 | 0x20u;
            EXPECT_EQ(TexelAt(filtered.deviceTexture.get(), 0, static_cast<uint32_t>(x), static_cast<uint32_t>(y)),
                      expected)
                << x << "," << y;
        }
    delete source;
}

// ---------------------------------------------------------------- background and capture

TEST_F(RenderNullTest, BackgroundTargetOnlyInFullScreenWithDoubleBuffering) {
    struct Case {
        bool fullScreen;
        bool doubleBuffer;
        bool expected;
    };
    for (const Case& c : {Case{true, true, true}, Case{true, false, false}, Case{false, true, false}}) {
        GetInit().doubleBuffer = c.doubleBuffer;
        Make();
        Create(c.fullScreen, 0);
        EXPECT_EQ(render_->HasBackgroundTarget(), c.expected) << c.fullScreen << c.doubleBuffer;
        render_.reset();
    }

    GetInit().doubleBuffer = true;
    Make();
    NullDevice& dev = Create(true, 0);
    render_->BeginFrame(false);
    dev.ClearTrace();
    render_->BeginBackground(true);
    render_->EndBackground();
    const std::vector<std::string> trace = dev.Trace();
    const std::vector<std::string> expected = {"GetRenderTarget()",     "GetDepthStencilSurface()",
                                               "SetRenderTarget(surf#", "Clear(0,0x1,0x00000000,1,0)",
                                               "CopyRects(surf#",       "SetRenderTarget(backbuffer,depthstencil)",
                                               "Clear(0,0x6,"};
    ASSERT_EQ(trace.size(), expected.size()) << ::testing::PrintToString(trace);
    for (size_t i = 0; i < trace.size(); ++i) EXPECT_EQ(trace[i].rfind(expected[i], 0), 0u) << trace[i];
}

TEST_F(RenderNullTest, CaptureDrawsOffScreenAndSavesABitmap) {
    Make();
    NullDevice& dev = Create(false);
    dev.FailNext("CreateRenderTarget");
    EXPECT_FALSE(render_->BeginCapture(16, 8));
    EXPECT_FALSE(render_->SaveCapture(dir_.File("none.bmp").c_str()));

    ASSERT_TRUE(render_->BeginCapture(16, 8));
    EXPECT_NE(dev.CurrentRenderTarget(), nullptr);
    EXPECT_EQ(NullDevice::NameOf(dev.CurrentRenderTarget().get()).rfind("surf#", 0), 0u);
    render_->BeginFrame(true);
    render_->EndFrame();
    ASSERT_TRUE(render_->SaveCapture(dir_.File("thumb.lev.bmp").c_str()));
    render_->EndCapture();
    EXPECT_EQ(NullDevice::NameOf(dev.CurrentRenderTarget().get()), "backbuffer");
    EXPECT_FALSE(render_->SaveCapture(dir_.File("after.bmp").c_str()));

    plat::Image img;
    ASSERT_TRUE(plat::LoadImage(dir_.File("thumb.lev.bmp"), img));
    EXPECT_EQ(img.width, 16);
    EXPECT_EQ(img.height, 8);
    EXPECT_EQ(img.Pixel(5, 5)[0], 0); // cleared to black
}

} // namespace
