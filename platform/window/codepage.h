#pragma once
// The game's text is 8-bit: its fonts hold 256 glyphs laid out by Windows-1252, and typed
// characters, clipboard text and message texts are bytes of that code page. SDL speaks UTF-8;
// these functions convert between the two.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace plat {

// The character a typed code point becomes when Windows-1252 has none for it.
constexpr uint8_t CP1252_REPLACEMENT = '?';

// The Windows-1252 byte of a Unicode code point, or -1 when the code page has none.
int CodePointToCp1252(uint32_t codePoint);

// The Unicode code point of a Windows-1252 byte. The five bytes the code page leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control characters of the same value.
uint32_t Cp1252ToCodePoint(uint8_t byte);

// Decodes one UTF-8 sequence at text[pos] and advances pos past it. Malformed, overlong and
// truncated sequences and surrogates give U+FFFD and advance by one byte, so every input ends.
// pos must be < text.size().
uint32_t DecodeUtf8(std::string_view text, std::size_t& pos);

// Whole-string conversions. Characters without a Windows-1252 byte become CP1252_REPLACEMENT.
std::string Utf8ToCp1252(std::string_view utf8);
std::string Cp1252ToUtf8(std::string_view cp1252);

} // namespace plat
