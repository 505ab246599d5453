#pragma once
// Every shader name the program asks for with FindShader. A name that no shader file defines gives
// an empty shader, which draws black (or, for the shadow passes, black triangles over the scene),
// so the shipped "data\shaders.yml", "data\shaders_env.yml" and "data\shaders_blocks.yml" must
// define each name of SHADER_NAMES_USED_BY_CODE. The fonts' shaders are named by "data\fonts.yml"
// (listed here too, and also checked against that file).
//
// Names the code makes itself (the
// environment box's face copies "env_front" ... "env_up", cloned from "environment") need no
// definition.
#include <string_view>

namespace content {

struct ShaderName {
    std::string_view name;
    std::string_view user;
};

inline constexpr ShaderName SHADER_NAMES_USED_BY_CODE[] = {
    {"console", "the text console's panel"},
    {"bar", "the in-game overlay's score bar and side panel"},
    {"heart", "the in-game overlay's lives icon"},
    {"ball_angle", "the in-game overlay's launch-angle needle"},
    {"star", "the menu comets' stars"},
    {"comets", "the menu comets' trail particles"},
    {"font_sysfont", "data\\fonts.yml: sysfont"},
    {"font_default", "data\\fonts.yml: default"},
    {"font_mainfont", "data\\fonts.yml: mainfont"},
    {"font_billboard", "data\\fonts.yml: billboard"},
    {"shadowPass1", "stencil shadows: volume faces turned away from the camera"},
    {"shadowPass2", "stencil shadows: volume faces towards the camera, planar shadows"},
    {"shadowPass3", "stencil shadows: darkening of the shadowed pixels"},
    {"environment", "the sky box; each face takes a copy and sets its first stage's texture"},
    {"blast", "the blast particle of SpawnBlast"},
    {"block", "outer faces of a block material that names no shader"},
    {"in_block", "fracture faces of a block material that names no inner shader"},
    {"spark", "the sparks of SpawnBlast and SpawnSparks"},
    {"edit_line", "the level editor's grid, cursor box and guide lines"},
    {"ui", "the level editor's status panels"},
    {"cursor", "the mouse cursor of the level editor and of the game's pages"},
    {"fade", "the game's fade to black between states"},
    {"logo", "the title over the game's main menu"},
    {"ball_pos", "the marker of a ball hidden behind something"},
    {"blast_wave", "explosion ring decal on the table"},
    {"pyr1", "table pyramid, subset 0 (without a table material)"},
    {"pyr2", "table pyramid, subsets 1, 2 and 7"},
    {"pyr4", "table pyramid, subset 3"},
    {"pyr5", "table pyramid, subset 4"},
    {"pyr6", "table pyramid, subset 5"},
    {"pyr7", "table pyramid, subset 6"},
    {"pyr9", "table pyramid, subset 8"},
    {"border", "table border"},
    {"zonly", "the table's depth-only floor pass"},
    {"ice-cover", "frost over the table"},
    {"lmap", "light spots under glowing objects"},
    {"split", "wall-contact flashes"},
    // Balls, their crowns, particles and lightning.
    {"ball", "normal ball"},
    {"ball_heavy", "heavy ball"},
    {"ball_phantom", "phantom ball, first subset"},
    {"ball_phantom2", "phantom ball, second subset"},
    {"ball_fire", "fire ball"},
    {"ball_explosive", "explosive ball"},
    {"ball_electro", "electro ball"},
    {"ball_generative", "generative ball"},
    {"ball_universal", "universal ball"},
    {"ball_small", "small ball"},
    {"ballphantom_flare", "phantom ball crown"},
    {"ballfire_flare", "fire ball crown"},
    {"ballexplosive_flare", "explosive ball crown"},
    {"ballelectro_flare", "electro ball crown"},
    {"ballfire_particles", "fire ball and fire block flames"},
    {"ballphantom_particles", "phantom ball trail"},
    {"lightning", "electro ball lightning"},
    // Bombs and grenades.
    {"bomb", "bomb body"},
    {"grenade", "grenade body"},
    {"bomb_fuse", "bomb and grenade fuse"},
    {"bomb_fuse_particles", "fuse sparks"},
    // Falling bonuses and the boomerang (each bonus kind's own shader is named by data\\bonuses.yml).
    {"bonus2", "the falling bonus's coin"},
    {"spark2", "the sparks of a caught bonus"},
    {"boomer", "the boomerang"},
    // Block specials.
    {"teleport_spark", "teleport block sparks"},
    // The level choice.
    {"wheel1", "level picker, large wheel"},
    {"wheel2", "level picker, middle wheel"},
    {"wheel3", "level picker, thumbnail wheel"},
    {"level_thumb", "level picker, open level's picture"},
    {"level_thumb_select", "level picker, selected level's picture"},
    {"level_thumb_deny", "level picker, closed level's picture"},
    {"level_thumb2", "level page, start button of an open level"},
    {"level_thumb2_h", "level page, start button under the mouse"},
    {"level_thumb2_d", "level page, start button of a closed level"},
};

} // namespace content
