#pragma once
// The racket's character, "mesh\hero.ams". Its animation layout (which poses make up each
// animation, how the racket's 25 channels play them, the footstep keys and the parked walk's
// travel) is render/mesh/hero_channels.h, which the racket includes as well; the generator writes
// the poses in that order and refuses to write a model that does not match it.
//
// The figure is about 100 model units tall (2 units of the scene at the racket's scale of 0.02),
// stands on the origin with z up and faces -y. It is modelled facing +y, where "forward" reads
// naturally, and turned half round about z as it is written.
//
// Bones (parents first), as HeroBone:
//   0 pelvis (the root; pose root offsets place it, 48 units up at rest)
//   1 chest   2 head   3 left arm   4 right arm   5 left leg   6 right leg
// Every position follows one bone with weight 1.
//
// Attachment points (matrices relative to their bone), as HeroAttachment:
//   0 in front of the chest, where balls, bombs and the boomerang are held
//   1 the right hand
//   2 the right hand's grip, where grenades are held
//   3 the mouth, the pipe's stem (its +x) turned to point forward
#include "render/mesh/hero_channels.h"
