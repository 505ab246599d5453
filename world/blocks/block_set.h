#pragma once
// Block sets: rigid structures of items glued on an integer grid, moving as one physics body with
// one box per item. A hit first wears down an item's glue; once the glue is gone the item breaks
// off as a single block, and the rest splits into separate sets wherever it is no longer
// connected. Each item keeps, per face, the items that touch it (for connectivity and hidden
// faces) and the lattice edges of the set's surface it helps to form (for stencil shadows).
//
// Face lists and edge links grow as needed, so a large item beside many small ones never overruns
// them.
#include <cstdint>
#include <vector>

#include "world/blocks/block.h"
#include "world/physics/bump_event.h"
#include "world/physics/rigid_body.h"

class YBonusBuilder;
class YBlockSpecial;
class YBlockSingle;
class YBlockSet;

// A lattice edge of a set's surface.
struct YBlockEdge {
    YVector position; // set-local lattice point
    uint8_t axis;     // 0 x, 1 y, 2 z
    uint8_t mask;     // bits 0..3: which of the four cells around it belong to an item; bit 4: two of
                      // them belong to the same item
};

class YBlockItem {
public:
    YBlockItem(const YBlockType* type, int32_t x, int32_t y, int32_t z, float glue, int32_t bonusKind);
    ~YBlockItem();

    YBlockSet* set = nullptr; // the set the item belongs to
    dGeomID geom = nullptr;
    struct Face {
        std::vector<YBlockItem*> neighbours; // one entry per touching cell pair
        bool visible = true;
    } faces[6];
    std::vector<std::pair<YBlockEdge*, uint8_t>> edgeLinks; // edge and this item's bit in its mask
    const YBlockType* type;
    int32_t bonusKind;              // as read; -1 none
    YBonusBuilder* bonus = nullptr; // owned; handed out by the level loader
    YBlockSpecial* special = nullptr;
    float glue;
    float health;
    float textureOffsets[2];
    int32_t cell[3];  // lowest grid cell
    YVector position; // set-local centre, after BuildEdges
};

class YBlockSet : public YBlock, public YBumpEvent {
public:
    YBlockSet();
    // Destruction with effects: all but the last item break off as single blocks; the last makes
    // the debris, bonus and score of a destroyed block. Then items, edges and body go.
    ~YBlockSet() override;

    // A new item at grid cell (x, y, z) with the type's health and random texture offsets.
    YBlockItem* AddItem(const YBlockType* type, int32_t x, int32_t y, int32_t z, float glue, int32_t bonusKind);
    // Grid, face lists, item centres and surface edges.
    void BuildEdges();
    // Mass, moment and one box per item, then UpdateMass.
    void Finish();
    // Centre of mass, body placement, box offsets and the inertia tensor from the items.
    void UpdateMass();

    void Place(const YMatrix& m) override;
    void Update(float dt) override;
    YBlock* ReachTest(uint32_t seed, const YVector& from, float maxDistance) override;
    void OnContact(void* ownGeomData, YBumpEvent* other, const YVector* force, const YVector* torque,
                   const YVector* position, const YVector* normal, float depth) override;

    // A hit on an item: the glue takes it first, the excess goes to the item broken off. True when
    // something died.
    bool DamageItem(YBlockItem* item, float s, const YVector& p);
    // Whether the item is one of this set's. Compares pointers only: a contact handed out after an
    // earlier one in the same step broke its item off may name an item that no longer exists.
    bool Contains(const YBlockItem* item) const;
    // The item's world matrix: its rotation is the set's, its translation its centre.
    YMatrix ItemMatrix(const YBlockItem* item) const;

    float mass = 0.0f;
    float bodyMass = 0.0f;
    YVector centre{0, 0, 0}; // centre of mass, set-local
    YVector moment{0, 0, 0}; // sum of type mass x item centre
    YRigidBoxSet body;
    YMatrix model;        // T(-centre) then matrix: item-local to world
    YMatrix modelInverse; // its inverse
    std::vector<YBlockItem*> items;
    std::vector<YBlockEdge*> edges;

private:
    std::vector<YBlockItem*> grid_; // kept between builds
};

// Breaks the item off as a single block (with its bonus, health and texture offsets), removes it
// and re-prepares the set. Null when the set has fewer than two items or does not hold the item.
YBlockSingle* DetachItem(YBlockSet* set, YBlockItem* item, bool transfer);
// Takes the item out of the set: neighbours' face lists, edges, mass, box; the item is not deleted.
void RemoveItem(YBlockSet* set, YBlockItem* item);
// One step of splitting a set that has fallen apart; true when it should be called again.
bool SplitBlockSet(YBlockSet* set, YBlockSet** newSet, bool transfer);
// Splits until connected, then decides which item faces are visible.
void PrepareBlockSet(YBlockSet* set, bool transfer);
