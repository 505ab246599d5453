// Format sniffing and the entry points that read pictures from memory and from files.
#include "platform/image/image.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "platform/image/codecs.h"
#include "platform/sys/files.h"

namespace plat {

void Image::Allocate(int w, int h) {
    if (w <= 0 || h <= 0) {
        Clear();
        return;
    }
    width = w;
    height = h;
    pixels.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4, 0);
}

void Image::Clear() {
    width = 0;
    height = 0;
    pixels.clear();
    pixels.shrink_to_fit();
}

ImageFormat SniffImageFormat(const void* data, std::size_t size) {
    static const uint8_t PNG_MAGIC[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    const auto* p = static_cast<const uint8_t*>(data);
    if (!p) return ImageFormat::Unknown;
    if (size >= 8 && std::memcmp(p, PNG_MAGIC, 8) == 0) return ImageFormat::Png;
    if (size >= 3 && p[0] == 0xFF && p[1] == 0xD8 && p[2] == 0xFF) return ImageFormat::Jpeg;
    if (size >= 2 && p[0] == 'B' && p[1] == 'M') return ImageFormat::Bmp;
    return ImageFormat::Unknown;
}

namespace image_detail {

bool CheckImageSize(long long width, long long height, std::string& error) {
    char text[96];
    if (width < 1 || height < 1) {
        std::snprintf(text, sizeof text, "invalid image size %lldx%lld", width, height);
        error = text;
        return false;
    }
    if (width > IMAGE_MAX_SIDE || height > IMAGE_MAX_SIDE) {
        std::snprintf(text, sizeof text, "image too large (%lldx%lld, at most %d per side)", width, height,
                      IMAGE_MAX_SIDE);
        error = text;
        return false;
    }
    return true;
}

bool CheckEncodable(const Image& image, std::string& error) {
    if (!CheckImageSize(image.width, image.height, error)) return false;
    if (image.pixels.size() != static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height) * 4) {
        error = "pixel data does not match the image size";
        return false;
    }
    return true;
}

} // namespace image_detail

namespace {

// Sniffs and runs the format's reader; `pixels` null reads the header only.
bool Read(const void* data, std::size_t size, ImageInfo& info, Image* pixels, std::string& error) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    info = ImageInfo();
    if (pixels) pixels->Clear();
    bool ok = false;
    try {
        switch (SniffImageFormat(data, size)) {
            case ImageFormat::Bmp: ok = image_detail::ReadBmp(bytes, size, info, pixels, error); break;
            case ImageFormat::Png: ok = image_detail::ReadPng(bytes, size, info, pixels, error); break;
            case ImageFormat::Jpeg: ok = image_detail::ReadJpeg(bytes, size, info, pixels, error); break;
            case ImageFormat::Unknown: error = size == 0 ? "empty file" : "not a PNG, JPEG or BMP file"; break;
        }
    } catch (const std::bad_alloc&) {
        error = "out of memory";
        ok = false;
    }
    if (!ok) {
        info = ImageInfo();
        if (pixels) pixels->Clear();
        if (error.empty()) error = "corrupt image data";
    }
    return ok;
}

bool ReadWholeFile(std::string_view path, std::string& bytes, std::string& error) {
    ReadStatus status;
    try {
        status = ReadFile(path, bytes, IMAGE_MAX_FILE_BYTES, false);
    } catch (const std::bad_alloc&) {
        status = ReadStatus::Error;
    }
    switch (status) {
        case ReadStatus::Ok: return true;
        case ReadStatus::Missing: error = "cannot open file"; break;
        case ReadStatus::TooLarge: error = "file too large"; break;
        case ReadStatus::Error: error = "read error"; break;
    }
    bytes.clear();
    return false;
}

void Report(std::string* out, std::string& error) {
    if (out) *out = std::move(error);
}

} // namespace

bool GetImageInfoFromMemory(const void* data, std::size_t size, ImageInfo& info, std::string* error) {
    std::string reason;
    const bool ok = Read(data, size, info, nullptr, reason);
    if (!ok) Report(error, reason);
    return ok;
}

bool DecodeImage(const void* data, std::size_t size, Image& out, ImageInfo* info, std::string* error) {
    std::string reason;
    ImageInfo found;
    const bool ok = Read(data, size, found, &out, reason);
    if (!ok) {
        Report(error, reason);
        return false;
    }
    if (info) *info = found;
    return true;
}

bool GetImageInfo(std::string_view path, ImageInfo& info, std::string* error) {
    std::string bytes, reason;
    info = ImageInfo();
    if (!ReadWholeFile(path, bytes, reason) || !Read(bytes.data(), bytes.size(), info, nullptr, reason)) {
        Report(error, reason);
        return false;
    }
    return true;
}

bool LoadImage(std::string_view path, Image& out, ImageInfo* info, std::string* error) {
    std::string bytes, reason;
    out.Clear();
    ImageInfo found;
    if (!ReadWholeFile(path, bytes, reason) || !Read(bytes.data(), bytes.size(), found, &out, reason)) {
        Report(error, reason);
        return false;
    }
    if (info) *info = found;
    return true;
}

} // namespace plat
