#include "render/render.h"

#include <algorithm>

#include "platform/gpu/d3d_types.h"
#include "render/quad_strip.h"
#include "render/texture.h"

YRender* g_Render = nullptr;

const float g_ColorBlack[4] = {0.0f, 0.0f, 0.0f, 1.0f};
const float g_ColorWhite[4] = {1.0f, 1.0f, 1.0f, 1.0f};

// ---------------------------------------------------------------- value types

YRenderStateBlock YRenderStateBlock::Defaults() {
    YRenderStateBlock b{NoInit{}};
    b.values[RS_ALPHA_BLEND_ENABLE] = 0;
    b.values[RS_SRC_BLEND] = gpu::D3DBLEND_ONE;
    b.values[RS_DEST_BLEND] = gpu::D3DBLEND_ZERO;
    b.values[RS_TEXTURE_FACTOR] = 0xFFFFFFFFu;
    b.values[RS_DEPTH_FUNC] = gpu::D3DCMP_LESS;
    b.values[RS_CULL_MODE] = gpu::D3DCULL_CW;
    b.values[RS_DEPTH_ENABLE] = gpu::D3DZB_TRUE;
    b.values[RS_DEPTH_WRITE_ENABLE] = 1;
    b.values[RS_STENCIL_ENABLE] = 0;
    b.values[RS_STENCIL_FAIL] = gpu::D3DSTENCILOP_KEEP;
    b.values[RS_STENCIL_DEPTH_FAIL] = gpu::D3DSTENCILOP_KEEP;
    b.values[RS_STENCIL_PASS] = gpu::D3DSTENCILOP_KEEP;
    b.values[RS_STENCIL_FUNC] = gpu::D3DCMP_ALWAYS;
    b.values[RS_STENCIL_REF] = 0;
    b.values[RS_STENCIL_MASK] = 0xFFFFFFFFu;
    b.values[RS_STENCIL_WRITE_MASK] = 0xFFFFFFFFu;
    return b;
}

YRenderStateBlock::YRenderStateBlock() { *this = g_Render ? g_Render->DefaultStateBlock() : Defaults(); }

YStageStates::YStageStates()
    : values{gpu::D3DTOP_DISABLE, gpu::D3DTA_TEXTURE,    gpu::D3DTA_CURRENT,   gpu::D3DTOP_DISABLE,
             gpu::D3DTA_TEXTURE,  gpu::D3DTA_CURRENT,    gpu::D3DTEXF_POINT,   gpu::D3DTEXF_POINT,
             gpu::D3DTEXF_NONE,   gpu::D3DTADDRESS_WRAP, gpu::D3DTADDRESS_WRAP} {}

bool YMaterial::operator==(const YMaterial& o) const {
    for (int i = 0; i < 4; ++i) {
        if (diffuse[i] != o.diffuse[i] || ambient[i] != o.ambient[i] || specular[i] != o.specular[i] ||
            emissive[i] != o.emissive[i])
            return false;
    }
    return power == o.power;
}

float* Vec4Scale(float out[4], const float v[4], float s) {
    for (int i = 0; i < 4; ++i) out[i] = v[i] * s;
    return out;
}

float* Vec4Add(float out[4], const float a[4], const float b[4]) {
    for (int i = 0; i < 4; ++i) out[i] = a[i] + b[i];
    return out;
}

// ---------------------------------------------------------------- YRender

YRender::YRender() : defaultBlock_(YRenderStateBlock::Defaults()) {
    InvalidateCaches();
    std::fill(std::begin(identity_), std::end(identity_), uint8_t{1});
    g_Render = this;
}

YRender::~YRender() {
    if (g_Render == this) g_Render = nullptr;
}

void YRender::InvalidateCaches() {
    for (gpu::TexturePtr& t : boundTextures_) t.reset();
    std::fill(std::begin(renderStates_), std::end(renderStates_), RENDER_STATE_UNKNOWN);
    for (auto& stage : stageStates_) std::fill(std::begin(stage), std::end(stage), RENDER_STATE_UNKNOWN);
}

uint32_t YRender::ColorToARGB(const float colour[4]) {
    // Channels outside 0..1 are clamped: a negative or oversized value would otherwise spill into
    // the neighbouring channels (or be an undefined conversion).
    auto channel = [](float c) -> uint32_t {
        if (!(c > 0.0f)) return 0;
        if (c >= 1.0f) return 255;
        return static_cast<uint32_t>(c * 255.0f);
    };
    return channel(colour[3]) << 24 | channel(colour[0]) << 16 | channel(colour[1]) << 8 | channel(colour[2]);
}

void YRender::SetActiveStages(int count) {
    uint32_t n = count > 0 ? static_cast<uint32_t>(count) : 0;
    n = std::min(n, deviceStages_);
    if (n < activeStages_) {
        for (uint32_t s = n; s < activeStages_; ++s) {
            const int stage = static_cast<int>(s);
            SetTexture(nullptr, stage);
            boundTextures_[s].reset();
            SetTextureStageState(stage, SS_COLOR_OP, gpu::D3DTOP_DISABLE);
            SetTextureStageState(stage, SS_ALPHA_OP, gpu::D3DTOP_DISABLE);
            stageStates_[s][SS_COLOR_OP] = gpu::D3DTOP_DISABLE;
            stageStates_[s][SS_ALPHA_OP] = gpu::D3DTOP_DISABLE;
        }
    }
    activeStages_ = n;
}

