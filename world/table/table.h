#pragma once
// The playing table: a rectangle of the plane z = 0 centred on the origin, width along x, depth
// along y, the racket's side at -y. It owns the two decorative models (the pyramid it stands on and
// the border round it), sets the physics arena to its size, answers whether a point lies on it,
// and keeps the short-lived marks on it: light spots under glowing objects, timed decals (burns
// of explosions) and the wall flashes of world/physics/wall_contacts.h.
//
// One instance, made by the game's and the editor's framework after LoadTableMaterials, reached
// through g_Table. Frame use: UpdateDecals(dt) once, then Draw(flags) in the background pass.
#include <memory>
#include <vector>

#include <ode/ode.h>

#include "math/vector.h"
#include "render/mesh/mesh_instance.h"
#include "render/render_values.h"

class YShader;

// The table's two models: copies that the table reshapes, never drawn by the frame's walk (draw
// flags 4) nor through their own draw slot.
class YPyramid : public YMeshInstance {
public:
    explicit YPyramid(YMesh* mesh) : YMeshInstance(mesh, 1.0f, 4) {}
    void Draw() override {}
    void DrawWithMatrix(const YMatrix*) override {}
};

class YBorder : public YMeshInstance {
public:
    explicit YBorder(YMesh* mesh) : YMeshInstance(mesh, 1.0f, 4) {}
    void Draw() override {}
    void DrawWithMatrix(const YMatrix*) override {}
};

struct YLightSpot {
    float x, y; // centre on the table
    float halfSize;
    float colour[4]; // already faded
    YShader* shader;
};

struct YTableDecal {
    float lifetime;
    float age;
    float sizeStart, sizeEnd;
    YVector position;
    float colourStart[4];
    float colourEnd[4];
    YShader* shader;
};

// Draw flags.
constexpr int TABLE_DRAW_FULL = 1;     // shaded models; without it a depth-only pass
constexpr int TABLE_DRAW_OVERLAYS = 4; // ice cover and light spots
constexpr int TABLE_DRAW_BORDER = 16;

class YTable {
public:
    // Loads "mesh\pyramid.mes" (shaders pyr1 pyr2 pyr2 pyr4 pyr5 pyr6 pyr7 pyr2 pyr9) and
    // "mesh\border.mes" (shader border), then builds 20 x 20 with the "default" material.
    YTable();
    ~YTable();
    YTable(const YTable&) = delete;
    YTable& operator=(const YTable&) = delete;

    // Sets the size, reshapes the models for it, sets the physics arena (only while a racket
    // exists; its line goes 1 unit inside the near edge) and applies the named material when one
    // of that name exists. Empties the timed decals.
    void Build(float width, float depth, const char* materialName);
    void BuildDefault() { Build(20.0f, 20.0f, "default"); }

    // z >= 0 and strictly inside in x and y.
    bool IsInside(const YVector* p) const;

    // A light spot for the next draw when 0 <= z < height and the point lies within height of the
    // table: half size height + z, colour x (1 - z / height); none at or above the height.
    void AddSpot(const YVector* position, YShader* shader, const float colour[4], float height);
    // A timed decal, when 0 <= z < max(sizeStart, sizeEnd) and within that of the table.
    void AddDecal(float lifetime, float sizeStart, float sizeEnd, const YVector* position, YShader* shader,
                  const float colourStart[4], const float colourEnd[4]);
    // Ages the wall flashes (queueing the live ones) and the decals, which become light spots.
    void UpdateDecals(float dt);
    // See the TABLE_DRAW_* flags. The overlays empty the spot list and reset the frost level.
    void Draw(int flags);

    dGeomID frontPlane = nullptr; // the back-wall plane of the arena, switched by the shield
    float width = 20.0f;
    float depth = 20.0f;
    float halfWidth = 10.0f;
    float halfDepth = 10.0f;
    float frostLevel = 0.0f; // ice cover strength for the next draw
    std::unique_ptr<YPyramid> pyramid;
    std::unique_ptr<YBorder> border;

    std::vector<YLightSpot> spots;
    std::vector<YTableDecal> decals;
    YVector floor[4]; // (-w, -d), (w, -d), (w, d), (-w, d) at z = 0

private:
    void Reshape(YMeshInstanceBase* instance, bool isPyramid);
};

extern YTable* g_Table;

// AddSpot on the table with the "lmap" shader; nothing without a table.
void AddLightSpot(const YVector* position, const float colour[4], float height);

// The square of a light spot at z = 0.01, clipped to the table (half sizes hw, hd): corners
// (x - s, y - s), (x + s, y - s), (x + s, y + s), (x - s, y + s), first texture set cut with the
// square, second set (1, 0), (1, 1), (0, 1), (0, 0). False when nothing is left.
bool SpotQuad(const YLightSpot& spot, float hw, float hd, YTexVertex out[4]);
