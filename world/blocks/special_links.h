#pragma once
// What the block specials read and do of the blocks that own them.
#include "math/matrix.h"
#include "math/vector.h"

class YBlockSingle;
class YBlockSet;
class YBlockItem;
class YBlockSpecial;
class YZDelete;

// The block's world matrix and its extent in world units (cells x level scale).
void SingleBlockPlace(YBlockSingle* block, YMatrix* world, YVector* size);
// The item's world matrix (the set's rotation at the item's place) and its extent.
void SetItemPlace(YBlockSet* set, YBlockItem* item, YMatrix* world, YVector* size);
// The item's faces that the set shows (bit k: face k of -x, +x, -y, +y, -z, +z).
unsigned SetItemVisibleFaces(YBlockSet* set, YBlockItem* item);
int SetItemCount(YBlockSet* set);
// The item leaves the set as a single block of its own (null when none comes of it); the item
// and its special are gone afterwards.
YBlockSingle* DetachSetItem(YBlockSet* set, YBlockItem* item);
YBlockSpecial* SpecialOf(YBlockSingle* block);
YZDelete* Deletable(YBlockSingle* block);
YZDelete* Deletable(YBlockSet* set);
