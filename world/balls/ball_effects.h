#pragma once
// Two drawn effects of the ball modes that are not particles: the crown, a glowing camera-facing
// sprite laid just in front of a phantom, fire, explosive or electro ball, and the lightning bolt,
// a jagged chain of flat ribbons from an electro ball (or an electro block's centre) to its
// target. Both go on the blended draw queue, so they are drawn back to front with the scene's
// other transparent things. Nothing here allocates per frame: the drawers and the ribbon quad are
// statics, the segments live in their owner's records and the queue stores pointers to them.
#include "math/vector.h"
#include "render/draw_list.h"

class YShader;
class YMeshDraw;

// One ribbon of a bolt: from start to end, `side` is half the ribbon's width as a vector across
// the bolt. A segment array must outlive the frame in which its segments were queued.
struct LightningSegment {
    YVector start;
    YVector end;
    YVector side;
};

// The crown drawer of one kind of ball. The queued item is a YBallMode (its world matrix and
// radius are read).
class YDrawBallCrown : public YDrawObj {
public:
    YDrawBallCrown(YShader* shader_, float sizeFactor_) : shader(shader_), sizeFactor(sizeFactor_) {}
    // Makes the shader current with its material and draws a billboard of half size
    // sizeFactor x radius, 1.1 radii from the ball's centre toward the eye; nothing when the eye
    // sits at the centre.
    void Draw(void* item) override;

    YShader* shader; // not owned
    float sizeFactor;
};

// Draws a crown around a ball of this radius at this position: the billboard's centre and half
// size, or false when the eye is at the position (within 1e-6).
bool CrownPlacement(const YVector& position, float radius, float sizeFactor, YVector* centre, float* halfSize);

// Draws a queued LightningSegment as a textured quad with the shader "lightning".
class YDrawBlastLine : public YDrawObj {
public:
    void Draw(void* item) override;
};
YDrawBlastLine* BlastLineDrawer();

// The number of segments a bolt of this length gets: whole part of length / segmentLength,
// at least 1, at most maxCount.
int LightningSegmentCount(float length, float segmentLength, int maxCount);

// Fills up to maxCount segments from `from` to `to` and queues each one for blended drawing. The
// ribbon's side is (direction x the camera's back axis) x width, not normalised, so a bolt seen
// end-on becomes thin; every inner point is jittered by up to 0.375 along each axis, and so is
// the last one. Ends closer than 1e-6 build and queue nothing.
void BuildLightning(LightningSegment* segments, int maxCount, const YVector* from, const YVector* to, float width,
                    float segmentLength);
