// BMP files, read and written by hand. Read: the 12-byte core header and the 40/52/56/108/124-byte
// info headers; 1, 4 and 8 bits per pixel with a palette, 16 and 32 bits with the default or given
// channel masks, 24 bits; bottom-up and top-down rows. Run-length compressed files are refused.
// Written: 24-bit, uncompressed, bottom-up, which is what level thumbnails are saved as.
#include <bit>
#include <climits>
#include <cstdio>
#include <cstring>

#include "platform/image/codecs.h"

namespace plat::image_detail {
namespace {

constexpr uint32_t BI_RGB = 0;
constexpr uint32_t BI_RLE8 = 1;
constexpr uint32_t BI_RLE4 = 2;
constexpr uint32_t BI_BITFIELDS = 3;
constexpr uint32_t BI_ALPHABITFIELDS = 6;

constexpr std::size_t FILE_HEADER_BYTES = 14;
constexpr std::size_t INFO_HEADER_BYTES = 40;

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t U32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}
int32_t S32(const uint8_t* p) { return static_cast<int32_t>(U32(p)); }

void Put16(std::string& out, uint32_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(std::string& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// One colour channel of a 16- or 32-bit pixel, scaled to 0..255.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint32_t max = 0; // the channel's largest raw value; 0 for a channel that is absent
};

Channel MakeChannel(uint32_t mask) {
    Channel c;
    if (mask == 0) return c;
    c.mask = mask;
    c.shift = std::countr_zero(mask);
    c.max = mask >> c.shift;
    return c;
}

uint8_t Extract(uint32_t pixel, const Channel& c) {
    if (c.max == 0) return 0;
    const uint64_t v = (pixel & c.mask) >> c.shift; // at most c.max, even for a mask with holes
    return static_cast<uint8_t>((v * 255 + c.max / 2) / c.max);
}

struct BmpLayout {
    int width = 0;
    int height = 0;
    bool topDown = false;
    int bitsPerPixel = 0;
    Channel red, green, blue, alpha;
    bool hasAlpha = false;
    const uint8_t* palette = nullptr;
    uint32_t paletteCount = 0;
    uint32_t paletteEntryBytes = 4;
    uint64_t dataOffset = 0;
    uint64_t stride = 0;
};

bool Fail(std::string& error, const char* text) {
    error = text;
    return false;
}

bool ParseBmp(const uint8_t* d, std::size_t n, BmpLayout& L, std::string& error) {
    if (n < FILE_HEADER_BYTES + 4) return Fail(error, "truncated BMP header");
    if (d[0] != 'B' || d[1] != 'M') return Fail(error, "not a BMP file");
    const uint32_t headerBytes = U32(d + 14);
    const bool core = headerBytes == 12;
    if (!core && headerBytes != 40 && headerBytes != 52 && headerBytes != 56 && headerBytes != 108 &&
        headerBytes != 124) {
        char text[64];
        std::snprintf(text, sizeof text, "unsupported BMP header (%u bytes)", headerBytes);
        return Fail(error, text);
    }
    if (n < FILE_HEADER_BYTES + headerBytes) return Fail(error, "truncated BMP header");
    const uint8_t* h = d + FILE_HEADER_BYTES;

    long long width, height;
    uint32_t compression = BI_RGB, colorsUsed = 0;
    uint32_t masks[4] = {0, 0, 0, 0};
    std::size_t paletteStart = FILE_HEADER_BYTES + headerBytes;
    if (core) {
        width = U16(h + 4);
        height = U16(h + 6);
        L.bitsPerPixel = U16(h + 10);
        L.paletteEntryBytes = 3;
    } else {
        width = S32(h + 4);
        const int32_t rawHeight = S32(h + 8);
        L.bitsPerPixel = U16(h + 14);
        compression = U32(h + 16);
        colorsUsed = U32(h + 32);
        if (rawHeight == INT_MIN) return Fail(error, "invalid BMP size");
        L.topDown = rawHeight < 0;
        height = L.topDown ? -static_cast<long long>(rawHeight) : rawHeight;
        if (compression == BI_BITFIELDS || compression == BI_ALPHABITFIELDS) {
            const uint8_t* m = h + INFO_HEADER_BYTES;
            if (headerBytes == INFO_HEADER_BYTES) {
                // The masks follow a plain info header: red, green, blue and, for the alpha form, alpha.
                const uint32_t maskCount = compression == BI_ALPHABITFIELDS ? 4 : 3;
                if (n < paletteStart + 4 * maskCount) return Fail(error, "truncated BMP header");
                paletteStart += 4 * maskCount;
                for (uint32_t i = 0; i < maskCount; ++i) masks[i] = U32(m + 4 * i);
            } else {
                // Longer headers hold red, green and blue; 56 bytes and more hold alpha too.
                for (uint32_t i = 0; i < 3; ++i) masks[i] = U32(m + 4 * i);
                if (headerBytes >= 56) masks[3] = U32(m + 12);
            }
        }
    }
    if (!CheckImageSize(width, height, error)) return false;
    L.width = static_cast<int>(width);
    L.height = static_cast<int>(height);

    const int bpp = L.bitsPerPixel;
    const bool palettized = bpp == 1 || bpp == 4 || bpp == 8;
    if (!palettized && bpp != 16 && bpp != 24 && bpp != 32) {
        char text[64];
        std::snprintf(text, sizeof text, "unsupported BMP pixel depth (%d bits)", bpp);
        return Fail(error, text);
    }
    if (compression == BI_RLE8 || compression == BI_RLE4) return Fail(error, "run-length compressed BMP not supported");
    const bool bitfields = compression == BI_BITFIELDS || compression == BI_ALPHABITFIELDS;
    if (compression != BI_RGB && !(bitfields && (bpp == 16 || bpp == 32))) {
        char text[64];
        std::snprintf(text, sizeof text, "unsupported BMP compression %u", compression);
        return Fail(error, text);
    }
    if (core && !palettized && bpp != 24) return Fail(error, "unsupported BMP pixel depth");

    L.stride = (static_cast<uint64_t>(L.width) * bpp + 31) / 32 * 4;
    L.dataOffset = U32(d + 10);
    if (L.dataOffset < paletteStart) return Fail(error, "invalid BMP pixel data offset");
    if (L.dataOffset > n || L.stride * L.height > n - L.dataOffset) return Fail(error, "truncated BMP pixel data");

    if (palettized) {
        // The palette fills the space up to the pixel data; writers often store fewer colours than
        // the depth allows, and an index past the stored ones reads as black.
        const uint32_t full = 1u << bpp;
        const uint64_t declared = colorsUsed == 0 || colorsUsed > full ? full : colorsUsed;
        const uint64_t room = (L.dataOffset - paletteStart) / L.paletteEntryBytes;
        L.paletteCount = static_cast<uint32_t>(declared < room ? declared : room);
        L.palette = d + paletteStart;
    } else if (bpp == 16 || bpp == 32) {
        if (!bitfields) {
            // Without masks: 5-5-5 for 16 bits, X8R8G8B8 for 32 bits (the fourth byte is not alpha).
            masks[0] = bpp == 16 ? 0x7C00 : 0xFF0000;
            masks[1] = bpp == 16 ? 0x03E0 : 0x00FF00;
            masks[2] = bpp == 16 ? 0x001F : 0x0000FF;
            masks[3] = 0;
        }
        if (bpp == 16)
            for (uint32_t& m : masks) m &= 0xFFFF;
        L.red = MakeChannel(masks[0]);
        L.green = MakeChannel(masks[1]);
        L.blue = MakeChannel(masks[2]);
        L.alpha = MakeChannel(masks[3]);
        L.hasAlpha = L.alpha.max != 0;
    }

    return true;
}

void DecodeRow(const BmpLayout& L, const uint8_t* src, uint8_t* dst) {
    const int bpp = L.bitsPerPixel;
    for (int x = 0; x < L.width; ++x, dst += 4) {
        if (bpp <= 8) {
            const int bitPos = x * bpp;
            const uint32_t index = (src[bitPos / 8] >> (8 - bpp - bitPos % 8)) & ((1u << bpp) - 1);
            if (index < L.paletteCount) {
                const uint8_t* e = L.palette + index * L.paletteEntryBytes;
                dst[0] = e[2];
                dst[1] = e[1];
                dst[2] = e[0];
            } else {
                dst[0] = dst[1] = dst[2] = 0; // an index past the palette reads as black
            }
            dst[3] = 255;
        } else if (bpp == 24) {
            const uint8_t* s = src + x * 3;
            dst[0] = s[2];
            dst[1] = s[1];
            dst[2] = s[0];
            dst[3] = 255;
        } else {
            const uint32_t px = bpp == 16 ? U16(src + x * 2) : U32(src + x * 4);
            dst[0] = Extract(px, L.red);
            dst[1] = Extract(px, L.green);
            dst[2] = Extract(px, L.blue);
            dst[3] = L.hasAlpha ? Extract(px, L.alpha) : 255;
        }
    }
}

} // namespace

bool ReadBmp(const uint8_t* data, std::size_t size, ImageInfo& info, Image* pixels, std::string& error) {
    BmpLayout L;
    if (!ParseBmp(data, size, L, error)) return false;
    info.width = L.width;
    info.height = L.height;
    info.format = ImageFormat::Bmp;
    info.hasAlpha = L.hasAlpha;
    if (!pixels) return true;

    pixels->Allocate(L.width, L.height);
    for (int y = 0; y < L.height; ++y) {
        const uint64_t fileRow = L.topDown ? y : L.height - 1 - y;
        DecodeRow(L, data + L.dataOffset + fileRow * L.stride, pixels->Pixel(0, y));
    }
    return true;
}

bool WriteBmp(const Image& image, std::string& out, std::string& error) {
    if (!CheckEncodable(image, error)) return false;
    const uint32_t stride = (static_cast<uint32_t>(image.width) * 3 + 3) & ~3u;
    const uint32_t dataBytes = stride * static_cast<uint32_t>(image.height);
    const uint32_t offset = FILE_HEADER_BYTES + INFO_HEADER_BYTES;
    const std::size_t start = out.size();
    out.reserve(start + offset + dataBytes);

    out += "BM";
    Put32(out, offset + dataBytes);
    Put32(out, 0); // two reserved words
    Put32(out, offset);
    Put32(out, INFO_HEADER_BYTES);
    Put32(out, static_cast<uint32_t>(image.width));
    Put32(out, static_cast<uint32_t>(image.height)); // positive: rows bottom-up
    Put16(out, 1);                                   // planes
    Put16(out, 24);
    Put32(out, BI_RGB);
    Put32(out, dataBytes);
    Put32(out, 2835); // 72 dots per inch, in dots per metre
    Put32(out, 2835);
    Put32(out, 0); // colours used
    Put32(out, 0); // important colours

    std::string row(stride, '\0');
    for (int y = image.height - 1; y >= 0; --y) {
        const uint8_t* src = image.Pixel(0, y);
        for (int x = 0; x < image.width; ++x, src += 4) {
            row[x * 3 + 0] = static_cast<char>(src[2]);
            row[x * 3 + 1] = static_cast<char>(src[1]);
            row[x * 3 + 2] = static_cast<char>(src[0]);
        }
        out += row;
    }
    return true;
}

} // namespace plat::image_detail
