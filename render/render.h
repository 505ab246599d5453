#pragma once
// The renderer interface every drawing part of the game calls, and the value types it speaks in.
//
// There is one renderer, reached through g_Render (set by its constructor, cleared by its
// destructor; null while none exists). Besides the drawing operations, the base class owns the
// state caches that make applying a shader cheap: the current shader and material, the last value
// sent for each render state and for each stage state of every texture stage, the texture bound
// per stage and whether each stage's texture transform is the identity. Only changes reach the
// device.
//
// States are numbered in the engine's own order (YRenderStateBlock, YStageStates); the
// implementation maps them to device states. The value 0xFFFFFFFF in a cache means "unknown":
// BeginFrame fills every cache with it, so the next request for any state reaches the device,
// except a request for exactly 0xFFFFFFFF (opaque white texture factor, full stencil masks),
// which compares equal and is taken as already sent.
#include <cstdint>
#include <string>
#include <vector>

#include "math/matrix.h"
#include "math/vector.h"
#include "math/vertex.h"
#include "platform/gpu/device.h"
#include "render/render_objects.h"
#include "render/render_values.h"
#include "render/video_mode.h"

class YTexture;
class YColorFilter;

// Texture stages the renderer keeps caches for; the device may have fewer.
constexpr int RENDER_MAX_STAGES = 10;
// The cache value that stands for "not known to the device".
constexpr uint32_t RENDER_STATE_UNKNOWN = 0xFFFFFFFFu;
// Glyphs of a text sent to the device in one draw.
constexpr int TEXT_BATCH_GLYPHS = 64;

class YRender {
public:
    YRender();
    YRender(const YRender&) = delete;
    YRender& operator=(const YRender&) = delete;

    // ---- Device operations, in the interface's order ----

    // Binds the texture's device texture to the stage; nothing when it has none. A null texture
    // leaves the stage without one.
    virtual void SetTexture(YTexture* texture, int stage) = 0;
    // Sends one stage state (engine index 0..10).
    virtual void SetTextureStageState(int stage, int index, uint32_t value) = 0;
    // Sends one render state (engine index 0..15).
    virtual void SetRenderState(int index, uint32_t value) = 0;
    // Render state 3 := ColorToARGB(colour).
    virtual void SetTextureFactor(const float colour[4]) = 0;
    virtual void ApplyMaterial(const YMaterial* material) = 0;
    // Light 0, and specular highlights with it.
    virtual void SetLighting(bool on) = 0;
    // The number of texture stages in use, cut to the device's count; stages no longer in use are
    // switched off and lose their textures.
    virtual void SetActiveStages(int count);
    // The stage's texture-coordinate transform: off while the stage's identity flag is set,
    // otherwise `m` applied to two coordinates.
    virtual void SetTextureMatrix(const YMatrix* m, int stage) = 0;
    // A keyword of a shader file to a state value; 0xFFFFFFFF for a keyword the state does not
    // know.
    virtual uint32_t ParseRenderStateValue(int index, const std::string& keyword) = 0;
    virtual uint32_t ParseStageStateValue(int index, const std::string& keyword) = 0;
    // r, g, b, a in 0..1 packed as 8-bit A, R, G, B (each channel clamped to 0..1, x 255,
    // truncated).
    virtual uint32_t ColorToARGB(const float colour[4]);
    // Depth to 1.0, stencil to 0 when the device has a stencil buffer, and the colour to black
    // only when `target` is true.
    virtual void Clear(bool target) = 0;
    virtual ~YRender();

    // Textures and buffers.
    virtual void LoadTexture(YTexture* texture) = 0;
    virtual void ReleaseTexture(YTexture* texture) = 0;
    // A new device texture whose texels are the source's passed through the filter; null without
    // a device or when the source has no device texture.
    virtual gpu::TexturePtr CreateFilteredTexture(YTexture* source, YColorFilter* filter) = 0;
    virtual gpu::VertexBufferPtr CreateVertexBuffer(const std::vector<YVertex>& vertices) = 0;
    // Drops the buffer (the handle becomes null).
    virtual void ReleaseBuffer(gpu::VertexBufferPtr& buffer) = 0;
    virtual void UpdateVertexBuffer(const gpu::VertexBufferPtr& buffer, const std::vector<YVertex>& vertices) = 0;
    virtual gpu::IndexBufferPtr CreateIndexBuffer(const std::vector<uint16_t>& indices) = 0;
    virtual void ReleaseBuffer(gpu::IndexBufferPtr& buffer) = 0;

