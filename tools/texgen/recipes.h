#pragma once
// Every picture recipe of texgen. A recipe fills a picture of the size it is given (the sizes are
// fixed in tools/common/texture_names.h) and returns false with a reason when it cannot.
#include <string>
#include <string_view>

#include "tools/texgen/picture.h"

namespace texgen {

struct Context {
    std::string fontDir; // folder of the DejaVu TrueType fonts (splash slides)
};

using Recipe = bool (*)(const Context& context, Picture& out, std::string& error);

// Tileable surfaces.
bool Wood(const Context&, Picture& out, std::string& error);
bool Planks(const Context&, Picture& out, std::string& error);
bool Marble(const Context&, Picture& out, std::string& error);
bool MarbleDark(const Context&, Picture& out, std::string& error);
bool FloorTiles(const Context&, Picture& out, std::string& error);
bool Stone(const Context&, Picture& out, std::string& error);
bool Bricks(const Context&, Picture& out, std::string& error);
bool Fracture(const Context&, Picture& out, std::string& error);
bool Metal(const Context&, Picture& out, std::string& error);
bool MetalPlate(const Context&, Picture& out, std::string& error);
bool BallEnamel(const Context&, Picture& out, std::string& error);
bool Rubber(const Context&, Picture& out, std::string& error);
bool Glass(const Context&, Picture& out, std::string& error);
bool Ice(const Context&, Picture& out, std::string& error);
bool Frost(const Context&, Picture& out, std::string& error);
bool Lava(const Context&, Picture& out, std::string& error);
bool Water(const Context&, Picture& out, std::string& error);
bool Energy(const Context&, Picture& out, std::string& error);
bool Hazard(const Context&, Picture& out, std::string& error);
bool Portal(const Context&, Picture& out, std::string& error);
bool Cracks(const Context&, Picture& out, std::string& error);

// Sprites.
bool SpriteGlow(const Context&, Picture& out, std::string& error);
bool SpriteSpark(const Context&, Picture& out, std::string& error);
bool SpriteFireball(const Context&, Picture& out, std::string& error);
bool SpriteWallFlash(const Context&, Picture& out, std::string& error);
bool SpriteStreak(const Context&, Picture& out, std::string& error);
bool SpriteSmoke(const Context&, Picture& out, std::string& error);
bool SpriteFire(const Context&, Picture& out, std::string& error);
bool SpriteRing(const Context&, Picture& out, std::string& error);
bool SpriteFlare(const Context&, Picture& out, std::string& error);
bool SpriteLightning(const Context&, Picture& out, std::string& error);

// The in-game overlay and the menu comets' star.
bool HudBar(const Context&, Picture& out, std::string& error);
bool HudHeart(const Context&, Picture& out, std::string& error);
bool HudNeedle(const Context&, Picture& out, std::string& error);
bool SpriteStar(const Context&, Picture& out, std::string& error);

// Widget skins of the menu pages.
bool UiArrow(const Context&, Picture& out, std::string& error);
bool UiCheckbox(const Context&, Picture& out, std::string& error);
bool UiPointer(const Context&, Picture& out, std::string& error);

// The bonus icons ("textures\bonus\*.png"): the recipe of one by its path, or null.
Recipe FindBonusIcon(std::string_view path);

// Splash slides.
bool SlideEmblem(const Context&, Picture& out, std::string& error);
bool SlideTitle(const Context&, Picture& out, std::string& error);
bool UiLogo(const Context&, Picture& out, std::string& error);
bool SlideCredits(const Context&, Picture& out, std::string& error);

// Lambert shading of a height field lit from the upper left (1 flat, about 0.3..1.5 on slopes).
// `strength` scales the slopes (height units per pixel).
Mask ShadeHeights(const Mask& height, float strength, bool wrap);

} // namespace texgen
