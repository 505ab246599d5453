// Area-averaging resize in exact integer arithmetic. Along an axis of source length S and output
// length D, output pixel i covers [i*S, (i+1)*S) and source pixel j covers [j*D, (j+1)*D), both in
// units of 1/D source pixels; the overlap is source j's integer weight in output i, and the weights
// of one output pixel add up to S.
#include "platform/image/resample.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <utility>

namespace plat {
namespace {

struct Tap {
    int source;
    uint32_t weight;
};

struct Axis {
    std::vector<std::size_t> first; // per output pixel: index of its first tap; one extra entry at the end
    std::vector<Tap> taps;
    uint64_t total = 0; // the weights of every output pixel add up to this (the source length)
};

Axis MakeAxis(int srcLen, int dstLen) {
    Axis a;
    const uint64_t S = static_cast<uint64_t>(srcLen), D = static_cast<uint64_t>(dstLen);
    a.total = S;
    a.first.reserve(dstLen + 1);
    for (uint64_t i = 0; i < D; ++i) {
        a.first.push_back(a.taps.size());
        const uint64_t lo = i * S, hi = (i + 1) * S;
        for (uint64_t j = lo / D; j * D < hi; ++j) {
            const uint64_t overlap = std::min(hi, (j + 1) * D) - std::max(lo, j * D);
            if (overlap > 0) a.taps.push_back({static_cast<int>(j), static_cast<uint32_t>(overlap)});
        }
    }
    a.first.push_back(a.taps.size());
    return a;
}

} // namespace

bool ResizeImage(const Image& src, int width, int height, Image& dst) {
    if (src.Empty() || src.pixels.size() != static_cast<std::size_t>(src.width) * src.height * 4) return false;
    if (width < 1 || height < 1 || width > IMAGE_MAX_SIDE || height > IMAGE_MAX_SIDE) return false;
    if (width == src.width && height == src.height) {
        if (&dst != &src) dst = src;
        return true;
    }
    const Axis ax = MakeAxis(src.width, width);
    const Axis ay = MakeAxis(src.height, height);

    // Horizontal pass into sums of weight x value (at most 255 x 8192 per channel).
    std::vector<uint32_t> rows(static_cast<std::size_t>(src.height) * width * 4);
    for (int y = 0; y < src.height; ++y) {
        uint32_t* out = rows.data() + static_cast<std::size_t>(y) * width * 4;
        for (int i = 0; i < width; ++i, out += 4) {
            uint32_t sum[4] = {0, 0, 0, 0};
            for (std::size_t t = ax.first[i]; t < ax.first[i + 1]; ++t) {
                const uint8_t* p = src.Pixel(ax.taps[t].source, y);
                for (int c = 0; c < 4; ++c) sum[c] += p[c] * ax.taps[t].weight;
            }
            for (int c = 0; c < 4; ++c) out[c] = sum[c];
        }
    }

    // Vertical pass, then one rounded division by both totals.
    Image result;
    result.Allocate(width, height);
    const uint64_t total = ax.total * ay.total;
    for (int k = 0; k < height; ++k) {
        uint8_t* out = result.Pixel(0, k);
        for (int i = 0; i < width; ++i, out += 4) {
            uint64_t sum[4] = {0, 0, 0, 0};
            for (std::size_t t = ay.first[k]; t < ay.first[k + 1]; ++t) {
                const uint32_t* p = rows.data() + (static_cast<std::size_t>(ay.taps[t].source) * width + i) * 4;
                for (int c = 0; c < 4; ++c) sum[c] += static_cast<uint64_t>(p[c]) * ay.taps[t].weight;
            }
            for (int c = 0; c < 4; ++c) out[c] = static_cast<uint8_t>((sum[c] + total / 2) / total);
        }
    }
    dst = std::move(result);
    return true;
}

int MipLevelCount(int width, int height) {
    if (width < 1 || height < 1) return 0;
    int count = 1;
    while (width > 1 || height > 1) {
        width = std::max(1, width / 2);
        height = std::max(1, height / 2);
        ++count;
    }
    return count;
}

int MipLevelSide(int size, int level) {
    if (level >= 31) return 1;
    return std::max(1, size >> level);
}

bool BuildMipChain(std::vector<Image>& levels) {
    if (levels.empty()) return false;
    const Image& top = levels[0];
    if (top.Empty() || top.width > IMAGE_MAX_SIDE || top.height > IMAGE_MAX_SIDE ||
        top.pixels.size() != static_cast<std::size_t>(top.width) * top.height * 4)
        return false;
    const int count = MipLevelCount(top.width, top.height);
    const int w = top.width, h = top.height;
    levels.resize(count);
    for (int level = 1; level < count; ++level)
        ResizeImage(levels[level - 1], MipLevelSide(w, level), MipLevelSide(h, level), levels[level]);
    return true;
}

} // namespace plat
