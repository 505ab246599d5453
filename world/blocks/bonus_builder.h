#pragma once
// What a block carries to make its bonus when it is destroyed. The bonus kinds implement it; the
// blocks own one builder each (or none) and run it once, at the block's place.
#include "math/matrix.h"
#include "math/vector.h"

class YBonusBuilder {
public:
    virtual ~YBonusBuilder() = default;
    // Draws the bonus inside a block whose shader is blended, once per frame.
    virtual void Draw(const YMatrix* world) {}
    // Makes the bonus (a falling bonus, new balls, ...) at the matrix's position with that velocity.
    virtual void Run(const YMatrix* world, const YVector* velocity) = 0;
};
