// The OpenGL device against the conventions the renderer relies on, by probing pixels of small
// scenes drawn into a 64x64 back buffer: lighting with zero normals, texture orientation, stage
// combiners and coordinate sets, texture transforms, blending, stencil wrap, viewport-bounded
// clears, depth 0..1, clockwise culling, copies between targets and the back buffer's persistence.
// Runs under Xvfb (label "gl"); without a display the tests skip.
#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/gpu/d3dx_math.h"
#include "platform/gpu/d3dx_tex.h"
#include "platform/gpu/device.h"
#include "platform/gpu/pixel_format.h"
#include "platform/image/image.h"
#include "platform/image/image_write.h"
#include "support/temp_dir.h"

using namespace gpu;

namespace {

constexpr int kSize = 64;

struct XYZ {
    float x, y, z;
};
struct TexVertex { // XYZ | TEX2, 28 bytes
    float x, y, z, u0, v0, u1, v1;
};
struct LitVertex { // XYZ | NORMAL | TEX2, 40 bytes
    float x, y, z, nx, ny, nz, u0, v0, u1, v1;
};
static_assert(sizeof(TexVertex) == 28 && sizeof(LitVertex) == 40);

constexpr uint32_t kFvfPos = D3DFVF_XYZ;
constexpr uint32_t kFvfTex = D3DFVF_XYZ | D3DFVF_TEX2;
constexpr uint32_t kFvfLit = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX2;

class GlDeviceTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return;
        window_ = SDL_CreateWindow("gpu test", 0, 0, kSize, kSize, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
        if (!window_) return;
        d3d_ = Direct3DCreate(D3D_SDK_VERSION);
        if (!d3d_) return;
        PresentParameters pp = Params();
        if (Failed(d3d_->CreateDevice(0, D3DDEVTYPE_HAL, window_, D3DCREATE_SOFTWARE_VERTEXPROCESSING, &pp, &dev_)))
            dev_.reset();
    }
    static void TearDownTestSuite() {
        dev_.reset();
        d3d_.reset();
        if (window_) SDL_DestroyWindow(window_);
        window_ = nullptr;
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    static PresentParameters Params() {
        PresentParameters pp;
        pp.BackBufferWidth = pp.BackBufferHeight = kSize;
        pp.BackBufferFormat = D3DFMT_X8R8G8B8;
        pp.SwapEffect = D3DSWAPEFFECT_COPY;
        pp.Windowed = 1;
        pp.EnableAutoDepthStencil = 1;
        pp.AutoDepthStencilFormat = D3DFMT_D24S8;
        pp.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
        return pp;
    }

    void SetUp() override {
        if (!dev_) GTEST_SKIP() << "no OpenGL display (run under xvfb-run)";
        d = dev_.get();
        // Every scene starts from the device defaults, then the renderer's usual frame states.
        PresentParameters pp = Params();
        ASSERT_EQ(d->Reset(&pp), D3D_OK);
        Matrix proj;
        MatrixOrthoOffCenterLH(&proj, 0, kSize, kSize, 0, 0, 1); // pixels, y down, z = depth
        d->SetTransform(D3DTS_PROJECTION, &proj);
        d->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESS);
        d->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
        d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
        d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
        d->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
        ASSERT_EQ(d->BeginScene(), D3D_OK);
        ASSERT_EQ(d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, 0, 1.0f, 0), D3D_OK);
    }

    // A flat colour as the renderer makes it: emissive = colour, diffuse alpha = its alpha.
    void Flat(uint32_t argb) {
        Material m;
        m.Diffuse = ColorValue{0, 0, 0, (argb >> 24) / 255.0f};
        m.Ambient = m.Specular = ColorValue{0, 0, 0, 1};
        m.Emissive =
            ColorValue{((argb >> 16) & 0xFF) / 255.0f, ((argb >> 8) & 0xFF) / 255.0f, (argb & 0xFF) / 255.0f, 1};
        d->SetMaterial(&m);
    }

    // A position-only rectangle, wound clockwise on the screen unless `ccw`.
    void Rect2D(float x0, float y0, float x1, float y1, float z = 0.5f, bool ccw = false) {
        XYZ v[4] = {{x0, y0, z}, {x1, y0, z}, {x1, y1, z}, {x0, y1, z}};
        if (ccw) std::swap(v[1], v[3]);
        d->SetVertexShader(kFvfPos);
        ASSERT_EQ(d->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, v, sizeof(XYZ)), D3D_OK);
    }

    // A texture of w x h from A8R8G8B8 texels, rows top first.
    TexturePtr Texture(uint32_t w, uint32_t h, std::vector<uint32_t> texels, uint32_t format = D3DFMT_A8R8G8B8) {
        TexturePtr t;
        EXPECT_EQ(d->CreateTexture(w, h, 1, 0, format, D3DPOOL_MANAGED, &t), D3D_OK);
        LockedRect lr;
        EXPECT_EQ(t->LockRect(0, &lr, nullptr, 0), D3D_OK);
        for (uint32_t y = 0; y < h; ++y)
            for (uint32_t x = 0; x < w; ++x)
                WritePixelARGB(format, static_cast<uint8_t*>(lr.pBits) + y * lr.Pitch + x * BytesPerPixel(format),
                               texels[y * w + x]);
        t->UnlockRect(0);
        return t;
    }

    // Ends the scene, shows it and reads the back buffer.
    void Finish() {
        ASSERT_EQ(d->EndScene(), D3D_OK);
        ASSERT_EQ(d->Present(), D3D_OK);
        ReadBack();
    }
    void ReadBack() {
        SurfacePtr bb;
        ASSERT_EQ(d->GetBackBuffer(0, D3DBACKBUFFER_TYPE_MONO, &bb), D3D_OK);
        pixels_.assign(kSize * kSize, 0);
        LockedRect lr;
        ASSERT_EQ(bb->LockRect(&lr, nullptr, D3DLOCK_READONLY), D3D_OK);
        for (int y = 0; y < kSize; ++y)
            for (int x = 0; x < kSize; ++x)
                pixels_[y * kSize + x] =
                    ReadPixelARGB(D3DFMT_X8R8G8B8, static_cast<const uint8_t*>(lr.pBits) + y * lr.Pitch + x * 4);
        bb->UnlockRect();
    }

    struct Probe {
        int x, y;
        uint32_t rgb; // expected 0xRRGGBB
        int tolerance = 3;
    };
    void ExpectPixels(const std::vector<Probe>& probes) {
        for (const Probe& p : probes) {
            uint32_t got = pixels_[p.y * kSize + p.x];
            for (int shift : {16, 8, 0}) {
                int g = static_cast<int>((got >> shift) & 0xFF), e = static_cast<int>((p.rgb >> shift) & 0xFF);
                EXPECT_NEAR(g, e, p.tolerance)
                    << "pixel (" << p.x << "," << p.y << ") got " << std::hex << got << " expected " << p.rgb;
            }
        }
    }

    IDevice* d = nullptr;
    std::vector<uint32_t> pixels_;
    static SDL_Window* window_;
    static Direct3DPtr d3d_;
    static DevicePtr dev_;
};