void YRender::BeginFrame(bool) {
    InvalidateCaches();
    ApplyStateBlock(&defaultBlock_);

    YMaterial white;
    for (int i = 0; i < 4; ++i) white.diffuse[i] = white.ambient[i] = white.specular[i] = white.emissive[i] = 1.0f;
    white.power = 0.0f;
    material_ = white;
    ApplyMaterial(&material_);

    lighting_ = 1;
    SetLighting(true);

    static const YMatrix identity{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
    for (uint32_t s = 0; s < deviceStages_; ++s) {
        ApplyStageStates(static_cast<int>(s), &defaultStages_);
        identity_[s] = 1;
        SetTextureMatrix(&identity, static_cast<int>(s));
    }
    SetActiveStages(1);
    currentShader_ = nullptr;
}

bool YRender::IsDeviceReady() { return true; }

void YRender::SetShader(YShaderBase* shader, bool withMaterial) {
    if (shader == currentShader_) return;
    currentShader_ = shader;
    if (!shader) return;

    const int stageCount = static_cast<int>(shader->stages.size());
    if (static_cast<uint32_t>(stageCount) != activeStages_) SetActiveStages(stageCount);
    ApplyStateBlock(&shader->renderStates);

    const int used = std::min(stageCount, static_cast<int>(activeStages_));
    for (int s = 0; s < used; ++s) {
        const YShaderStageBase* stage = shader->stages[static_cast<size_t>(s)];
        if (!stage) continue;
        BindStageTexture(stage->texture, s);
        ApplyStageStates(s, &stage->states);
        if (!(stage->identity && identity_[s])) {
            identity_[s] = stage->identity;
            SetTextureMatrix(&stage->matrix, s);
        }
    }
    if (withMaterial) SetMaterial(&shader->material, true);
}

void YRender::SetMaterial(const YMaterial* material, bool skipIfSame) {
    if (!material) return;
    if (skipIfSame && *material == material_) return;
    material_ = *material;
    ApplyMaterial(&material_);
}

void YRender::ApplyStateBlock(const YRenderStateBlock* block) {
    if (!block) return;
    for (int i = 0; i < RENDER_STATE_COUNT; ++i) {
        if (block->values[i] != renderStates_[i]) {
            renderStates_[i] = block->values[i];
            SetRenderState(i, block->values[i]);
        }
    }
}

void YRender::ApplyStageStates(int stage, const YStageStates* states) {
    if (!states || stage < 0 || stage >= RENDER_MAX_STAGES) return;
    uint32_t* cache = stageStates_[stage];
    for (int i = 0; i < STAGE_STATE_COUNT; ++i) {
        if (states->values[i] != cache[i]) {
            cache[i] = states->values[i];
            SetTextureStageState(stage, i, states->values[i]);
        }
    }
}

void YRender::BindStageTexture(YTexture* texture, int stage) {
    if (!texture || stage < 0 || static_cast<uint32_t>(stage) >= deviceStages_) return;
    if (texture->deviceTexture == boundTextures_[stage]) return;
    boundTextures_[stage] = texture->deviceTexture;
    SetTexture(texture, stage);
}

void YRender::ClearStageTexture(int stage) {
    if (stage < 0 || static_cast<uint32_t>(stage) >= deviceStages_ || !boundTextures_[stage]) return;
    boundTextures_[stage].reset();
    SetTexture(nullptr, stage);
}

void YRender::SetShaderColor(YShaderBase* shader, const float colour[4]) {
    SetShader(shader, false);
    YMaterial m; // every colour (0, 0, 0, 1), power 0
    for (int i = 0; i < 4; ++i) m.emissive[i] = colour[i];
    m.diffuse[3] = colour[3];
    SetMaterial(&m, true);
}

float YRender::DrawText(const YFontBase* font, float x, float y, float size, const char* text) {
    const YVector origin(x, y, 0.0f);
    const YVector right(1.0f, 0.0f, 0.0f);
    const YVector up(0.0f, -1.0f, 0.0f);
    return DrawText3D(font, &origin, size, text, &right, &up);
}

// The glyphs go to the device in strips of TEXT_BATCH_GLYPHS quads.
float YRender::DrawText3D(const YFontBase* font, const YVector* origin, float size, const char* text,
                          const YVector* right, const YVector* up) {
    if (!font || !origin || !right || !up || !text) return 0.0f;
    SetShader(font->shader, true);
    YTexVertex strip[QuadStripVertices(TEXT_BATCH_GLYPHS)];
    int used = 0;
    auto flush = [&] {
        if (used > 0) DrawTexStrip(strip, QuadStripTriangles(used));
        used = 0;
    };
    float advance = 0.0f;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        const float w = font->widths[*p] * size;
        if (w == 0.0f) continue;
        const YGlyph& glyph = font->glyphs[*p];
        YTexVertex quad[4];
        for (int k = 0; k < 4; ++k) {
            const YGlyphCorner& c = glyph.corners[k];
            quad[k].pos = *origin + *right * (size * c.x + advance) + *up * (size - size * c.y);
            quad[k].uv = YVector2(c.u, c.v);
            quad[k].uv2 = YVector2(c.u, c.v);
        }
        if (used + QuadStripRoom > QuadStripVertices(TEXT_BATCH_GLYPHS)) flush();
        AppendQuadToStrip(strip, used, quad);
        advance += w;
    }
    flush();
    return advance;
}
