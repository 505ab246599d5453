#pragma once
// A scene for the editor's tests: holds the scale, table and environment as plain values, knows a
// fixed list of materials, and records the blocks it is asked to build with the bonus builders
// they carry.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "editor/editor_scene.h"
#include "world/bonus/bonus_builders.h"
#include "world/bonus/bonus_registry.h"

// The registry kind whose entry makes a builder like `b`: -1 for none, -2 for one the registry
// does not make.
inline int RegistryKindOf(const YBonusBuilder* b) {
    if (!b) return -1;
    if (dynamic_cast<const YBonusFourBallSmall*>(b)) return BonusKindIndex(BonusKind::FourSmallBalls);
    if (const auto* ball = dynamic_cast<const YBonusBuilderBall*>(b)) {
        if (ball->modeIndex == 8) return BonusKindIndex(BonusKind::SmallBall);
        return ball->modeIndex >= 0 && ball->modeIndex < 8 ? BonusKindIndex(BonusKind::NewBallNormal) + ball->modeIndex
                                                           : -2;
    }
    if (const auto* give = dynamic_cast<const YBonusBuilderGive*>(b)) {
        for (int kind = 0; IsFallingBonus(BonusKindAt(kind)); ++kind) {
            const std::unique_ptr<YBonusBuilder> fresh(CreateBonusBuilder(kind));
            if (static_cast<const YBonusBuilderGive*>(fresh.get())->factory == give->factory) return kind;
        }
    }
    return -2;
}

struct FakeScene : EditorScene {
    struct Built {
        std::string material;
        int sx, sy, sz;
        int bonus; // the registry kind of the carried builder, -1 none
        YMatrix world;
        std::shared_ptr<YBonusBuilder> builder;
    };

    YVector scale{1, 1, 1};
    float width = 20.0f, depth = 30.0f;
    std::string tableMaterial = "default";
    std::string environment = "sky";
    std::vector<std::string> environments{"sky", "night"};
    // "glass" is not solid (blended); every other known material is.
    std::vector<std::string> materials{"stone", "glass", "wood"};
    std::vector<Built> built;
    std::vector<EditorBuiltBlock> boxes;
    int deletes = 0;
    int cacheClears = 0;
    int tableBuilds = 0;

    YVector LevelScale() const override { return scale; }
    void SetLevelScale(const YVector& s) override { scale = s; }
    float TableWidth() const override { return width; }
    float TableDepth() const override { return depth; }
    void BuildTable(float w, float d, const std::string& material) override {
        width = w, depth = d, tableMaterial = material;
        ++tableBuilds;
    }
    const std::string& EnvironmentName() const override { return environment; }
    void SetEnvironment(const std::string& name) override {
        environment = std::find(environments.begin(), environments.end(), name) != environments.end()
                          ? name
                          : environments.front();
    }
    bool HasMaterial(const std::string& name) const override {
        return std::find(materials.begin(), materials.end(), name) != materials.end();
    }
    std::string FirstMaterial() const override { return materials.empty() ? "" : materials.front(); }
    void DeleteAllBlocks() override {
        built.clear();
        boxes.clear();
        ++deletes;
    }
    void ClearBlockTypeCaches() override { ++cacheClears; }
    bool BuildBlock(const std::string& material, int sx, int sy, int sz, std::unique_ptr<YBonusBuilder> bonus,
                    const YMatrix& world, bool* solid) override {
        if (!HasMaterial(material)) return false;
        const int kind = RegistryKindOf(bonus.get());
        built.push_back({material, sx, sy, sz, kind, world, std::move(bonus)});
        boxes.push_back({world, YVector(sx * scale.x * 0.5f, sy * scale.y * 0.5f, sz * scale.z * 0.5f)});
        *solid = material != "glass";
        return true;
    }
    const std::vector<EditorBuiltBlock>& BuiltBlocks() const override { return boxes; }
    void DrawTable(int) override {}
    void UpdateBlocks(float) override {}
};