SDL_Window* GlDeviceTest::window_ = nullptr;
Direct3DPtr GlDeviceTest::d3d_;
DevicePtr GlDeviceTest::dev_;

// ---- the scenes ----

// Emissive + light ambient x material ambient for a vertex without normal, even when a light
// shines straight at the default normal: the layer must send a zero normal.
TEST_F(GlDeviceTest, FlatColourIsEmissivePlusAmbient) {
    Light l;
    l.Type = D3DLIGHT_DIRECTIONAL;
    l.Diffuse = l.Specular = ColorValue{1, 0.95f, 0.8f, 1};
    l.Ambient = ColorValue{0.6f, 0.6f, 0.8f, 1};
    l.Direction = Vector3{0, 0, -1}; // toward +z viewers: would light a (0, 0, 1) normal fully
    d->SetLight(0, &l);
    d->LightEnable(0, true);
    Material m;
    m.Diffuse = ColorValue{1, 1, 1, 1};
    m.Ambient = ColorValue{0, 0.5f, 0, 1};
    m.Emissive = ColorValue{0.2f, 0, 0, 1};
    d->SetMaterial(&m);
    d->SetRenderState(D3DRS_SPECULARENABLE, 1);
    Rect2D(8, 8, 56, 56);
    // Stage 0 off: the lit colour itself comes out.
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_DISABLE);
    Rect2D(0, 0, 8, 8);
    Finish();
    ExpectPixels({{32, 32, 0x334D00}, {4, 4, 0x334D00}, {60, 60, 0x000000}});
}

// Texture row 0 is the top; MODULATE of texture and lit diffuse; N.L of a light from the front,
// ambient only for a face turned away.
TEST_F(GlDeviceTest, LitTexturedTriangles) {
    TexturePtr tex = Texture(2, 2, {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF});
    Light l;
    l.Diffuse = ColorValue{0.5f, 0.5f, 0.5f, 1};
    l.Ambient = ColorValue{0.25f, 0.25f, 0.25f, 1};
    l.Direction = Vector3{0, 0, 1}; // into the screen
    d->SetLight(0, &l);
    d->LightEnable(0, true);
    Material m;
    m.Diffuse = m.Ambient = ColorValue{1, 1, 1, 1};
    d->SetMaterial(&m);
    d->SetTexture(0, tex);
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    d->SetVertexShader(kFvfLit);
    // Upper-left triangle faces the light (normal toward the viewer, -z), lower-right faces away.
    LitVertex front[3] = {
        {0, 0, 0.5f, 0, 0, -1, 0, 0, 0, 0}, {64, 0, 0.5f, 0, 0, -1, 1, 0, 0, 0}, {0, 64, 0.5f, 0, 0, -1, 0, 1, 0, 0}};
    LitVertex back[3] = {
        {64, 0, 0.5f, 0, 0, 1, 1, 0, 0, 0}, {64, 64, 0.5f, 0, 0, 1, 1, 1, 0, 0}, {0, 64, 0.5f, 0, 0, 1, 0, 1, 0, 0}};
    ASSERT_EQ(d->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, front, sizeof(LitVertex)), D3D_OK);
    ASSERT_EQ(d->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, back, sizeof(LitVertex)), D3D_OK);
    Finish();
    ExpectPixels({{8, 8, 0xBF0000},     // red texel x (0.25 + 0.5)
                  {40, 8, 0x00BF00},    // green texel, front face
                  {8, 40, 0x0000BF},    // blue texel, front face
                  {56, 56, 0x404040}}); // white texel, back face: ambient 0.25
}

