#pragma once
// The editor's scene over the game's world: the environment box, and the level scale, table and
// blocks as the editor shows them.
#include <string>
#include <vector>

#include "editor/editor_scene.h"

class EditorWorldScene : public EditorScene {
public:
    EditorWorldScene();

    YVector LevelScale() const override { return scale_; }
    void SetLevelScale(const YVector& scale) override { scale_ = scale; }
    float TableWidth() const override { return width_; }
    float TableDepth() const override { return depth_; }
    void BuildTable(float width, float depth, const std::string& material) override;
    const std::string& EnvironmentName() const override;
    void SetEnvironment(const std::string& name) override;
    bool HasMaterial(const std::string& name) const override;
    std::string FirstMaterial() const override;
    void DeleteAllBlocks() override;
    void ClearBlockTypeCaches() override;
    bool BuildBlock(const std::string& material, int sx, int sy, int sz, int bonus, const YMatrix& world,
                    bool* solid) override;
    const std::vector<EditorBuiltBlock>& BuiltBlocks() const override { return built_; }
    void DrawTable(int flags) override;
    void UpdateBlocks(float dt) override;

private:
    YVector scale_{1.0f, 1.0f, 1.0f};
    float width_ = 20.0f;
    float depth_ = 30.0f;
    std::string tableMaterial_ = "default";
    std::vector<EditorBuiltBlock> built_;
};
