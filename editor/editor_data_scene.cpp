#include "editor/editor_data_scene.h"

#include "render/shader.h"
#include "world/blocks/block_material.h"
#include "world/blocks/bonus_builder.h"
#include "world/blocks/level_state.h"

YVector EditorDataScene::LevelScale() const { return g_Level.scale; }

void EditorDataScene::SetLevelScale(const YVector& scale) { g_Level.scale = scale; }

void EditorDataScene::BuildTable(float width, float depth, const std::string& material) {
    width_ = width;
    depth_ = depth;
    tableMaterial_ = material;
}

bool EditorDataScene::HasMaterial(const std::string& name) const { return FindBlockMaterial(name) != nullptr; }

std::string EditorDataScene::FirstMaterial() const {
    const std::vector<YBlockMaterial*>& all = BlockMaterials();
    return all.empty() ? std::string() : all.front()->name;
}

void EditorDataScene::DeleteAllBlocks() {
    built_.clear();
    types_.clear();
}

void EditorDataScene::ClearBlockTypeCaches() {
    // The recorded blocks point into the caches.
    DeleteAllBlocks();
    ::ClearBlockTypeCaches();
}

bool EditorDataScene::BuildBlock(const std::string& material, int sx, int sy, int sz, std::unique_ptr<YBonusBuilder>,
                                 const YMatrix& world, bool* solid) {
    return RecordBlock(material, sx, sy, sz, world, solid) != nullptr;
}

const YBlockType* EditorDataScene::RecordBlock(const std::string& material, int sx, int sy, int sz,
                                               const YMatrix& world, bool* solid) {
    if (sx < 1 || sy < 1 || sz < 1) return nullptr;
    const YBlockType* type =
        FindBlockType(material, static_cast<uint32_t>(sx), static_cast<uint32_t>(sy), static_cast<uint32_t>(sz));
    if (!type || !type->material) return nullptr;
    const YBlockMaterial* m = type->material;
    *solid = !(m->shader && m->shader->IsBlended()) && !m->special;
    built_.push_back({world, type->halfExtents});
    types_.push_back(type);
    return type;
}
