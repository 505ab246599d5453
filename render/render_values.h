#pragma once
// The renderer's value types: a block of the 16 render states a shader sets, the 11 states of one
// texture stage, the lighting material and the vertex of text, billboards and 2D quads. States are
// in the engine's order and hold device values (platform/gpu/d3d_types.h).
#include <cstdint>

#include "math/vector.h"

// Engine order of the render states.
enum YRenderStateIndex {
    RS_ALPHA_BLEND_ENABLE, // 0 / 1
    RS_SRC_BLEND,
    RS_DEST_BLEND,
    RS_TEXTURE_FACTOR, // A8R8G8B8
    RS_DEPTH_FUNC,
    RS_CULL_MODE,
    RS_DEPTH_ENABLE,
    RS_DEPTH_WRITE_ENABLE,
    RS_STENCIL_ENABLE,
    RS_STENCIL_FAIL,
    RS_STENCIL_DEPTH_FAIL,
    RS_STENCIL_PASS,
    RS_STENCIL_FUNC,
    RS_STENCIL_REF,
    RS_STENCIL_MASK,
    RS_STENCIL_WRITE_MASK,
    RENDER_STATE_COUNT
};

// Engine order of the texture stage states.
enum YStageStateIndex {
    SS_COLOR_OP,
    SS_COLOR_ARG1,
    SS_COLOR_ARG2,
    SS_ALPHA_OP,
    SS_ALPHA_ARG1,
    SS_ALPHA_ARG2,
    SS_MAG_FILTER,
    SS_MIN_FILTER,
    SS_MIP_FILTER,
    SS_ADDRESS_U,
    SS_ADDRESS_V,
    STAGE_STATE_COUNT
};

struct YRenderStateBlock {
    // The renderer's default block when a renderer exists. Without one, the same default values:
    // they are constants, so a block made before the renderer (a shader looked up at start-up
    // that no file defines) still holds meaningful states.
    YRenderStateBlock();

    uint32_t values[RENDER_STATE_COUNT];

    uint32_t& operator[](int i) { return values[i]; }
    uint32_t operator[](int i) const { return values[i]; }

    // Blending off, ONE / ZERO, texture factor 0xFFFFFFFF, depth LESS, cull clockwise, depth test
    // and write on, stencil off with KEEP / KEEP / KEEP, ALWAYS, reference 0, both masks
    // 0xFFFFFFFF.
    static YRenderStateBlock Defaults();

private:
    struct NoInit {};
    explicit YRenderStateBlock(NoInit) {}
};

struct YStageStates {
    // Disable, texture, current, disable, texture, current, point, point, none, wrap, wrap.
    YStageStates();

    uint32_t values[STAGE_STATE_COUNT];

    uint32_t& operator[](int i) { return values[i]; }
    uint32_t operator[](int i) const { return values[i]; }
};

// Lighting material, 17 floats in the device's order: diffuse, ambient, specular and emissive
// RGBA, then the specular power. A new material has every colour (0, 0, 0, 1) and power 0.
struct YMaterial {
    float diffuse[4] = {0, 0, 0, 1};
    float ambient[4] = {0, 0, 0, 1};
    float specular[4] = {0, 0, 0, 1};
    float emissive[4] = {0, 0, 0, 1};
    float power = 0.0f;

    // All 17 values compare equal.
    bool operator==(const YMaterial& o) const;
};

// Position and two texture-coordinate sets: 28 bytes.
struct YTexVertex {
    YVector pos;
    YVector2 uv;
    YVector2 uv2;
};

// Position, a colour (0xAARRGGBB) and two texture-coordinate sets: 32 bytes.
struct YColorVertex {
    YVector pos;
    uint32_t colour;
    YVector2 uv;
    YVector2 uv2;
};

static_assert(sizeof(YMaterial) == 17 * sizeof(float));
static_assert(sizeof(YTexVertex) == 28);
static_assert(sizeof(YColorVertex) == 32);
