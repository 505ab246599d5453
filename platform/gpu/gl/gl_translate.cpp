#include "platform/gpu/gl/gl_translate.h"

#include "platform/gpu/d3d_types.h"

#ifndef GL_MIRROR_CLAMP_TO_EDGE
#define GL_MIRROR_CLAMP_TO_EDGE 0x8743
#endif
#ifndef GL_MODULATE_ADD_ATI
#define GL_MODULATE_ADD_ATI 0x8744
#endif

namespace gpu {

GLenum GlBlendFactor(uint32_t blend) {
    switch (blend) {
    case D3DBLEND_ZERO: return GL_ZERO;
    case D3DBLEND_ONE: return GL_ONE;
    case D3DBLEND_SRCCOLOR: return GL_SRC_COLOR;
    case D3DBLEND_INVSRCCOLOR: return GL_ONE_MINUS_SRC_COLOR;
    case D3DBLEND_SRCALPHA: return GL_SRC_ALPHA;
    case D3DBLEND_INVSRCALPHA: return GL_ONE_MINUS_SRC_ALPHA;
    case D3DBLEND_DESTALPHA: return GL_DST_ALPHA;
    case D3DBLEND_INVDESTALPHA: return GL_ONE_MINUS_DST_ALPHA;
    case D3DBLEND_DESTCOLOR: return GL_DST_COLOR;
    case D3DBLEND_INVDESTCOLOR: return GL_ONE_MINUS_DST_COLOR;
    case D3DBLEND_SRCALPHASAT: return GL_SRC_ALPHA_SATURATE;
    default: return GL_ONE;
    }
}

GLenum GlCompare(uint32_t cmp) {
    switch (cmp) {
    case D3DCMP_NEVER: return GL_NEVER;
    case D3DCMP_LESS: return GL_LESS;
    case D3DCMP_EQUAL: return GL_EQUAL;
    case D3DCMP_LESSEQUAL: return GL_LEQUAL;
    case D3DCMP_GREATER: return GL_GREATER;
    case D3DCMP_NOTEQUAL: return GL_NOTEQUAL;
    case D3DCMP_GREATEREQUAL: return GL_GEQUAL;
    default: return GL_ALWAYS;
    }
}

GLenum GlStencilOp(uint32_t op) {
    switch (op) {
    case D3DSTENCILOP_ZERO: return GL_ZERO;
    case D3DSTENCILOP_REPLACE: return GL_REPLACE;
    case D3DSTENCILOP_INCRSAT: return GL_INCR;
    case D3DSTENCILOP_DECRSAT: return GL_DECR;
    case D3DSTENCILOP_INVERT: return GL_INVERT;
    case D3DSTENCILOP_INCR: return GL_INCR_WRAP;
    case D3DSTENCILOP_DECR: return GL_DECR_WRAP;
    default: return GL_KEEP;
    }
}

GLenum GlPrimitive(uint32_t type) {
    switch (type) {
    case D3DPT_POINTLIST: return GL_POINTS;
    case D3DPT_LINELIST: return GL_LINES;
    case D3DPT_LINESTRIP: return GL_LINE_STRIP;
    case D3DPT_TRIANGLESTRIP: return GL_TRIANGLE_STRIP;
    case D3DPT_TRIANGLEFAN: return GL_TRIANGLE_FAN;
    default: return GL_TRIANGLES;
    }
}

// Anisotropic and the cubic filters filter linearly.
static bool IsLinear(uint32_t f) { return f >= D3DTEXF_LINEAR; }

GLint GlMagFilter(uint32_t mag) { return IsLinear(mag) ? GL_LINEAR : GL_NEAREST; }

GLint GlMinFilter(uint32_t min, uint32_t mip, bool hasMips) {
    bool linear = IsLinear(min);
    if (!hasMips || mip == D3DTEXF_NONE) return linear ? GL_LINEAR : GL_NEAREST;
    if (mip == D3DTEXF_POINT) return linear ? GL_LINEAR_MIPMAP_NEAREST : GL_NEAREST_MIPMAP_NEAREST;
    return linear ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_LINEAR;
}

GLint GlAddress(uint32_t address, bool mirrorClamp) {
    switch (address) {
    case D3DTADDRESS_MIRROR: return GL_MIRRORED_REPEAT;
    case D3DTADDRESS_CLAMP: return GL_CLAMP_TO_EDGE;
    case D3DTADDRESS_BORDER: return GL_CLAMP_TO_BORDER;
    case D3DTADDRESS_MIRRORONCE: return mirrorClamp ? GL_MIRROR_CLAMP_TO_EDGE : GL_CLAMP_TO_EDGE;
    default: return GL_REPEAT;
    }
}

void ArgbToFloats(uint32_t argb, float out[4]) {
    out[0] = static_cast<float>((argb >> 16) & 0xFF) / 255.0f;
    out[1] = static_cast<float>((argb >> 8) & 0xFF) / 255.0f;
    out[2] = static_cast<float>(argb & 0xFF) / 255.0f;
    out[3] = static_cast<float>(argb >> 24) / 255.0f;
}

namespace {

// One argument of the GL combiner: a source and how it is read.
struct Arg {
    GLenum source;
    GLenum operand;
};

// D3D argument -> GL source. The specular colour is added after the stages by GL and cannot be
// read inside them; the lit diffuse colour stands in for it.
Arg MakeArg(uint32_t d3dArg, bool alpha) {
    Arg a{GL_PREVIOUS, alpha ? GLenum(GL_SRC_ALPHA) : GLenum(GL_SRC_COLOR)};
    switch (d3dArg & D3DTA_SELECTMASK) {
    case D3DTA_DIFFUSE:
    case D3DTA_SPECULAR: a.source = GL_PRIMARY_COLOR; break;
    case D3DTA_TEXTURE: a.source = GL_TEXTURE; break;
    case D3DTA_TFACTOR: a.source = GL_CONSTANT; break;
    default: a.source = GL_PREVIOUS; break;
    }
    return a;
}

Arg Inverted(Arg a) {
    switch (a.operand) {
    case GL_SRC_COLOR: a.operand = GL_ONE_MINUS_SRC_COLOR; break;
    case GL_SRC_ALPHA: a.operand = GL_ONE_MINUS_SRC_ALPHA; break;
    case GL_ONE_MINUS_SRC_COLOR: a.operand = GL_SRC_COLOR; break;
    default: a.operand = GL_SRC_ALPHA; break;
    }
    return a;
}

Arg AlphaOf(Arg a) {
    a.operand = (a.operand == GL_ONE_MINUS_SRC_COLOR || a.operand == GL_ONE_MINUS_SRC_ALPHA) ? GL_ONE_MINUS_SRC_ALPHA
                                                                                           : GL_SRC_ALPHA;
    return a;
}

struct Combine {
    GLenum function = GL_REPLACE;
    Arg args[3] = {{GL_PREVIOUS, GL_SRC_COLOR}, {GL_PREVIOUS, GL_SRC_COLOR}, {GL_PREVIOUS, GL_SRC_COLOR}};
    float scale = 1.0f;
};

// The combiner for one stage operation. With `alpha` the arguments are read as alpha.
Combine Translate(uint32_t op, uint32_t arg1, uint32_t arg2, bool alpha, bool combine3) {
    Arg a1 = MakeArg(arg1, alpha), a2 = MakeArg(arg2, alpha);
    Arg current{GL_PREVIOUS, alpha ? GLenum(GL_SRC_ALPHA) : GLenum(GL_SRC_COLOR)};
    Combine c;
    auto set = [&c](GLenum f, Arg x, Arg y, Arg z, float scale = 1.0f) {
        c.function = f;
        c.args[0] = x;
        c.args[1] = y;
        c.args[2] = z;
        c.scale = scale;
    };
    // a0 * a2 + a1 when the extension is there; the nearest plain combiner otherwise.
    auto modulateAdd = [&](Arg x, Arg y, Arg z) {
        if (combine3)
            set(GL_MODULATE_ADD_ATI, x, y, z);
        else
            set(GL_ADD, y, x, x);
    };
    switch (op) {
    case D3DTOP_SELECTARG1: set(GL_REPLACE, a1, a1, a1); break;
    case D3DTOP_SELECTARG2: set(GL_REPLACE, a2, a2, a2); break;
    case D3DTOP_MODULATE:
    case D3DTOP_PREMODULATE: set(GL_MODULATE, a1, a2, a2); break;
    case D3DTOP_MODULATE2X: set(GL_MODULATE, a1, a2, a2, 2.0f); break;
    case D3DTOP_MODULATE4X: set(GL_MODULATE, a1, a2, a2, 4.0f); break;
    case D3DTOP_ADD: set(GL_ADD, a1, a2, a2); break;
    case D3DTOP_ADDSIGNED: set(GL_ADD_SIGNED, a1, a2, a2); break;
    case D3DTOP_ADDSIGNED2X: set(GL_ADD_SIGNED, a1, a2, a2, 2.0f); break;
    case D3DTOP_SUBTRACT: set(GL_SUBTRACT, a1, a2, a2); break;
    case D3DTOP_BLENDDIFFUSEALPHA: set(GL_INTERPOLATE, a1, a2, Arg{GL_PRIMARY_COLOR, GL_SRC_ALPHA}); break;
    case D3DTOP_BLENDTEXTUREALPHA: set(GL_INTERPOLATE, a1, a2, Arg{GL_TEXTURE, GL_SRC_ALPHA}); break;
    case D3DTOP_BLENDFACTORALPHA: set(GL_INTERPOLATE, a1, a2, Arg{GL_CONSTANT, GL_SRC_ALPHA}); break;
    case D3DTOP_BLENDCURRENTALPHA: set(GL_INTERPOLATE, a1, a2, Arg{GL_PREVIOUS, GL_SRC_ALPHA}); break;
    case D3DTOP_LERP: set(GL_INTERPOLATE, a1, a2, current); break;  // weight: the stage's argument 0, CURRENT
    case D3DTOP_DOTPRODUCT3:
        if (alpha)
            set(GL_REPLACE, current, current, current);
        else
            set(GL_DOT3_RGBA, a1, a2, a2);
        break;
    // arg1 + arg2 - arg1 * arg2 = arg2 * (1 - arg1) + arg1
    case D3DTOP_ADDSMOOTH: modulateAdd(a2, a1, Inverted(a1)); break;
    // arg1 + arg2 * (1 - texture alpha)
    case D3DTOP_BLENDTEXTUREALPHAPM: modulateAdd(a2, a1, Arg{GL_TEXTURE, GL_ONE_MINUS_SRC_ALPHA}); break;
    // arg0 + arg1 * arg2, arg0 = CURRENT
    case D3DTOP_MULTIPLYADD: modulateAdd(a1, current, a2); break;
    // The four colour-only operations; as alpha operations they pass arg1 through.
    case D3DTOP_MODULATEALPHA_ADDCOLOR:
        if (alpha)
            set(GL_REPLACE, a1, a1, a1);
        else
            modulateAdd(a2, a1, AlphaOf(a1));
        break;
    case D3DTOP_MODULATECOLOR_ADDALPHA:
        if (alpha)
            set(GL_REPLACE, a1, a1, a1);
        else
            modulateAdd(a1, AlphaOf(a1), a2);
        break;
    case D3DTOP_MODULATEINVALPHA_ADDCOLOR:
        if (alpha)
            set(GL_REPLACE, a1, a1, a1);
        else
            modulateAdd(a2, a1, Inverted(AlphaOf(a1)));
        break;
    case D3DTOP_MODULATEINVCOLOR_ADDALPHA:
        if (alpha)
            set(GL_REPLACE, a1, a1, a1);
        else
            modulateAdd(Inverted(a1), AlphaOf(a1), a2);
        break;
    default:
        // DISABLE as an alpha operation under an enabled colour operation: alpha passes through.
        set(GL_REPLACE, current, current, current);
        break;
    }
    if (alpha)
        for (Arg& a : c.args) a = AlphaOf(a);
    return c;
}

const GLenum kSourceRgb[3] = {GL_SOURCE0_RGB, GL_SOURCE1_RGB, GL_SOURCE2_RGB};
const GLenum kOperandRgb[3] = {GL_OPERAND0_RGB, GL_OPERAND1_RGB, GL_OPERAND2_RGB};
const GLenum kSourceAlpha[3] = {GL_SOURCE0_ALPHA, GL_SOURCE1_ALPHA, GL_SOURCE2_ALPHA};
const GLenum kOperandAlpha[3] = {GL_OPERAND0_ALPHA, GL_OPERAND1_ALPHA, GL_OPERAND2_ALPHA};

} // namespace

void ApplyStageCombiner(const uint32_t* stage, bool combine3) {
    Combine rgb = Translate(stage[D3DTSS_COLOROP], stage[D3DTSS_COLORARG1], stage[D3DTSS_COLORARG2], false, combine3);
    Combine alpha = Translate(stage[D3DTSS_ALPHAOP], stage[D3DTSS_ALPHAARG1], stage[D3DTSS_ALPHAARG2], true, combine3);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB, static_cast<GLint>(rgb.function));
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_ALPHA, static_cast<GLint>(alpha.function == GL_DOT3_RGBA ? GL_REPLACE
                                                                                                  : alpha.function));
    for (int i = 0; i < 3; ++i) {
        glTexEnvi(GL_TEXTURE_ENV, kSourceRgb[i], static_cast<GLint>(rgb.args[i].source));
        glTexEnvi(GL_TEXTURE_ENV, kOperandRgb[i], static_cast<GLint>(rgb.args[i].operand));
        glTexEnvi(GL_TEXTURE_ENV, kSourceAlpha[i], static_cast<GLint>(alpha.args[i].source));
        glTexEnvi(GL_TEXTURE_ENV, kOperandAlpha[i], static_cast<GLint>(alpha.args[i].operand));
    }
    glTexEnvf(GL_TEXTURE_ENV, GL_RGB_SCALE, rgb.scale);
    glTexEnvf(GL_TEXTURE_ENV, GL_ALPHA_SCALE, alpha.scale);
}

} // namespace gpu
