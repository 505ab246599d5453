#pragma once
// A free box swept through the world to find what it hits (the boomerang's flight). It is in no
// space; Collide places it and collides it with the world space.
#include <ode/ode.h>

#include "math/matrix.h"
#include "math/vector.h"

class YBumpEvent;

class YColBox {
public:
    // A box of full size 2hx x 2hy x 2hz; category 64, collide 0x20D (blocks, floors, walls, back
    // wall).
    YColBox(float hx, float hy, float hz);
    virtual ~YColBox();
    YColBox(const YColBox&) = delete;
    YColBox& operator=(const YColBox&) = delete;

    // Places the box at `placement` and takes the first contact with the world:
    //   none: false;
    //   a wall or the back wall: the table's wall flash and, for a wall facing the racket side
    //     (n.y > 0.9), the racket's shield loses 10 s; both skipped while `self` is held on the
    //     racket; true;
    //   a block: a push of 500 away from the box at the contact point and the block's listener
    //     hears OnContact(geom data, self, force, 0, p, -n, 0); sparks; true;
    //   anything else (a floor): sparks; true.
    // *hitPosition = the contact point whenever there is one.
    bool Collide(const YMatrix* placement, YVector* hitPosition, YBumpEvent* self);

    dGeomID geom;
};
