// Render_D3D: states, transforms, textures, buffers, draws, the background picture and captures.
// Without a device every call here does nothing (creation calls answer null).
#include <algorithm>
#include <array>
#include <cstring>

#include "core/log.h"
#include "platform/gpu/d3dx_math.h"
#include "platform/gpu/d3dx_tex.h"
#include "platform/gpu/pixel_format.h"
#include "render/render_d3d.h"
#include "render/texture.h"

using namespace gpu;

namespace {

// Engine index -> device state.
constexpr uint32_t kRenderStates[RENDER_STATE_COUNT] = {
    D3DRS_ALPHABLENDENABLE, D3DRS_SRCBLEND,    D3DRS_DESTBLEND,    D3DRS_TEXTUREFACTOR, D3DRS_ZFUNC,
    D3DRS_CULLMODE,         D3DRS_ZENABLE,     D3DRS_ZWRITEENABLE, D3DRS_STENCILENABLE, D3DRS_STENCILFAIL,
    D3DRS_STENCILZFAIL,     D3DRS_STENCILPASS, D3DRS_STENCILFUNC,  D3DRS_STENCILREF,    D3DRS_STENCILMASK,
    D3DRS_STENCILWRITEMASK};

constexpr uint32_t kStageStates[STAGE_STATE_COUNT] = {
    D3DTSS_COLOROP,   D3DTSS_COLORARG1, D3DTSS_COLORARG2, D3DTSS_ALPHAOP,  D3DTSS_ALPHAARG1, D3DTSS_ALPHAARG2,
    D3DTSS_MAGFILTER, D3DTSS_MINFILTER, D3DTSS_MIPFILTER, D3DTSS_ADDRESSU, D3DTSS_ADDRESSV};

constexpr uint32_t FVF_POSITION = D3DFVF_XYZ;
constexpr uint32_t FVF_TEXVERTEX = D3DFVF_XYZ | D3DFVF_TEX2;
constexpr uint32_t FVF_VERTEX = D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX2;
constexpr uint32_t FVF_COLORVERTEX = D3DFVF_XYZ | D3DFVF_DIFFUSE | D3DFVF_TEX2;
constexpr uint32_t STRIDE_POSITION = 12;
constexpr uint32_t STRIDE_TEXVERTEX = 28;
constexpr uint32_t STRIDE_VERTEX = 40;
constexpr uint32_t STRIDE_COLORVERTEX = 32;
static_assert(sizeof(YVector) == STRIDE_POSITION && sizeof(YTexVertex) == STRIDE_TEXVERTEX &&
              sizeof(YVertex) == STRIDE_VERTEX && sizeof(YColorVertex) == STRIDE_COLORVERTEX);

// Largest side of a texture loaded from a file.
constexpr uint32_t MAX_TEXTURE_SIDE = 512;
constexpr float DEGREES_TO_RADIANS = 0.017453292f;

Matrix ToMatrix(const YMatrix& m) {
    Matrix out;
    std::memcpy(out.m, m.m, sizeof out.m);
    return out;
}

ColorValue ToColor(const float c[4]) { return ColorValue{c[0], c[1], c[2], c[3]}; }

// Reads the system-memory copy of the source for the fill callback.
struct FilterFill {
    const uint8_t* bits;
    int32_t pitch;
    uint32_t width;
    uint32_t height;
    YColorFilter* filter;
};

void FillFromFilter(float out[4], float u, float v, uint32_t, uint32_t, void* data) {
    const FilterFill& f = *static_cast<const FilterFill*>(data);
    // The texel of the top-level copy under (u, v), whatever level is being filled.
    const float fx = static_cast<float>(f.width) * u - 0.5f;
    const float fy = static_cast<float>(f.height) * v - 0.5f;
    const uint32_t x = fx > 0.0f ? std::min(static_cast<uint32_t>(fx), f.width - 1) : 0;
    const uint32_t y = fy > 0.0f ? std::min(static_cast<uint32_t>(fy), f.height - 1) : 0;
    const uint32_t argb = ReadPixelARGB(D3DFMT_A8R8G8B8, f.bits + static_cast<size_t>(y) * f.pitch + x * 4);
    const float in[4] = {static_cast<float>((argb >> 16) & 0xFF) / 255.0f,
                         static_cast<float>((argb >> 8) & 0xFF) / 255.0f, static_cast<float>(argb & 0xFF) / 255.0f,
                         static_cast<float>(argb >> 24) / 255.0f};
    f.filter->Apply(out, in);
}

// Copies `bytes` from `src` to the start of a vertex or index buffer; false when the buffer cannot
// be locked.
template <class Buffer>
bool FillBuffer(Buffer& buffer, const void* src, std::size_t bytes) {
    void* data = nullptr;
    if (Failed(buffer.Lock(0, 0, &data, 0)) || !data) return false;
    if (bytes) std::memcpy(data, src, bytes);
    buffer.Unlock();
    return true;
}

} // namespace

