#pragma once
// What the editor needs of the game world to show and store its level: the level scale, the
// table, the environment, the block materials and the game blocks built from the editor's data.
// The editor's own code talks only to this interface, so its editing, console and file handling
// run the same against the game's world and against a recording scene in tests.
#include <memory>
#include <string>
#include <vector>

#include "math/matrix.h"
#include "math/vector.h"

class YBonusBuilder;

// One block the last rebuild made: its world matrix and the half size of its box.
struct EditorBuiltBlock {
    YMatrix world;
    YVector halfSize;
};

class EditorScene {
public:
    virtual ~EditorScene() = default;

    // World units per cell along x, y and z.
    virtual YVector LevelScale() const = 0;
    virtual void SetLevelScale(const YVector& scale) = 0;

    // Full width (x) and depth (y) of the table.
    virtual float TableWidth() const = 0;
    virtual float TableDepth() const = 0;
    virtual void BuildTable(float width, float depth, const std::string& material) = 0;

    virtual const std::string& EnvironmentName() const = 0;
    // An unknown name gives the first listed environment.
    virtual void SetEnvironment(const std::string& name) = 0;

    // Whether a block material of exactly this name exists; the name of the first one ("" when
    // there is none).
    virtual bool HasMaterial(const std::string& name) const = 0;
    virtual std::string FirstMaterial() const = 0;

    virtual void DeleteAllBlocks() = 0;
    // Forgets every material's block types (their geometry depends on the level scale).
    virtual void ClearBlockTypeCaches() = 0;
    // Builds one game block of the material and cell size at the world matrix, carrying the bonus
    // builder (null: no bonus), which the block then owns and shows inside itself as the game does.
    // False when the material gives no block type: nothing is built and the builder is deleted.
    // `solid` says whether the material is opaque and has no special behaviour.
    virtual bool BuildBlock(const std::string& material, int sx, int sy, int sz, std::unique_ptr<YBonusBuilder> bonus,
                            const YMatrix& world, bool* solid) = 0;
    // The blocks built since the last DeleteAllBlocks.
    virtual const std::vector<EditorBuiltBlock>& BuiltBlocks() const = 0;

    // The frame: the table with the drawing flags (1 colour, 2 depth only, 4 the rest; 7 all), and
    // the built blocks' update, which queues their faces for drawing.
    virtual void DrawTable(int flags) = 0;
    virtual void UpdateBlocks(float dt) = 0;
};
