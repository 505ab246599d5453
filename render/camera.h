#pragma once
// The scene camera and the two mouse-driven view controllers.
//
// The camera holds the view matrix and what drawing code derives from it every frame: the eye
// position (the inverse's translation row), the camera axes for camera-facing quads, the light
// direction and the field of view. The renderer keeps its view transform at identity, so drawing
// code passes "object matrix, then camera view" as the world matrix.
//
// The controllers turn mouse drags into rotation matrices that the frames combine with the
// camera: YArcBall is the editor's free trackball, YOrbitView the game's orbit with bounded yaw
// and pitch. Angles are in degrees; matrices follow math (row vectors, translation in row 3).
#include "math/matrix.h"
#include "math/vector.h"

class YCamera {
public:
    // Field of view 45 degrees; the view turned 25 degrees down about x, then moved 30 units back
    // (the eye sits 30 units from the origin); the light along (-0.1, 0.2, -0.3), normalised.
    YCamera();

    // Stores the angle (vertical, degrees) and the tangent of its half.
    void SetFov(float degrees);
    // Stores the view, its inverse and the axes read from its columns.
    void SetView(const YMatrix* view);
    // Stores the direction as given (not normalised).
    void SetLightDir(const YVector* dir);

    // The eye in world coordinates: the inverse view's translation row.
    YVector Position() const { return {inverse.m[12], inverse.m[13], inverse.m[14]}; }

    YMatrix view;
    YMatrix inverse;
    YVector lightDir;
    YVector back;        // third column of the view: from the scene toward the eye
    YVector right;       // first column
    YVector up;          // second column
    YVector rightPlusUp; // the two diagonals of a camera-facing quad, not normalised
    YVector rightMinusUp;
    float fov; // vertical, degrees
    float tanHalfFov;
};

// The one camera, built at static start-up.
extern YCamera g_Camera;

// Trackball: a drag turns the view about the axis between the points under the mouse on a unit
// sphere that fills the window. While dragging, GetMatrix previews the drag's rotation; the
// rotation is folded into the stored one by the first GetMatrix after the drag ends.
class YArcBall {
public:
    YArcBall();

    // Sizes below 1 (a minimised window) are ignored: the last usable size stays.
    void SetWindowSize(int w, int h);
    void BeginDrag(int x, int y);
    void Drag(int x, int y);
    void EndDrag(int x, int y);
    // The rotation to use now, as 16 floats; returns out.
    float* GetMatrix(float out[16]);

    // The point of the unit sphere under window position (x, y); points outside the sphere's
    // outline land on its rim.
    YVector MapToSphere(int x, int y) const;

    int width = 0;
    int height = 0;
    float angle;    // pending rotation, degrees
    YVector axis;   // pending rotation axis (not normalised)
    YVector start;  // the drag's start point on the sphere
    YMatrix stored; // accumulated rotation; callers may set it
    bool dragging;
};

// Orbit: horizontal drags turn about z (yaw), vertical drags tilt about x (pitch), each within its
// limits. A whole half window width turns by twice the yaw limit, a half height by the pitch
// range. A drag only previews until the button is released; the release stores the angles.
class YOrbitView {
public:
    YOrbitView(float yawLimit, float initialPitch, float pitchMin, float pitchMax);

    // Yaw 0, the initial pitch, rotation rebuilt.
    void Reset();
    // Sizes below 1 (a minimised window) are ignored: the last usable size stays.
    void SetWindowSize(int w, int h);
    void BeginDrag(int x, int y);
    void Drag(int x, int y);
    void EndDrag(int x, int y);
    // A copy of the rotation; returns out.
    float* GetMatrix(float out[16]) const;

    float yaw = 0.0f;
    float pitch = 0.0f;
    float yawLimit;
    float pitchMin;
    float pitchMax;
    float initialPitch;
    int width = 0;
    int height = 0;
    int startX = 0;
    int startY = 0;
    YMatrix rotation;
    bool dragging = false;

private:
    // The angles a drag from the start point to (x, y) gives, clamped to the limits.
    void MapDrag(int x, int y, float* newYaw, float* newPitch) const;
    // rotation := yaw about z, then pitch about x.
    void Rebuild(float newYaw, float newPitch);
};
