#pragma once
// The state every device holds, with the values it has at creation and after a reset, and the
// checks both back ends make on state calls.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gpu/d3d_types.h"
#include "platform/gpu/device.h"

namespace gpu {

// Render states and stage states the device takes; others are refused with D3DERR_INVALIDCALL.
bool IsKnownRenderState(uint32_t state);
bool IsKnownStageState(uint32_t type);
// Transform types the device takes: WORLD, VIEW, PROJECTION, TEXTURE0..7.
bool IsKnownTransform(uint32_t type);

// Upper-case names without prefix ("ALPHABLENDENABLE", "COLOROP", "WORLD", "TEXTURE1"), "?" for
// others. Used by traces and messages.
const char* RenderStateName(uint32_t state);
const char* StageStateName(uint32_t type);
const char* TransformName(uint32_t type);

struct DeviceState {
    uint32_t renderStates[D3DRS_COUNT] = {};
    uint32_t stageStates[MAX_TEXTURE_STAGES][D3DTSS_COUNT] = {};
    Matrix world = Matrix::Identity();
    Matrix view = Matrix::Identity();
    Matrix projection = Matrix::Identity();
    Matrix texture[MAX_TEXTURE_STAGES];
    Viewport viewport;
    Material material;
    Light light; // light 0; the device has one light
    bool lightEnabled = false;
    uint32_t fvf = 0;

    // The device's defaults: lighting on, ambient 0, local viewer, no normalising, specular off,
    // depth test (when there is an automatic depth buffer) with LESSEQUAL, CCW culling, blending
    // and stencil off with full masks, texture factor opaque white; stage 0 modulates texture and
    // diffuse, the other stages are off; point filtering, wrapping, stage n reads coordinate set n,
    // no texture transforms; identity matrices; a white material; light 0 off; viewport = the whole
    // back buffer.
    void SetDefaults(const PresentParameters& pp, uint32_t backBufferWidth, uint32_t backBufferHeight);

    Matrix* TransformSlot(uint32_t type);
    const Matrix* TransformSlot(uint32_t type) const;

    // The devices' getters: D3DERR_INVALIDCALL for a null pointer or an unknown state, stage or
    // transform.
    HResult GetRenderState(uint32_t state, uint32_t* value) const;
    HResult GetStageState(uint32_t stage, uint32_t type, uint32_t* value) const;
    HResult GetTransform(uint32_t type, Matrix* matrix) const;
};

// The render targets a device made with CreateRenderTarget: while one of them lives, Reset fails.
class MadeRenderTargets {
public:
    void Add(const SurfacePtr& target);
    bool AnyAlive() const;

private:
    std::vector<std::weak_ptr<ISurface>> targets_;
};

} // namespace gpu
