#pragma once
// Import of the skeleton that follows the mesh block in a skinned model file (".ams"):
//
//   [sceleton] <name>         (the first word may already have closed the mesh block)
//   B                         B x "id parent ox oy oz qx qy qz qw"   parents before children, -1: root
//   <word> A                  A x "id bone ox oy oz qx qy qz qw"     attachment points
//   <word> <word>             per position of the mesh, in order: "c" then c x "bone weight";
//                             c = 0 means bone 0 with weight 1
//   <word> P                  P x "<word> frameNumber rootX rootY rootZ" and per bone "qx qy qz qw"
//
// A pose's frames are its frame number minus the previous pose's (the first's minus 0).
#include <cstddef>

#include "render/mesh/mesh_import.h"
#include "render/mesh/mesh_text_reader.h"
#include "render/mesh/skel_data.h"

// Reads the skeleton for a mesh of `positionGroups` positions into `skel` (replacing it). Any bad
// number, count beyond the file, parent after its child or index out of range is logged as
// "Error token: %s" and refuses the skeleton: the result is Refused and `skel` is left empty.
// The bind pose is not built here.
YMeshImportResult ImportSkeletonText(YMeshTextReader& in, std::size_t positionGroups, YSkelData& skel);