// Blending source alpha over what is there.
TEST_F(GlDeviceTest, AlphaBlending) {
    Flat(0xFF0000FF);
    Rect2D(0, 0, 64, 64);
    d->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    d->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    d->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    d->SetRenderState(D3DRS_ZFUNC, D3DCMP_ALWAYS);
    Flat(0x40FF0000); // red, alpha 0.25
    Rect2D(0, 0, 32, 64);
    // Destination alpha of an X8R8G8B8 back buffer reads 1.
    d->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_DESTALPHA);
    d->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ZERO);
    Flat(0x0000FF00);
    Rect2D(48, 0, 64, 64);
    Finish();
    ExpectPixels({{16, 32, 0x4000BF}, {40, 32, 0x0000FF}, {56, 32, 0x00FF00}});
}

// Unlit vertices with colours take their own colours, alpha included; the next unlit draw without
// colours is white again, and a lit draw with colours takes its material.
TEST_F(GlDeviceTest, VertexColoursColourUnlitDrawsOnly) {
    struct ColourVertex {
        float x, y, z;
        uint32_t argb;
    };
    const ColourVertex strip[4] = {
        {0, 0, 0.5f, 0xFFFF0000}, {32, 0, 0.5f, 0xFFFF0000}, {0, 32, 0.5f, 0xFFFF0000}, {32, 32, 0.5f, 0xFFFF0000}};
    d->SetRenderState(D3DRS_LIGHTING, 0);
    d->SetVertexShader(D3DFVF_XYZ | D3DFVF_DIFFUSE);
    ASSERT_EQ(d->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, strip, sizeof(ColourVertex)), D3D_OK);
    // Half-transparent green over the red.
    d->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    d->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    d->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    d->SetRenderState(D3DRS_ZFUNC, D3DCMP_ALWAYS);
    ColourVertex half[4];
    for (int i = 0; i < 4; ++i) half[i] = {strip[i].x, strip[i].y + 16, 0.5f, 0x8000FF00};
    ASSERT_EQ(d->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, half, sizeof(ColourVertex)), D3D_OK);
    d->SetRenderState(D3DRS_ALPHABLENDENABLE, 0);
    Rect2D(32, 0, 64, 32); // unlit, no colours: white
    d->SetRenderState(D3DRS_LIGHTING, 1);
    Flat(0xFF0000FF);
    ColourVertex lit[4];
    for (int i = 0; i < 4; ++i) lit[i] = {strip[i].x + 32, strip[i].y + 32, 0.5f, 0xFFFF0000};
    d->SetVertexShader(D3DFVF_XYZ | D3DFVF_DIFFUSE);
    ASSERT_EQ(d->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, lit, sizeof(ColourVertex)), D3D_OK);
    Finish();
    ExpectPixels({{8, 8, 0xFF0000}, {8, 40, 0x008000}, {8, 24, 0x7F8000}, {48, 16, 0xFFFFFF}, {48, 48, 0x0000FF}});
}

// Two textures on two stages, stage 1 reading the second coordinate set, then the texture factor;
// the first disabled stage ends the chain.
TEST_F(GlDeviceTest, StagesCombineWithTheirOwnCoordinateSets) {
    TexturePtr grey = Texture(1, 1, {0xFF808080});
    TexturePtr blues = Texture(2, 1, {0xFF000000, 0xFF000064}, D3DFMT_X8R8G8B8);
    Flat(0xFFFFFFFF);
    d->SetTexture(0, grey);
    d->SetTexture(1, blues);
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    d->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_ADD);
    d->SetTextureStageState(1, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(1, D3DTSS_COLORARG2, D3DTA_CURRENT);
    d->SetTextureStageState(2, D3DTSS_COLOROP, D3DTOP_MODULATE);
    d->SetTextureStageState(2, D3DTSS_COLORARG1, D3DTA_TFACTOR);
    d->SetTextureStageState(2, D3DTSS_COLORARG2, D3DTA_CURRENT);
    d->SetRenderState(D3DRS_TEXTUREFACTOR, 0xFF80FF80);
    d->SetVertexShader(kFvfTex);
    // Set 0 runs over the whole quad; set 1 stays on the right texel of `blues`.
    TexVertex q[4] = {{0, 0, 0.5f, 0, 0, 0.75f, 0.5f},
                      {32, 0, 0.5f, 1, 0, 0.75f, 0.5f},
                      {32, 64, 0.5f, 1, 1, 0.75f, 0.5f},
                      {0, 64, 0.5f, 0, 1, 0.75f, 0.5f}};
    ASSERT_EQ(d->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, q, sizeof(TexVertex)), D3D_OK);
    // The same with stage 2 disabled and stage 3 set: stage 3 must not count.
    d->SetTextureStageState(2, D3DTSS_COLOROP, D3DTOP_DISABLE);
    d->SetTextureStageState(3, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    d->SetTextureStageState(3, D3DTSS_COLORARG1, D3DTA_TFACTOR);
    for (TexVertex& v : q) v.x += 32;
    ASSERT_EQ(d->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, q, sizeof(TexVertex)), D3D_OK);
    Finish();
    ExpectPixels({{4, 32, 0x408072, 4}, {60, 32, 0x8080E4, 4}});
}

