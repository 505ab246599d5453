#pragma once
// Placed copies of meshes.
//
// A YMeshInstanceBase is a render resource holding a private copy of a mesh's vertices and its own
// vertex buffer over the mesh's shared index buffer. Code that edits the copy (skinning, the cover)
// sets verticesChanged; the next draw uploads the copy once. The copy survives a lost device, so
// Restore rebuilds the buffer from it.
//
// The drawables built on it (all of them YMeshDraw objects in the registry of mesh_draw.h):
//   - YMeshInstance: an object with its own copy (the table decoration, the level picker's models,
//     the racket's animated character);
//   - YMeshInstanceRef: an object that draws one shared instance with its own matrix, shaders and
//     shadow mode (many balls, bonuses, bombs share one instance each);
//   - YMeshInstanceCover: a shell whose vertices follow another instance's surface, pushed
//     outwards along the surface normals.
#include <cstdint>
#include <vector>

#include "math/matrix.h"
#include "math/vertex.h"
#include "render/mesh/mesh.h"
#include "render/mesh/mesh_draw.h"
#include "render/render_objects.h"
#include "render/render_resource.h"

class YMeshInstanceBase : public YRenderResource, public YMeshInstanceData {
public:
    // Type mask RESOURCE_MESH_INSTANCE. Copies the mesh's vertices; with a scale other than
    // exactly 1.0, every vertex of each position group moves to scale x the group's position (the
    // copy only; normals stay). Makes the vertex buffer at once when the renderer exists. A null
    // mesh gives an instance with nothing to draw.
    YMeshInstanceBase(YMesh* mesh, float scale);
    ~YMeshInstanceBase() override;

    // With a renderer: a new vertex buffer from the vertex copy (the old one is dropped).
    void Restore() override;
    // With a renderer: the vertex buffer is dropped.
    void Release() override;
    // When verticesChanged is set: the copy goes into the vertex buffer and the flag is cleared.
    void Upload();

    // The mesh this is a copy of (not owned; may be null).
    YMesh* Mesh() const { return source_; }

    std::vector<YVertex> vertices; // the private copy, same order and count as the mesh's
    uint8_t verticesChanged = 0;

private:
    YMesh* source_;
};

// Draws `instance` the way every drawable does: upload, world matrix x camera view, each subset
// with its shader from `how`'s list and, in shadow mode SHADOW_VOLUME while shadows are on, the
// silhouette edges into the shadow volume.
void DrawMeshInstance(YMeshInstanceBase* instance, const YMeshDraw& how);
// Draws `instance` with how's world matrix x parent and the current render state; nothing while
// `how` is hidden.
void DrawMeshInstanceWithMatrix(YMeshInstanceBase* instance, const YMeshDraw& how, const YMatrix* parent);

class YMeshInstance : public YMeshDraw, public YMeshInstanceBase {
public:
    YMeshInstance(YMesh* mesh, float scale, int drawFlags);

    // Nothing while hidden; else DrawMeshInstance of this.
    void Draw() override;
    void DrawWithMatrix(const YMatrix* parent) override;
};

// Draws a shared instance (not owned, may be null: then nothing is drawn and no shadow is cast).
class YMeshInstanceRef : public YMeshDraw {
public:
    explicit YMeshInstanceRef(int drawFlags, YMeshInstanceBase* instance_ = nullptr)
        : YMeshDraw(drawFlags), instance(instance_) {}

    void Draw() override;
    void DrawWithMatrix(const YMatrix* parent) override;

    YMeshInstanceBase* instance;
};

// A shell over another instance of the same mesh: Rebuild copies that instance's vertices and
// moves each position group outwards by `thickness` along the normalised sum of the group's face
// normals. The game rebuilds it after the covered instance changed.
class YMeshInstanceCover : public YMeshDraw, public YMeshInstanceBase {
public:
    // Over covered's mesh (nothing to draw when covered is null).
    YMeshInstanceCover(YMeshInstanceBase* covered_, float scale, float thickness_, int drawFlags);

    void Draw() override;
    void DrawWithMatrix(const YMatrix* parent) override;

    // vertices := covered's vertices; every vertex of a position group moves to the group's first
    // vertex + n x thickness, n the unit sum of the group's face normals ((0, 0, 1) when that sum
    // is shorter than 1e-6); normals and texture coordinates stay as copied; verticesChanged := 1.
    // Nothing when the covered instance is gone or shows another mesh.
    void Rebuild();

    YMeshInstanceBase* covered; // not owned
    float thickness;
};
