#include "editor/editor_level_file.h"

#include <algorithm>

#include "core/log.h"
#include "editor/editor_level.h"
#include "editor/editor_scene.h"
#include "world/level/level_file.h"

static_assert(EDITOR_BONUS_COUNT_MAX == LEVEL_BONUS_COUNT_MAX);

bool SaveEditorLevel(const EditorLevel& level, const EditorScene& scene, const std::string& path, std::string& error) {
    YLevelData data;
    data.oldLayout = false;
    data.version = LEVEL_VERSION;
    data.scale = scene.LevelScale();
    data.width = scene.TableWidth();
    data.depth = scene.TableDepth();
    data.tableMaterial = level.tableMaterial;
    data.environment = scene.EnvironmentName();
    data.bonusCounts.reserve(BONUS_KIND_COUNT);
    // A count holds the bonuses placed on blocks too (the game takes those off before it hands out
    // the rest). Editing keeps it so; a file read with a lower count is written with at least its
    // placed ones.
    for (const EditorBonusCount& c : level.bonusCounts) data.bonusCounts.push_back(std::max(c.count, c.placed));
    data.sets.reserve(level.groups.size());
    for (const EditorGroup& g : level.groups) {
        YLevelSet set;
        set.matrix = g.matrix;
        set.blocks.reserve(g.blocks.size());
        for (const EditorBlock& b : g.blocks) {
            YLevelBlock out;
            out.x = b.x, out.y = b.y, out.z = b.z;
            out.sx = b.sx, out.sy = b.sy, out.sz = b.sz;
            out.material = b.material;
            out.glue = b.glue;
            out.bonus = b.bonus;
            set.blocks.push_back(std::move(out));
        }
        data.sets.push_back(std::move(set));
    }
    // The codec refuses what its readers would refuse and writes through a temporary file, so a
    // failed save leaves the old file whole.
    return WriteLevelFile(path.c_str(), data, error);
}

bool LoadEditorLevel(EditorLevel& level, EditorScene& scene, const std::string& path, std::string& error) {
    // The whole file is read and checked before anything changes: a broken file costs no work.
    YLevelData data;
    if (!ReadLevelFile(path.c_str(), data, error)) return false;

    level.ClearLevel();
    scene.ClearBlockTypeCaches();
    scene.SetLevelScale(data.scale);
    level.tableMaterial = data.tableMaterial;
    scene.BuildTable(data.width, data.depth, data.tableMaterial);
    scene.SetEnvironment(data.environment);

    const std::size_t counts = std::min<std::size_t>(data.bonusCounts.size(), BONUS_KIND_COUNT);
    for (std::size_t i = 0; i < counts; ++i) level.bonusCounts[i] = {0, data.bonusCounts[i]};

    // A file with no set still gives the editor its one (empty) group.
    if (!data.sets.empty()) {
        level.groups.clear();
        level.groups.resize(data.sets.size());
    }
    for (std::size_t s = 0; s < data.sets.size(); ++s) {
        const YLevelSet& set = data.sets[s];
        EditorGroup& g = level.groups[s];
        g.matrix = set.matrix;
        g.blocks.reserve(set.blocks.size());
        for (const YLevelBlock& in : set.blocks) {
            EditorBlock b;
            b.x = in.x, b.y = in.y, b.z = in.z;
            b.sx = in.sx, b.sy = in.sy, b.sz = in.sz;
            b.material = in.material;
            b.glue = in.glue;
            b.bonus = in.bonus;
            if (b.bonus >= 0 && b.bonus < BONUS_KIND_COUNT)
                ++level.bonusCounts[static_cast<std::size_t>(b.bonus)].placed;
            g.blocks.push_back(std::move(b));
        }
    }
    level.currentGroup = 0;
    level.RebuildScene();
    return true;
}

namespace {

const std::string kLevelFolder = "levels\\";

} // namespace

bool SaveEditorLevelNamed(const EditorLevel& level, const EditorScene& scene, const std::string& name) {
    std::string error;
    if (SaveEditorLevel(level, scene, kLevelFolder + name, error)) return true;
    LogPrintf(g_Log, "Save level error, %s, file: %s%s", error.c_str(), kLevelFolder.c_str(), name.c_str());
    return false;
}

bool LoadEditorLevelNamed(EditorLevel& level, EditorScene& scene, const std::string& name) {
    std::string error;
    if (LoadEditorLevel(level, scene, kLevelFolder + name, error)) return true;
    LogPrintf(g_Log, "Load level error, %s, file: %s%s", error.c_str(), kLevelFolder.c_str(), name.c_str());
    return false;
}
