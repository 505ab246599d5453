#include "core/video_mode.h"

#include <cctype>
#include <cstring>

namespace {

// An unsigned decimal number after optional white space; 0 when the text does not start with one.
// Values beyond 32 bits saturate, so an absurd mode text cannot wrap round to a small size.
uint32_t ReadNumber(const char* p) {
    while (*p && std::isspace(static_cast<unsigned char>(*p))) ++p;
    uint64_t value = 0;
    for (; std::isdigit(static_cast<unsigned char>(*p)); ++p) {
        value = value * 10 + static_cast<uint64_t>(*p - '0');
        if (value > UINT32_MAX) return UINT32_MAX;
    }
    return static_cast<uint32_t>(value);
}

} // namespace

YVideoMode YVideoMode::FromString(const char* text) {
    YVideoMode mode;
    if (!text) return mode;
    const char* x = std::strchr(text, 'x');
    const char* colon = std::strchr(text, ':');
    const char* at = std::strchr(text, '@');
    if (!x) return mode;
    // Each number ends at the first character that cannot belong to it, so reading from just
    // after a separator stops at the next separator by itself.
    mode.width = ReadNumber(text);
    mode.height = ReadNumber(x + 1);
    if (colon) {
        mode.depth = ReadNumber(colon + 1);
        if (at) mode.refresh = ReadNumber(at + 1);
    }
    return mode;
}

std::string YVideoMode::ToString() const {
    std::string text = std::to_string(width) + "x" + std::to_string(height) + ":" + std::to_string(depth);
    if (refresh != 0) text += "@" + std::to_string(refresh);
    return text;
}

bool YVideoMode::operator==(const YVideoMode& o) const {
    return width == o.width && height == o.height && depth == o.depth && refresh == o.refresh;
}

bool YVideoMode::Less(const YVideoMode& a, const YVideoMode& b) {
    if (a.width != b.width) return a.width < b.width;
    if (a.height != b.height) return a.height < b.height;
    if (a.depth != b.depth) return a.depth < b.depth;
    return a.refresh < b.refresh;
}

YVideoMode DefaultVideoMode() {
    YVideoMode mode;
    mode.width = 800;
    mode.height = 600;
    mode.depth = 32;
    return mode;
}
