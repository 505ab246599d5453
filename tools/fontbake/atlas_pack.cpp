#include "tools/fontbake/atlas_pack.h"

#include <algorithm>
#include <numeric>

namespace fontbake {
namespace {

int AlignUp(int v, int align) { return (v + align - 1) / align * align; }

} // namespace

bool PackShelves(std::vector<PackSlot>& slots, int width, int height, int align) {
    if (align < 1) align = 1;
    std::vector<std::size_t> order(slots.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    // Tallest first; ties keep their given order, so the layout is the same on every run.
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return slots[a].h > slots[b].h; });
    int x = 0, y = 0, shelf = 0;
    for (std::size_t i : order) {
        PackSlot& s = slots[i];
        const int w = AlignUp(std::max(s.w, 1), align), h = AlignUp(std::max(s.h, 1), align);
        if (w > width) return false;
        if (x + w > width) {
            y += shelf;
            x = 0;
            shelf = 0;
        }
        if (y + h > height) return false;
        s.x = x;
        s.y = y;
        x += w;
        shelf = std::max(shelf, h);
    }
    return true;
}

bool PackSmallestPowerOfTwo(std::vector<PackSlot>& slots, int maxSide, int align, int& width, int& height) {
    for (int side = 16; side <= maxSide; side *= 2) {
        if (side / 2 >= 16 && PackShelves(slots, side, side / 2, align)) {
            width = side;
            height = side / 2;
            return true;
        }
        if (PackShelves(slots, side, side, align)) {
            width = height = side;
            return true;
        }
    }
    return false;
}

} // namespace fontbake
