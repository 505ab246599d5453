#include "world/level/level_loader.h"

#include <algorithm>

#include "core/init.h"
#include "core/log.h"
#include "render/scene/environment_box.h"
#include "render/shader.h"
#include "world/blocks/block.h"
#include "world/blocks/block_hooks.h"
#include "world/blocks/block_material.h"
#include "world/blocks/block_set.h"
#include "world/level/bonus_handout.h"
#include "world/level/level_file.h"
#include "world/level/level_state.h"
#include "world/physics/arena.h"
#include "world/physics/physics_world.h"
#include "world/physics/table_size.h"
#include "world/table/table.h"

namespace {

std::vector<YBlockSet*>& Sets() {
    static std::vector<YBlockSet*> sets;
    return sets;
}

// Moves the old layout's one set along x so that its items' centres are centred on the origin.
void CentreAlongX(YBlockSet* set) {
    float lo = 10000.0f, hi = -10000.0f;
    for (const YBlockItem* item : set->items) {
        lo = std::min(lo, item->position.x);
        hi = std::max(hi, item->position.x);
    }
    YMatrix m = set->matrix;
    m.m[12] -= (lo + hi) * 0.5f;
    set->Place(m);
}

void HandOut(const std::vector<int32_t>& fileCounts) {
    const YGameMode& mode = GetInit().CurrentGameMode();
    std::vector<int32_t> counts(LEVEL_BONUS_KINDS, 0);
    for (std::size_t k = 0; k < fileCounts.size() && k < counts.size(); ++k) counts[k] = fileCounts[k];
    std::vector<float> probabilities = mode.probabilities;
    probabilities.resize(LEVEL_BONUS_KINDS, 0.0f);
    std::vector<YBonusCandidate> candidates;
    std::vector<YBlockItem*> items;
    for (YBlockSet* set : Sets()) {
        for (YBlockItem* item : set->items) {
            YBonusCandidate c;
            c.placedKind = item->bonusKind;
            c.hasSpecial = item->type->material->special != nullptr;
            c.blended = item->type->material->shader && item->type->material->shader->IsBlended();
            candidates.push_back(c);
            items.push_back(item);
        }
    }
    const std::vector<int32_t> kinds = HandOutBonuses(counts, probabilities, candidates);
    for (std::size_t i = 0; i < items.size(); ++i) {
        items[i]->bonusKind = kinds[i];
        if (kinds[i] >= 0) items[i]->bonus = BlockHooks().createBonusBuilder(kinds[i]);
    }
}

} // namespace

const std::vector<YBlockSet*>& LevelSets() { return Sets(); }

bool LoadLevel(const std::string& path) {
    DeleteAllBlocks();
    g_PhysicsWorld.PhysicsStep(0.1f);
    Sets().clear();
    g_BlockWorld.levelRefused = true;

    const bool teleports = GetInit().CurrentGameMode().teleports;
    auto materialName = [teleports](const std::string& name) {
        return !teleports && name == "teleport" ? std::string("gl2") : name;
    };
    auto known = [&](const std::string& name) { return FindBlockMaterial(materialName(name)) != nullptr; };
    YLevelData level;
    std::string error;
    if (!ReadLevelFile(path.c_str(), level, error, known)) {
        LogPrintf(g_Log, "Level \"%s\" not loaded: %s", path.c_str(), error.c_str());
        return false;
    }

    ClearBlockTypeCaches();
    g_Level.scale = level.scale;
    if (g_Table)
        g_Table->Build(level.width, level.depth, level.tableMaterial.c_str());
    else
        g_TableSize.Set(level.width, level.depth);
    g_EnvironmentBox.SetEnvironment(level.environment.c_str());

    for (const YLevelSet& data : level.sets) {
        if (data.blocks.empty()) continue;
        YBlockSet* set = new YBlockSet;
        set->Place(data.matrix);
        for (const YLevelBlock& b : data.blocks) {
            const YBlockType* type = FindBlockType(materialName(b.material), static_cast<uint32_t>(b.sx),
                                                   static_cast<uint32_t>(b.sy), static_cast<uint32_t>(b.sz));
            if (type) set->AddItem(type, b.x, b.y, b.z, b.glue, b.bonus);
        }
        if (set->items.empty()) {
            delete set;
            continue;
        }
        set->BuildEdges();
        set->Finish();
        if (level.oldLayout && level.centreFlag) CentreAlongX(set);
        Sets().push_back(set);
    }
    HandOut(level.bonusCounts);
    // Splitting may make new sets; prepare a copy of the list.
    const std::vector<YBlockSet*> sets = Sets();
    for (YBlockSet* set : sets) PrepareBlockSet(set, true);
    g_BlockWorld.fewBlocksTimer = 0.0f;
    g_BlockWorld.blocksLeft = 1;
    g_BlockWorld.levelRefused = false;
    return true;
}
