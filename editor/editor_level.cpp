#include "editor/editor_level.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "editor/editor_matrix.h"
#include "editor/editor_scene.h"
#include "world/blocks/bonus_builder.h"
#include "world/bonus/bonus_registry.h"

const char* EditorModeName(int mode) {
    static const char* const names[EDIT_MODE_COUNT] = {"new", "del", "bonus", "mat", "glue"};
    return mode >= 0 && mode < EDIT_MODE_COUNT ? names[mode] : "";
}

EditorGroup::EditorGroup() : matrix(MatrixDiagonal(1.0f)) {}

EditorLevel::EditorLevel() { groups.emplace_back(); }

int EditorLevel::BlockCount() const {
    int n = 0;
    for (const EditorGroup& g : groups) n += static_cast<int>(g.blocks.size());
    return n;
}

bool EditorLevel::Overlaps(const EditorBlock& b, const EditorCell& p, const EditorCell& s) {
    // Two half-open cell ranges [b, b + bs) and [p, p + s) intersect when their centres are closer
    // than their half lengths together; doubled to stay in integers (64-bit: no overflow).
    auto axis = [](long long bp, long long bs, long long cp, long long cs) {
        return std::llabs(2 * (cp - bp) - bs + cs) < bs + cs;
    };
    return axis(b.x, b.sx, p.x, s.x) && axis(b.y, b.sy, p.y, s.y) && axis(b.z, b.sz, p.z, s.z);
}

int EditorLevel::FindBlockIn(const EditorCell& size) const {
    const std::vector<EditorBlock>& blocks = CurrentGroup().blocks;
    for (std::size_t i = 0; i < blocks.size(); ++i)
        if (Overlaps(blocks[i], cursor, size)) return static_cast<int>(i);
    return -1;
}

int EditorLevel::FindBlockAtCursor() const {
    return FindBlockIn(editMode == EDIT_MODE_NEW ? cursorSize : EditorCell{1, 1, 1});
}

void EditorLevel::DoAction() {
    switch (editMode) {
        case EDIT_MODE_NEW: AddBlockAtCursor(); break;
        case EDIT_MODE_DEL: DeleteBlockAtCursor(); break;
        case EDIT_MODE_BONUS: SetBlockBonusAtCursor(); break;
        case EDIT_MODE_MAT: SetBlockMaterialAtCursor(); break;
        case EDIT_MODE_GLUE: SetBlockGlueAtCursor(); break;
        default: break;
    }
}

void EditorLevel::AddBlockAtCursor() {
    if (FindBlockIn(cursorSize) >= 0) return;
    EditorBlock block;
    block.x = cursor.x, block.y = cursor.y, block.z = cursor.z;
    block.sx = cursorSize.x, block.sy = cursorSize.y, block.sz = cursorSize.z;
    block.bonus = -1;
    block.glue = curGlue;
    block.material = curMaterial;
    CurrentGroup().blocks.push_back(std::move(block));
    RebuildScene();
}

void EditorLevel::DeleteBlockAtCursor() {
    const int i = FindBlockIn({1, 1, 1});
    if (i < 0) return;
    std::vector<EditorBlock>& blocks = CurrentGroup().blocks;
    if (static_cast<std::size_t>(i) + 1 != blocks.size()) blocks[static_cast<std::size_t>(i)] = blocks.back();
    blocks.pop_back();
    // A deleted block may have carried a bonus: the placed counts must follow.
    RecountBonuses();
    RebuildScene();
}

void EditorLevel::SetBlockBonusAtCursor() {
    const int i = FindBlockIn({1, 1, 1});
    if (i < 0) return;
    CurrentGroup().blocks[static_cast<std::size_t>(i)].bonus = curBonus;
    RecountBonuses();
    RebuildScene();
}

void EditorLevel::SetBlockMaterialAtCursor() {
    const int i = FindBlockIn({1, 1, 1});
    if (i < 0) return;
    CurrentGroup().blocks[static_cast<std::size_t>(i)].material = curMaterial;
    RebuildScene();
}

void EditorLevel::SetBlockGlueAtCursor() {
    const int i = FindBlockIn({1, 1, 1});
    if (i < 0) return;
    CurrentGroup().blocks[static_cast<std::size_t>(i)].glue = curGlue;
    RebuildScene();
}