// SPECULAR as a stage argument reads the vertices' specular colour, black for these (unlit, no
// specular colour), not the diffuse colour: selected alone it gives black, added to the diffuse
// colour it leaves that colour.
TEST_F(GlDeviceTest, SpecularArgumentReadsTheSpecularColourNotTheDiffuse) {
    struct Row {
        uint32_t op;
        uint32_t want;
    };
    const Row rows[] = {{D3DTOP_SELECTARG1, 0x000000}, {D3DTOP_ADD, 0x808080}};
    Flat(0xFF808080);
    d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_SPECULAR);
    d->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    d->SetRenderState(D3DRS_TEXTUREFACTOR, 0xFFFFFFFF); // must not stand in for the specular colour
    float x = 0;
    for (const Row& r : rows) {
        d->SetTextureStageState(0, D3DTSS_COLOROP, r.op);
        Rect2D(x, 0, x + 32, 64);
        x += 32;
    }
    Finish();
    ExpectPixels({{16, 32, rows[0].want}, {48, 32, rows[1].want}});
}

// SRCALPHASAT as the destination factor: (f, f, f, 1) with f = min(source alpha, 1 - destination
// alpha), so 0 on a back buffer without alpha: the source replaces white. The blend it replaces
// (ONE, ONE) must not stay in force.
TEST_F(GlDeviceTest, SourceAlphaSaturateAsDestinationFactor) {
    Flat(0xFFFFFFFF);
    Rect2D(0, 0, 64, 64);
    d->SetRenderState(D3DRS_ZFUNC, D3DCMP_ALWAYS);
    d->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    d->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
    d->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
    d->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_SRCALPHASAT);
    Flat(0x80400000); // dark red, alpha 0.5
    Rect2D(0, 0, 32, 64);
    Finish();
    ExpectPixels({{16, 32, 0x400000}, {48, 32, 0xFFFFFF}});
}

// One texture (black | white) in two stages of one draw with different filters: stage 0 point
// sampled, stage 1 linear, stage 1 = its texel minus stage 0's. A quarter of the way into the black
// texel's right half, the linear sample is a quarter white and the point sample black.
TEST_F(GlDeviceTest, ATextureInTwoStagesIsFilteredAsEachStageSays) {
    TexturePtr tex = Texture(2, 1, {0xFF000000, 0xFFFFFFFF});
    Flat(0xFFFFFFFF);
    for (uint32_t stage : {0u, 1u}) {
        d->SetTexture(stage, tex);
        const uint32_t filter = stage == 0 ? D3DTEXF_POINT : D3DTEXF_LINEAR;
        d->SetTextureStageState(stage, D3DTSS_MINFILTER, filter);
        d->SetTextureStageState(stage, D3DTSS_MAGFILTER, filter);
        d->SetTextureStageState(stage, D3DTSS_ADDRESSU, D3DTADDRESS_CLAMP);
        d->SetTextureStageState(stage, D3DTSS_ADDRESSV, D3DTADDRESS_CLAMP);
    }
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_SUBTRACT);
    d->SetTextureStageState(1, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(1, D3DTSS_COLORARG2, D3DTA_CURRENT);
    d->SetVertexShader(kFvfTex);
    TexVertex q[4] = {
        {0, 0, 0.5f, 0, 0, 0, 0}, {64, 0, 0.5f, 1, 0, 1, 0}, {64, 64, 0.5f, 1, 1, 1, 1}, {0, 64, 0.5f, 0, 1, 0, 1}};
    ASSERT_EQ(d->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, q, sizeof(TexVertex)), D3D_OK);
    Finish();
    ExpectPixels({{24, 32, 0x404040, 6}, {8, 32, 0x000000}});
}

