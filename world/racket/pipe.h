#pragma once
// The smoking pipe the hero holds after the game is over: a held-capable object (kind 4, carried
// by hold point 3) drawn from one shared instance of "mesh\pipe.mes", that puffs smoke three times
// a second.
#include "render/mesh/mesh_instance.h"
#include "world/balls/racket_tacked.h"

class YPipe : public YMeshInstanceRef, public YRacketTacked {
public:
    // Draw flags 2, kind 4, bone 3, identity matrix; the shared instance is made on first use.
    YPipe();

    // Smoke: three puffs per second of accumulated time, from the pipe's position.
    void Update(float dt) override;
    void SetMatrix(const YMatrix* m) override;
    YMatrix* GetMatrix(YMatrix* out) override;

    float smoke = 0.0f; // seconds not yet turned into puffs
};
