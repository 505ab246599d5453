#pragma once
// What the racket shows of its timed effects besides the hero: speed lines while the hero races
// (vivacity), sleep sparks around it (slumber), shield cells on the near wall under the objects
// coming at it (back wall), and the strength of the ice on the frozen hero. Everything lives in
// fixed process-wide records: no allocation per frame.
#include "math/vector.h"

class YRacket;

constexpr int SPEED_LINE_COUNT = 15;
constexpr int SHIELD_CELL_MAX = 256;

struct YSpeedLine {
    YVector start;
    YVector end;
    float strength;
};

struct YShieldCell {
    YVector position;
    float opacity;
};

// The "frost" shader's strength (its material's diffuse alpha).
void SetFrostStrength(float strength);

// One frame of the effect visuals for the racket (states 0 to 3).
void UpdateRacketVisuals(YRacket& racket, float dt);

// The records (tests; the drawers read them through the draw queues).
const YSpeedLine* SpeedLines();
const YShieldCell* ShieldCells();
int ShieldCellCount();
