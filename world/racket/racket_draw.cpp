// The racket's own drawing: the footprint under the hero and the arrow to its target.
#include <algorithm>
#include <cmath>

#include "render/camera.h"
#include "render/render.h"
#include "render/shader.h"
#include "world/racket/racket.h"
#include "world/racket/racket_draw.h"

float ArrowOpacity(float distance, float width) {
    if (!(distance >= width)) return 0.0f;
    return 0.25f + 0.4f * std::min(1.0f, (distance - 1.5f) * 0.26666668f);
}

void YRacket::Draw() {
    if (state != RACKET_PLAY || !g_Render) return;
    g_Render->SetWorldMatrix(&g_Camera.view);

    static YShader* border = FindShader("racket_border");
    g_Render->SetShader(border, true);
    const float x0 = posX - width * 0.5f;
    const float x1 = posX + width * 0.5f;
    const YTexVertex quad[4] = {
        {{x0, posY - 1.0f, 0.1f}, {0.0f, 0.0f}, {0.0f, 0.0f}},
        {{x1, posY - 1.0f, 0.1f}, {1.0f, 0.0f}, {1.0f, 0.0f}},
        {{x1, posY + 1.0f, 0.1f}, {1.0f, 1.0f}, {1.0f, 1.0f}},
        {{x0, posY + 1.0f, 0.1f}, {0.0f, 1.0f}, {0.0f, 1.0f}},
    };
    g_Render->DrawTexQuad(quad);

    const float d = std::fabs(target - posX);
    const float opacity = ArrowOpacity(d, width);
    if (opacity <= 0.0f || !arrowShader) return;
    // Shaft from the hero to the head's base, head 0.75 long at the target; u runs along the arrow.
    const float dir = target > posX ? 1.0f : -1.0f;
    const float head = target - dir * 0.75f;
    const YTexVertex strip[6] = {
        {{posX, posY - 0.75f, 0.1f}, {0.0f, 0.0f}, {0.0f, 0.0f}},
        {{posX, posY + 0.75f, 0.1f}, {0.0f, 1.0f}, {0.0f, 1.0f}},
        {{head, posY - 0.75f, 0.1f}, {0.5f, 0.0f}, {0.5f, 0.0f}},
        {{head, posY + 0.75f, 0.1f}, {0.5f, 1.0f}, {0.5f, 1.0f}},
        {{target, posY - 0.75f, 0.1f}, {1.0f, 0.0f}, {1.0f, 0.0f}},
        {{target, posY + 0.75f, 0.1f}, {1.0f, 1.0f}, {1.0f, 1.0f}},
    };
    g_Render->SetShader(arrowShader, true);
    YMaterial m = arrowShader->material;
    m.diffuse[3] = opacity;
    g_Render->SetMaterial(&m, false);
    g_Render->DrawTexStrip(strip, 4);
}
