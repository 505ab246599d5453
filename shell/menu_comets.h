#pragma once
// Three coloured comets circling over the table behind the menus: each a glowing star with a trail
// of particles and a light spot on the table. They are made once, on the first update, and keep
// their places while other states are shown.
#include "render/draw_list.h"
#include "shell/orbiter.h"

class YShader;

class YMenuComet {
public:
    // Yaw at start and colour; the radius- and height-phase speeds are drawn from the 15-bit
    // generator, radius first.
    YMenuComet(float yaw, const float colour[4]);

    // Moves the comet, emits its particles at particleRate (the remainder carried to the next
    // frame), lights the table under it and queues its star for blended drawing.
    void Update(float dt);

    YOrbiter orbit;
    float particleRate = 30.0f;
    float emissionTimer = 0.0f;
    float colour[4];
};

// Draws a queued YMenuComet: a tinted "star" billboard at its position.
class YDrawStar final : public YDrawObj {
public:
    void Draw(void* item) override;
};

constexpr int MENU_COMET_COUNT = 3;

// The comets, made on the first call (yaws 0, 120, -120 in that order).
YMenuComet* MenuComets();
// Once per frame of the menu and end-screen states.
void UpdateMenuComets(float dt);
