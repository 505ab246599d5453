#include "render/camera.h"
#include "render/render.h"
#include "render/scene/particles.h"
#include "render/shader.h"
#include "world/balls/ball_effects.h"
#include "world/balls/ball_mode.h"

void YDrawBallCrown::Draw(void* item) {
    if (!g_Render) return;
    const YBallMode* mode = static_cast<const YBallMode*>(item);
    g_Render->SetWorldMatrix(&g_Camera.view); // world space, whatever the drawer before left
    g_Render->SetShader(shader, true);
    YVector centre;
    float halfSize;
    if (CrownPlacement(mode->Position(), mode->radius, sizeFactor, &centre, &halfSize))
        DrawBillboard(&centre, halfSize);
}
