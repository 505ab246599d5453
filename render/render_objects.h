#pragma once
// What the renderer reads of the things it applies and draws: a shader's render states, material
// and texture stages, a font's glyph table and shader, a mesh's index buffer and subsets, and a
// mesh instance's vertex buffer. The shader, font and mesh classes are built on these records, so
// the renderer draws them without depending on how they are loaded, named, animated or cached.
#include <cstdint>
#include <vector>

#include "math/matrix.h"
#include "platform/gpu/device.h"
#include "render/render_values.h"

class YTexture;

// One texture stage of a shader.
struct YShaderStageBase {
    YTexture* texture = nullptr; // shared, not owned; null binds nothing (the stage keeps its texture)
    YStageStates states;
    YMatrix matrix{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}}; // texture-coordinate transform
    uint8_t identity = 1; // 1: the matrix is the identity and the stage has no texture transform

    virtual ~YShaderStageBase() = default;
};

// A rendering pass: render states, material and texture stages (stage 0 first, owned by the
// shader).
struct YShaderBase {
    YRenderStateBlock renderStates;
    YMaterial material;
    uint8_t lighting = 0; // read by the shader files; applying a shader never changes lighting
    std::vector<YShaderStageBase*> stages;

    virtual ~YShaderBase() = default;

    // Render state 0 (alpha blending) is on.
    bool IsBlended() const { return renderStates[RS_ALPHA_BLEND_ENABLE] > 0; }
};

// One corner of a glyph quad: offsets from the pen in units of the text size (x to the right, y
// downward from the top of the cell), and the texture coordinates in the font texture.
struct YGlyphCorner {
    float x, y, unused, u, v;
};

// The quad of one character, corners in triangle-fan order.
struct YGlyph {
    YGlyphCorner corners[4];
};

// A bitmap font: advances in units of the text size and a glyph per byte value.
struct YFontBase {
    float widths[256] = {};
    YGlyph glyphs[256] = {};
    YShaderBase* shader = nullptr; // its first stage holds the font texture

    virtual ~YFontBase() = default;
};

// A run of faces with one material: drawn as one indexed triangle list.
struct YMeshSubset {
    int32_t startIndex;     // first index of the run
    int32_t primitiveCount; // faces in the run
    int32_t materialId;
    int32_t minIndex;   // smallest vertex index used
    int32_t vertexSpan; // largest minus smallest vertex index, plus one
};

struct YMeshBase {
    gpu::IndexBufferPtr indexBuffer; // 16-bit indices; null while no device exists
    std::vector<YMeshSubset> subsets;

    virtual ~YMeshBase() = default;
};

// A drawable copy of a mesh: its own vertex buffer over the mesh's indices.
struct YMeshInstanceData {
    gpu::VertexBufferPtr vertexBuffer; // YVertex layout; null while no device exists
    YMeshBase* mesh = nullptr;         // not owned

    virtual ~YMeshInstanceData() = default;
};
