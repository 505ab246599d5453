#pragma once
// Where a generator block puts a new small ball and where a teleport block puts what it sends:
// the centre of one of the block's faces that lies over the table.
#include "math/matrix.h"
#include "math/vector.h"

// Face directions in face order: -x, +x, -y, +y, -z, +z.
extern const YVector BLOCK_FACE_DIRECTIONS[6];

// Tries the faces startFace, startFace + 1, ... (mod 6) whose bit is set in visibleFaces (bit k:
// face k) and takes the first face centre (halfSize x direction, placed by `placement`) with
// z >= 0.1, |x| <= tableHalfWidth - 0.1 and |y| <= tableHalfDepth - 0.1. False when none is.
bool FindSpawnPoint(const YMatrix& placement, const YVector& halfSize, unsigned visibleFaces, int startFace,
                    float tableHalfWidth, float tableHalfDepth, YVector* point);