    // Meshes, with the current shader unless said otherwise.
    virtual void DrawMesh(const YMeshInstanceData* instance) = 0;
    // The listed subsets; the list ends at the first negative number and each number is taken
    // modulo the subset count.
    virtual void DrawMeshSubsets(const YMeshInstanceData* instance, const int* subsets) = 0;
    // Subset k with shader k modulo the list's length (applied with its material).
    virtual void DrawMeshShaded(const YMeshInstanceData* instance, const std::vector<YShaderBase*>& shaders) = 0;

    // Transforms. Set2D: pixels, left x, right x + w, top y, bottom y + h, depth -1..1.
    // SetPerspective: right-handed, vertical angle in degrees. Both set world and view to identity.
    virtual void Set2D(float x, float y, float w, float h) = 0;
    virtual void SetPerspective(float fovDegrees, float aspect, float zNear, float zFar) = 0;
    // The world transform; the view transform stays identity, so callers pass object x camera view.
    virtual void SetWorldMatrix(const YMatrix* m) = 0;

    // Direct draws.
    virtual void DrawTriangles(const YVector* vertices, int triangleCount) = 0;
    virtual void DrawQuad(const YVector v[4]) = 0;
    virtual void DrawTexQuad(const YTexVertex v[4]) = 0;
    virtual void DrawLitQuad(const YVertex v[4]) = 0;
    // `quads` lit quads, four corners each in DrawLitQuad's order, as one draw: the same triangles
    // in the same order as that many DrawLitQuad calls. At most LIT_QUAD_BATCH quads a call.
    static constexpr int LIT_QUAD_BATCH = 1024;
    virtual void DrawLitQuads(const YVertex* corners, int quads) = 0;
    virtual void DrawTexStrip(const YTexVertex* vertices, int triangleCount) = 0;
    // A strip coloured by its vertices, unlit: the colour is the vertices' own, where a lit draw
    // would take the material's.
    virtual void DrawColorStrip(const YColorVertex* vertices, int triangleCount) = 0;
    // The viewport, with identity projection and world; the projection is restored afterwards.
    virtual void DrawFullScreenQuad() = 0;
    virtual void DrawLineStrip(const YVector* points, int lineCount) = 0;

    // Device life.
    // The usable display modes, then the desktop mode; returns out.
    virtual std::vector<YVideoMode>* GetVideoModes(std::vector<YVideoMode>* out) = 0;
    // modeIndex is the index field of a YVideoMode.
    virtual bool CreateDevice(void* window, bool fullScreen, int modeIndex) = 0;
    // The window's size changed.
    virtual bool ResetDevice() = 0;
    // Releases every render resource, then the device.
    virtual void ReleaseDevice() = 0;

    // Frames. BeginFrame forgets every cached state and sends the defaults.
    virtual void BeginFrame(bool clearTarget);
    virtual void EndFrame() = 0;
    // False: draw nothing in this pass.
    virtual bool IsDeviceReady();

    // The background picture (full screen with double buffering).
    virtual bool HasBackgroundTarget() = 0;
    // The flag raised whenever the background target is (re)made; reading clears it.
    virtual bool TakeBackgroundLost() = 0;
    virtual void BeginBackground(bool clear) = 0;
    virtual void EndBackground() = 0;
    virtual void RestoreBackground() = 0;

    // Off-screen capture (level thumbnails).
    virtual bool BeginCapture(int width, int height) = 0;
    // Writes the capture target as a BMP file; false without a capture or when writing fails.
    virtual bool SaveCapture(const char* file) = 0;
    virtual void EndCapture() = 0;