// A texture matrix with a translation in row 2 scrolls the picture (2-D texture transform layout).
TEST_F(GlDeviceTest, TextureTransformScrollsByRowTwo) {
    TexturePtr tex = Texture(2, 1, {0xFFFF0000, 0xFF00FF00});
    Flat(0xFFFFFFFF);
    d->SetTexture(0, tex);
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    d->SetVertexShader(kFvfTex);
    TexVertex q[4] = {{0, 0, 0.5f, 0.1f, 0, 0, 0},
                      {32, 0, 0.5f, 0.4f, 0, 0, 0},
                      {32, 64, 0.5f, 0.4f, 1, 0, 0},
                      {0, 64, 0.5f, 0.1f, 1, 0, 0}};
    ASSERT_EQ(d->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, q, sizeof(TexVertex)), D3D_OK);
    Matrix scroll = Matrix::Identity();
    scroll.m[8] = 0.5f; // row 2: u += 0.5
    d->SetTransform(D3DTS_TEXTURE0, &scroll);
    d->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_COUNT2);
    for (TexVertex& v : q) v.x += 32;
    ASSERT_EQ(d->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, q, sizeof(TexVertex)), D3D_OK);
    Finish();
    ExpectPixels({{16, 32, 0xFF0000}, {48, 32, 0x00FF00}});
}

// A texture in a 16-bit layout reaches OpenGL widened a band of rows at a time; a tall one takes
// several bands, and each must land in its own rows.
TEST_F(GlDeviceTest, SixteenBitTexturesKeepEveryRow) {
    const uint32_t quarters[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
    std::vector<uint32_t> texels(128 * 512);
    for (uint32_t y = 0; y < 512; ++y)
        for (uint32_t x = 0; x < 128; ++x) texels[y * 128 + x] = quarters[y / 128];
    TexturePtr tex = Texture(128, 512, texels, D3DFMT_R5G6B5);
    Flat(0xFFFFFFFF);
    d->SetTexture(0, tex);
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    d->SetVertexShader(kFvfTex);
    TexVertex q[4] = {
        {0, 0, 0.5f, 0, 0, 0, 0}, {64, 0, 0.5f, 1, 0, 0, 0}, {64, 64, 0.5f, 1, 1, 0, 0}, {0, 64, 0.5f, 0, 1, 0, 0}};
    ASSERT_EQ(d->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, q, sizeof(TexVertex)), D3D_OK);
    Finish();
    ExpectPixels({{32, 8, 0xFF0000}, {32, 24, 0x00FF00}, {32, 40, 0x0000FF}, {32, 56, 0xFFFFFF}});
}

// Stencil counting with the wrapping operations: two increments make 2, a decrement of 0 wraps to
// 255 (a saturating one would stay 0); later passes test those values.
TEST_F(GlDeviceTest, StencilIncrementsWrapAndTest) {
    d->SetRenderState(D3DRS_ALPHABLENDENABLE, 1); // count without drawing colour
    d->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ZERO);
    d->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
    d->SetRenderState(D3DRS_ZWRITEENABLE, 0);
    d->SetRenderState(D3DRS_STENCILENABLE, 1);
    d->SetRenderState(D3DRS_STENCILFUNC, D3DCMP_ALWAYS);
    d->SetRenderState(D3DRS_STENCILPASS, D3DSTENCILOP_INCR);
    Flat(0xFFFFFFFF);
    Rect2D(0, 0, 32, 64);
    Rect2D(0, 0, 32, 64);
    d->SetRenderState(D3DRS_STENCILPASS, D3DSTENCILOP_DECR);
    Rect2D(32, 0, 64, 32);
    d->SetRenderState(D3DRS_STENCILPASS, D3DSTENCILOP_DECRSAT);
    Rect2D(32, 32, 64, 64);

    d->SetRenderState(D3DRS_ALPHABLENDENABLE, 0);
    d->SetRenderState(D3DRS_STENCILPASS, D3DSTENCILOP_KEEP);
    d->SetRenderState(D3DRS_STENCILFUNC, D3DCMP_EQUAL);
    d->SetRenderState(D3DRS_STENCILREF, 2);
    Flat(0xFFFF0000);
    Rect2D(0, 0, 64, 64, 0.4f);
    d->SetRenderState(D3DRS_STENCILREF, 255);
    Flat(0xFF00FF00);
    Rect2D(0, 0, 64, 64, 0.3f);
    d->SetRenderState(D3DRS_STENCILFUNC, D3DCMP_NOTEQUAL);
    d->SetRenderState(D3DRS_STENCILREF, 0);
    d->SetRenderState(D3DRS_STENCILMASK, 0x01); // only bit 0: 2 and 0 look alike, 255 does not
    Flat(0xFF0000FF);
    Rect2D(0, 0, 64, 64, 0.2f);
    Finish();
    ExpectPixels({{16, 32, 0xFF0000}, {48, 16, 0x0000FF}, {48, 48, 0x000000}});
}

