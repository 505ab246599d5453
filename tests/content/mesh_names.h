#pragma once
// Every mesh file the program asks for by name (GetMesh; GetSkelMesh for names ending in "ams"). A name with no file gives
// an empty mesh, which silently draws nothing, so the game folder must hold each of them. Add a
// name here when code starts loading a new one.
#include <array>
#include <string_view>

namespace content {

inline constexpr std::array<std::string_view, 15> MESH_NAMES_USED_BY_CODE = {
    "mesh\\ball_norm.mes",  // the normal ball
    "mesh\\ball2.mes",      // heavy, fire, explosive, electro, universal (x1.2) and small (x0.66) balls
    "mesh\\ball_phant.mes", // the phantom ball: two subsets, "ball_phantom" and "ball_phantom2"
    "mesh\\ball_sat.mes",   // the generative ball
    "mesh\\disk.mes",       // the falling bonus (x1.2)
    "mesh\\bomb.mes",       // two subsets, "bomb" and "bomb_fuse"
    "mesh\\grenade.mes",    // two subsets, "grenade" and "bomb_fuse"
    "mesh\\boomer.mes",     // the boomerang (x0.02)
    "mesh\\pipe.mes",       // the racket's pipe (x0.02)
    "mesh\\pyramid.mes",    // the table model: nine shaders, subsets 4, 6 and 7 reshaped with the table
    "mesh\\border.mes",     // the table's border: subset 0 reshaped
    "mesh\\wheel1.mes",     // the level picker's wheels (x0.1)
    "mesh\\wheel2.mes",     "mesh\\wheel3.mes",
    "mesh\\hero.ams", // the racket's character, a skinned mesh (GetSkelMesh)
};

} // namespace content
