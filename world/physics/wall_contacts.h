#pragma once
// Flashes on the table's walls where a ball (or the boomerang) hits them. The physics layer calls
// OnWallContact from inside its collision pass (so it adds to a list and touches no geom); the
// table's UpdateDecals ages the flashes and queues the live ones for blended drawing.
#include <vector>

#include "math/vector.h"
#include "render/draw_list.h"
#include "render/render_values.h"

struct YWallContact {
    YVector position;
    float timer;   // seconds left, 0.25 when made
    bool sideWall; // the contact normal had an x component: a side wall, else a wall across y
};

constexpr float WALL_CONTACT_TIME = 0.25f;

// A hit at or above the floor (z >= 0) plays "wall_stroke" at full volume and adds a flash; below
// the floor nothing happens.
void OnWallContact(const YVector* position, const YVector* normal);
// Ages every flash by dt, drops the spent ones and queues the others for blended drawing.
void UpdateWallContacts(float dt);
std::vector<YWallContact>& WallContacts();

// Draws a queued YWallContact: shader "split", emissive (0.6t, 0.6t, t, t) with t = timer / 0.25,
// a square growing from half size 0.5 to 2.5 as it fades.
class YWallContactDraw : public YDrawObj {
public:
    void Draw(void* item) override;
};
extern YWallContactDraw g_WallContactDraw;

// The corners of a vertical square flash of half size s on the wall nearest `position`, with the
// current shader and material. Across y (sideWall false): in the plane y = position.y kept 0.05
// inside the table, spanning x clipped to the table's width. On a side wall: in the plane
// x = position.x kept 0.05 inside, spanning y clipped at the far end only. z runs from
// position.z - s to + s, its bottom raised to the floor. A clipped side moves its texture
// coordinate in proportion, so the picture is cut, not squeezed. Returns false when nothing is
// left to draw.
bool WallContactQuad(const YVector* position, bool sideWall, float s, YTexVertex out[4]);
void DrawWallContactQuad(const YVector* position, bool sideWall, float halfSize);