// A clear touches the viewport only, whatever the write masks say.
TEST_F(GlDeviceTest, ClearIsBoundedByTheViewport) {
    d->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF0000FF, 1.0f, 0);
    Viewport band{16, 8, 32, 16, 0, 1};
    ASSERT_EQ(d->SetViewport(&band), D3D_OK);
    d->SetRenderState(D3DRS_ZWRITEENABLE, 0);
    d->SetRenderState(D3DRS_STENCILWRITEMASK, 0);
    d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, 0xFFFF0000, 0.25f, 7);
    // Depth 0.25 and stencil 7 landed inside the band only.
    Viewport all{0, 0, kSize, kSize, 0, 1};
    d->SetViewport(&all);
    d->SetRenderState(D3DRS_STENCILENABLE, 1);
    d->SetRenderState(D3DRS_STENCILFUNC, D3DCMP_EQUAL);
    d->SetRenderState(D3DRS_STENCILREF, 7);
    Flat(0xFFFFFFFF);
    Rect2D(0, 0, 64, 64, 0.5f); // behind the cleared depth 0.25: hidden
    Flat(0xFF00FF00);
    Rect2D(0, 0, 32, 64, 0.1f); // in front: drawn where the stencil is 7
    Finish();
    ExpectPixels({{20, 16, 0x00FF00},
                  {17, 9, 0x00FF00},
                  {31, 23, 0x00FF00},
                  {40, 16, 0xFF0000},
                  {47, 23, 0xFF0000},
                  {15, 16, 0x0000FF},
                  {20, 7, 0x0000FF},
                  {48, 16, 0x0000FF},
                  {20, 24, 0x0000FF}});
}

// A blend that keeps the target (source ZERO, destination ONE) still writes depth and stencil but
// no colour; the next draw without it writes colour again, and a clear made under it clears the
// colour all the same.
TEST_F(GlDeviceTest, ABlendThatKeepsTheTargetWritesDepthButNoColour) {
    Flat(0xFF0000FF);
    Rect2D(0, 0, 64, 64, 0.5f);
    d->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    d->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ZERO);
    d->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
    Flat(0xFFFF0000);
    Rect2D(0, 0, 32, 64, 0.3f); // depth 0.3 on the left, the colour stays blue
    d->SetRenderState(D3DRS_ALPHABLENDENABLE, 0);
    Flat(0xFF00FF00);
    Rect2D(0, 0, 64, 64, 0.4f); // hidden on the left by the depth just written, drawn on the right
    d->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
    const Rect corner{0, 0, 16, 64};
    d->Clear(1, &corner, D3DCLEAR_TARGET, 0xFFFFFF00, 1.0f, 0);
    Finish();
    ExpectPixels({{8, 32, 0xFFFF00}, {24, 32, 0x0000FF}, {48, 32, 0x00FF00}});
}

// Depth runs 0..1: z = 1 lies on the far plane (the clear value), below 0 is clipped.
TEST_F(GlDeviceTest, DepthRangeIsZeroToOne) {
    Flat(0xFFFF0000);
    Rect2D(0, 0, 16, 64, 1.0f); // LESS against 1.0: nothing
    d->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
    Rect2D(16, 0, 32, 64, 1.0f);  // LESSEQUAL: drawn
    Rect2D(32, 0, 48, 64, -0.1f); // in front of the near plane: clipped
    Rect2D(48, 0, 64, 64, 0.8f);
    Flat(0xFF00FF00);
    Rect2D(48, 0, 64, 32, 0.9f);  // behind: hidden
    Rect2D(48, 32, 64, 64, 0.3f); // in front: drawn
    Finish();
    ExpectPixels({{8, 32, 0x000000}, {24, 32, 0xFF0000}, {40, 32, 0x000000}, {56, 16, 0xFF0000}, {56, 48, 0x00FF00}});
}

// CW culling drops what is wound clockwise on the screen, CCW the other way, NONE neither.
TEST_F(GlDeviceTest, CullingFollowsScreenWinding) {
    Flat(0xFFFFFFFF);
    const struct {
        uint32_t mode;
        float y0;
    } rows[] = {{D3DCULL_CW, 0}, {D3DCULL_CCW, 16}, {D3DCULL_NONE, 32}};
    for (const auto& r : rows) {
        d->SetRenderState(D3DRS_CULLMODE, r.mode);
        Rect2D(0, r.y0, 32, r.y0 + 16, 0.5f, false); // clockwise
        Rect2D(32, r.y0, 64, r.y0 + 16, 0.5f, true); // counter-clockwise
    }
    Finish();
    ExpectPixels({{16, 8, 0x000000},
                  {48, 8, 0xFFFFFF},
                  {16, 24, 0xFFFFFF},
                  {48, 24, 0x000000},
                  {16, 40, 0xFFFFFF},
                  {48, 40, 0xFFFFFF}});
}

