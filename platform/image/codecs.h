#pragma once
// The per-format readers and writers behind image.h and image_write.h. Not for use outside
// platform/image: callers go through DecodeImage / LoadImage and the Encode / Save functions, which
// also sniff the format and turn out-of-memory into a plain failure.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/image/image.h"

namespace plat::image_detail {

// False, with a reason, for sizes below 1 or above IMAGE_MAX_SIDE.
bool CheckImageSize(long long width, long long height, std::string& error);
// True when `image` has a size CheckImageSize accepts and exactly width * height * 4 bytes.
bool CheckEncodable(const Image& image, std::string& error);

// Each reader fills `info`; with `pixels` it also decodes into it (left empty on failure).
bool ReadBmp(const uint8_t* data, std::size_t size, ImageInfo& info, Image* pixels, std::string& error);
bool ReadPng(const uint8_t* data, std::size_t size, ImageInfo& info, Image* pixels, std::string& error);
bool ReadJpeg(const uint8_t* data, std::size_t size, ImageInfo& info, Image* pixels, std::string& error);

// Each writer appends a whole file to `out`.
bool WriteBmp(const Image& image, std::string& out, std::string& error);
bool WritePng(const Image& image, bool withAlpha, std::string& out, std::string& error);
bool WriteJpeg(const Image& image, int quality, std::string& out, std::string& error);

} // namespace plat::image_detail
