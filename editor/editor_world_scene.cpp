#include "editor/editor_world_scene.h"

#include "render/scene/environment_box.h"

// The table, the block materials and the game blocks are not in this tree yet: until they are, the
// table is only its size and material, no material is known and no block is built.

EditorWorldScene::EditorWorldScene() = default;

void EditorWorldScene::BuildTable(float width, float depth, const std::string& material) {
    width_ = width;
    depth_ = depth;
    tableMaterial_ = material;
}

const std::string& EditorWorldScene::EnvironmentName() const { return g_EnvironmentBox.CurrentName(); }

void EditorWorldScene::SetEnvironment(const std::string& name) { g_EnvironmentBox.SetEnvironment(name.c_str()); }

bool EditorWorldScene::HasMaterial(const std::string&) const { return false; }

std::string EditorWorldScene::FirstMaterial() const { return std::string(); }

void EditorWorldScene::DeleteAllBlocks() { built_.clear(); }

void EditorWorldScene::ClearBlockTypeCaches() {}

bool EditorWorldScene::BuildBlock(const std::string&, int, int, int, int, const YMatrix&, bool*) { return false; }

void EditorWorldScene::DrawTable(int) {}

void EditorWorldScene::UpdateBlocks(float) {}
