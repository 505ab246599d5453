#pragma once
// A splinter: one of the eight pieces a destroyed block leaves. It tumbles with its own small box
// body (not seen by rays), shrinks towards its corner of the block and disappears after about a
// second. Its three faces on the block's surface keep the block's outer shader; the three fracture
// faces use the material's inner shader.
#include "world/blocks/block.h"
#include "world/physics/rigid_body.h"

class YSplinter : public YBlock {
public:
    // A piece of a block of `type` placed at `blockMatrix`: octant 0..7 (the corner order of the box
    // tables), how far it reaches towards each other corner (0.25..0.75), its life in seconds, and
    // the destroyed block's body whose motion it takes over (may be null).
    YSplinter(const YBlockType* type, const YMatrix& blockMatrix, int octant, const float splits[8], float life,
              YRigidBody* blockBody);

    // `m` is the frame of the whole block; the body sits at the piece's offset in it.
    void Place(const YMatrix& m) override;
    void Update(float dt) override;

    const YBlockType* type;
    YVector offset; // centre of the piece's box from the block centre, in the block's frame
    int octant;
    float splits[8];
    float life, initialLife;
    YRigidBox body;
};
