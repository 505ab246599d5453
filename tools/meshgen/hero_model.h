#pragma once
// The racket's character, "mesh\hero.ams". Its animation layout (which poses make up each
// animation, how the racket's 25 channels play them, the footstep keys and the parked walk's
// travel) is render/mesh/hero_channels.h, which the racket includes as well; the generator writes
// the poses in that order and refuses to write a model that does not match it.
//
// The figure is about 97 model units tall (2 units of the scene at the racket's scale of 0.02),
// stands on the origin with z up and faces -y. It is modelled facing +y, where "forward" reads
// naturally, and turned half round about z as it is written.
//
// One closed skin (hero_body.cpp) over eleven bones, as HeroBone (parents first):
//   0 pelvis (the root; pose root offsets place it, 48 units up at rest)
//   1 chest   2 head   3, 4 left and right upper arm   5, 6 left and right thigh
//   7, 8 left and right forearm with the hand   9, 10 left and right shin with the foot
// Positions near the waist, neck, shoulders, elbows, hips and knees follow both bones that meet
// there. Materials: 0 shirt, 1 skin, 2 shoes and hair, 3 trousers (the racket's shaders "hero",
// "hero1", "hero2" and "hero3").
//
// Attachment points (matrices relative to their bone), as HeroAttachment:
//   0 in front of the chest, where balls, bombs and the boomerang are held
//   1 the right hand (on the right forearm)
//   2 the right hand's grip, where grenades are held (on the right forearm)
//   3 the mouth, the pipe's stem (its +x) turned to point forward
#include <string>

#include "render/mesh/hero_channels.h"

namespace meshgen {

// The whole text file, or "" (with a line on stderr) when the poses do not match the channel
// table.
std::string HeroText();

} // namespace meshgen
