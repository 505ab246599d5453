#include "tools/texgen/catalogue.h"

#include "tools/texgen/skies.h"

namespace texgen {

namespace {

struct Entry {
    std::string_view path;
    Recipe recipe;
};

constexpr Entry RECIPES[] = {
    {"textures\\split.jpg", Cracks},
    {"textures\\particles\\glow.png", SpriteGlow},
    {"textures\\particles\\spark.png", SpriteSpark},
    {"textures\\particles\\streak.png", SpriteStreak},
    {"textures\\particles\\smoke.png", SpriteSmoke},
    {"textures\\particles\\fire.png", SpriteFire},
    {"textures\\particles\\ring.png", SpriteRing},
    {"textures\\particles\\flare.png", SpriteFlare},
    {"textures\\particles\\lightning.png", SpriteLightning},
    {"textures\\particles\\fireball.png", SpriteFireball},
    {"textures\\particles\\wallflash.png", SpriteWallFlash},
    {"textures\\wood.jpg", Wood},
    {"textures\\planks.jpg", Planks},
    {"textures\\marble.jpg", Marble},
    {"textures\\marble_dark.jpg", MarbleDark},
    {"textures\\floor_tiles.jpg", FloorTiles},
    {"textures\\stone.jpg", Stone},
    {"textures\\bricks.jpg", Bricks},
    {"textures\\metal.jpg", Metal},
    {"textures\\metal_plate.jpg", MetalPlate},
    {"textures\\ball_enamel.jpg", BallEnamel},
    {"textures\\glass.png", Glass},
    {"textures\\ice.jpg", Ice},
    {"textures\\frost.png", Frost},
    {"textures\\rubber.jpg", Rubber},
    {"textures\\fracture.jpg", Fracture},
    {"textures\\lava.jpg", Lava},
    {"textures\\water.jpg", Water},
    {"textures\\energy.jpg", Energy},
    {"textures\\hazard.jpg", Hazard},
    {"textures\\portal.jpg", Portal},
    {"textures\\particles\\star.png", SpriteStar},
    {"textures\\hud\\bar.png", HudBar},
    {"textures\\hud\\heart.png", HudHeart},
    {"textures\\hud\\needle.png", HudNeedle},
    {"textures\\ui\\arrow.png", UiArrow},
    {"textures\\ui\\checkbox.png", UiCheckbox},
    {"textures\\ui\\pointer.png", UiPointer},
    {"textures\\ui\\logo.jpg", UiLogo},
    {"splash\\emblem.jpg", SlideEmblem},
    {"splash\\title.jpg", SlideTitle},
    {"splash\\credits.jpg", SlideCredits},
};

struct SkyEntry {
    std::string_view name;
    SkyRecipe recipe;
};

// Stars are smaller than a pixel, so the starry sky refines at a lower threshold.
constexpr SkyEntry SKIES[] = {
    {"clouds", {SkyClouds, 0.03f}},
    {"dusk", {SkyDusk, 0.03f}},
    {"stars", {SkyStars, 0.025f}},
};

} // namespace

Recipe FindRecipe(std::string_view path) {
    for (const Entry& e : RECIPES)
        if (e.path == path) return e.recipe;
    return FindBonusIcon(path);
}

SkyRecipe FindSky(std::string_view environment) {
    for (const SkyEntry& e : SKIES)
        if (e.name == environment) return e.recipe;
    return {};
}

} // namespace texgen