// Mesh-style drawing from vertex and index buffers with a base vertex.
TEST_F(GlDeviceTest, IndexedBuffersDraw) {
    VertexBufferPtr vb;
    IndexBufferPtr ib;
    ASSERT_EQ(d->CreateVertexBuffer(8 * 40, D3DUSAGE_WRITEONLY, kFvfLit, D3DPOOL_MANAGED, &vb), D3D_OK);
    ASSERT_EQ(d->CreateIndexBuffer(6 * 2, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_MANAGED, &ib), D3D_OK);
    LitVertex* v = nullptr;
    ASSERT_EQ(vb->Lock(0, 0, reinterpret_cast<void**>(&v), 0), D3D_OK);
    for (int i = 0; i < 8; ++i) v[i] = LitVertex{-100, -100, 0.5f, 0, 0, -1, 0, 0, 0, 0};
    v[4] = {32, 0, 0.5f, 0, 0, -1, 0, 0, 0, 0};
    v[5] = {64, 0, 0.5f, 0, 0, -1, 0, 0, 0, 0};
    v[6] = {64, 64, 0.5f, 0, 0, -1, 0, 0, 0, 0};
    v[7] = {32, 64, 0.5f, 0, 0, -1, 0, 0, 0, 0};
    vb->Unlock();
    uint16_t* idx = nullptr;
    ASSERT_EQ(ib->Lock(0, 0, reinterpret_cast<void**>(&idx), 0), D3D_OK);
    const uint16_t quad[6] = {0, 1, 2, 0, 2, 3};
    std::copy(quad, quad + 6, idx);
    ib->Unlock();
    Flat(0xFF00FFFF);
    d->SetVertexShader(kFvfLit);
    d->SetStreamSource(0, vb, 40);
    d->SetIndices(ib, 4);
    ASSERT_EQ(d->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 4, 0, 2), D3D_OK);
    d->SetIndices(ib, 5); // index 3 + 5 is past the buffer
    EXPECT_EQ(d->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 4, 0, 2), D3DERR_INVALIDCALL);
    d->SetStreamSource(0, nullptr, 0);
    d->SetIndices(nullptr, 0);
    Finish();
    ExpectPixels({{16, 32, 0x000000}, {48, 32, 0x00FFFF}});
}

// A background target shares the back buffer's depth-stencil, is copied onto the back buffer, and
// the back buffer keeps what it has after Present.
TEST_F(GlDeviceTest, BackgroundTargetCopiesAndBackBufferPersists) {
    SurfacePtr bb, ds, bg;
    d->GetRenderTarget(&bb);
    d->GetDepthStencilSurface(&ds);
    ASSERT_EQ(d->CreateRenderTarget(kSize, kSize, D3DFMT_X8R8G8B8, D3DMULTISAMPLE_NONE, false, &bg), D3D_OK);
    ASSERT_EQ(d->SetRenderTarget(bg, ds), D3D_OK);
    d->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
    Flat(0xFFFF8000);
    Rect2D(0, 0, 64, 32, 0.3f); // writes depth 0.3 into the shared depth buffer
    ASSERT_EQ(d->CopyRects(bg.get(), nullptr, 0, bb.get(), nullptr), D3D_OK);
    ASSERT_EQ(d->SetRenderTarget(bb, ds), D3D_OK);
    Flat(0xFF0000FF);
    Rect2D(0, 0, 32, 64, 0.5f); // hidden where the background pass wrote depth 0.3
    bg.reset();
    Finish();
    ExpectPixels({{48, 16, 0xFF8000}, {16, 16, 0xFF8000}, {16, 48, 0x0000FF}, {48, 48, 0x000000}});
    // Another frame without a clear still shows the last one.
    ASSERT_EQ(d->BeginScene(), D3D_OK);
    ASSERT_EQ(d->EndScene(), D3D_OK);
    ASSERT_EQ(d->Present(), D3D_OK);
    ReadBack();
    ExpectPixels({{48, 16, 0xFF8000}, {16, 48, 0x0000FF}});
}

// A capture target smaller than the depth buffer, saved as BMP.
TEST_F(GlDeviceTest, CaptureTargetSavesAsBmp) {
    testsupport::TempDir dir;
    SurfacePtr bb, ds, cap;
    d->GetRenderTarget(&bb);
    d->GetDepthStencilSurface(&ds);
    ASSERT_EQ(d->CreateRenderTarget(16, 16, D3DFMT_X8R8G8B8, D3DMULTISAMPLE_NONE, true, &cap), D3D_OK);
    ASSERT_EQ(d->SetRenderTarget(cap, ds), D3D_OK);
    Matrix proj;
    MatrixOrthoOffCenterLH(&proj, 0, 16, 16, 0, 0, 1);
    d->SetTransform(D3DTS_PROJECTION, &proj);
    d->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xFF000040, 1.0f, 0);
    Flat(0xFFFFFF00);
    Rect2D(0, 0, 16, 8); // the top half (the viewport is now the capture's 16x16)
    std::string file = dir.File("thumb.lev.bmp");
    ASSERT_EQ(SaveSurfaceToFile(file.c_str(), D3DXIFF_BMP, cap.get(), nullptr), D3D_OK);
    ASSERT_EQ(d->SetRenderTarget(bb, ds), D3D_OK);
    cap.reset();
    Finish();
    plat::Image img;
    ASSERT_TRUE(plat::LoadImage(file, img));
    ASSERT_EQ(img.width, 16);
    const uint8_t* top = img.Pixel(8, 2);
    const uint8_t* bottom = img.Pixel(8, 13);
    EXPECT_EQ(top[0], 255);
    EXPECT_EQ(top[1], 255);
    EXPECT_EQ(top[2], 0);
    EXPECT_EQ(bottom[0], 0);
    EXPECT_EQ(bottom[2], 0x40);
    ExpectPixels({{8, 2, 0x000000}}); // the back buffer was not touched
}