// ---------------------------------------------------------------- states

void Render_D3D::SetTexture(YTexture* texture, int stage) {
    if (!device_ || stage < 0 || static_cast<uint32_t>(stage) >= MAX_TEXTURE_STAGES) return;
    if (!texture) {
        device_->SetTexture(static_cast<uint32_t>(stage), nullptr);
        return;
    }
    if (texture->deviceTexture) device_->SetTexture(static_cast<uint32_t>(stage), texture->deviceTexture);
}

void Render_D3D::SetTextureStageState(int stage, int index, uint32_t value) {
    if (!device_ || stage < 0 || static_cast<uint32_t>(stage) >= MAX_TEXTURE_STAGES || index < 0 ||
        index >= STAGE_STATE_COUNT)
        return;
    device_->SetTextureStageState(static_cast<uint32_t>(stage), kStageStates[index], value);
}

void Render_D3D::SetRenderState(int index, uint32_t value) {
    if (!device_ || index < 0 || index >= RENDER_STATE_COUNT) return;
    device_->SetRenderState(kRenderStates[index], value);
}

void Render_D3D::SetTextureFactor(const float colour[4]) {
    const uint32_t packed = ColorToARGB(colour);
    if (packed == renderStates_[RS_TEXTURE_FACTOR]) return;
    renderStates_[RS_TEXTURE_FACTOR] = packed;
    SetRenderState(RS_TEXTURE_FACTOR, packed);
}

void Render_D3D::ApplyMaterial(const YMaterial* material) {
    if (!device_ || !material) return;
    Material m;
    m.Diffuse = ToColor(material->diffuse);
    m.Ambient = ToColor(material->ambient);
    m.Specular = ToColor(material->specular);
    m.Emissive = ToColor(material->emissive);
    m.Power = material->power;
    device_->SetMaterial(&m);
}

void Render_D3D::SetLighting(bool on) {
    if (!device_) return;
    device_->LightEnable(0, on);
    device_->SetRenderState(D3DRS_SPECULARENABLE, on ? 1u : 0u);
}

void Render_D3D::SetTextureMatrix(const YMatrix* m, int stage) {
    // The device has texture transforms for its stages only.
    if (!device_ || stage < 0 || static_cast<uint32_t>(stage) >= MAX_TEXTURE_STAGES) return;
    const uint32_t s = static_cast<uint32_t>(stage);
    if (identity_[stage] || !m) {
        device_->SetTextureStageState(s, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE);
        return;
    }
    const Matrix t = ToMatrix(*m);
    device_->SetTransform(D3DTS_TEXTURE0 + s, &t);
    device_->SetTextureStageState(s, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_COUNT2);
}

void Render_D3D::Clear(bool target) {
    if (!device_) return;
    uint32_t flags = D3DCLEAR_ZBUFFER;
    if (target) flags |= D3DCLEAR_TARGET;
    if (hasStencil_) flags |= D3DCLEAR_STENCIL;
    device_->Clear(0, nullptr, flags, 0, 1.0f, 0);
}

