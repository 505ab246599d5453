#include "platform/gpu/device_state.h"

#include <algorithm>

namespace gpu {

bool IsKnownRenderState(uint32_t state) { return RenderStateName(state)[0] != '?'; }
bool IsKnownStageState(uint32_t type) { return StageStateName(type)[0] != '?'; }
bool IsKnownTransform(uint32_t type) { return TransformName(type)[0] != '?'; }

const char* RenderStateName(uint32_t state) {
    switch (state) {
        case D3DRS_ZENABLE: return "ZENABLE";
        case D3DRS_ZWRITEENABLE: return "ZWRITEENABLE";
        case D3DRS_SRCBLEND: return "SRCBLEND";
        case D3DRS_DESTBLEND: return "DESTBLEND";
        case D3DRS_CULLMODE: return "CULLMODE";
        case D3DRS_ZFUNC: return "ZFUNC";
        case D3DRS_ALPHABLENDENABLE: return "ALPHABLENDENABLE";
        case D3DRS_SPECULARENABLE: return "SPECULARENABLE";
        case D3DRS_STENCILENABLE: return "STENCILENABLE";
        case D3DRS_STENCILFAIL: return "STENCILFAIL";
        case D3DRS_STENCILZFAIL: return "STENCILZFAIL";
        case D3DRS_STENCILPASS: return "STENCILPASS";
        case D3DRS_STENCILFUNC: return "STENCILFUNC";
        case D3DRS_STENCILREF: return "STENCILREF";
        case D3DRS_STENCILMASK: return "STENCILMASK";
        case D3DRS_STENCILWRITEMASK: return "STENCILWRITEMASK";
        case D3DRS_TEXTUREFACTOR: return "TEXTUREFACTOR";
        case D3DRS_LIGHTING: return "LIGHTING";
        case D3DRS_AMBIENT: return "AMBIENT";
        case D3DRS_LOCALVIEWER: return "LOCALVIEWER";
        case D3DRS_NORMALIZENORMALS: return "NORMALIZENORMALS";
        default: return "?";
    }
}

const char* StageStateName(uint32_t type) {
    switch (type) {
        case D3DTSS_COLOROP: return "COLOROP";
        case D3DTSS_COLORARG1: return "COLORARG1";
        case D3DTSS_COLORARG2: return "COLORARG2";
        case D3DTSS_ALPHAOP: return "ALPHAOP";
        case D3DTSS_ALPHAARG1: return "ALPHAARG1";
        case D3DTSS_ALPHAARG2: return "ALPHAARG2";
        case D3DTSS_TEXCOORDINDEX: return "TEXCOORDINDEX";
        case D3DTSS_ADDRESSU: return "ADDRESSU";
        case D3DTSS_ADDRESSV: return "ADDRESSV";
        case D3DTSS_MAGFILTER: return "MAGFILTER";
        case D3DTSS_MINFILTER: return "MINFILTER";
        case D3DTSS_MIPFILTER: return "MIPFILTER";
        case D3DTSS_TEXTURETRANSFORMFLAGS: return "TEXTURETRANSFORMFLAGS";
        default: return "?";
    }
}

const char* TransformName(uint32_t type) {
    static const char* const textures[MAX_TEXTURE_STAGES] = {"TEXTURE0", "TEXTURE1", "TEXTURE2", "TEXTURE3",
                                                             "TEXTURE4", "TEXTURE5", "TEXTURE6", "TEXTURE7"};
    if (type == D3DTS_WORLD) return "WORLD";
    if (type == D3DTS_VIEW) return "VIEW";
    if (type == D3DTS_PROJECTION) return "PROJECTION";
    if (type >= D3DTS_TEXTURE0 && type < D3DTS_TEXTURE0 + MAX_TEXTURE_STAGES) return textures[type - D3DTS_TEXTURE0];
    return "?";
}

const Matrix* DeviceState::TransformSlot(uint32_t type) const {
    if (type == D3DTS_WORLD) return &world;
    if (type == D3DTS_VIEW) return &view;
    if (type == D3DTS_PROJECTION) return &projection;
    if (type >= D3DTS_TEXTURE0 && type < D3DTS_TEXTURE0 + MAX_TEXTURE_STAGES) return &texture[type - D3DTS_TEXTURE0];
    return nullptr;
}

Matrix* DeviceState::TransformSlot(uint32_t type) {
    return const_cast<Matrix*>(static_cast<const DeviceState*>(this)->TransformSlot(type));
}

HResult DeviceState::GetRenderState(uint32_t state, uint32_t* value) const {
    if (!value || !IsKnownRenderState(state)) return D3DERR_INVALIDCALL;
    *value = renderStates[state];
    return D3D_OK;
}

HResult DeviceState::GetStageState(uint32_t stage, uint32_t type, uint32_t* value) const {
    if (!value || stage >= MAX_TEXTURE_STAGES || !IsKnownStageState(type)) return D3DERR_INVALIDCALL;
    *value = stageStates[stage][type];
    return D3D_OK;
}

HResult DeviceState::GetTransform(uint32_t type, Matrix* matrix) const {
    const Matrix* slot = TransformSlot(type);
    if (!slot || !matrix) return D3DERR_INVALIDCALL;
    *matrix = *slot;
    return D3D_OK;
}

void DeviceState::SetDefaults(const PresentParameters& pp, uint32_t bbWidth, uint32_t bbHeight) {
    for (uint32_t& v : renderStates) v = 0;
    renderStates[D3DRS_ZENABLE] = pp.EnableAutoDepthStencil ? D3DZB_TRUE : D3DZB_FALSE;
    renderStates[D3DRS_ZWRITEENABLE] = 1;
    renderStates[D3DRS_SRCBLEND] = D3DBLEND_ONE;
    renderStates[D3DRS_DESTBLEND] = D3DBLEND_ZERO;
    renderStates[D3DRS_CULLMODE] = D3DCULL_CCW;
    renderStates[D3DRS_ZFUNC] = D3DCMP_LESSEQUAL;
    renderStates[D3DRS_ALPHABLENDENABLE] = 0;
    renderStates[D3DRS_SPECULARENABLE] = 0;
    renderStates[D3DRS_STENCILENABLE] = 0;
    renderStates[D3DRS_STENCILFAIL] = D3DSTENCILOP_KEEP;
    renderStates[D3DRS_STENCILZFAIL] = D3DSTENCILOP_KEEP;
    renderStates[D3DRS_STENCILPASS] = D3DSTENCILOP_KEEP;
    renderStates[D3DRS_STENCILFUNC] = D3DCMP_ALWAYS;
    renderStates[D3DRS_STENCILREF] = 0;
    renderStates[D3DRS_STENCILMASK] = 0xFFFFFFFFu;
    renderStates[D3DRS_STENCILWRITEMASK] = 0xFFFFFFFFu;
    renderStates[D3DRS_TEXTUREFACTOR] = 0xFFFFFFFFu;
    renderStates[D3DRS_LIGHTING] = 1;
    renderStates[D3DRS_AMBIENT] = 0;
    renderStates[D3DRS_LOCALVIEWER] = 1;
    renderStates[D3DRS_NORMALIZENORMALS] = 0;

    for (uint32_t s = 0; s < MAX_TEXTURE_STAGES; ++s) {
        uint32_t* st = stageStates[s];
        for (uint32_t t = 0; t < D3DTSS_COUNT; ++t) st[t] = 0;
        st[D3DTSS_COLOROP] = s == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
        st[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
        st[D3DTSS_COLORARG2] = D3DTA_CURRENT;
        st[D3DTSS_ALPHAOP] = s == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
        st[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
        st[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
        st[D3DTSS_TEXCOORDINDEX] = s;
        st[D3DTSS_ADDRESSU] = D3DTADDRESS_WRAP;
        st[D3DTSS_ADDRESSV] = D3DTADDRESS_WRAP;
        st[D3DTSS_MAGFILTER] = D3DTEXF_POINT;
        st[D3DTSS_MINFILTER] = D3DTEXF_POINT;
        st[D3DTSS_MIPFILTER] = D3DTEXF_NONE;
        st[D3DTSS_TEXTURETRANSFORMFLAGS] = D3DTTFF_DISABLE;
        texture[s] = Matrix::Identity();
    }
    world = view = projection = Matrix::Identity();
    viewport = Viewport{0, 0, bbWidth, bbHeight, 0.0f, 1.0f};
    material = Material{};
    material.Diffuse = ColorValue{1, 1, 1, 1};
    material.Ambient = ColorValue{1, 1, 1, 1};
    light = Light{};
    lightEnabled = false;
    fvf = 0;
}

void MadeRenderTargets::Add(const SurfacePtr& target) {
    std::erase_if(targets_, [](const std::weak_ptr<ISurface>& w) { return w.expired(); });
    targets_.push_back(target);
}

bool MadeRenderTargets::AnyAlive() const {
    return std::any_of(targets_.begin(), targets_.end(), [](const std::weak_ptr<ISurface>& w) { return !w.expired(); });
}

} // namespace gpu
