#pragma once
// A scene for the editor's tests: holds the scale, table and environment as plain values, knows a
// fixed list of materials, and records the blocks it is asked to build.
#include <algorithm>
#include <string>
#include <vector>

#include "editor/editor_scene.h"

struct FakeScene : EditorScene {
    struct Built {
        std::string material;
        int sx, sy, sz, bonus;
        YMatrix world;
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
    bool BuildBlock(const std::string& material, int sx, int sy, int sz, int bonus, const YMatrix& world,
                    bool* solid) override {
        if (!HasMaterial(material)) return false;
        built.push_back({material, sx, sy, sz, bonus, world});
        boxes.push_back({world, YVector(sx * scale.x * 0.5f, sy * scale.y * 0.5f, sz * scale.z * 0.5f)});
        *solid = material != "glass";
        return true;
    }
    const std::vector<EditorBuiltBlock>& BuiltBlocks() const override { return boxes; }
    void DrawTable(int) override {}
    void UpdateBlocks(float) override {}
};