void Render_D3D::SetViewport(const float pos[2], const float size[2]) {
    if (!device_) return;
    auto scaled = [](uint32_t side, float f) -> uint32_t {
        const float v = static_cast<float>(side) * f;
        return v > 0.0f ? static_cast<uint32_t>(v) : 0;
    };
    Viewport vp;
    vp.X = scaled(pp_.BackBufferWidth, pos[0]);
    vp.Y = scaled(pp_.BackBufferHeight, pos[1]);
    vp.Width = scaled(pp_.BackBufferWidth, size[0]);
    vp.Height = scaled(pp_.BackBufferHeight, size[1]);
    vp.MinZ = 0.0f;
    vp.MaxZ = 1.0f;
    device_->SetViewport(&vp);
}

void Render_D3D::SetDepthRange(float minZ, float maxZ) {
    Viewport vp;
    if (!device_ || Failed(device_->GetViewport(&vp))) return;
    vp.MinZ = std::clamp(minZ, 0.0f, 1.0f);
    vp.MaxZ = std::clamp(maxZ, 0.0f, 1.0f);
    device_->SetViewport(&vp);
}

// ---------------------------------------------------------------- transforms

void Render_D3D::Set2D(float x, float y, float w, float h) {
    if (!device_) return;
    MatrixOrthoOffCenterLH(&projection_, x, x + w, y + h, y, -1.0f, 1.0f);
    device_->SetTransform(D3DTS_PROJECTION, &projection_);
    const Matrix identity = Matrix::Identity();
    device_->SetTransform(D3DTS_WORLD, &identity);
    device_->SetTransform(D3DTS_VIEW, &identity);
}

void Render_D3D::SetPerspective(float fovDegrees, float aspect, float zNear, float zFar) {
    if (!device_) return;
    MatrixPerspectiveFovRH(&projection_, fovDegrees * DEGREES_TO_RADIANS, aspect, zNear, zFar);
    device_->SetTransform(D3DTS_PROJECTION, &projection_);
    const Matrix identity = Matrix::Identity();
    device_->SetTransform(D3DTS_WORLD, &identity);
    device_->SetTransform(D3DTS_VIEW, &identity);
}

void Render_D3D::SetWorldMatrix(const YMatrix* m) {
    if (!device_ || !m) return;
    const Matrix world = ToMatrix(*m);
    device_->SetTransform(D3DTS_WORLD, &world);
}

// ---------------------------------------------------------------- direct draws

void Render_D3D::SetVertexFormat(uint32_t fvf) {
    if (fvf == vertexFormat_) return;
    vertexFormat_ = fvf;
    device_->SetVertexShader(fvf);
}

void Render_D3D::DrawUp(uint32_t primitive, uint32_t count, const void* vertices, uint32_t fvf, uint32_t stride) {
    if (!device_ || !vertices || count == 0) return;
    SetVertexFormat(fvf);
    device_->DrawPrimitiveUP(primitive, count, vertices, stride);
}

void Render_D3D::DrawTriangles(const YVector* vertices, int triangleCount) {
    if (triangleCount > 0)
        DrawUp(D3DPT_TRIANGLELIST, static_cast<uint32_t>(triangleCount), vertices, FVF_POSITION, STRIDE_POSITION);
}

void Render_D3D::DrawQuad(const YVector v[4]) { DrawUp(D3DPT_TRIANGLEFAN, 2, v, FVF_POSITION, STRIDE_POSITION); }

void Render_D3D::DrawTexQuad(const YTexVertex v[4]) {
    DrawUp(D3DPT_TRIANGLEFAN, 2, v, FVF_TEXVERTEX, STRIDE_TEXVERTEX);
}

void Render_D3D::DrawLitQuad(const YVertex v[4]) { DrawUp(D3DPT_TRIANGLEFAN, 2, v, FVF_VERTEX, STRIDE_VERTEX); }

