#include "shell/hud_caption.h"

#include "render/font.h"
#include "shell/hud.h"

namespace {
constexpr float SCREEN_WIDTH = 800.0f;
constexpr float SLIDE_SPEED = 800.0f; // units per second
} // namespace

std::vector<YHudCaption>& HudCaptions() {
    static std::vector<YHudCaption> captions;
    return captions;
}

void AddHudCaption(const char* text, const float colour[4]) {
    std::vector<YHudCaption>& captions = HudCaptions();
    for (YHudCaption& c : captions) {
        if (c.state == 0 || c.state == 1) {
            c.state = 2;
            c.x = c.targetX;
        }
    }
    InitHud();
    const YFont* font = HudFont();
    const char* t = text ? text : "";
    const float width = font ? font->GetTextWidth(t) : 0.0f;
    YHudCaption c;
    c.text = t;
    for (int i = 0; i < 4; ++i) c.colour[i] = colour ? colour[i] : 1.0f;
    c.state = 0;
    c.hold = HUD_CAPTION_HOLD;
    c.x = SCREEN_WIDTH;
    c.targetX = (SCREEN_WIDTH - width * HUD_CAPTION_SIZE) * 0.5f;
    captions.push_back(std::move(c));
}

void ClearHudCaptions() { HudCaptions().clear(); }

void UpdateHudCaptions(float dt) {
    std::vector<YHudCaption>& captions = HudCaptions();
    for (std::size_t i = 0; i < captions.size();) {
        YHudCaption& c = captions[i];
        float a = 1.0f;
        if (c.state == 0) {
            c.x -= SLIDE_SPEED * dt;
            if (c.x >= c.targetX) {
                a = 1.0f - (c.x - c.targetX) / (SCREEN_WIDTH - c.targetX);
            } else {
                c.state = 1;
                c.x = c.targetX;
            }
        }
        if (c.state == 1) {
            c.hold -= dt;
            if (c.hold <= 0.0f) c.state = 2;
        }
        if (c.state == 2) {
            c.x -= SLIDE_SPEED * dt;
            const float limit = 2.0f * c.targetX - SCREEN_WIDTH;
            if (c.x <= limit) {
                // The last caption takes the hole and is looked at next.
                if (i + 1 != captions.size()) c = std::move(captions.back());
                captions.pop_back();
                continue;
            }
            a = 1.0f - (c.targetX - c.x) / (c.targetX - limit);
        }
        c.colour[3] = a;
        ++i;
    }
}
