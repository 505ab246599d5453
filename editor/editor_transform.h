#pragma once
// Camera-relative editing: a vector typed as "[x,y,z]" means camera right, up and forward, is
// snapped to the nearest world axis and then moves the cursor, resizes it, or moves or rotates the
// current group or all groups. And the centring of the whole level over the table.
#include "math/vector.h"

class EditorLevel;

enum EditorTransformKind {
    EDIT_MOVE = 0,
    EDIT_SIZE = 1,
    EDIT_MOVE_GROUP = 2,
    EDIT_ROTATE_GROUP = 3,
    EDIT_MOVE_ALL = 4,
    EDIT_ROTATE_ALL = 5,
};

// The camera's axes as the last frame set them: the first, second and third columns of its view.
struct EditorCameraAxes {
    YVector right{1, 0, 0};
    YVector up{0, 1, 0};
    YVector forward{0, 0, 1};
};

// The largest cell count a block may have along one axis, and the bound below which the cell count
// of each face must stay.
constexpr int EDITOR_SIZE_MAX = 9;
constexpr int EDITOR_FACE_LIMIT = 10;

// The entry of (+x, +y, +z, -x, -y, -z) with the largest dot product with d; a later entry must
// be strictly larger to win.
YVector SnapToAxis(const YVector* d);

// Parses "[%f,%f,%f]"; false (out untouched) unless three finite numbers stand there.
bool ParseVectorArg(const char* text, YVector* out);

// Applies the transform `kind` (EditorTransformKind) with the vector `a`. The first non-zero
// component of a, in the order x, y, z, picks the camera axis and its sign. A zero vector, or one
// that is not finite, changes nothing.
void EditorTransform(EditorLevel& level, const EditorCameraAxes& axes, int kind, const YVector* a);

// The cursor size after adding one cell per axis step: each clamped to 1..EDITOR_SIZE_MAX, then
// shrunk until the cell count of every face is below EDITOR_FACE_LIMIT.
void ClampCursorSize(int& sx, int& sy, int& sz);

// Moves every group so that the built blocks are centred across x and stand on z = 0. With no
// block built nothing moves.
void CenterLevel(EditorLevel& level);