void Render_D3D::DrawLitQuads(const YVertex* corners, int quads) {
    if (!device_ || !corners || quads <= 0 || quads > LIT_QUAD_BATCH) return;
    // Quad k is the fan of corners 4k..4k+3 as a list: (0, 1, 2) and (0, 2, 3).
    static const auto indices = [] {
        std::array<uint16_t, LIT_QUAD_BATCH * 6> list{};
        for (int k = 0; k < LIT_QUAD_BATCH; ++k) {
            const uint16_t first = static_cast<uint16_t>(4 * k);
            const uint16_t quad[6] = {first, static_cast<uint16_t>(first + 1), static_cast<uint16_t>(first + 2),
                                      first, static_cast<uint16_t>(first + 2), static_cast<uint16_t>(first + 3)};
            std::copy(quad, quad + 6, list.begin() + 6 * k);
        }
        return list;
    }();
    SetVertexFormat(FVF_VERTEX);
    const uint32_t n = static_cast<uint32_t>(quads);
    device_->DrawIndexedPrimitiveUP(D3DPT_TRIANGLELIST, 0, 4 * n, 2 * n, indices.data(), D3DFMT_INDEX16, corners,
                                    STRIDE_VERTEX);
}

void Render_D3D::DrawTexStrip(const YTexVertex* vertices, int triangleCount) {
    if (triangleCount > 0)
        DrawUp(D3DPT_TRIANGLESTRIP, static_cast<uint32_t>(triangleCount), vertices, FVF_TEXVERTEX, STRIDE_TEXVERTEX);
}

void Render_D3D::DrawColorStrip(const YColorVertex* vertices, int triangleCount) {
    if (!device_ || triangleCount <= 0) return;
    // Lighting is on for every other draw; only this one turns it off, and back.
    device_->SetRenderState(D3DRS_LIGHTING, 0);
    DrawUp(D3DPT_TRIANGLESTRIP, static_cast<uint32_t>(triangleCount), vertices, FVF_COLORVERTEX, STRIDE_COLORVERTEX);
    device_->SetRenderState(D3DRS_LIGHTING, 1);
}

void Render_D3D::DrawLineStrip(const YVector* points, int lineCount) {
    if (lineCount > 0) DrawUp(D3DPT_LINESTRIP, static_cast<uint32_t>(lineCount), points, FVF_POSITION, STRIDE_POSITION);
}

void Render_D3D::DrawFullScreenQuad() {
    if (!device_) return;
    const Matrix saved = projection_;
    const Matrix identity = Matrix::Identity();
    device_->SetTransform(D3DTS_PROJECTION, &identity);
    device_->SetTransform(D3DTS_WORLD, &identity);
    static const YVector strip[4] = {
        {-1.0f, -1.0f, 1.0f}, {1.0f, -1.0f, 1.0f}, {-1.0f, 1.0f, 1.0f}, {1.0f, 1.0f, 1.0f}};
    DrawUp(D3DPT_TRIANGLESTRIP, 2, strip, FVF_POSITION, STRIDE_POSITION);
    device_->SetTransform(D3DTS_PROJECTION, &saved);
}

// ---------------------------------------------------------------- meshes

bool Render_D3D::BindMeshBuffers(const YMeshInstanceData* instance) {
    if (!device_ || !instance || !instance->mesh || !instance->vertexBuffer || !instance->mesh->indexBuffer)
        return false;
    // An empty mesh has nothing to draw (and no subset to take a number modulo).
    if (instance->mesh->subsets.empty()) return false;
    SetVertexFormat(FVF_VERTEX);
    device_->SetStreamSource(0, instance->vertexBuffer, STRIDE_VERTEX);
    device_->SetIndices(instance->mesh->indexBuffer, 0);
    return true;
}

void Render_D3D::DrawSubset(const YMeshInstanceData* instance, size_t subset) {
    const YMeshSubset& s = instance->mesh->subsets[subset];
    if (s.primitiveCount <= 0 || s.startIndex < 0 || s.minIndex < 0 || s.vertexSpan <= 0) return;
    device_->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, static_cast<uint32_t>(s.minIndex),
                                  static_cast<uint32_t>(s.vertexSpan), static_cast<uint32_t>(s.startIndex),
                                  static_cast<uint32_t>(s.primitiveCount));
}

void Render_D3D::DrawMesh(const YMeshInstanceData* instance) {
    if (!BindMeshBuffers(instance)) return;
    for (size_t i = 0; i < instance->mesh->subsets.size(); ++i) DrawSubset(instance, i);
}

