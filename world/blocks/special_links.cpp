#include "world/blocks/special_links.h"

#include "world/blocks/block_material.h"
#include "world/blocks/block_set.h"
#include "world/blocks/block_single.h"

void SingleBlockPlace(YBlockSingle* block, YMatrix* world, YVector* size) {
    *world = block->matrix;
    *size = block->type->halfExtents * 2.0f;
}

void SetItemPlace(YBlockSet* set, YBlockItem* item, YMatrix* world, YVector* size) {
    *world = set->ItemMatrix(item);
    *size = item->type->halfExtents * 2.0f;
}

unsigned SetItemVisibleFaces(YBlockSet* set, YBlockItem* item) {
    unsigned faces = 0;
    for (int f = 0; f < 6; ++f)
        if (item->faces[f].visible) faces |= 1u << f;
    return faces;
}

int SetItemCount(YBlockSet* set) { return static_cast<int>(set->items.size()); }

YBlockSingle* DetachSetItem(YBlockSet* set, YBlockItem* item) { return DetachItem(set, item, true); }

YBlockSpecial* SpecialOf(YBlockSingle* block) { return block->special; }

YZDelete* Deletable(YBlockSingle* block) { return block; }

YZDelete* Deletable(YBlockSet* set) { return set; }