void EditorLevel::RecountBonuses() {
    for (EditorBonusCount& c : bonusCounts) c.placed = 0;
    for (const EditorGroup& g : groups)
        for (const EditorBlock& b : g.blocks) {
            if (b.bonus < 0 || b.bonus >= BONUS_KIND_COUNT) continue;
            EditorBonusCount& c = bonusCounts[static_cast<std::size_t>(b.bonus)];
            ++c.placed;
            c.count = std::max(c.count, c.placed);
        }
}

int EditorLevel::SetBonusCount(int value) {
    if (curBonus < 0 || curBonus >= BONUS_KIND_COUNT) return -1;
    EditorBonusCount& c = bonusCounts[static_cast<std::size_t>(curBonus)];
    // A count the level file cannot hold would make the saved level unreadable.
    c.count = std::max(std::clamp(value, 0, EDITOR_BONUS_COUNT_MAX), c.placed);
    return c.count;
}

void EditorLevel::ClampGlueToCurrent() {
    for (EditorGroup& g : groups)
        for (EditorBlock& b : g.blocks) b.glue = std::min(b.glue, curGlue);
    RebuildScene();
}

void EditorLevel::ResetBonusCounts() {
    for (EditorBonusCount& c : bonusCounts) c.count = c.placed;
    RebuildScene();
}

void EditorLevel::NewGroup() {
    groups.emplace_back();
    currentGroup = static_cast<int>(groups.size()) - 1;
    RebuildScene();
}

bool EditorLevel::DeleteGroup(int n) {
    const int size = static_cast<int>(groups.size());
    if (n > size) return false;
    const int index = n < 1 ? currentGroup : n - 1;
    groups.erase(groups.begin() + index);
    if (groups.empty()) {
        currentGroup = 0;
        NewGroup(); // rebuilds
    } else {
        if (currentGroup >= static_cast<int>(groups.size())) currentGroup = static_cast<int>(groups.size()) - 1;
        RecountBonuses();
        RebuildScene();
    }
    return true;
}

bool EditorLevel::SelectGroup(int n) {
    if (n < 1 || n > static_cast<int>(groups.size())) return false;
    currentGroup = n - 1;
    RebuildScene();
    return true;
}

void EditorLevel::SetShowAll(bool show) {
    showAll = show;
    RebuildScene();
}

void EditorLevel::ResetGroupMove() {
    YMatrix& m = CurrentGroup().matrix;
    m.m[12] = m.m[13] = m.m[14] = 0.0f;
    RebuildScene();
}

void EditorLevel::ResetGroupRotation() {
    YMatrix& m = CurrentGroup().matrix;
    YMatrix identity = MatrixDiagonal(1.0f);
    identity.m[12] = m.m[12], identity.m[13] = m.m[13], identity.m[14] = m.m[14];
    m = identity;
    RebuildScene();
}

void EditorLevel::ClearLevel() {
    if (scene) scene->DeleteAllBlocks();
    status.built = 0;
    status.solid = 0;
    groups.clear();
    groups.emplace_back();
    currentGroup = 0;
    bonusCounts.fill(EditorBonusCount{});
}

void EditorLevel::RebuildScene() {
    if (scene) scene->DeleteAllBlocks();
    status = EditorStatus{};
    if (showAll) {
        for (const EditorGroup& g : groups) BuildGroupBlocks(g);
    } else {
        BuildGroupBlocks(CurrentGroup());
    }
}

void EditorLevel::BuildGroupBlocks(const EditorGroup& group) {
    if (!scene) return;
    const YVector scale = scene->LevelScale();
    for (const EditorBlock& b : group.blocks) {
        const YVector centre((static_cast<float>(b.x) + static_cast<float>(b.sx) * 0.5f) * scale.x,
                             (static_cast<float>(b.y) + static_cast<float>(b.sy) * 0.5f) * scale.y,
                             (static_cast<float>(b.z) + static_cast<float>(b.sz) * 0.5f) * scale.z);
        YMatrix translation;
        translation.MatrixSetTranslation(centre);
        // The translation applies first, then the group's placement.
        const YMatrix world = group.matrix * translation;
        std::unique_ptr<YBonusBuilder> bonus;
        if (b.bonus >= 0 && b.bonus < BONUS_KIND_COUNT) bonus.reset(CreateBonusBuilder(b.bonus));
        bool solid = false;
        // A block whose material has no block type is left out of the scene; its data stays.
        if (!scene->BuildBlock(b.material, b.sx, b.sy, b.sz, std::move(bonus), world, &solid)) continue;
        ++status.built;
        if (solid) ++status.solid;
        status.maxGlue = std::max(status.maxGlue, b.glue);
    }
}
