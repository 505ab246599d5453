// Render_D3D: the words of the shader files for state values. Words are matched exactly (lower
// case); a word a state does not know, and every word for the texture factor, the stencil
// reference and the two stencil masks (numbers, read by the shader files themselves), gives
// 0xFFFFFFFF.
#include <cstring>

#include "render/render_d3d.h"

using namespace gpu;

namespace {

struct Keyword {
    const char* word;
    uint32_t value;
};

template <size_t N>
uint32_t Lookup(const Keyword (&table)[N], const std::string& word) {
    for (const Keyword& k : table)
        if (word == k.word) return k.value;
    return RENDER_STATE_UNKNOWN;
}

constexpr Keyword kBool[] = {{"true", 1}, {"1", 1}, {"false", 0}, {"0", 0}};
constexpr Keyword kDepthEnable[] = {{"true", D3DZB_TRUE}, {"false", D3DZB_FALSE}};

// The spellings "scrcolor", "cww" and "substract" are the files' own.
constexpr Keyword kBlend[] = {{"zero", D3DBLEND_ZERO},
                              {"one", D3DBLEND_ONE},
                              {"scrcolor", D3DBLEND_SRCCOLOR},
                              {"invsrccolor", D3DBLEND_INVSRCCOLOR},
                              {"srcalpha", D3DBLEND_SRCALPHA},
                              {"invsrcalpha", D3DBLEND_INVSRCALPHA},
                              {"destalpha", D3DBLEND_DESTALPHA},
                              {"invdestalpha", D3DBLEND_INVDESTALPHA},
                              {"destcolor", D3DBLEND_DESTCOLOR},
                              {"invdestcolor", D3DBLEND_INVDESTCOLOR},
                              {"srcalphasat", D3DBLEND_SRCALPHASAT}};

constexpr Keyword kCompare[] = {{"never", D3DCMP_NEVER},
                                {"less", D3DCMP_LESS},
                                {"equal", D3DCMP_EQUAL},
                                {"lessequal", D3DCMP_LESSEQUAL},
                                {"greater", D3DCMP_GREATER},
                                {"notequal", D3DCMP_NOTEQUAL},
                                {"greaterequal", D3DCMP_GREATEREQUAL},
                                {"always", D3DCMP_ALWAYS}};

constexpr Keyword kCull[] = {{"none", D3DCULL_NONE}, {"cw", D3DCULL_CW}, {"cww", D3DCULL_CCW}};

constexpr Keyword kStencilOp[] = {{"keep", D3DSTENCILOP_KEEP},       {"zero", D3DSTENCILOP_ZERO},
                                  {"replace", D3DSTENCILOP_REPLACE}, {"incrsat", D3DSTENCILOP_INCRSAT},
                                  {"decrsat", D3DSTENCILOP_DECRSAT}, {"invert", D3DSTENCILOP_INVERT},
                                  {"incr", D3DSTENCILOP_INCR},       {"decr", D3DSTENCILOP_DECR}};

constexpr Keyword kStageOp[] = {{"disable", D3DTOP_DISABLE},
                                {"selectarg1", D3DTOP_SELECTARG1},
                                {"selectarg2", D3DTOP_SELECTARG2},
                                {"modulate", D3DTOP_MODULATE},
                                {"modulate2x", D3DTOP_MODULATE2X},
                                {"modulate4x", D3DTOP_MODULATE4X},
                                {"add", D3DTOP_ADD},
                                {"addsigned", D3DTOP_ADDSIGNED},
                                {"addsigned2x", D3DTOP_ADDSIGNED2X},
                                {"substract", D3DTOP_SUBTRACT},
                                {"addsmooth", D3DTOP_ADDSMOOTH},
                                {"blenddiffusealpha", D3DTOP_BLENDDIFFUSEALPHA},
                                {"blendtexturealpha", D3DTOP_BLENDTEXTUREALPHA},
                                {"blendfactoralpha", D3DTOP_BLENDFACTORALPHA},
                                {"blendtexturealphapm", D3DTOP_BLENDTEXTUREALPHAPM},
                                {"blendcurrentalpha", D3DTOP_BLENDCURRENTALPHA},
                                {"premodulate", D3DTOP_PREMODULATE},
                                {"modulatealpha_addcolor", D3DTOP_MODULATEALPHA_ADDCOLOR},
                                {"modulatecolor_addalpha", D3DTOP_MODULATECOLOR_ADDALPHA},
                                {"modulateinvalpha_addcolor", D3DTOP_MODULATEINVALPHA_ADDCOLOR},
                                {"modulateinvcolor_addalpha", D3DTOP_MODULATEINVCOLOR_ADDALPHA},
                                {"dotproduct3", D3DTOP_DOTPRODUCT3},
                                {"multiplyadd", D3DTOP_MULTIPLYADD},
                                {"lerp", D3DTOP_LERP}};

constexpr Keyword kStageArg[] = {{"current", D3DTA_CURRENT},       {"diffuse", D3DTA_DIFFUSE},
                                 {"selectmask", D3DTA_SELECTMASK}, {"specular", D3DTA_SPECULAR},
                                 {"texture", D3DTA_TEXTURE},       {"color", D3DTA_TFACTOR}};

constexpr Keyword kFilter[] = {{"none", D3DTEXF_NONE},           {"point", D3DTEXF_POINT},
                               {"linear", D3DTEXF_LINEAR},       {"anisotropic", D3DTEXF_ANISOTROPIC},
                               {"flatcubic", D3DTEXF_FLATCUBIC}, {"gaussiancubic", D3DTEXF_GAUSSIANCUBIC}};

constexpr Keyword kAddress[] = {{"repeat", D3DTADDRESS_WRAP},
                                {"mirror", D3DTADDRESS_MIRROR},
                                {"clamp", D3DTADDRESS_CLAMP},
                                {"border", D3DTADDRESS_BORDER},
                                {"mirroronce", D3DTADDRESS_MIRRORONCE}};

} // namespace

