#pragma once
// The editor's scene in the window: the data scene with the game's table and environment box, and
// every built block a game block (YBlockSingle) that the game's block step updates and draws. The
// editor never steps the physics world, so its blocks stay where they are placed.
#include <string>

#include "editor/editor_data_scene.h"

class EditorWorldScene : public EditorDataScene {
public:
    // Reads the table materials ("data\env.yml") and makes the table; reads the block materials
    // ("data\blocks.yml").
    EditorWorldScene();
    ~EditorWorldScene() override;

    float TableWidth() const override;
    float TableDepth() const override;
    void BuildTable(float width, float depth, const std::string& material) override;
    const std::string& EnvironmentName() const override;
    void SetEnvironment(const std::string& name) override;
    void DeleteAllBlocks() override;
    // A game block that carries the bonus builder and draws its preview when one can see into it.
    bool BuildBlock(const std::string& material, int sx, int sy, int sz, std::unique_ptr<YBonusBuilder> bonus,
                    const YMatrix& world, bool* solid) override;
    void DrawTable(int flags) override;
    void UpdateBlocks(float dt) override;
};
