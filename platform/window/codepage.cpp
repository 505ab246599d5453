#include "platform/window/codepage.h"

namespace plat {
namespace {

// Code points of the bytes 0x80..0x9F; 0 where the code page defines no character.
constexpr uint16_t kHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,      // 88
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178, // 98
};

constexpr uint32_t kInvalid = 0xFFFD;

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

} // namespace

int CodePointToCp1252(uint32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
    if (cp >= 0x80 && cp <= 0x9F) {
        // Only the undefined bytes stand for themselves.
        return kHigh[cp - 0x80] == 0 ? static_cast<int>(cp) : -1;
    }
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] != 0 && kHigh[i] == cp) return 0x80 + i;
    }
    return -1;
}

uint32_t Cp1252ToCodePoint(uint8_t byte) {
    if (byte >= 0x80 && byte <= 0x9F && kHigh[byte - 0x80] != 0) return kHigh[byte - 0x80];
    return byte;
}

uint32_t DecodeUtf8(std::string_view text, std::size_t& pos) {
    const auto* s = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    const unsigned char lead = s[pos];
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    int extra;
    uint32_t cp;
    uint32_t minimum;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1, cp = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, cp = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, cp = lead & 0x07, minimum = 0x10000;
    } else {
        ++pos;
        return kInvalid;
    }
    if (n - pos <= static_cast<std::size_t>(extra)) {
        ++pos;
        return kInvalid;
    }
    for (int i = 1; i <= extra; ++i) {
        const unsigned char c = s[pos + i];
        if ((c & 0xC0) != 0x80) {
            ++pos;
            return kInvalid;
        }
        cp = (cp << 6) | (c & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++pos;
        return kInvalid;
    }
    pos += extra + 1;
    return cp;
}

std::string Utf8ToCp1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const int b = CodePointToCp1252(DecodeUtf8(utf8, pos));
        out += static_cast<char>(b < 0 ? CP1252_REPLACEMENT : b);
    }
    return out;
}

std::string Cp1252ToUtf8(std::string_view cp1252) {
    std::string out;
    out.reserve(cp1252.size() * 2);
    for (char c : cp1252) AppendUtf8(out, Cp1252ToCodePoint(static_cast<uint8_t>(c)));
    return out;
}

} // namespace plat
