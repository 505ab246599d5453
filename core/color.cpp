#include "core/color.h"

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// One channel from the two characters at `pos`, read as strtol reads hex digits but without its
// leading blanks and sign, so a channel is never negative.
float Channel(const std::string& text, std::size_t pos) {
    const int hi = HexDigit(text[pos]);
    if (hi < 0) return 0.0f;
    const int lo = HexDigit(text[pos + 1]);
    const int value = lo < 0 ? hi : hi * 16 + lo;
    return static_cast<float>(value) * (1.0f / 255.0f);
}

} // namespace

void YColor::ParseColor(const std::string& text) {
    if (text.size() < 6) throw YColorFormatError();
    r = Channel(text, 0);
    g = Channel(text, 2);
    b = Channel(text, 4);
    a = text.size() == 8 ? Channel(text, 6) : 1.0f;
}

void ParseColor(YColor& colour, const std::string& text) { colour.ParseColor(text); }
