#pragma once
// The skinned-mesh cache (".mab"): the fields of the mesh cache (see mesh_binary.h), then
//
//   bones        count; each: i32 id, i32 parent, 3 x f32 offset, 4 x f32 rotation,
//                u32 influence count, then per influence i32 position group, f32 weight
//   poses        count; each: 3 x f32 root offset, i32 frames, u32 rotation count, 4 x f32 each
//   pose lists   count; each: u32 count, that many i32
//   attachments  count; each: i32 id, i32 bone, 16 x f32 local matrix
//   end mark     one byte 0x1A (its value is not checked, and a file without it reads the same)
//
// Inverse bind matrices are not stored.
#include <string>

#include "core/streams.h"
#include "render/mesh/mesh_data.h"
#include "render/mesh/skel_data.h"

constexpr unsigned char SKEL_END_MARK = 0x1A;

void WriteSkelMeshBinary(OutStream& out, const std::string& name, const YMeshData& mesh, const YSkelData& skel);

// Reads the whole file, checking as the mesh cache reader does and also: parents before their
// children, influences on existing position groups, one rotation per bone in every pose, pose
// lists naming existing poses, attachments on existing bones. On failure a line naming
// `fileName` and the reason is logged, everything is left empty and the result is false.
bool ReadSkelMeshBinary(InStream& in, std::string& name, YMeshData& mesh, YSkelData& skel, const char* fileName);
