#pragma once
// Writing pictures: BMP for screen captures (level thumbnails), PNG and JPEG for the content
// generators. The Save functions write the whole file atomically (a temporary file renamed over the
// target), so a failed or interrupted save leaves any old file as it was, and report failure.
// Images are RGBA, rows top first (image.h).
#include <string>
#include <string_view>

#include "platform/image/image.h"

namespace plat {

// 24-bit uncompressed BMP, rows bottom-up; alpha is dropped.
bool EncodeBmp(const Image& image, std::string& out, std::string* error = nullptr);
// 8-bit RGBA PNG with `withAlpha`, else 8-bit RGB (alpha dropped, and the file reads as opaque).
bool EncodePng(const Image& image, bool withAlpha, std::string& out, std::string* error = nullptr);
// Baseline JPEG; `quality` 1..100 (clamped). Alpha is dropped.
bool EncodeJpeg(const Image& image, int quality, std::string& out, std::string* error = nullptr);

bool SaveBmp(std::string_view path, const Image& image, std::string* error = nullptr);
bool SavePng(std::string_view path, const Image& image, bool withAlpha, std::string* error = nullptr);
bool SaveJpeg(std::string_view path, const Image& image, int quality, std::string* error = nullptr);

} // namespace plat
