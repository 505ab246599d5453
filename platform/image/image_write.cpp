// Encoding to memory and saving to files.
#include "platform/image/image_write.h"

#include <new>
#include <utility>

#include "platform/image/codecs.h"
#include "platform/sys/files.h"

namespace plat {
namespace {

enum class Kind { Bmp, Png, Jpeg };

// Encodes into `out` only when the whole file was made; `out` is untouched on failure.
bool Encode(Kind kind, const Image& image, int option, std::string& out, std::string* error) {
    std::string bytes, reason;
    bool ok = false;
    try {
        switch (kind) {
            case Kind::Bmp: ok = image_detail::WriteBmp(image, bytes, reason); break;
            case Kind::Png: ok = image_detail::WritePng(image, option != 0, bytes, reason); break;
            case Kind::Jpeg: ok = image_detail::WriteJpeg(image, option, bytes, reason); break;
        }
    } catch (const std::bad_alloc&) {
        reason = "out of memory";
        ok = false;
    }
    if (!ok) {
        if (error) *error = reason.empty() ? std::string("encoding failed") : reason;
        return false;
    }
    out = std::move(bytes);
    return true;
}

bool Save(Kind kind, std::string_view path, const Image& image, int option, std::string* error) {
    std::string bytes;
    if (!Encode(kind, image, option, bytes, error)) return false;
    if (!WriteFileAtomic(path, bytes)) {
        if (error) *error = "cannot write file";
        return false;
    }
    return true;
}

} // namespace

bool EncodeBmp(const Image& image, std::string& out, std::string* error) {
    return Encode(Kind::Bmp, image, 0, out, error);
}
bool EncodePng(const Image& image, bool withAlpha, std::string& out, std::string* error) {
    return Encode(Kind::Png, image, withAlpha ? 1 : 0, out, error);
}
bool EncodeJpeg(const Image& image, int quality, std::string& out, std::string* error) {
    return Encode(Kind::Jpeg, image, quality, out, error);
}

bool SaveBmp(std::string_view path, const Image& image, std::string* error) {
    return Save(Kind::Bmp, path, image, 0, error);
}
bool SavePng(std::string_view path, const Image& image, bool withAlpha, std::string* error) {
    return Save(Kind::Png, path, image, withAlpha ? 1 : 0, error);
}
bool SaveJpeg(std::string_view path, const Image& image, int quality, std::string* error) {
    return Save(Kind::Jpeg, path, image, quality, error);
}

} // namespace plat