uint32_t Render_D3D::ParseRenderStateValue(int index, const std::string& keyword) {
    switch (index) {
        case RS_ALPHA_BLEND_ENABLE:
        case RS_DEPTH_WRITE_ENABLE:
        case RS_STENCIL_ENABLE: return Lookup(kBool, keyword);
        case RS_DEPTH_ENABLE: return Lookup(kDepthEnable, keyword);
        case RS_SRC_BLEND:
        case RS_DEST_BLEND: return Lookup(kBlend, keyword);
        case RS_DEPTH_FUNC:
        case RS_STENCIL_FUNC: return Lookup(kCompare, keyword);
        case RS_CULL_MODE: return Lookup(kCull, keyword);
        case RS_STENCIL_FAIL:
        case RS_STENCIL_DEPTH_FAIL:
        case RS_STENCIL_PASS: return Lookup(kStencilOp, keyword);
        default: return RENDER_STATE_UNKNOWN; // texture factor, stencil reference and masks, others
    }
}

uint32_t Render_D3D::ParseStageStateValue(int index, const std::string& keyword) {
    switch (index) {
        case SS_COLOR_OP:
        case SS_ALPHA_OP: return Lookup(kStageOp, keyword);
        case SS_COLOR_ARG1:
        case SS_COLOR_ARG2:
        case SS_ALPHA_ARG1:
        case SS_ALPHA_ARG2: return Lookup(kStageArg, keyword);
        case SS_MAG_FILTER:
        case SS_MIN_FILTER:
        case SS_MIP_FILTER: return Lookup(kFilter, keyword);
        case SS_ADDRESS_U:
        case SS_ADDRESS_V: return Lookup(kAddress, keyword);
        default: return RENDER_STATE_UNKNOWN;
    }
}
