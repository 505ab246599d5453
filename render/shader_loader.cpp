#include "render/shader_loader.h"

#include <cctype>
#include <climits>
#include <cmath>
#include <cstdint>
#include <memory>

#include "core/color.h"
#include "core/log.h"
#include "render/render.h"
#include "render/shader.h"
#include "render/texture.h"

namespace {

// The state each attribute of the render-state and stage-state elements sets, in attribute order.
constexpr int kBlendStates[] = {RS_ALPHA_BLEND_ENABLE, RS_SRC_BLEND, RS_DEST_BLEND, RS_TEXTURE_FACTOR};
constexpr int kStateStates[] = {RS_DEPTH_FUNC, RS_CULL_MODE, RS_DEPTH_ENABLE, RS_DEPTH_WRITE_ENABLE};
constexpr int kStencilStates[] = {RS_STENCIL_ENABLE, RS_STENCIL_FAIL, RS_STENCIL_DEPTH_FAIL, RS_STENCIL_PASS,
                                  RS_STENCIL_FUNC,   RS_STENCIL_REF,  RS_STENCIL_MASK,       RS_STENCIL_WRITE_MASK};
constexpr int kColorBlendStates[] = {SS_COLOR_OP, SS_COLOR_ARG1, SS_COLOR_ARG2};
constexpr int kAlphaBlendStates[] = {SS_ALPHA_OP, SS_ALPHA_ARG1, SS_ALPHA_ARG2};
// "min" sets the magnification filter and "mag" the minification filter: the files were written so.
constexpr int kFilterStates[] = {SS_MAG_FILTER, SS_MIN_FILTER, SS_MIP_FILTER};

// A hexadecimal number as a signed 32-bit value, read the way strtol reads base 16: leading
// spaces, a sign, an optional "0x", then hex digits up to the first other character. Values beyond
// the 32-bit range saturate ("ffffffff" gives 0x7FFFFFFF); text without digits gives 0.
uint32_t ReadHex(const std::string& text) {
    const char* p = text.c_str();
    while (std::isspace(static_cast<unsigned char>(*p))) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X') && std::isxdigit(static_cast<unsigned char>(p[2]))) p += 2;
    int64_t magnitude = 0;
    for (; std::isxdigit(static_cast<unsigned char>(*p)); ++p) {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(*p)));
        magnitude = magnitude * 16 + (c <= '9' ? c - '0' : c - 'a' + 10);
        if (magnitude > 0x80000000LL) magnitude = 0x80000000LL; // saturated either way from here
    }
    const int64_t value = negative ? -magnitude : magnitude;
    const int32_t clamped = value > INT32_MAX ? INT32_MAX : static_cast<int32_t>(value);
    return static_cast<uint32_t>(clamped);
}

void CopyColor(float out[4], const YColor& c) {
    out[0] = c.r;
    out[1] = c.g;
    out[2] = c.b;
    out[3] = c.a;
}

} // namespace

YShaderLoader::YShaderLoader() {
    XMLTag t;
    AddTag(MakeTag(t, "shader", "name", "", "inherited", "", nullptr));
    AddTag(MakeTag(t, "blend", "alpha", "true", "src", "one", "dest", "zero", "color", "ffffff", nullptr));
    AddTag(MakeTag(t, "map", "texture", "", "wrap_x", "repeat", "wrap_y", "repeat", nullptr));
    AddTag(MakeTag(t, "colorblend", "op", "modulate", "arg1", "texture", "arg2", "current", nullptr));
    AddTag(MakeTag(t, "alphablend", "op", "modulate", "arg1", "texture", "arg2", "current", nullptr));
    AddTag(MakeTag(t, "filter", "min", "point", "mag", "point", "mip", "none", nullptr));
    AddTag(MakeTag(t, "material", "diffuse", "000000", "ambient", "000000", "specular", "000000", "emissive", "000000",
                   "power", "0", nullptr));
    AddTag(MakeTag(t, "materialcolor", "color", "ffffff", nullptr));
    AddTag(MakeTag(t, "lighting", "enable", "1", nullptr));
    AddTag(MakeTag(t, "state", "zfunc", "less", "cull", "cw", "zenable", "true", "zwrite", "true", nullptr));
    AddTag(MakeTag(t, "stencil", "enable", "false", "fail", "keep", "zfail", "keep", "pass", "keep", "func", "always",
                   "ref", "0", "mask", "ffffffff", "writemask", "ffffffff", nullptr));
    AddTag(MakeTag(t, "mod_rotate", "angle", "360.0", nullptr));
    AddTag(MakeTag(t, "mod_scroll", "x", "0", "y", "0", nullptr));
    AddTag(MakeTag(t, "mod_pulse", "vel", "360.0", "min", "0.5f", "max", "1.0f", nullptr));
    AddTag(MakeTag(t, "mod_flip", "x", "0", "y", "0", nullptr));
    AddTag(MakeTag(t, "mod_offset", "x", "0", "y", "0", nullptr));
    AddTag(MakeTag(t, "mod_swing", "vel", "360.0", "min", "-90.0f", "max", "90.0f", nullptr));
    AddTag(MakeTag(t, "mod_turn", "angle", "180", nullptr));
}

