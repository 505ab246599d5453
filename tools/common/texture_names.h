#pragma once
// Every picture of the game folder that tools/texgen makes, in one place that the generator and the
// content tests both read: texgen writes exactly
// these files (it fails when one has no recipe) and the content test checks each of them.
//
// The code itself names one texture, "textures\split.jpg" (the block cracks). Every other texture
// is named by the shader files; the shipped ones may use any texture of TEXTURE_FILES. The sky
// boxes are the sub-folders of "env" with the six face pictures each, and the splash slides are
// named by "splash\shaders.yml".
//
// How the sprites are meant to be blended: "additive" pictures carry their colour already
// multiplied by their alpha (black where transparent), so they work with src="srcalpha" or "one"
// and dest="one"; "alpha-blended" pictures are light all over and cut out by their alpha
// (src="srcalpha", dest="invsrcalpha"). Particle colours come from the tint, so sprites are white
// or grey unless they say otherwise.
#include <string_view>

namespace content {

struct TextureFile {
    std::string_view path; // as data files write it, with '\'
    int width;
    int height;
    bool alpha; // PNG with transparency; the others are opaque JPEG
    bool tiles; // wraps without a seam at both edge pairs
    std::string_view use;
};

inline constexpr TextureFile TEXTURE_FILES[] = {
    // Named by the code.
    {"textures\\split.jpg", 256, 256, false, true,
     "block cracks: black with bright crack lines; lines of brightness b show once the damage filter "
     "subtracts less than b, so the cracks grow as a block loses health. Meant for a second stage that "
     "subtracts (or adds) it"},

    // Sprites of particles, crowns and light spots.
    {"textures\\particles\\glow.png", 128, 128, true, false, "soft round glow; additive (blast, light spots)"},
    {"textures\\particles\\spark.png", 64, 64, true, false, "spark: hot core with four short streaks; additive"},
    {"textures\\particles\\streak.png", 128, 32, true, false,
     "streak along u, brightest at the head (u = 1); additive"},
    {"textures\\particles\\smoke.png", 128, 128, true, false, "smoke puff, light grey; alpha-blended"},
    {"textures\\particles\\fire.png", 128, 128, true, false, "flame blob in its own fire colours; additive"},
    {"textures\\particles\\ring.png", 128, 128, true, false, "shock-wave ring; additive (blast wave decal)"},
    {"textures\\particles\\flare.png", 128, 128, true, false, "crown of rays around a bright centre; additive"},
    {"textures\\particles\\lightning.png", 256, 64, true, false,
     "forked bolt along u, centred in v at both ends so copies chain; additive"},
    {"textures\\particles\\fireball.png", 128, 128, true, false,
     "billowing ball of fire, near white so the tint colours it; additive (explosion fireball and burn decal)"},
    {"textures\\particles\\wallflash.png", 128, 128, true, false,
     "flash of a hit on a wall: bright point, wide horizontal streak; additive (wall flashes)"},

    {"textures\\particles\\star.png", 128, 128, true, false,
     "star: hot core, halo, four long and four short rays; additive (menu comets)"},

    // The in-game overlay, in its own colours; alpha-blended.
    {"textures\\hud\\bar.png", 64, 256, true, false,
     "panel strip: u across, v along; v 0..0.25 and 0.75..1 rounded ends, 0.25..0.75 the stretched body"},
    {"textures\\hud\\heart.png", 64, 64, true, false, "red heart (lives)"},
    {"textures\\hud\\needle.png", 64, 64, true, false,
     "launch-angle needle from the middle to the top edge (v = 0) on a small hub"},

    // Widget skins of the menu pages, white and cut out by alpha (tinted by the widget's colour).
    {"textures\\ui\\arrow.png", 64, 64, true, false, "selector arrow pointing right (+u); mirrored for the left one"},
    {"textures\\ui\\checkbox.png", 128, 64, true, false, "check box: empty on the left half, ticked on the right half"},
    {"textures\\ui\\pointer.png", 64, 64, true, false,
     "mouse pointer with its tip at the top-left corner (u = v = 0), where the mouse position is drawn"},
    {"textures\\ui\\logo.jpg", 512, 256, false, false, "the title over the menus, in the upper two fifths, on black"},

    // Icons of the bonus kinds, in their colours (laid over the falling coin).
    {"textures\\bonus\\ball_normal.png", 64, 64, true, false, "bonus icon \"N\" over the falling coin; alpha-blended"},
    {"textures\\bonus\\ball_heavy.png", 64, 64, true, false, "bonus icon \"H\" over the falling coin; alpha-blended"},
    {"textures\\bonus\\ball_phantom.png", 64, 64, true, false, "bonus icon \"P\" over the falling coin; alpha-blended"},
    {"textures\\bonus\\ball_fire.png", 64, 64, true, false, "bonus icon \"F\" over the falling coin; alpha-blended"},
    {"textures\\bonus\\ball_explosive.png", 64, 64, true, false,
     "bonus icon \"X\" over the falling coin; alpha-blended"},
    {"textures\\bonus\\ball_electro.png", 64, 64, true, false, "bonus icon \"E\" over the falling coin; alpha-blended"},
    {"textures\\bonus\\ball_generative.png", 64, 64, true, false,
     "bonus icon \"G\" over the falling coin; alpha-blended"},
    {"textures\\bonus\\ball_universal.png", 64, 64, true, false,
     "bonus icon \"U\" over the falling coin; alpha-blended"},
    {"textures\\bonus\\gloves.png", 64, 64, true, false, "bonus icon \"Gl\" over the falling coin; alpha-blended"},
    {"textures\\bonus\\boomer.png", 64, 64, true, false, "bonus icon \"Bo\" over the falling coin; alpha-blended"},
    {"textures\\bonus\\bomb.png", 64, 64, true, false, "bonus icon \"Bm\" over the falling coin; alpha-blended"},
    {"textures\\bonus\\grenade.png", 64, 64, true, false, "bonus icon \"Gr\" over the falling coin; alpha-blended"},
    {"textures\\bonus\\min_speedup.png", 64, 64, true, false, "bonus icon \"<<\" over the falling coin; alpha-blended"},
    {"textures\\bonus\\max_speedup.png", 64, 64, true, false, "bonus icon \">>\" over the falling coin; alpha-blended"},
    {"textures\\bonus\\life.png", 64, 64, true, false, "bonus icon \"+1\" over the falling coin; alpha-blended"},
    {"textures\\bonus\\death.png", 64, 64, true, false, "bonus icon \"-1\" over the falling coin; alpha-blended"},
    {"textures\\bonus\\slumber.png", 64, 64, true, false, "bonus icon \"Zz\" over the falling coin; alpha-blended"},
    {"textures\\bonus\\vivacity.png", 64, 64, true, false, "bonus icon \"!!\" over the falling coin; alpha-blended"},
    {"textures\\bonus\\back_wall.png", 64, 64, true, false, "bonus icon \"W\" over the falling coin; alpha-blended"},
    {"textures\\bonus\\frost.png", 64, 64, true, false, "bonus icon \"*\" over the falling coin; alpha-blended"},
    {"textures\\bonus\\slip.png", 64, 64, true, false, "bonus icon \"~\" over the falling coin; alpha-blended"},
    {"textures\\bonus\\reset.png", 64, 64, true, false, "bonus icon \"R\" over the falling coin; alpha-blended"},
    {"textures\\bonus\\random.png", 64, 64, true, false, "bonus icon \"?\" over the falling coin; alpha-blended"},
    {"textures\\bonus\\next.png", 64, 64, true, false, "bonus icon \">|\" over the falling coin; alpha-blended"},
    {"textures\\bonus\\small_ball.png", 64, 64, true, false, "bonus icon \"o\" over the falling coin; alpha-blended"},
    {"textures\\bonus\\four_small_balls.png", 64, 64, true, false,
     "bonus icon \"4o\" over the falling coin; alpha-blended"},
    {"textures\\bonus\\new_ball_normal.png", 64, 64, true, false,
     "bonus icon \"+N\" over the falling coin; alpha-blended"},
    {"textures\\bonus\\new_ball_heavy.png", 64, 64, true, false,
     "bonus icon \"+H\" over the falling coin; alpha-blended"},
    {"textures\\bonus\\new_ball_phantom.png", 64, 64, true, false,
     "bonus icon \"+P\" over the falling coin; alpha-blended"},
    {"textures\\bonus\\new_ball_fire.png", 64, 64, true, false,
     "bonus icon \"+F\" over the falling coin; alpha-blended"},
    {"textures\\bonus\\new_ball_explosive.png", 64, 64, true, false,
     "bonus icon \"+X\" over the falling coin; alpha-blended"},
    {"textures\\bonus\\new_ball_electro.png", 64, 64, true, false,
     "bonus icon \"+E\" over the falling coin; alpha-blended"},
    {"textures\\bonus\\new_ball_generative.png", 64, 64, true, false,
     "bonus icon \"+G\" over the falling coin; alpha-blended"},
    {"textures\\bonus\\new_ball_universal.png", 64, 64, true, false,
     "bonus icon \"+U\" over the falling coin; alpha-blended"},

    // Surfaces of blocks, the table and game objects (tileable).
    {"textures\\wood.jpg", 256, 256, false, true, "wood grain running along u"},
    {"textures\\planks.jpg", 256, 256, false, true, "wooden floor boards along u"},
    {"textures\\marble.jpg", 256, 256, false, true, "white marble with grey veins"},
    {"textures\\marble_dark.jpg", 256, 256, false, true, "dark green marble with light veins"},
    {"textures\\floor_tiles.jpg", 256, 256, false, true, "2 x 2 chequered marble floor tiles with grout"},
    {"textures\\stone.jpg", 256, 256, false, true, "rough grey granite"},
    {"textures\\bricks.jpg", 256, 256, false, true, "red bricks, 8 courses"},
    {"textures\\metal.jpg", 256, 256, false, true, "brushed steel, brushed along u"},
    {"textures\\metal_plate.jpg", 256, 256, false, true, "steel panels with rivets, 2 x 2"},
    {"textures\\ball_enamel.jpg", 256, 128, false, true,
     "enamelled gores, crimson and ivory, for the sphere's mapping (the plain ball)"},
    {"textures\\glass.png", 256, 256, true, true, "pale glass with faint streaks; alpha-blended"},
    {"textures\\ice.jpg", 256, 256, false, true, "pale blue ice with cracks"},
    {"textures\\frost.png", 256, 256, true, true, "white frost crystals; alpha-blended (the ice cover)"},
    {"textures\\rubber.jpg", 256, 256, false, true, "dark grainy rubber"},
    {"textures\\fracture.jpg", 256, 256, false, true, "broken inner surface of a block"},
    {"textures\\lava.jpg", 256, 256, false, true, "glowing lava under a dark crust (fire blocks)"},
    {"textures\\water.jpg", 256, 256, false, true, "blue water with caustics (water blocks)"},
    {"textures\\energy.jpg", 256, 256, false, true, "blue electric filaments (electro blocks and balls)"},
    {"textures\\hazard.jpg", 256, 256, false, true, "yellow and black warning stripes (explosives)"},
    {"textures\\portal.jpg", 256, 256, false, true, "violet energy cells (teleports)"},
};

// The sky boxes: folders "env\<name>\" with the pictures "<face>.jpg". The game lists the folders
// sorted by name and takes the first one when a level names none, so the order here is that
// listing's order and its first name is the default sky.
inline constexpr std::string_view ENVIRONMENT_NAMES[] = {"clouds", "dusk", "stars"};
inline constexpr std::string_view ENVIRONMENT_FACES[] = {"front", "back", "right", "left", "down", "up"};
inline constexpr int ENVIRONMENT_FACE_SIDE = 512;

// Splash slide pictures, shown in this order by "splash\config.yml". Opaque, black at their
// borders so that they sit on a black slide background without a visible edge.
inline constexpr TextureFile SPLASH_PICTURES[] = {
    {"splash\\emblem.jpg", 512, 512, false, false, "the emblem: a glowing ball over a pyramid of blocks"},
    {"splash\\title.jpg", 512, 256, false, false, "the title card \"Korvelin\""},
    {"splash\\credits.jpg", 512, 256, false, false, "the free software the game is built with"},
};

} // namespace content
