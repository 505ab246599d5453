#include "editor/editor_transform.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "editor/editor_level.h"
#include "editor/editor_matrix.h"
#include "editor/editor_scene.h"

namespace {

const YVector kWorldAxes[6] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {-1, 0, 0}, {0, -1, 0}, {0, 0, -1}};

// The snapped axis as a cell step: every component -1, 0 or 1.
int Step(float component) { return component > 0.5f ? 1 : (component < -0.5f ? -1 : 0); }

YMatrix Translation(const YVector& t) {
    YMatrix m;
    m.MatrixSetTranslation(t);
    return m;
}

// Rotation about Y by t.x, then about X by -t.y, then about Z by t.z (row vectors: applied in
// that order).
YMatrix CombinedRotation(const YVector& t) {
    return MatrixRotationZDeg(t.z) * (MatrixRotationXDeg(-t.y) * MatrixRotationYDeg(t.x));
}

} // namespace

YVector SnapToAxis(const YVector* d) {
    int best = 0;
    float bestDot = kWorldAxes[0].Dot(*d);
    for (int i = 1; i < 6; ++i) {
        const float dot = kWorldAxes[i].Dot(*d);
        if (dot > bestDot) best = i, bestDot = dot;
    }
    return kWorldAxes[best];
}

bool ParseVectorArg(const char* text, YVector* out) {
    if (!text) return false;
    float x = 0, y = 0, z = 0;
    if (std::sscanf(text, "[%f,%f,%f]", &x, &y, &z) != 3) return false;
    if (!std::isfinite(x) || !std::isfinite(y) || !std::isfinite(z)) return false;
    out->Set(x, y, z);
    return true;
}

void ClampCursorSize(int& sx, int& sy, int& sz) {
    sx = std::clamp(sx, 1, EDITOR_SIZE_MAX);
    sy = std::clamp(sy, 1, EDITOR_SIZE_MAX);
    sz = std::clamp(sz, 1, EDITOR_SIZE_MAX);
    for (;;) {
        while (sx * sy >= EDITOR_FACE_LIMIT) --sy;
        if (sx * sz >= EDITOR_FACE_LIMIT) {
            --sx;
            continue;
        }
        if (sy * sz >= EDITOR_FACE_LIMIT) {
            --sy;
            continue;
        }
        break;
    }
}

void EditorTransform(EditorLevel& level, const EditorCameraAxes& axes, int kind, const YVector* a) {
    if (!a || !std::isfinite(a->x) || !std::isfinite(a->y) || !std::isfinite(a->z)) return;
    YVector d;
    if (a->x != 0.0f)
        d = a->x > 0.0f ? axes.right : axes.right.Negate();
    else if (a->y != 0.0f)
        d = a->y > 0.0f ? axes.up : axes.up.Negate();
    else if (a->z != 0.0f)
        d = a->z > 0.0f ? axes.forward : axes.forward.Negate();
    else
        return; // no direction
    const YVector A = SnapToAxis(&d);
    const float L = std::sqrt(a->x * a->x + a->y * a->y + a->z * a->z);
    const YVector t = A * L;

    switch (kind) {
        case EDIT_MOVE:
            level.cursor.x += Step(A.x);
            level.cursor.y += Step(A.y);
            level.cursor.z += Step(A.z);
            break;
        case EDIT_SIZE: {
            int sx = level.cursorSize.x + Step(A.x);
            int sy = level.cursorSize.y + Step(A.y);
            int sz = level.cursorSize.z + Step(A.z);
            ClampCursorSize(sx, sy, sz);
            level.cursorSize = {sx, sy, sz};
            break;
        }
        case EDIT_MOVE_GROUP: {
            YMatrix& m = level.CurrentGroup().matrix;
            m = Translation(t) * m;
            level.RebuildScene();
            break;
        }
        case EDIT_ROTATE_GROUP: {
            YMatrix& m = level.CurrentGroup().matrix;
            m = MatrixRotationYDeg(t.x) * m;
            m = MatrixRotationXDeg(-t.y) * m;
            m = MatrixRotationZDeg(t.z) * m;
            level.RebuildScene();
            break;
        }
        case EDIT_MOVE_ALL: {
            const YMatrix move = Translation(t);
            for (EditorGroup& g : level.groups) g.matrix = move * g.matrix;
            level.RebuildScene();
            break;
        }
        case EDIT_ROTATE_ALL: {
            const YMatrix rotation = CombinedRotation(t);
            for (EditorGroup& g : level.groups) g.matrix = rotation * g.matrix;
            level.RebuildScene();
            break;
        }
        default: break;
    }
}

void CenterLevel(EditorLevel& level) {
    if (!level.scene) return;
    const std::vector<EditorBuiltBlock>& built = level.scene->BuiltBlocks();
    if (built.empty()) return;
    float minX = 10000.0f, maxX = -10000.0f, minZ = 10000.0f;
    for (const EditorBuiltBlock& b : built) {
        for (int corner = 0; corner < 8; ++corner) {
            const YVector local((corner & 1) ? b.halfSize.x : -b.halfSize.x,
                                (corner & 2) ? b.halfSize.y : -b.halfSize.y,
                                (corner & 4) ? b.halfSize.z : -b.halfSize.z);
            const YVector p = b.world.TransformPoint(local);
            minX = std::min(minX, p.x);
            maxX = std::max(maxX, p.x);
            minZ = std::min(minZ, p.z);
        }
    }
    const YMatrix move = Translation(YVector(-(minX + maxX) * 0.5f, 0.0f, -minZ));
    for (EditorGroup& g : level.groups) g.matrix = move * g.matrix;
    level.RebuildScene();
}
