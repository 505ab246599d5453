#pragma once
// Decoded pictures and reading them from image files. Textures, environment faces and the saved
// level thumbnails all come through here. The format is told by the file's first bytes, never by its
// name ("*.lev.bmp" thumbnails, for one, are named after the level).
//
// Pixels are always 8-bit RGBA in that byte order (R at the lowest address), rows top first, with no
// padding between rows: pixel (x, y) starts at pixels[(y * width + x) * 4]. Formats without alpha
// (JPEG, 24-bit BMP, PNG without transparency) decode with alpha 255, and ImageInfo::hasAlpha is
// false for them, so a texture can pick a format whose alpha samples as one.
//
// Nothing here logs: every failing call returns false and, when asked, a short reason that the
// caller puts in its own log line.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

enum class ImageFormat { Unknown, Bmp, Jpeg, Png };

// Largest width or height accepted from any file; a header that claims more is refused before any
// pixel memory is taken (8192 x 8192 RGBA is 256 MB).
constexpr int IMAGE_MAX_SIDE = 8192;
// Image files larger than this are not read at all.
constexpr std::size_t IMAGE_MAX_FILE_BYTES = 64u * 1024u * 1024u;

struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels; // width * height * 4 bytes, RGBA, rows top first

    bool Empty() const { return width <= 0 || height <= 0; }
    // Makes a width x height picture with every byte 0 (sizes below 1 make an empty one).
    void Allocate(int w, int h);
    void Clear();
    uint8_t* Pixel(int x, int y) { return pixels.data() + (static_cast<std::size_t>(y) * width + x) * 4; }
    const uint8_t* Pixel(int x, int y) const { return pixels.data() + (static_cast<std::size_t>(y) * width + x) * 4; }
};

struct ImageInfo {
    int width = 0;
    int height = 0;
    ImageFormat format = ImageFormat::Unknown;
    bool hasAlpha = false; // the file stores transparency (PNG alpha or tRNS, BMP alpha mask)
};

// The format announced by the leading bytes, or Unknown.
ImageFormat SniffImageFormat(const void* data, std::size_t size);

// Reads only what it takes to know the size and kind of the picture (the whole pixel data of a BMP
// must be present too). False for unknown formats, broken headers and sizes above IMAGE_MAX_SIDE.
bool GetImageInfoFromMemory(const void* data, std::size_t size, ImageInfo& info, std::string* error = nullptr);

// Decodes a whole picture. On failure `out` is left empty. `info`, when given, is filled on success.
bool DecodeImage(const void* data, std::size_t size, Image& out, ImageInfo* info = nullptr,
                 std::string* error = nullptr);

// The same for a file, read through plat::ReadFile (paths with '\' as everywhere in the game).
// Missing, unreadable and over-large files (IMAGE_MAX_FILE_BYTES) give false with a reason.
bool GetImageInfo(std::string_view path, ImageInfo& info, std::string* error = nullptr);
bool LoadImage(std::string_view path, Image& out, ImageInfo* info = nullptr, std::string* error = nullptr);

} // namespace plat
