#pragma once
// The level as the editor holds it: groups of blocks on an integer cell grid, each group with its
// placement matrix, plus one bonus count per bonus kind; and the tools the editor edits it with
// (cursor, cursor size, current material, glue and bonus, edit mode).
//
// Every change ends by rebuilding the visible scene from this data through an EditorScene, so the
// scene always shows the data. The scene is not owned; without one nothing is built.
#include <array>
#include <string>
#include <vector>

#include "core/bonus_kind.h"
#include "math/matrix.h"
#include "world/bonus/bonus_registry.h"

class EditorScene;

// Largest bonus count a level file holds.
constexpr int EDITOR_BONUS_COUNT_MAX = 100000;

// What the "action" command does at the cursor.
enum EditorMode { EDIT_MODE_NEW = 0, EDIT_MODE_DEL = 1, EDIT_MODE_BONUS = 2, EDIT_MODE_MAT = 3, EDIT_MODE_GLUE = 4 };
constexpr int EDIT_MODE_COUNT = 5;
// "new", "del", "bonus", "mat", "glue"; "" outside 0..4.
const char* EditorModeName(int mode);

// A cell position or a size in cells.
struct EditorCell {
    int x = 0, y = 0, z = 0;
    bool operator==(const EditorCell&) const = default;
};

struct EditorBlock {
    int x = 0, y = 0, z = 0;    // lowest corner cell in the group
    int sx = 1, sy = 1, sz = 1; // size in cells
    int bonus = -1;             // bonus kind of the registry, -1 none
    float glue = 35.0f;
    std::string material;
};

struct EditorGroup {
    EditorGroup();  // identity matrix, no blocks
    YMatrix matrix; // the group's cell frame in the world
    std::vector<EditorBlock> blocks;
};

struct EditorBonusCount {
    int placed = 0; // blocks that carry this kind
    int count = 0;  // bonuses of this kind in the level, those on blocks included
};

// Recomputed by every scene rebuild; shown by the status line.
struct EditorStatus {
    int built = 0;        // blocks built
    int solid = 0;        // built blocks whose material is opaque and has no special behaviour
    float maxGlue = 0.0f; // highest glue among the built blocks
};

class EditorLevel {
public:
    EditorLevel();

    // The level data. The list of groups is never empty.
    std::vector<EditorGroup> groups;
    int currentGroup = 0;
    std::array<EditorBonusCount, BONUS_KIND_COUNT> bonusCounts{};
    bool showAll = true;
    // Set by input and edits whenever the cached background picture may be stale; the frame clears
    // it when it draws the background again.
    int redrawFlag = 1;

    // The editing tools.
    EditorCell cursor;
    EditorCell cursorSize{1, 1, 1};
    float curGlue = 35.0f;
    int editMode = EDIT_MODE_NEW;
    std::string curMaterial;
    int curBonus = 0;

    // The table material written to the level file, and the file name the statements "load=" and
    // "save=" remember.
    std::string tableMaterial = "default";
    std::string levelName;

    EditorStatus status;
    EditorScene* scene = nullptr; // not owned

    EditorGroup& CurrentGroup() { return groups[static_cast<std::size_t>(currentGroup)]; }
    const EditorGroup& CurrentGroup() const { return groups[static_cast<std::size_t>(currentGroup)]; }
    int BlockCount() const; // blocks of all groups

    // Index of the first block of the current group whose cells overlap the cursor box (the cursor
    // size in mode "new", one cell otherwise), or -1.
    int FindBlockAtCursor() const;
    // The action of the edit mode at the cursor.
    void DoAction();
    void AddBlockAtCursor();
    // The hit block is overwritten by the group's last block, which is then removed.
    void DeleteBlockAtCursor();
    void SetBlockBonusAtCursor();
    void SetBlockMaterialAtCursor();
    void SetBlockGlueAtCursor();

    // placed := blocks per kind; count := max(count, placed). No rebuild.
    void RecountBonuses();
    // count of curBonus := max(value, placed), value held to 0..EDITOR_BONUS_COUNT_MAX; returns it, or -1
    // while curBonus < 0. No rebuild.
    int SetBonusCount(int value);
    // Every block's glue := min(glue, curGlue).
    void ClampGlueToCurrent();
    // Every count := placed.
    void ResetBonusCounts();

    void NewGroup();
    // n < 1: the current group; 1..groups: group n; larger fails. Never leaves the list empty.
    bool DeleteGroup(int n);
    // n is 1-based; fails outside 1..groups.
    bool SelectGroup(int n);
    void SetShowAll(bool show);
    void ResetGroupMove();
    void ResetGroupRotation();

    // One empty group, every count 0, no blocks in the scene. The tools stay. No rebuild.
    void ClearLevel();
    // Deletes the scene's blocks and builds those of every group (or only the current one while
    // showAll is false), recounting the status.
    void RebuildScene();
    // Every block of the group into the scene; a block with a bonus carries a new builder of its
    // kind from the bonus registry.
    void BuildGroupBlocks(const EditorGroup& group);

    // Whether the cell box (position, size) overlaps the block: on every axis
    // |2 (p - b) - bs + s| < bs + s, in integers.
    static bool Overlaps(const EditorBlock& block, const EditorCell& pos, const EditorCell& size);

private:
    int FindBlockIn(const EditorCell& size) const;
};
