#pragma once
// The renderer over the graphics device layer (platform/gpu): owns the "Direct3D object" and the
// device, lists the usable display modes, creates the device for the window (falling back from a
// window to full screen), survives a lost device, keeps the optional full-screen background
// picture, renders level thumbnails off screen, and carries out every drawing call.
//
// Fatal start failures end the process with exit code 0 after a log line: no Direct3D object, no
// usable display mode (also a message box), no device even in full screen (after resetting the
// configured mode to the smallest listed one and saving the configuration).
#include <cstdint>
#include <string>
#include <vector>

#include "platform/gpu/device.h"
#include "render/render.h"

// One usable display mode of adapter 0.
struct YAdapterMode {
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t refresh = 0;
    uint32_t displayFormat = gpu::D3DFMT_UNKNOWN;
    uint32_t depthFormat = gpu::D3DFMT_UNKNOWN;
    uint8_t hasStencil = 0;
};

class Render_D3D : public YRender {
public:
    // Makes the Direct3D object through `factory` (the device layer's own when empty) and becomes
    // the global renderer.
    explicit Render_D3D(const gpu::Direct3DFactory& factory = {});
    ~Render_D3D() override;

    void SetTexture(YTexture* texture, int stage) override;
    void SetTextureStageState(int stage, int index, uint32_t value) override;
    void SetRenderState(int index, uint32_t value) override;
    void SetTextureFactor(const float colour[4]) override;
    void ApplyMaterial(const YMaterial* material) override;
    void SetLighting(bool on) override;
    void SetTextureMatrix(const YMatrix* m, int stage) override;
    uint32_t ParseRenderStateValue(int index, const std::string& keyword) override;
    uint32_t ParseStageStateValue(int index, const std::string& keyword) override;
    void Clear(bool target) override;

    void LoadTexture(YTexture* texture) override;
    void ReleaseTexture(YTexture* texture) override;
    gpu::TexturePtr CreateFilteredTexture(YTexture* source, YColorFilter* filter) override;
    gpu::VertexBufferPtr CreateVertexBuffer(const std::vector<YVertex>& vertices) override;
    void ReleaseBuffer(gpu::VertexBufferPtr& buffer) override;
    void UpdateVertexBuffer(const gpu::VertexBufferPtr& buffer, const std::vector<YVertex>& vertices) override;
    gpu::IndexBufferPtr CreateIndexBuffer(const std::vector<uint16_t>& indices) override;
    void ReleaseBuffer(gpu::IndexBufferPtr& buffer) override;

    void DrawMesh(const YMeshInstanceData* instance) override;
    void DrawMeshSubsets(const YMeshInstanceData* instance, const int* subsets) override;
    void DrawMeshShaded(const YMeshInstanceData* instance, const std::vector<YShaderBase*>& shaders) override;
    void Set2D(float x, float y, float w, float h) override;
    void SetPerspective(float fovDegrees, float aspect, float zNear, float zFar) override;
    void SetWorldMatrix(const YMatrix* m) override;
    void DrawTriangles(const YVector* vertices, int triangleCount) override;
    void DrawQuad(const YVector v[4]) override;
    void DrawTexQuad(const YTexVertex v[4]) override;
    void DrawLitQuad(const YVertex v[4]) override;
    void DrawLitQuads(const YVertex* corners, int quads) override;
    void DrawTexStrip(const YTexVertex* vertices, int triangleCount) override;
    void DrawColorStrip(const YColorVertex* vertices, int triangleCount) override;
    void DrawFullScreenQuad() override;
    void DrawLineStrip(const YVector* points, int lineCount) override;

    std::vector<YVideoMode>* GetVideoModes(std::vector<YVideoMode>* out) override;
    bool CreateDevice(void* window, bool fullScreen, int modeIndex) override;
    bool ResetDevice() override;
    void ReleaseDevice() override;
    void BeginFrame(bool clearTarget) override;
    void EndFrame() override;
    bool IsDeviceReady() override;

    bool HasBackgroundTarget() override { return backgroundTarget_ != nullptr; }
    bool TakeBackgroundLost() override;
    void BeginBackground(bool clear) override;
    void EndBackground() override;
    void RestoreBackground() override;
    bool BeginCapture(int width, int height) override;
    bool SaveCapture(const char* file) override;
    void EndCapture() override;
    void SetViewport(const float pos[2], const float size[2]) override;
    void SetDepthRange(float minZ, float maxZ) override;

    // ---- State of the device ----
    gpu::IDevice* Device() const { return device_.get(); }
    const gpu::PresentParameters& Presentation() const { return pp_; }
    uint32_t TextureMemoryMB() const { return textureMemoryMB_; }
    const std::vector<YAdapterMode>& AdapterModes() const { return modes_; }
    const YAdapterMode& DesktopMode() const { return desktop_; }

private:
    // The record device creation uses: the listed mode in full screen, else the desktop's.
    const YAdapterMode& ModeRecord(bool fullScreen, int modeIndex) const;
    // One attempt; false (logged) when the device cannot be made.
    bool CreateDeviceFor(bool fullScreen, int modeIndex);
    void LogVideoMode(const YAdapterMode& record, bool fullScreen);
    // Adds the common sizes up to the desktop's that the display does not list, at its format.
    void AddScaledModes();
    // The first depth-stencil format the adapter takes with `displayFormat`, or D3DFMT_UNKNOWN.
    uint32_t FindDepthFormat(uint32_t displayFormat);
    bool MakeBackgroundTarget();
    // Sends the vertex format when it differs from the last sent.
    void SetVertexFormat(uint32_t fvf);
    void DrawUp(uint32_t primitive, uint32_t count, const void* vertices, uint32_t fvf, uint32_t stride);
    void DrawSubset(const YMeshInstanceData* instance, size_t subset);
    bool BindMeshBuffers(const YMeshInstanceData* instance);

    gpu::Direct3DPtr d3d_;
    gpu::DevicePtr device_;
    gpu::PresentParameters pp_;
    void* window_ = nullptr;
    gpu::SurfacePtr backgroundTarget_;
    uint8_t backgroundLost_ = 1;
    // A reset dropped the background target and has not yet made it again.
    bool backgroundWanted_ = false;
    gpu::SurfacePtr captureTarget_;
    gpu::SurfacePtr savedTarget_;
    gpu::SurfacePtr savedDepth_;
    uint32_t vertexFormat_ = 0;
    std::vector<YAdapterMode> modes_;
    YAdapterMode desktop_;
    uint32_t textureMemoryMB_ = 0;
    gpu::Matrix projection_ = gpu::Matrix::Identity();
};
