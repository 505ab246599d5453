#include "shell/hud_links.h"

#include <string>

#include "core/color.h"
#include "render/shader.h"
#include "shell/hud.h"
#include "shell/hud_caption.h"
#include "world/bonus/bonus_config.h"

namespace {

void ShowBonusCaption(const std::string& text, const YColor& colour) {
    const float rgba[4] = {colour.r, colour.g, colour.b, colour.a};
    AddHudCaption(text.c_str(), rgba);
}

YShaderBase* BonusIcon(int kind) { return GetBonusShader(kind); }

} // namespace

YWorldOutside HudWorldOutside() {
    YWorldOutside outside;
    outside.racket = true;
    outside.showCaption = ShowBonusCaption;
    outside.clearCaptions = ClearHudCaptions;
    return outside;
}

void InstallHudIconLookup() { SetHudIconLookup(BonusIcon); }
