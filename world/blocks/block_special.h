#pragma once
// Special behaviours of block materials ("special" in "data\blocks.yml"): every single block and
// every set item of such a material owns one special object, which is asked first about each
// contact (and may swallow it) and is updated every frame. The kinds themselves (fire, water,
// electro, generator, teleport, heavy, tnt) live with the ball modes they act on; the blocks know
// only this interface and the kind registry.
#include <string>
#include <vector>

class YBumpEvent;
class YBlockSingle;
class YBlockSet;
class YBlockItem;

class YBlockSpecial {
public:
    virtual ~YBlockSpecial() = default;
    // Once per frame for the block or set item that owns the special.
    virtual void Update(float dt, YBlockSingle* block) {}
    virtual void Update(float dt, YBlockSet* set, YBlockItem* item) {}
    // First in every contact; false swallows it (no damage, the other object's handling skipped).
    // `other` is null for static geometry; the block's own listener for a blast.
    virtual bool Hit(YBumpEvent* other, YBlockSingle* block) = 0;
    virtual bool Hit(YBumpEvent* other, YBlockSet* set, YBlockItem* item) = 0;
};

// A special kind: its name as data files write it and the creator of its objects.
struct YBlockSpecialKind {
    YBlockSpecial* (*create)();
    std::string name;
};

// The kind registry, in registration order. Empty until the specials register themselves with
// RegisterBlockSpecialKind (before the block materials load).
const std::vector<YBlockSpecialKind>& BlockSpecialKinds();
void RegisterBlockSpecialKind(const std::string& name, YBlockSpecial* (*create)());
// The kind of exactly this name (case-sensitive), or null for an empty or unknown name.
const YBlockSpecialKind* FindBlockSpecialKind(const std::string& name);