// A two-colour picture through PNG, JPEG and BMP files into textures, drawn the right way up.
TEST_F(GlDeviceTest, TexturesFromFilesKeepTheirOrientation) {
    testsupport::TempDir dir;
    plat::Image img;
    img.Allocate(32, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            uint8_t* p = img.Pixel(x, y);
            p[0] = y < 16 ? 255 : 0; // top red, bottom blue
            p[1] = 0;
            p[2] = y < 16 ? 0 : 255;
            p[3] = 255;
        }
    const std::string files[3] = {dir.File("t.png"), dir.File("t.jpg"), dir.File("t.bmp")};
    ASSERT_TRUE(plat::SavePng(files[0], img, false));
    ASSERT_TRUE(plat::SaveJpeg(files[1], img, 100));
    ASSERT_TRUE(plat::SaveBmp(files[2], img));
    Flat(0xFFFFFFFF);
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTEXF_LINEAR);
    d->SetTextureStageState(0, D3DTSS_MIPFILTER, D3DTEXF_LINEAR);
    d->SetVertexShader(kFvfTex);
    std::vector<TexturePtr> keep;
    for (int i = 0; i < 3; ++i) {
        TexturePtr t;
        ASSERT_EQ(CreateTextureFromFileEx(d, files[i].c_str(), 0, 0, D3DX_DEFAULT, 0, D3DFMT_UNKNOWN, D3DPOOL_MANAGED,
                                          D3DX_FILTER_BOX, D3DX_FILTER_BOX, 0, nullptr, &t),
                  D3D_OK)
            << files[i];
        EXPECT_EQ(t->GetLevelCount(), 6u);
        d->SetTexture(0, t);
        keep.push_back(t);
        float x0 = i * 20.0f, x1 = x0 + 20;
        TexVertex q[4] = {{x0, 0, 0.5f, 0, 0, 0, 0},
                          {x1, 0, 0.5f, 1, 0, 0, 0},
                          {x1, 64, 0.5f, 1, 1, 0, 0},
                          {x0, 64, 0.5f, 0, 1, 0, 0}};
        ASSERT_EQ(d->DrawPrimitiveUP(D3DPT_TRIANGLEFAN, 2, q, sizeof(TexVertex)), D3D_OK);
    }
    Finish();
    std::vector<Probe> probes;
    for (int i = 0; i < 3; ++i) {
        probes.push_back({i * 20 + 10, 8, 0xFF0000, 12});
        probes.push_back({i * 20 + 10, 56, 0x0000FF, 12});
    }
    ExpectPixels(probes);
}

TEST_F(GlDeviceTest, AdapterReportsTheDisplayAndACapableDevice) {
    ASSERT_EQ(d->EndScene(), D3D_OK);
    AdapterIdentifier id;
    ASSERT_EQ(d3d_->GetAdapterIdentifier(0, D3DENUM_NO_WHQL_LEVEL, &id), D3D_OK);
    EXPECT_FALSE(id.Description.empty());
    EXPECT_NE(id.DriverVersion >> 48, 0u); // the GL major version
    ASSERT_GT(d3d_->GetAdapterModeCount(0), 0u);
    DisplayMode desktop;
    ASSERT_EQ(d3d_->GetAdapterDisplayMode(0, &desktop), D3D_OK);
    EXPECT_EQ(desktop.Format, D3DFMT_X8R8G8B8); // a 24-bit X server is a 32-bit desktop
    EXPECT_EQ(d3d_->CheckDeviceType(0, D3DDEVTYPE_HAL, desktop.Format, desktop.Format, false), D3D_OK);
    EXPECT_EQ(d3d_->CheckDeviceFormat(0, D3DDEVTYPE_HAL, desktop.Format, D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE,
                                      D3DFMT_D24S8),
              D3D_OK);
    EXPECT_EQ(d3d_->CheckDepthStencilMatch(0, D3DDEVTYPE_HAL, desktop.Format, desktop.Format, D3DFMT_D24S8), D3D_OK);
    Caps caps;
    ASSERT_EQ(d->GetDeviceCaps(&caps), D3D_OK);
    EXPECT_GE(caps.MaxSimultaneousTextures, 2u);
    EXPECT_GE(caps.MaxTextureWidth, 512u);
    EXPECT_EQ(d->TestCooperativeLevel(), D3D_OK);
}

} // namespace