    // Viewport in fractions of the back buffer, with the depth range 0..1.
    virtual void SetViewport(const float pos[2], const float size[2]) = 0;
    // The window depth range of the current viewport (0..1 each; SetViewport sets 0, 1). With
    // 1, 1 whatever is drawn lies at the far plane: behind everything drawn before it.
    virtual void SetDepthRange(float minZ, float maxZ) = 0;

    // ---- Shader application and text ----

    // Makes the shader current: its render states, texture stages with their textures and texture
    // matrices and, when asked, its material. Nothing at all when it is current already.
    void SetShader(YShaderBase* shader, bool withMaterial);
    // Copies and sends the material; nothing when skipIfSame and all 17 values equal the last.
    void SetMaterial(const YMaterial* material, bool skipIfSame);
    // Each of the 16 values that differs from the cache is sent and cached.
    void ApplyStateBlock(const YRenderStateBlock* block);
    // Each of the 11 values that differs from the stage's cache is sent and cached.
    void ApplyStageStates(int stage, const YStageStates* states);
    // Binds the texture when it is not null, differs from the stage's and the device has the stage.
    void BindStageTexture(YTexture* texture, int stage);
    // Leaves the stage without a texture (a shader stage that names none keeps the one bound last).
    void ClearStageTexture(int stage);
    // The shader without its material, then a flat colour: every colour (0, 0, 0, 1) and power 0,
    // except emissive = colour and diffuse alpha = colour alpha. For 2D elements and text.
    void SetShaderColor(YShaderBase* shader, const float colour[4]);
    // Screen text from (x, y) at the text's bottom edge, y growing downward; returns the width.
    float DrawText(const YFontBase* font, float x, float y, float size, const char* text);
    // Text along `right` with glyphs rising along `up`; returns the width drawn (advance). One
    // draw per TEXT_BATCH_GLYPHS glyphs.
    float DrawText3D(const YFontBase* font, const YVector* origin, float size, const char* text, const YVector* right,
                     const YVector* up);

    // ---- What the caches hold ----
    const YRenderStateBlock& DefaultStateBlock() const { return defaultBlock_; }
    const YStageStates& DefaultStageStates() const { return defaultStages_; }
    const YShaderBase* CurrentShader() const { return currentShader_; }
    const YMaterial& CurrentMaterial() const { return material_; }
    int DeviceStageCount() const { return static_cast<int>(deviceStages_); }
    int ActiveStageCount() const { return static_cast<int>(activeStages_); }
    // The device's depth-stencil format has stencil bits (stencil shadows need them).
    bool HasStencilBuffer() const { return hasStencil_ != 0; }

protected:
    // Forgets everything that was sent: caches unknown, no textures bound.
    void InvalidateCaches();

    const YShaderBase* currentShader_ = nullptr;
    YMaterial material_;
    uint8_t lighting_ = 0;
    uint32_t renderStates_[RENDER_STATE_COUNT];
    uint32_t stageStates_[RENDER_MAX_STAGES][STAGE_STATE_COUNT];
    uint32_t deviceStages_ = 0;
    uint32_t activeStages_ = 0;
    uint8_t hasStencil_ = 0;
    // Held so that a texture released meanwhile cannot come back at the same address and be
    // taken as bound.
    gpu::TexturePtr boundTextures_[RENDER_MAX_STAGES];
    uint8_t identity_[RENDER_MAX_STAGES];
    YRenderStateBlock defaultBlock_;
    YStageStates defaultStages_;
};

// The renderer, or null.
extern YRender* g_Render;

// The renderer's two constant colours.
extern const float g_ColorBlack[4]; // (0, 0, 0, 1)
extern const float g_ColorWhite[4]; // (1, 1, 1, 1)

// Four 32-bit values into the first four fields of a record (colour, rectangle, quaternion).
template <class T>
T* Set4Fields(T* out, T a, T b, T c, T d) {
    out[0] = a;
    out[1] = b;
    out[2] = c;
    out[3] = d;
    return out;
}
// out = v x s, component by component; returns out.
float* Vec4Scale(float out[4], const float v[4], float s);
// out = a + b, component by component; returns out.
float* Vec4Add(float out[4], const float a[4], const float b[4]);
