#pragma once
// The binary mesh cache (".meb"): an imported mesh stored so that later starts skip the import.
// Little-endian, no magic, no version, no padding; counts are u32 element counts:
//
//   name             u16 length L (at most STREAM_STRING_MAX), L bytes
//   vertices         count; 10 x f32 each (position, normal, uv, second uv)
//   faces            count; i32 a, b, c; f32 normal x, y, z
//   normal groups    count; each: i32 F, F x i32 face, i32 V, V x i32 vertex
//   position groups  count; each: f32 x, y, z, i32 V, i32 F, V x i32 vertex, F x i32 face
//   edges            count; i32 a, b, f, g
//   indices          count; u16 each
//   subsets          count; i32 start, count, material, min vertex, span
//
// An empty mesh is 30 bytes plus its name. The skinned-mesh cache starts with the same fields.
#include <string>

#include "core/streams.h"
#include "render/mesh/mesh_data.h"

// The longest name stored: the writer cuts a longer one to this, the reader refuses a longer
// stored length. Names are file paths, so every name the game meets fits, and a cache of a mesh
// with a long path reads back (rather than being refused and re-imported at every start).
constexpr int MESH_NAME_MAX = STREAM_STRING_MAX;

class YMeshBinReader;
class YMeshBinWriter;

void WriteMeshBinary(OutStream& out, const std::string& name, const YMeshData& mesh);

// Reads the fields above into `mesh` and the stored name into `name`. The file carries no check
// of its own, so everything is checked as it is read: each count against the bytes left, group
// counts against the fixed arrays, every index against the list it points into, subsets against
// the index and vertex counts. On the first failure a line naming `fileName` and the reason is
// logged, `mesh` is left empty and the result is false.
bool ReadMeshBinary(InStream& in, std::string& name, YMeshData& mesh, const char* fileName);

// Fields 1 to 8 alone, for the skinned-mesh cache that goes on after them. The reader logs
// nothing; on failure `mesh` and `name` are left empty and the reader holds the reason.
void WriteMeshFields(YMeshBinWriter& w, const std::string& name, const YMeshData& mesh);
bool ReadMeshFields(YMeshBinReader& r, std::string& name, YMeshData& mesh);
