#pragma once
// The seven special behaviours of block materials: "fire", "water", "electro", "generator",
// "teleport", "heavy" and "tnt". Each block (or set item) of such a material owns one object of
// its kind. The special is asked first about every contact of its block and may swallow it; it
// changes touching balls' modes, moves touching objects elsewhere or makes the block explode, and
// gets a call every frame for its effects and timers.
#include <vector>

#include "math/matrix.h"
#include "math/vector.h"
#include "world/balls/ball_effects.h"
#include "world/blocks/block_special.h"

class YZDelete;

// Registers the seven kinds in their order (once; later calls do nothing). Must run before the
// block materials are read.
void RegisterBlockSpecials();

// A special that works with its block's placement: world is the block's (or the set item's) world
// matrix, size its extent in world units.
class YBlockSpecial2 : public YBlockSpecial {
public:
    void Update(float dt, YBlockSingle* block) override;
    void Update(float dt, YBlockSet* set, YBlockItem* item) override;
    virtual void UpdatePlaced(float dt, const YMatrix* world, const YVector* size) = 0;
};

// Sets touching balls on fire; flames rise from the block.
class YBlockFire : public YBlockSpecial2 {
public:
    bool Hit(YBumpEvent* other, YBlockSingle* block) override;
    bool Hit(YBumpEvent* other, YBlockSet* set, YBlockItem* item) override;
    void UpdatePlaced(float dt, const YMatrix* world, const YVector* size) override;
    float accumulator = 0.0f;
};

// Puts out fire, explosive and electro balls.
class YBlockWater : public YBlockSpecial {
public:
    bool Hit(YBumpEvent* other, YBlockSingle* block) override;
    bool Hit(YBumpEvent* other, YBlockSet* set, YBlockItem* item) override;
};

// Makes touching balls heavy.
class YBlockHeavy : public YBlockSpecial {
public:
    bool Hit(YBumpEvent* other, YBlockSingle* block) override;
    bool Hit(YBumpEvent* other, YBlockSet* set, YBlockItem* item) override;
};

// Makes touching balls electro; three arcs crackle inside the block.
class YBlockElectro : public YBlockSpecial2 {
public:
    struct Arc {
        YVector target; // in the block's own frame
        LightningSegment segments[3];
    };
    bool Hit(YBumpEvent* other, YBlockSingle* block) override;
    bool Hit(YBumpEvent* other, YBlockSet* set, YBlockItem* item) override;
    void UpdatePlaced(float dt, const YMatrix* world, const YVector* size) override;
    Arc arcs[3];
    float timer = 0.0f;
};

// A touching ball (not a small one) makes a small ball on a free face; then 1 s of rest.
class YBlockGenerator : public YBlockSpecial {
public:
    void Update(float dt, YBlockSingle* block) override;
    void Update(float dt, YBlockSet* set, YBlockItem* item) override;
    bool Hit(YBumpEvent* other, YBlockSingle* block) override;
    bool Hit(YBumpEvent* other, YBlockSet* set, YBlockItem* item) override;
    float coolDown = 0.0f;

private:
    bool Spawn(YBumpEvent* other, const YMatrix& placement, const YVector& halfSize, unsigned faces);
};

// Sends what touches it to another teleport block; the destination ignores contacts for 0.5 s.
class YBlockTeleport : public YBlockSpecial {
public:
    YBlockTeleport();
    ~YBlockTeleport() override;
    void Update(float dt, YBlockSingle* block) override;
    void Update(float dt, YBlockSet* set, YBlockItem* item) override;
    bool Hit(YBumpEvent* other, YBlockSingle* block) override;
    bool Hit(YBumpEvent* other, YBlockSet* set, YBlockItem* item) override;

    float coolDown = 0.0f;
    YBlockSet* ownerSet = nullptr;
    YBlockItem* ownerItem = nullptr;
    YBlockSingle* ownerBlock = nullptr;

private:
    bool Send(YBumpEvent* other);
};

// Every live teleport special, in creation order except that a destroyed one's place goes to the
// last one.
const std::vector<YBlockTeleport*>& TeleportList();

// Swallows every hit (a blast's too) and arms: 0.1 to 0.3 s later the block explodes.
class YBlockTNT : public YBlockSpecial {
public:
    void Update(float dt, YBlockSingle* block) override;
    void Update(float dt, YBlockSet* set, YBlockItem* item) override;
    bool Hit(YBumpEvent* other, YBlockSingle* block) override;
    bool Hit(YBumpEvent* other, YBlockSet* set, YBlockItem* item) override;

    YZDelete* armed = nullptr; // the block or set to delete; null while unarmed
    float fuse = 0.0f;
    bool exploded = false;

private:
    void Arm(YZDelete* what);
    void Tick(float dt, const YVector& centre);
};