void Render_D3D::DrawMeshSubsets(const YMeshInstanceData* instance, const int* subsets) {
    if (!subsets || !BindMeshBuffers(instance)) return;
    const size_t count = instance->mesh->subsets.size();
    for (const int* p = subsets; *p >= 0; ++p) DrawSubset(instance, static_cast<size_t>(*p) % count);
}

void Render_D3D::DrawMeshShaded(const YMeshInstanceData* instance, const std::vector<YShaderBase*>& shaders) {
    // An object without shaders draws nothing rather than taking a number modulo zero.
    if (shaders.empty() || !BindMeshBuffers(instance)) return;
    for (size_t i = 0; i < instance->mesh->subsets.size(); ++i) {
        SetShader(shaders[i % shaders.size()], true);
        DrawSubset(instance, i);
    }
}

// ---------------------------------------------------------------- textures

void Render_D3D::LoadTexture(YTexture* texture) {
    if (!texture || texture->deviceTexture || !device_) return;
    const char* file = texture->name.c_str();
    ImageFileInfo info;
    bool ok = Succeeded(GetImageInfoFromFile(file, &info));
    if (ok) {
        const uint32_t w = std::min(info.Width, MAX_TEXTURE_SIDE);
        const uint32_t h = std::min(info.Height, MAX_TEXTURE_SIDE);
        TexturePtr created;
        ok = Succeeded(CreateTextureFromFileEx(device_.get(), file, w, h, D3DX_DEFAULT, 0, D3DFMT_UNKNOWN,
                                               D3DPOOL_MANAGED, D3DX_FILTER_BOX, D3DX_FILTER_BOX, 0, nullptr,
                                               &created)) &&
             created;
        texture->deviceTexture = ok ? created : nullptr;
    }
    LogPrintf(g_Log, "Load texture %s, %s", file, ok ? "ok" : "failed");
}

void Render_D3D::ReleaseTexture(YTexture* texture) {
    if (texture) texture->deviceTexture.reset();
}

TexturePtr Render_D3D::CreateFilteredTexture(YTexture* source, YColorFilter* filter) {
    if (!device_ || !source || !source->deviceTexture || !filter) return nullptr;
    ITexture* src = source->deviceTexture.get();
    SurfaceDesc desc;
    SurfacePtr srcLevel;
    if (Failed(src->GetLevelDesc(0, &desc)) || Failed(src->GetSurfaceLevel(0, &srcLevel))) return nullptr;

    SurfacePtr copy;
    if (Failed(device_->CreateImageSurface(desc.Width, desc.Height, D3DFMT_A8R8G8B8, &copy)) ||
        Failed(LoadSurfaceFromSurface(copy.get(), nullptr, srcLevel.get(), nullptr, D3DX_FILTER_NONE, 0)))
        return nullptr;

    TexturePtr result;
    const bool created = Succeeded(gpu::CreateTexture(device_.get(), desc.Width, desc.Height, D3DX_DEFAULT, 0,
                                                      desc.Format, D3DPOOL_MANAGED, &result)) &&
                         result;
    LogPrintf(g_Log, "Filter texture %s: %s", source->name.c_str(), created ? "ok" : "failed");
    if (!created) return nullptr;

    LockedRect locked;
    if (Failed(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY))) return nullptr;
    FilterFill fill{static_cast<const uint8_t*>(locked.pBits), locked.Pitch, desc.Width, desc.Height, filter};
    FillTexture(result.get(), &FillFromFilter, &fill);
    copy->UnlockRect();
    copy.reset();

    const bool mipped = Succeeded(FilterTexture(result.get(), 0, D3DX_FILTER_BOX | D3DX_FILTER_DITHER));
    LogPrintf(g_Log, "Create mipmap levels: %s", mipped ? "ok" : "failed");
    return result;
}

// ---------------------------------------------------------------- buffers

