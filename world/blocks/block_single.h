#pragma once
// A single block: one box of one block type with its own physics body. What the editor places and
// what a set item becomes when its glue breaks.
#include "render/scene/kept_shadow.h"
#include "world/blocks/block.h"
#include "world/physics/bump_event.h"
#include "world/physics/rigid_body.h"

class YBonusBuilder;
class YBlockSpecial;

class YBlockSingle : public YBlock, public YBumpEvent {
public:
    // A block of `type` at `world`, owning `bonus` (may be null), with the type's health, the
    // material's special, and a box body of the type's half extents and (softened) mass.
    YBlockSingle(const YBlockType* type, YBonusBuilder* bonus, const YMatrix& world);
    // Destruction: with effects on and a finite position, debris, the bonus (on the table) and the
    // score; always the bonus builder and special are deleted.
    ~YBlockSingle() override;

    void Place(const YMatrix& m) override;
    void Update(float dt) override;
    YBlock* ReachTest(uint32_t seed, const YVector& from, float maxDistance) override;

    // The special first, then a blast (other is this block's own listener) damages at once, then
    // the other object's BumpSingle decides. Static geometry does nothing to a single block.
    void OnContact(void* ownGeomData, YBumpEvent* other, const YVector* force, const YVector* torque,
                   const YVector* position, const YVector* normal, float depth) override;
    YVector GetPosition() const { return {matrix.m[12], matrix.m[13], matrix.m[14]}; }

    // A hit of strength s at p: the stroke sound, then the health; true when this hit killed it.
    bool Damage(float s, const YVector& p);

    YMatrix inverse;
    YBonusBuilder* bonus = nullptr;
    float bodyMass = 0.0f;
    YRigidBox body;
    YBlockSpecial* special = nullptr;
    const YBlockType* type;
    float health;
    float textureOffsets[2] = {0.0f, 0.0f};

    // What the block's placement gives, kept while it does not move: a body at rest (disabled) or
    // one whose placement is the same as last frame's keeps its corners, face normals and shadow
    // quads; Place and any change of placement build them again.
    YVector corners[8];
    YVector normals[6];
    YKeptShadow shadow;
    bool shapeKept = false;

private:
    // The inverse, corners and face normals from the matrix; the shadow quads are to be rebuilt.
    void Reshape();
};

// Widens the bounds by the world corners of every single block (the editor's view fit).
void GetSingleBlocksBounds(float& minX, float& maxX, float& minZ);