void YShaderLoader::Parse(const char* file) {
    fileName_ = file ? file : "";
    shader_ = nullptr;
    stage_ = nullptr;
    if (!g_Render) {
        LogLine("Shader parser error, render must be created.");
        return;
    }
    LogPrintf(g_Log, "Parse shaders from file, %s", fileName_.c_str());
    Load(fileName_.c_str());
    shader_ = nullptr;
    stage_ = nullptr;
}

bool YShaderLoader::OnError(const char* message) {
    LogPrintf(g_Log, "Shader parser error, %s, file: %s, line: %d", message ? message : "", fileName_.c_str(),
              GetLine());
    return true;
}

void YShaderLoader::LogBadValue(const std::string& text) {
    LogPrintf(g_Log, "Shader parser, error value \"%s\", file: %s, line: %d", text.c_str(), fileName_.c_str(),
              GetLine());
}

float YShaderLoader::Number(int tag, int attribute) {
    const XMLAttribute& a = tags[tag].attributes[attribute];
    const float v = a.AsFloat();
    if (std::isfinite(v)) return v;
    LogBadValue(a.value);
    return 0.0f;
}

void YShaderLoader::SetRenderState(int index, const std::string& text) {
    if (!shader_ || !g_Render || index < 0 || index >= RENDER_STATE_COUNT) return;
    uint32_t value;
    if (index == RS_TEXTURE_FACTOR) {
        YColor c;
        c.ParseColor(text); // throws "Error color format." to the reader's error path
        float rgba[4];
        CopyColor(rgba, c);
        value = g_Render->ColorToARGB(rgba);
    } else if (index == RS_STENCIL_REF || index == RS_STENCIL_MASK || index == RS_STENCIL_WRITE_MASK) {
        value = ReadHex(text);
    } else {
        value = g_Render->ParseRenderStateValue(index, text);
        if (value == RENDER_STATE_UNKNOWN) {
            LogBadValue(text);
            return;
        }
    }
    shader_->renderStates[index] = value;
}

void YShaderLoader::SetStageState(int index, const std::string& text) {
    if (!stage_ || !g_Render || index < 0 || index >= STAGE_STATE_COUNT) return;
    const uint32_t value = g_Render->ParseStageStateValue(index, text);
    if (value == RENDER_STATE_UNKNOWN) {
        LogBadValue(text);
        return;
    }
    stage_->states[index] = value;
}

void YShaderLoader::OpenShader() {
    const std::vector<XMLAttribute>& a = tags[TAG_SHADER].attributes;
    if (shader_) OnError("Expected </shader>.");
    shader_ = FindShader(a[0].value);

    // A shader defined again starts over, but only when it has stages; one without keeps its
    // material and lighting flag.
    if (!shader_->stages.empty()) {
        // A map left open stays current across </shader>; when it belongs to the shader being
        // cleared it goes with it, and later stage elements find no map.
        for (YShaderStageBase* s : shader_->stages)
            if (s == stage_) stage_ = nullptr;
        shader_->Reset();
    }

    const std::string& inherited = a[1].value;
    if (!inherited.empty()) {
        if (const YShader* parent = FindShaderInList(inherited)) {
            shader_->CopyLook(*parent);
            return;
        }
        OnError("Super shader don't find.");
    }
    shader_->renderStates = YRenderStateBlock();
}

void YShaderLoader::AddModifier(int id) {
    const std::vector<XMLAttribute>& a = tags[id].attributes;
    // Read in attribute order, so bad values are logged in the order the file has them.
    float n[3] = {0.0f, 0.0f, 0.0f};
    if (id != TAG_MOD_FLIP)
        for (std::size_t i = 0; i < a.size() && i < 3; ++i) n[i] = Number(id, static_cast<int>(i));
    std::unique_ptr<YMatrixMod> mod;
    switch (id) {
        case TAG_MOD_ROTATE: mod = std::make_unique<YModRotate>(n[0]); break;
        case TAG_MOD_SCROLL: mod = std::make_unique<YModScroll>(n[0], n[1]); break;
        case TAG_MOD_PULSE: mod = std::make_unique<YModPulse>(n[0], n[1], n[2]); break;
        case TAG_MOD_FLIP: mod = std::make_unique<YModFlip>(a[0].AsBool(), a[1].AsBool()); break;
        case TAG_MOD_OFFSET: mod = std::make_unique<YModOffset>(n[0], n[1]); break;
        case TAG_MOD_SWING: mod = std::make_unique<YModSwing>(n[0], n[1], n[2]); break;
        case TAG_MOD_TURN: mod = std::make_unique<YModTurn>(n[0]); break;
        default: return;
    }
    stage_->modifiers.push_back(std::move(mod));
}

