#include "editor/editor_world_scene.h"

#include "render/scene/environment_box.h"
#include "world/blocks/block_faces.h"
#include "world/blocks/block_material.h"
#include "world/table/table.h"
#include "world/table/table_materials.h"

EditorWorldScene::EditorWorldScene() {
    LoadTableMaterials("data\\env.yml");
    if (!g_Table) g_Table = new YTable();
    LoadBlockMaterials("data\\blocks.yml");
}

EditorWorldScene::~EditorWorldScene() = default;

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

void EditorWorldScene::UpdateBlocks(float) {
    // Every face of every built block, each frame, into the game's block face list.
    std::vector<YBlockFace>& faces = BlockFaceList();
    faces.clear();
    static const float noOffset[2] = {0.0f, 0.0f};
    for (std::size_t i = 0; i < built_.size(); ++i) {
        const YBlockType* type = types_[i];
        const YMatrix& world = built_[i].world;
        const YVector h = type->halfExtents;
        YVector corners[8];
        for (int k = 0; k < 8; ++k) {
            const YVector& s = BOX_CORNER_SIGNS[k];
            corners[k] = world.TransformPoint(YVector(s.x * h.x, s.y * h.y, s.z * h.z));
        }
        const YMatrix rotation = world.GetRotation();
        for (int f = 0; f < 6; ++f) {
            const int* c = BOX_FACE_CORNERS[f];
            const YVector normal = rotation.TransformPoint(BOX_FACE_NORMALS[f]);
            BuildBlockFace(AddBlockFace(), corners[c[0]], corners[c[1]], corners[c[2]], corners[c[3]], normal,
                           type->material->shader, -1.0f, noOffset);
        }
    }
    QueueBlockFaces();
}