VertexBufferPtr Render_D3D::CreateVertexBuffer(const std::vector<YVertex>& vertices) {
    if (!device_ || vertices.empty()) return nullptr;
    const uint32_t bytes = static_cast<uint32_t>(vertices.size() * sizeof(YVertex));
    VertexBufferPtr vb;
    // A buffer that cannot be filled would draw whatever it held: none rather than that.
    if (Failed(device_->CreateVertexBuffer(bytes, D3DUSAGE_WRITEONLY, FVF_VERTEX, D3DPOOL_MANAGED, &vb)) || !vb ||
        !FillBuffer(*vb, vertices.data(), bytes))
        return nullptr;
    return vb;
}

void Render_D3D::UpdateVertexBuffer(const VertexBufferPtr& buffer, const std::vector<YVertex>& vertices) {
    if (!buffer) return;
    // Never more than the buffer holds.
    FillBuffer(*buffer, vertices.data(), std::min<size_t>(vertices.size() * sizeof(YVertex), buffer->GetSize()));
}

void Render_D3D::ReleaseBuffer(VertexBufferPtr& buffer) { buffer.reset(); }

IndexBufferPtr Render_D3D::CreateIndexBuffer(const std::vector<uint16_t>& indices) {
    if (!device_ || indices.empty()) return nullptr;
    const uint32_t bytes = static_cast<uint32_t>(indices.size() * sizeof(uint16_t));
    IndexBufferPtr ib;
    if (Failed(device_->CreateIndexBuffer(bytes, D3DUSAGE_WRITEONLY, D3DFMT_INDEX16, D3DPOOL_MANAGED, &ib)) || !ib ||
        !FillBuffer(*ib, indices.data(), bytes))
        return nullptr;
    return ib;
}

void Render_D3D::ReleaseBuffer(IndexBufferPtr& buffer) { buffer.reset(); }

// ---------------------------------------------------------------- background picture

bool Render_D3D::TakeBackgroundLost() {
    const bool lost = backgroundLost_ != 0;
    backgroundLost_ = 0;
    return lost;
}

void Render_D3D::BeginBackground(bool clear) {
    if (!device_ || !backgroundTarget_ || savedTarget_) return;
    device_->GetRenderTarget(&savedTarget_);
    device_->GetDepthStencilSurface(&savedDepth_);
    device_->SetRenderTarget(backgroundTarget_, savedDepth_);
    if (clear) device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
}

void Render_D3D::EndBackground() {
    if (!device_ || !backgroundTarget_ || !savedTarget_) return;
    device_->CopyRects(backgroundTarget_.get(), nullptr, 0, savedTarget_.get(), nullptr);
    device_->SetRenderTarget(savedTarget_, savedDepth_);
    savedTarget_.reset();
    savedDepth_.reset();
    Clear(false);
}

void Render_D3D::RestoreBackground() {
    if (!device_ || !backgroundTarget_) return;
    SurfacePtr current;
    if (Failed(device_->GetRenderTarget(&current)) || !current) return;
    device_->CopyRects(backgroundTarget_.get(), nullptr, 0, current.get(), nullptr);
}

// ---------------------------------------------------------------- captures

bool Render_D3D::BeginCapture(int width, int height) {
    // One capture at a time: a second would lose the surfaces saved by the first.
    if (!device_ || captureTarget_ || savedTarget_ || width < 1 || height < 1) return false;
    if (Failed(device_->CreateRenderTarget(static_cast<uint32_t>(width), static_cast<uint32_t>(height),
                                           pp_.BackBufferFormat, pp_.MultiSampleType, true, &captureTarget_)) ||
        !captureTarget_) {
        captureTarget_.reset();
        return false;
    }
    device_->GetRenderTarget(&savedTarget_);
    device_->GetDepthStencilSurface(&savedDepth_);
    device_->SetRenderTarget(captureTarget_, savedDepth_);
    return true;
}

bool Render_D3D::SaveCapture(const char* file) {
    if (!captureTarget_ || !file) return false;
    return Succeeded(SaveSurfaceToFile(file, D3DXIFF_BMP, captureTarget_.get(), nullptr));
}

void Render_D3D::EndCapture() {
    if (!captureTarget_) return;
    if (device_ && savedTarget_) device_->SetRenderTarget(savedTarget_, savedDepth_);
    savedTarget_.reset();
    savedDepth_.reset();
    captureTarget_.reset();
}
