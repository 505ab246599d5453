#include "core/number_text.h"

#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <locale>
#include <sstream>
#include <system_error>

namespace {

// The C library's white space in the "C" locale.
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

std::size_t SkipSpaces(std::string_view text) {
    std::size_t pos = 0;
    while (pos < text.size() && IsSpace(text[pos])) ++pos;
    return pos;
}

} // namespace

std::string IntToString(int value) {
    char text[16]; // "-2147483648" and its terminator fit
    std::snprintf(text, sizeof text, "%d", value);
    return text;
}

int TextToInt(std::string_view text, std::size_t* used) {
    std::size_t pos = SkipSpaces(text);
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
    const std::size_t digits = pos;
    constexpr unsigned long long beyond = 2147483648ull; // -INT_MIN: anything larger saturates
    unsigned long long magnitude = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos)
        if (magnitude <= beyond) magnitude = magnitude * 10 + static_cast<unsigned>(text[pos] - '0');
    if (used) *used = pos == digits ? 0 : pos;
    if (negative) return magnitude >= beyond ? INT_MIN : -static_cast<int>(magnitude);
    return magnitude > static_cast<unsigned long long>(INT_MAX) ? INT_MAX : static_cast<int>(magnitude);
}

float TextToFloat(std::string_view text) {
    std::size_t pos = SkipSpaces(text);
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) return 0.0f; // from_chars takes a '-'
    double v = 0.0;
    const auto result = std::from_chars(text.data() + pos, text.data() + text.size(), v, std::chars_format::general);
    if (result.ec != std::errc()) return 0.0f;
    if (negative) v = -v;
    // Keep the conversion defined for doubles beyond the float range: they become infinities, as
    // the hardware conversion would make them.
    if (v > FLT_MAX) return HUGE_VALF;
    if (v < -FLT_MAX) return -HUGE_VALF;
    return static_cast<float>(v);
}

std::string FloatToText(float value) {
    std::ostringstream text;
    text.imbue(std::locale::classic());
    text << value;
    return text.str();
}
