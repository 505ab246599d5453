#pragma once
// Collision categories. Every geom of the game carries exactly one category bit and a set of
// collide bits; ODE tests a pair when either side's category meets the other side's collide bits.
//
//   category              geoms                                         collide bits
//   CAT_BLOCK       1     single blocks, splinters, block-set cells     0x17 / 0x15, +0x400 opaque
//   CAT_BALL        2     balls of kind 0 and 2, bombs, grenades        0x20F
//   CAT_FLOOR       4     the two floor boxes                           all
//   CAT_WALL        8     the far wall and both side walls              0
//   CAT_BORDER     16     border boxes and the near stop plane          0
//   CAT_REACH_RAY  32     the reach ray                                 1
//   CAT_COL_BOX    64     the boomerang's collision box                 0x20D
//   CAT_PROBE     128     the blast probe sphere                        1
//   CAT_ROLLER    256     balls of kind 1 (roll towards the racket)     0xC
//   CAT_BACK_WALL 512     the back-wall plane behind the racket         0
//   CAT_OCCLUSION 1024    the occlusion ray                             0
//
// So balls bounce off floors, walls, blocks, other balls and the enabled back wall but pass the
// borders and the stop plane; blocks rest on the floor, are held by borders and the stop plane and
// pass through the walls; rolling bodies meet only floors and walls.
namespace phys {

constexpr unsigned long CAT_BLOCK = 1;
constexpr unsigned long CAT_BALL = 2;
constexpr unsigned long CAT_FLOOR = 4;
constexpr unsigned long CAT_WALL = 8;
constexpr unsigned long CAT_BORDER = 16;
constexpr unsigned long CAT_REACH_RAY = 32;
constexpr unsigned long CAT_COL_BOX = 64;
constexpr unsigned long CAT_PROBE = 128;
constexpr unsigned long CAT_ROLLER = 256;
constexpr unsigned long CAT_BACK_WALL = 512;
constexpr unsigned long CAT_OCCLUSION = 1024;

constexpr unsigned long COLLIDE_BLOCK_BALL_SIDE = 0x17; // blocks, balls, floors, borders
constexpr unsigned long COLLIDE_BLOCK_SPLINTER = 0x15;  // blocks, floors, borders
constexpr unsigned long COLLIDE_OPAQUE = 0x400;         // seen by the occlusion ray
constexpr unsigned long COLLIDE_BALL = 0x20F;
constexpr unsigned long COLLIDE_ROLLER = 0xC;
constexpr unsigned long COLLIDE_COL_BOX = 0x20D;

} // namespace phys
