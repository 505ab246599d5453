// PNG through libpng. Every colour type and depth is brought to 8-bit RGBA. libpng reports errors by
// longjmp, so each stretch of libpng calls runs in a small function that owns the setjmp and holds
// no object with a destructor; everything with one lives in the caller's frame, which a longjmp never
// leaves.
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "platform/image/codecs.h"

namespace plat::image_detail {
namespace {

// Shared with libpng's callbacks: the input or output, and the first error's text.
struct PngIo {
    const uint8_t* data = nullptr;
    std::size_t size = 0;
    std::size_t pos = 0;
    std::string* out = nullptr;
    char message[160] = {};
};

void PngError(png_structp png, png_const_charp text) {
    auto* io = static_cast<PngIo*>(png_get_error_ptr(png));
    if (io->message[0] == '\0') std::snprintf(io->message, sizeof io->message, "%s", text ? text : "PNG error");
    png_longjmp(png, 1);
}

void PngWarning(png_structp, png_const_charp) {}

void PngRead(png_structp png, png_bytep dst, png_size_t count) {
    auto* io = static_cast<PngIo*>(png_get_io_ptr(png));
    if (count > io->size - io->pos) png_error(png, "truncated PNG data");
    std::memcpy(dst, io->data + io->pos, count);
    io->pos += count;
}

void PngWrite(png_structp png, png_bytep src, png_size_t count) {
    auto* io = static_cast<PngIo*>(png_get_io_ptr(png));
    bool failed = false;
    try {
        io->out->append(reinterpret_cast<const char*>(src), count);
    } catch (const std::bad_alloc&) {
        failed = true;
    }
    if (failed) png_error(png, "out of memory");
}

void PngFlush(png_structp) {}

struct PngHeader {
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bitDepth = 0;
    int colorType = 0;
    bool transparency = false; // a tRNS chunk
};

bool ReadHeader(png_structp png, png_infop info, PngHeader* header) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_info(png, info);
    png_get_IHDR(png, info, &header->width, &header->height, &header->bitDepth, &header->colorType, nullptr, nullptr,
                 nullptr);
    header->transparency = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    return true;
}

bool ReadRows(png_structp png, png_infop info, const PngHeader* header, png_bytep* rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    const int type = header->colorType;
    if (type == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (type == PNG_COLOR_TYPE_GRAY && header->bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (header->transparency) png_set_tRNS_to_alpha(png);
    if (header->bitDepth == 16) png_set_scale_16(png);
    if (type == PNG_COLOR_TYPE_GRAY || type == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
    if (!(type & PNG_COLOR_MASK_ALPHA) && !header->transparency) png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != static_cast<std::size_t>(header->width) * 4)
        png_error(png, "unexpected PNG row layout");
    png_read_image(png, rows);
    png_read_end(png, nullptr);
    return true;
}

bool WriteAll(png_structp png, png_infop info, int width, int height, bool withAlpha, png_bytep* rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 withAlpha ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    if (!withAlpha) png_set_filler(png, 0, PNG_FILLER_AFTER); // drops the fourth byte of each pixel
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    return true;
}

class ReadGuard {
public:
    ReadGuard(png_structp png, png_infop info) : png_(png), info_(info) {}
    ~ReadGuard() { png_destroy_read_struct(&png_, info_ ? &info_ : nullptr, nullptr); }
    ReadGuard(const ReadGuard&) = delete;
    ReadGuard& operator=(const ReadGuard&) = delete;

private:
    png_structp png_;
    png_infop info_;
};

class WriteGuard {
public:
    WriteGuard(png_structp png, png_infop info) : png_(png), info_(info) {}
    ~WriteGuard() { png_destroy_write_struct(&png_, info_ ? &info_ : nullptr); }
    WriteGuard(const WriteGuard&) = delete;
    WriteGuard& operator=(const WriteGuard&) = delete;

private:
    png_structp png_;
    png_infop info_;
};

} // namespace

bool ReadPng(const uint8_t* data, std::size_t size, ImageInfo& info, Image* pixels, std::string& error) {
    PngIo io;
    io.data = data;
    io.size = size;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &io, PngError, PngWarning);
    if (!png) {
        error = "out of memory";
        return false;
    }
    png_infop pngInfo = png_create_info_struct(png);
    ReadGuard guard(png, pngInfo);
    if (!pngInfo) {
        error = "out of memory";
        return false;
    }
    png_set_read_fn(png, &io, PngRead);

    PngHeader header;
    if (!ReadHeader(png, pngInfo, &header)) {
        error = io.message;
        return false;
    }
    if (!CheckImageSize(header.width, header.height, error)) return false;
    info.width = static_cast<int>(header.width);
    info.height = static_cast<int>(header.height);
    info.format = ImageFormat::Png;
    info.hasAlpha = (header.colorType & PNG_COLOR_MASK_ALPHA) != 0 || header.transparency;
    if (!pixels) return true;

    pixels->Allocate(info.width, info.height);
    std::vector<png_bytep> rows(header.height);
    for (int y = 0; y < info.height; ++y) rows[y] = pixels->Pixel(0, y);
    if (!ReadRows(png, pngInfo, &header, rows.data())) {
        pixels->Clear();
        error = io.message;
        return false;
    }
    return true;
}

bool WritePng(const Image& image, bool withAlpha, std::string& out, std::string& error) {
    if (!CheckEncodable(image, error)) return false;
    PngIo io;
    io.out = &out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &io, PngError, PngWarning);
    if (!png) {
        error = "out of memory";
        return false;
    }
    png_infop pngInfo = png_create_info_struct(png);
    WriteGuard guard(png, pngInfo);
    if (!pngInfo) {
        error = "out of memory";
        return false;
    }
    png_set_write_fn(png, &io, PngWrite, PngFlush);

    // libpng only reads through the row pointers.
    std::vector<png_bytep> rows(image.height);
    for (int y = 0; y < image.height; ++y) rows[y] = const_cast<png_bytep>(image.Pixel(0, y));
    if (!WriteAll(png, pngInfo, image.width, image.height, withAlpha, rows.data())) {
        error = io.message;
        return false;
    }
    return true;
}

} // namespace plat::image_detail
