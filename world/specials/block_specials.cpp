#include "world/specials/block_specials.h"

#include "world/blocks/special_links.h"

YBlockSpecial* CreateFireSpecial();
YBlockSpecial* CreateWaterSpecial();
YBlockSpecial* CreateElectroSpecial();
YBlockSpecial* CreateGeneratorSpecial();
YBlockSpecial* CreateTeleportSpecial();
YBlockSpecial* CreateHeavySpecial();
YBlockSpecial* CreateTNTSpecial();

YBlockSpecial* CreateFireSpecial() { return new YBlockFire; }
YBlockSpecial* CreateWaterSpecial() { return new YBlockWater; }
YBlockSpecial* CreateElectroSpecial() { return new YBlockElectro; }
YBlockSpecial* CreateGeneratorSpecial() { return new YBlockGenerator; }
YBlockSpecial* CreateTeleportSpecial() { return new YBlockTeleport; }
YBlockSpecial* CreateHeavySpecial() { return new YBlockHeavy; }
YBlockSpecial* CreateTNTSpecial() { return new YBlockTNT; }

void RegisterBlockSpecials() {
    if (FindBlockSpecialKind("fire")) return;
    RegisterBlockSpecialKind("fire", CreateFireSpecial);
    RegisterBlockSpecialKind("water", CreateWaterSpecial);
    RegisterBlockSpecialKind("electro", CreateElectroSpecial);
    RegisterBlockSpecialKind("generator", CreateGeneratorSpecial);
    RegisterBlockSpecialKind("teleport", CreateTeleportSpecial);
    RegisterBlockSpecialKind("heavy", CreateHeavySpecial);
    RegisterBlockSpecialKind("tnt", CreateTNTSpecial);
}

void YBlockSpecial2::Update(float dt, YBlockSingle* block) {
    YMatrix world;
    YVector size;
    SingleBlockPlace(block, &world, &size);
    UpdatePlaced(dt, &world, &size);
}

void YBlockSpecial2::Update(float dt, YBlockSet* set, YBlockItem* item) {
    YMatrix world;
    YVector size;
    SetItemPlace(set, item, &world, &size);
    UpdatePlaced(dt, &world, &size);
}
