#pragma once
// What a falling bonus is: the drawn disk (one shared disk instance with the
// "bonus2" shader, then drawn once more with the kind's own overlay shader) and
// the effect its catch applies. Each falling kind is a subclass with its own
// Apply (world/bonus/bonus_effects.h).
#include "core/bonus_kind.h"
#include "math/vector.h"
#include "render/mesh/mesh_instance.h"

class YShader;
class YSoundFx;

// Every falling bonus has this radius (the drawn disk and the catch test).
constexpr float BONUS_RADIUS = 0.6f;

class YBonusType : public YMeshInstanceRef {
public:
    YBonusType(BonusKind kind, float radius);

    // The disk in "bonus2", then again in the kind's own shader when it has one.
    void Draw() override;
    // The effect of the catch at `caughtAt`.
    virtual void Apply(const YVector* caughtAt) = 0;

    BonusKind kind;
    float radius;
    YShader* ownShader; // may be null
    YSoundFx* sound;
};

// The shared disk instance, made on first use (2 x the first radius across) and
// kept.
YMeshInstanceBase* BonusDiskInstance(float radius);
