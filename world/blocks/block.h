#pragma once
// Blocks: the breakable bodies on the table. YBlock is the base of single blocks (YBlockSingle),
// glued block sets (YBlockSet) and the splinters a destroyed block leaves (YSplinter). Every live
// block is in one global list; the per-frame block step updates them all, builds their faces and
// counts the blocks left to break and those standing on the table, which tells the game when a
// level is cleared and when to drop the bonus that ends a nearly cleared level.
//
// A block dies by damage (its health reaches 0), by a mode or special that kills it, or by leaving
// the table: it schedules its own deletion, and the deferred-deletion tick deletes it in a later
// frame. Only then do the effects of destruction happen (debris, sparks, sound, bonus, score), and
// only while the effects flag is set. Main thread only.
#include <cstdint>
#include <vector>

#include "math/matrix.h"
#include "math/vector.h"
#include "world/physics/zdelete.h"

struct YBlockType;
class YRigidBody;

class YBlock : public YZDelete {
public:
    // Identity matrix, not targeted; joins the block list.
    YBlock();
    // Leaves the block list (the last block takes its place), in constant time.
    ~YBlock() override;
    YBlock(const YBlock&) = delete;
    YBlock& operator=(const YBlock&) = delete;

    virtual void GetMatrix(YMatrix* out) const { *out = matrix; }
    // Sets the block's transform and its body's.
    virtual void Place(const YMatrix& m) = 0;
    // The per-frame step: reads the body, builds faces, counts itself.
    virtual void Update(float dt) = 0;
    // The block that a lightning bolt from `from` can reach, or null.
    virtual YBlock* ReachTest(uint32_t seed, const YVector& from, float maxDistance) { return nullptr; }

    // Schedules the deletion that follows a block's death: 0.15 s +- 0.0125 s.
    void ScheduleDeath();
    bool Dying() const { return scheduled; }

    YMatrix matrix;
    bool targeted = false; // held by a lightning bolt; never offered again

private:
    std::size_t listIndex_ = 0; // where the block stands in g_BlockWorld.blocks
};

// The module's state.
struct YBlockWorld {
    std::vector<YBlock*> blocks; // every live block, in order of construction
    uint32_t blocksLeft = 0;     // health > 0, counted by the last step
    uint32_t blocksInPlay = 0;   // health > 0 and mostly on the table
    uint32_t lastInPlay = 0;
    float fewBlocksTimer = 0.0f; // seconds until the next level-ending bonus; 0 idle
    // The last level load was refused (or none was made): the empty world is not a cleared level.
    bool levelRefused = false;
};
extern YBlockWorld g_BlockWorld;

// While set, destroyed blocks make debris, sound, bonus and score (and balls their blast). Cleared
// while blocks are deleted in bulk.
extern bool BlockEffectsEnabled;

// Deletes every block (last first) without effects, empties the particles and deletes every object
// held on the racket and every falling bonus.
void DeleteAllBlocks();
// Whether the pointer is a live block.
bool IsBlockAlive(const YBlock* block);
// Reseeds the C-runtime-style generator with `seed`, takes a random block and returns its reach
// test; null with no blocks.
YBlock* PickRandomBlockInReach(uint32_t seed, const YVector& from, float maxDistance);
// The per-frame block step: counts, faces, and (with the timer on) the few-blocks timer that drops
// a level-ending bonus every 13.5 to 16.5 s while fewer than five blocks stand on the table.
void BlockWorldUpdate(float dt, bool timerOn);
// Empties the face list, updates every block in list order and queues the faces for drawing.
void UpdateAllBlocks(float dt);
// True when the last step counted no block left to break, unless the last level was refused.
bool AllBlocksCleared();

// Floating texts over a hit block ("billboard" font), when the game mode shows them.
void SpawnDamagePopup(const YVector& p, float strength);
void SpawnScorePopup(const YVector& p, int32_t points);
// Debris of a destroyed block: eight splinters (fewer while many live, see splinter.h), a blast with
// sparks and the destroy sound.
void SpawnBlockDebris(const YBlockType* type, const YMatrix& m, YRigidBody* body);
// Score and its popup, and the racket's hit counter reset, for a destroyed block's material.
void ScoreDestroyedBlock(const YBlockType* type, const YVector& position);

// Whether a destroyed block's position lies on the table (z >= 0, strictly inside in x and y), so
// that its bonus is made.
bool BlockOnTable(const YVector& p);

// The stroke sound's volume for a hit of strength s on a body of that mass: min(1, s / mass * 0.1).
float StrokeVolume(float strength, float bodyMass);
