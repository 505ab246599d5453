#include "world/specials/spawn_point.h"

#include <cmath>

const YVector BLOCK_FACE_DIRECTIONS[6] = {{-1, 0, 0}, {1, 0, 0}, {0, -1, 0}, {0, 1, 0}, {0, 0, -1}, {0, 0, 1}};

bool FindSpawnPoint(const YMatrix& placement, const YVector& halfSize, unsigned visibleFaces, int startFace,
                    float tableHalfWidth, float tableHalfDepth, YVector* point) {
    startFace %= 6;
    if (startFace < 0) startFace += 6;
    for (int i = 0; i < 6; ++i) {
        const int k = (startFace + i) % 6;
        if (!(visibleFaces & (1u << k))) continue;
        const YVector& d = BLOCK_FACE_DIRECTIONS[k];
        const YVector local(halfSize.x * d.x, halfSize.y * d.y, halfSize.z * d.z);
        const YVector p = placement.TransformPoint(local);
        // The tests are written so that a point that is no number never passes.
        if (p.z >= 0.1f && std::fabs(p.x) <= tableHalfWidth - 0.1f && std::fabs(p.y) <= tableHalfDepth - 0.1f) {
            *point = p;
            return true;
        }
    }
    return false;
}
