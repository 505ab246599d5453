#include "world/table/table_materials.h"

#include "core/log.h"
#include "render/shader.h"

namespace {

enum { TAG_PYRAMID = 0, TAG_ENVIRONMENT = 1 };
constexpr int PYRAMID_SHADERS = 10;

} // namespace

std::vector<YTableMaterial>& TableMaterials() {
    static std::vector<YTableMaterial> materials;
    return materials;
}

YTableMaterialLoader::YTableMaterialLoader(std::vector<YTableMaterial>& materials) : materials_(materials) {
    XMLTag tag;
    AddTag(MakeTag(tag, "pyramid", "name", "", "shader1", "pyr1", "shader2", "pyr2", "shader3", "pyr2", "shader4",
                   "pyr4", "shader5", "pyr5", "shader6", "pyr6", "shader7", "pyr7", "shader8", "pyr2", "shader9",
                   "pyr9", "shader10", "border", nullptr));
    AddTag(MakeTag(tag, "environment", "name", "", "shader", "", nullptr));
}

void YTableMaterialLoader::OnTag(int id) {
    if (id != TAG_PYRAMID) return;
    XMLTag& tag = tags[TAG_PYRAMID];
    const std::string& name = tag.attributes[0].value;
    YTableMaterial* material = nullptr;
    for (YTableMaterial& m : materials_)
        if (m.name == name) {
            material = &m;
            break;
        }
    if (!material) {
        materials_.push_back(YTableMaterial{name, {}});
        material = &materials_.back();
    }
    for (int i = 1; i <= PYRAMID_SHADERS; ++i) material->shaders.push_back(FindShader(tag.attributes[i].value));
}

bool YTableMaterialLoader::OnError(const char* message) {
    LogPrintf(g_Log, "Table Marterial Loader error, %s, line: %d", message, GetLine());
    return true;
}

void LoadTableMaterials(const char* path) {
    YTableMaterialLoader loader(TableMaterials());
    loader.Load(path);
}

const YTableMaterial* FindTableMaterial(const std::string& name) {
    for (const YTableMaterial& m : TableMaterials())
        if (m.name == name) return &m;
    return nullptr;
}
