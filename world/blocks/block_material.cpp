#include "world/blocks/block_material.h"

#include <cmath>

#include "core/log.h"
#include "core/xml_parser.h"
#include "render/shader.h"
#include "sound/sound_fx.h"
#include "world/blocks/block_special.h"
#include "world/blocks/level_state.h"

namespace {

std::vector<YBlockMaterial*>& Materials() {
    static std::vector<YBlockMaterial*> materials;
    return materials;
}

// The eight material attributes, in the order both tags register them.
constexpr const char* kAttributeNames[8] = {"mass",   "health",       "shader",        "in_shader",
                                            "scores", "sound_stroke", "sound_destroy", "special"};
constexpr const char* kAttributeDefaults[8] = {"1", "200", "block", "in_block", "25", "def_stroke", "def_destroy", ""};

class YBlockMaterialLoader : public XMLParser {
public:
    YBlockMaterialLoader() {
        XMLTag def("default");
        for (int i = 0; i < 8; ++i) def.AddAttribute(kAttributeNames[i], kAttributeDefaults[i]);
        AddTag(def);
        XMLTag mat("material");
        mat.AddAttribute("name", "");
        for (int i = 0; i < 8; ++i) mat.AddAttribute(kAttributeNames[i], kAttributeDefaults[i]);
        AddTag(mat);
    }

protected:
    void OnTag(int id) override {
        XMLTag& tag = tags[id];
        if (id == 0) {
            // Later "material" tags take what this "default" says for what they leave out.
            for (int i = 0; i < 8; ++i) tags[1].attributes[i + 1].defaultValue = tag.attributes[i].value;
            return;
        }
        const auto& a = tag.attributes;
        float mass = a[1].AsFloat();
        if (!(mass > 0.0f) || !std::isfinite(mass)) {
            std::string message = "mass of material \"" + a[0].value + "\" must be above 0, taken as 1";
            OnError(message.c_str());
            mass = 1.0f;
        }
        float health = a[2].AsFloat();
        if (!std::isfinite(health)) health = 0.0f;
        BuildBlockMaterial(a[0].value, mass, health, a[3].value, a[4].value, a[5].AsInt(), a[6].value, a[7].value,
                           a[8].value);
    }

    bool OnError(const char* message) override {
        LogPrintf(g_Log, "Block Marterial Loader error, %s, line: %d", message ? message : "", GetLine());
        return true;
    }
};

void BuildTypeFields(YBlockType& t) {
    const YBlockMaterial& m = *t.material;
    t.mass = static_cast<float>(t.sy) * m.mass * static_cast<float>(t.sz) * static_cast<float>(t.sx);
    t.health = m.health;
    const YVector& s = g_Level.scale;
    const float lx = static_cast<float>(t.sx) * s.x;
    const float ly = static_cast<float>(t.sy) * s.y;
    const float lz = static_cast<float>(t.sz) * s.z;
    const float k = t.mass * 0.083333336f;
    t.inertia = {(ly * ly + lz * lz) * k, (lx * lx + lz * lz) * k, (lx * lx + ly * ly) * k};
    t.halfExtents = {lx * 0.5f, ly * 0.5f, lz * 0.5f};
    t.cellCounts[0] = t.cellCounts[1] = t.sy * t.sz;
    t.cellCounts[2] = t.cellCounts[3] = t.sx * t.sz;
    t.cellCounts[4] = t.cellCounts[5] = t.sx * t.sy;
}

} // namespace

const std::vector<YBlockMaterial*>& BlockMaterials() { return Materials(); }

void LoadBlockMaterials(const char* path) {
    YBlockMaterialLoader loader;
    loader.Load(path);
}

YBlockMaterial* BuildBlockMaterial(const std::string& name, float mass, float health, const std::string& shader,
                                   const std::string& inShader, int32_t scores, const std::string& soundStroke,
                                   const std::string& soundDestroy, const std::string& special) {
    if (!(mass > 0.0f) || !std::isfinite(mass)) {
        LogPrintf(g_Log, "Block material \"%s\": mass must be above 0, taken as 1", name.c_str());
        mass = 1.0f;
    }
    YBlockMaterial* m = FindBlockMaterial(name);
    if (!m) {
        m = new YBlockMaterial;
        m->name = name;
        m->scores = scores;
        Materials().push_back(m);
    }
    m->mass = mass;
    m->health = health;
    m->shader = FindShader(shader);
    m->inShader = FindShader(inShader);
    m->soundStroke = GetSoundFx(soundStroke);
    m->soundDestroy = GetSoundFx(soundDestroy);
    m->special = FindBlockSpecialKind(special);
    return m;
}

YBlockMaterial* FindBlockMaterial(const std::string& name) {
    for (YBlockMaterial* m : Materials()) {
        if (m->name == name) return m;
    }
    return nullptr;
}

YBlockType* FindBlockType(const std::string& name, uint32_t sx, uint32_t sy, uint32_t sz) {
    if (sx < 1 || sy < 1 || sz < 1 || sx > BLOCK_SIZE_MAX || sy > BLOCK_SIZE_MAX || sz > BLOCK_SIZE_MAX) return nullptr;
    YBlockMaterial* m = FindBlockMaterial(name);
    if (!m) return nullptr;
    for (auto& t : m->types) {
        if (t->sx == sx && t->sy == sy && t->sz == sz) return t.get();
    }
    auto t = std::make_unique<YBlockType>();
    t->sx = sx;
    t->sy = sy;
    t->sz = sz;
    t->material = m;
    BuildTypeFields(*t);
    m->types.push_back(std::move(t));
    return m->types.back().get();
}

void ClearBlockTypeCaches() {
    for (YBlockMaterial* m : Materials()) m->types.clear();
}

void ResetBlockMaterials() {
    for (YBlockMaterial* m : Materials()) delete m;
    Materials().clear();
}
