#pragma once
// A splinter: one of the eight pieces a destroyed block leaves. It tumbles with its own small box
// body (not seen by rays), shrinks towards its corner of the block and disappears after about a
// second. Its three faces on the block's surface keep the block's outer shader; the three fracture
// faces use the material's inner shader.
//
// Each piece is a body of its own, so a mass of blocks breaking at once (a chain of blasts) would
// fill the world with thousands of them: past SPLINTER_SHARE_FROM live splinters a destroyed block
// leaves only its share of its pieces, falling linearly to none at SPLINTER_LIMIT (see
// SpawnBlockDebris).
#include "world/blocks/block.h"
#include "world/physics/rigid_body.h"

class YSplinter : public YBlock {
public:
    static constexpr int SPLINTER_SHARE_FROM = 128; // 16 blocks' worth
    static constexpr int SPLINTER_LIMIT = 384;
    // A piece of a block of `type` placed at `blockMatrix`: octant 0..7 (the corner order of the box
    // tables), how far it reaches towards each other corner (0.25..0.75), its life in seconds, and
    // the destroyed block's body whose motion it takes over (may be null).
    YSplinter(const YBlockType* type, const YMatrix& blockMatrix, int octant, const float splits[8], float life,
              YRigidBody* blockBody);
    ~YSplinter() override;

    // Splinters alive now.
    static int LiveCount();
    // The share of a destroyed block's pieces made now: 1 up to SPLINTER_SHARE_FROM live splinters,
    // 0 at SPLINTER_LIMIT.
    static float Share();

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
