#include "platform/gpu/gl/gl_combiner.h"

#include "platform/gpu/d3d_types.h"
#include "platform/gpu/device_notes.h"
#include "platform/gpu/gl/gl_api.h"

#ifndef GL_MODULATE_ADD_ATI
#define GL_MODULATE_ADD_ATI 0x8744
#endif

namespace gpu {

namespace {

// One argument of the GL combiner: a source and how it is read.
struct Arg {
    GLenum source;
    GLenum operand;
};

// D3D argument -> GL source. The specular colour is added after the stages by GL and cannot be
// read inside them: the unit's constant colour stands in for it (the device makes it black, the
// specular colour of vertices that have none and of unlit ones).
Arg MakeArg(uint32_t d3dArg, bool alpha) {
    Arg a{GL_PREVIOUS, alpha ? GLenum(GL_SRC_ALPHA) : GLenum(GL_SRC_COLOR)};
    switch (d3dArg & D3DTA_SELECTMASK) {
        case D3DTA_DIFFUSE: a.source = GL_PRIMARY_COLOR; break;
        case D3DTA_SPECULAR: a.source = GL_CONSTANT; break;
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
        case D3DTOP_MODULATE: set(GL_MODULATE, a1, a2, a2); break;
        case D3DTOP_PREMODULATE:
            // The device modulates with the next stage; combiners see one stage at a time, so the
            // product is formed here, the nearest they give.
            DeviceNoteOnce("OpenGL: texture stage operation PREMODULATE is drawn as MODULATE.");
            set(GL_MODULATE, a1, a2, a2);
            break;
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
        case D3DTOP_LERP: set(GL_INTERPOLATE, a1, a2, current); break; // weight: the stage's argument 0, CURRENT
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
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_ALPHA,
              static_cast<GLint>(alpha.function == GL_DOT3_RGBA ? GL_REPLACE : alpha.function));
    for (int i = 0; i < 3; ++i) {
        glTexEnvi(GL_TEXTURE_ENV, kSourceRgb[i], static_cast<GLint>(rgb.args[i].source));
        glTexEnvi(GL_TEXTURE_ENV, kOperandRgb[i], static_cast<GLint>(rgb.args[i].operand));
        glTexEnvi(GL_TEXTURE_ENV, kSourceAlpha[i], static_cast<GLint>(alpha.args[i].source));
        glTexEnvi(GL_TEXTURE_ENV, kOperandAlpha[i], static_cast<GLint>(alpha.args[i].operand));
    }
    glTexEnvf(GL_TEXTURE_ENV, GL_RGB_SCALE, rgb.scale);
    glTexEnvf(GL_TEXTURE_ENV, GL_ALPHA_SCALE, alpha.scale);
}

bool StageReads(const uint32_t* stage, uint32_t d3dArg) {
    for (uint32_t type : {D3DTSS_COLORARG1, D3DTSS_COLORARG2, D3DTSS_ALPHAARG1, D3DTSS_ALPHAARG2})
        if ((stage[type] & D3DTA_SELECTMASK) == d3dArg) return true;
    return false;
}

} // namespace gpu
