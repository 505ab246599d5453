#pragma once
// Import of the text model block that opens ".mes" and ".ams" files:
//
//   mesh <name>
//   vertices N    N x "x y z"
//   tvertices N   N x "u v"                     (v is stored as 1 - v)
//   faces N       N x "p0 p1 p2 t0 t1 t2 m s"   (position and texture indices from 0, material id,
//                                                smoothing mask)
//   [lightmap <word> <word> N  N x "u v"  tfaces M  M x "f l0 l1 l2"]
//   any other word (consumed) or the end of the input closes the block.
//
// The exporter's view (positions shared by faces, per-face texture indices, smoothing masks)
// becomes the renderer's: vertices split where texture coordinates or smoothing differ, normals
// averaged within smoothing groups, faces sorted by material into subsets, 16-bit indices and the
// list of shared edges.
#include "render/mesh/mesh_data.h"
#include "render/mesh/mesh_text_reader.h"

enum class YMeshImportResult {
    Ok,         // the whole block was read and built
    Incomplete, // a keyword was missing: "Error token: %s" was logged and the mesh is built from
                // what was read before it (nothing at all for a missing file)
    Refused,    // a bad number, a count beyond the file, an index out of range or a model beyond
                // the group limits: the error was logged and the mesh is left empty
};

// Reads the block from `in` into `mesh` (whose lists are replaced).
YMeshImportResult ImportMeshText(YMeshTextReader& in, YMeshData& mesh);
