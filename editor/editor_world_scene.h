#pragma once
// The editor's scene in the window: the data scene with the game's table and environment box, and
// the built blocks drawn as the game draws block faces.
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
    void DrawTable(int flags) override;
    void UpdateBlocks(float dt) override;
};
