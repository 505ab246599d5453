#include "editor/editor_world_scene.h"

#include "render/scene/environment_box.h"
#include "world/blocks/block.h"
#include "world/blocks/block_material.h"
#include "world/blocks/block_single.h"
#include "world/blocks/bonus_builder.h"
#include "world/table/table.h"
#include "world/table/table_materials.h"

EditorWorldScene::EditorWorldScene() {
    LoadTableMaterials("data\\env.yml");
    if (!g_Table) g_Table = new YTable();
    LoadBlockMaterials("data\\blocks.yml");
}

EditorWorldScene::~EditorWorldScene() { ::DeleteAllBlocks(); }

float EditorWorldScene::TableWidth() const { return g_Table ? g_Table->width : width_; }

float EditorWorldScene::TableDepth() const { return g_Table ? g_Table->depth : depth_; }

void EditorWorldScene::BuildTable(float width, float depth, const std::string& material) {
    EditorDataScene::BuildTable(width, depth, material);
    if (g_Table) g_Table->Build(width, depth, material.c_str());
}

const std::string& EditorWorldScene::EnvironmentName() const { return g_EnvironmentBox.CurrentName(); }

void EditorWorldScene::SetEnvironment(const std::string& name) { g_EnvironmentBox.SetEnvironment(name.c_str()); }

void EditorWorldScene::DrawTable(int flags) {
    if (g_Table) g_Table->Draw(flags);
}

void EditorWorldScene::DeleteAllBlocks() {
    EditorDataScene::DeleteAllBlocks();
    ::DeleteAllBlocks();
}

bool EditorWorldScene::BuildBlock(const std::string& material, int sx, int sy, int sz,
                                  std::unique_ptr<YBonusBuilder> bonus, const YMatrix& world, bool* solid) {
    const YBlockType* type = RecordBlock(material, sx, sy, sz, world, solid);
    if (!type) return false;
    new YBlockSingle(type, bonus.release(), world); // joins the game's block list, which owns it
    return true;
}

void EditorWorldScene::UpdateBlocks(float dt) { UpdateAllBlocks(dt); }
