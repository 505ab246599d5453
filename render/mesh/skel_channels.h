#pragma once
// Animation set-up of a skinned mesh: building the pose lists an owner appends to the mesh, and
// checking that a list can be played. YSkelMesh::SetChannel and YSkelMesh::SetChannelBoneWeights
// (declared with the mesh) bind lists and weights to channels.
//
// A pose list is played step by step, each step lasting its target pose's frames; the start of a
// channel takes its position modulo the list's length and the advance runs until a step outlasts
// the elapsed time. So a list is playable only when it is not empty and every pose it names
// exists, has a rotation per bone and lasts at least one frame.
#include <cstdint>
#include <vector>

#include "render/mesh/skel_data.h"

// The values up to, not including, the first negative one (null: none).
std::vector<int32_t> MakeIntList(const int32_t* values);
// first, first + 1, ..., first + count - 1; empty when count < 1.
std::vector<int32_t> MakeIntRange(int32_t first, int32_t count);

// Pose list `list` of `skel` exists and is playable (see above).
bool IsPlayablePoseList(const YSkelData& skel, int32_t list);