void YShaderLoader::OnTag(int id) {
    const std::vector<XMLAttribute>& a = tags[id].attributes;
    switch (id) {
        case TAG_SHADER: OpenShader(); return;

        case TAG_BLEND:
        case TAG_STATE:
        case TAG_STENCIL: {
            if (!shader_) {
                OnError(id == TAG_BLEND   ? "Tag <blend> outside <shader>."
                        : id == TAG_STATE ? "Tag <state> outside <shader>."
                                          : "Tag <stencil> outside <shader>.");
                return;
            }
            const int* states = id == TAG_BLEND ? kBlendStates : id == TAG_STATE ? kStateStates : kStencilStates;
            for (std::size_t i = 0; i < a.size(); ++i) SetRenderState(states[i], a[i].value);
            return;
        }

        case TAG_MATERIAL: {
            if (!shader_) {
                OnError("Tag <material> outside <shader>.");
                return;
            }
            // In order, so the colours read before a bad one stay set.
            float* colours[4] = {shader_->material.diffuse, shader_->material.ambient, shader_->material.specular,
                                 shader_->material.emissive};
            for (int i = 0; i < 4; ++i) {
                YColor c;
                c.ParseColor(a[static_cast<std::size_t>(i)].value);
                CopyColor(colours[i], c);
            }
            shader_->material.power = Number(id, 4);
            return;
        }

        case TAG_MATERIALCOLOR: {
            if (!shader_) {
                OnError("Tag <materialcolor> outside <shader>.");
                return;
            }
            YColor c;
            c.ParseColor(a[0].value);
            YMaterial& m = shader_->material;
            m = YMaterial(); // every colour (0, 0, 0, 1), power 0
            m.diffuse[3] = c.a;
            CopyColor(m.emissive, c);
            shader_->lighting = 0;
            return;
        }

        case TAG_LIGHTING:
            if (!shader_) {
                OnError("Tag <lighting> outside <shader>.");
                return;
            }
            shader_->lighting = a[0].AsBool() ? 1 : 0;
            return;

        case TAG_MAP: {
            if (!shader_) {
                OnError("Tag <map> outside <shader>.");
                return;
            }
            if (stage_) OnError("Expected </map>.");
            stage_ = shader_->AddStage();
            if (!a[0].value.empty()) stage_->texture = GetTexture(a[0].value.c_str());
            SetStageState(SS_ADDRESS_U, a[1].value);
            SetStageState(SS_ADDRESS_V, a[2].value);
            return;
        }

        case TAG_COLORBLEND:
        case TAG_ALPHABLEND:
        case TAG_FILTER: {
            if (!stage_) {
                OnError(id == TAG_COLORBLEND   ? "Tag <colorblend> outside <map>."
                        : id == TAG_ALPHABLEND ? "Tag <alphablend> outside <map>."
                                               : "Tag <filterblend> outside <map>.");
                return;
            }
            const int* states = id == TAG_COLORBLEND   ? kColorBlendStates
                                : id == TAG_ALPHABLEND ? kAlphaBlendStates
                                                       : kFilterStates;
            for (std::size_t i = 0; i < a.size(); ++i) SetStageState(states[i], a[i].value);
            return;
        }

        case TAG_MOD_ROTATE:
        case TAG_MOD_SCROLL:
        case TAG_MOD_PULSE:
        case TAG_MOD_FLIP:
        case TAG_MOD_OFFSET:
        case TAG_MOD_SWING:
        case TAG_MOD_TURN: {
            if (!stage_) {
                static const char* const outside[] = {
                    "Tag <mod_rotate> outside <map>.", "Tag <mod_scroll> outside <map>.",
                    "Tag <mod_pulse> outside <map>.",  "Tag <mod_flip> outside <map>.",
                    "Tag <mod_offset> outside <map>.", "Tag <mod_swing> outside <map>.",
                    "Tag <mod_turn> outside <map>."};
                OnError(outside[id - TAG_MOD_ROTATE]);
                return;
            }
            AddModifier(id);
            return;
        }

        default: return;
    }
}

void YShaderLoader::OnCloseTag(int id) {
    if (id == TAG_SHADER) {
        if (!shader_) OnError("Expected <shader>.");
        shader_ = nullptr; // an open map stays current
    } else if (id == TAG_MAP) {
        if (!stage_) OnError("Expected <map>.");
        stage_ = nullptr;
    }
}

void ParseShaderFile(const char* file) {
    if (!g_Render) {
        LogLine("Shader parser error, render must be created.");
        return;
    }
    YShaderLoader loader;
    loader.Parse(file);
}
