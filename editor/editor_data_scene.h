#pragma once
// A scene that holds the level's scale, table and environment as plain values and knows the block
// materials of "data\blocks.yml": enough to edit, save and load levels without a window. It
// records the blocks it is asked to build with their block types; the editor's world scene draws
// them, and the level script tool only stores them.
#include <string>
#include <vector>

#include "editor/editor_scene.h"

struct YBlockType;

class EditorDataScene : public EditorScene {
public:
    YVector LevelScale() const override;
    void SetLevelScale(const YVector& scale) override;
    float TableWidth() const override { return width_; }
    float TableDepth() const override { return depth_; }
    void BuildTable(float width, float depth, const std::string& material) override;
    const std::string& EnvironmentName() const override { return environment_; }
    void SetEnvironment(const std::string& name) override { environment_ = name; }
    bool HasMaterial(const std::string& name) const override;
    std::string FirstMaterial() const override;
    void DeleteAllBlocks() override;
    void ClearBlockTypeCaches() override;
    // Records the block; the bonus builder is not kept (no game block carries it).
    bool BuildBlock(const std::string& material, int sx, int sy, int sz, std::unique_ptr<YBonusBuilder> bonus,
                    const YMatrix& world, bool* solid) override;
    const std::vector<EditorBuiltBlock>& BuiltBlocks() const override { return built_; }
    void DrawTable(int) override {}
    void UpdateBlocks(float) override {}

protected:
    // The block type of the material and size, recorded as built at the world matrix; null (nothing
    // recorded) when the material or size gives none.
    const YBlockType* RecordBlock(const std::string& material, int sx, int sy, int sz, const YMatrix& world,
                                  bool* solid);

    float width_ = 20.0f;
    float depth_ = 20.0f;
    std::string tableMaterial_ = "default";
    std::string environment_;
    std::vector<EditorBuiltBlock> built_;
    std::vector<const YBlockType*> types_; // parallel to built_
};
