#pragma once
// Drawables: everything that puts a mesh into the 3D scene is a YMeshDraw, with a world matrix, a
// shader per material subset, a visible flag, a shadow mode and draw flags.
//
// The registry
// ------------
// Every YMeshDraw is in one global registry for exactly its lifetime: the constructor appends it,
// the destructor takes it out (the last entry moves into its place, so the order carries no
// meaning). Readers walk MeshDrawRegistry() and use the public fields and the two draw slots:
//
//   - the frame (QueueMeshDraws below) queues every visible object whose draw flags have bit 0 or
//     bit 1 set; the queue's drawer (YMeshDrawer) calls Draw;
//   - the planar-shadow pass calls DrawWithMatrix(projection x view) on every object whose shadow
//     mode is SHADOW_PLANAR; DrawWithMatrix draws nothing while the object is hidden and applies
//     no shader (the pass has set its own render state);
//   - objects in SHADOW_VOLUME mode hand their silhouette edges to the shadow volume themselves
//     while they draw (render/mesh/mesh_shadow.h).
//
// The registry must not gain or lose entries while it is walked. Main thread only.
#include <cstdint>
#include <vector>

#include "math/matrix.h"
#include "render/draw_list.h"
#include "render/render_objects.h"

// Shadow modes.
constexpr int SHADOW_NONE = 0;
constexpr int SHADOW_VOLUME = 1; // stencil shadow volume from the silhouette edges
constexpr int SHADOW_PLANAR = 2; // drawn flattened onto the table by the planar projection

// Draw-flag bits that put an object on the draw queues.
constexpr int MESH_DRAW_QUEUED = 1 | 2;

class YMeshDraw {
public:
    // Identity matrix, no shaders, visible, shadow mode SHADOW_VOLUME; joins the registry.
    explicit YMeshDraw(int drawFlags);
    // Leaves the registry.
    virtual ~YMeshDraw();
    YMeshDraw(const YMeshDraw&) = delete;
    YMeshDraw& operator=(const YMeshDraw&) = delete;

    // Copies the 16 floats into the world matrix.
    virtual void SetTransform(const float m[16]);
    // Draws the object with its shaders, world matrix x camera view.
    virtual void Draw() = 0;
    // Draws the mesh with world matrix x parent and the current render state; nothing while the
    // object is hidden.
    virtual void DrawWithMatrix(const YMatrix* parent) = 0;

    // The translation row (elements 12 to 14) of the world matrix.
    YVector Position() const { return {world.m[12], world.m[13], world.m[14]}; }
    // The first shader applies alpha blending (the object belongs on the blended queue).
    bool IsBlended() const;

    YMatrix world;                     // object to world
    std::vector<YShaderBase*> shaders; // subset i is drawn with shaders[i % size]; not owned
    uint8_t visible = 1;               // 0 hides the object from every draw path
    int shadowMode = SHADOW_VOLUME;
    int drawFlags; // bits 0 and 1 put the object on the draw queues
};

// Every drawable alive now.
const std::vector<YMeshDraw*>& MeshDrawRegistry();

// The frame's walk: every registered object that is visible and has bit 0 or 1 of its draw flags
// set goes to the blended queue when its first shader blends, else to the opaque queue, keyed by
// its matrix's translation, with MeshDrawer() as its drawer. Allocates only when a queue grows.
void QueueMeshDraws();

// The drawer of queued drawables: the item is a YMeshDraw*; it is drawn, and then the world
// transform goes back to the camera's view, which the items drawn after it (particles, block
// faces) expect.
class YMeshDrawer : public YDrawObj {
public:
    void Draw(void* item) override;
};

YMeshDrawer* MeshDrawer();
