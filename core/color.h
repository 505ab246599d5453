#pragma once
// Colours as the data files write them: six or eight hexadecimal digits, "rrggbb" or "rrggbbaa".
#include <stdexcept>
#include <string>

// Raised by ParseColor with the text "Error color format.". It is a std::runtime_error, so the
// markup reader's handlers (which catch what a tag handler throws and hand its text to OnError)
// catch it as std::exception and read the message with what().
class YColorFormatError : public std::runtime_error {
public:
    YColorFormatError() : std::runtime_error("Error color format.") {}
};

// Four floats r, g, b, a in 0..1, in this order.
struct YColor {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 1.0f;

    // Reads "rrggbb" (alpha 1) or "rrggbbaa"; any other length of 6 or more reads the first six
    // digits with alpha 1. Each pair is a hexadecimal number divided by 255: a pair whose first
    // character is no hex digit reads as 0, one whose second is none reads its first digit alone.
    // Text shorter than 6 characters throws YColorFormatError and leaves the colour unchanged.
    void ParseColor(const std::string& text);
};

// The same as colour.ParseColor(text).
void ParseColor(YColor& colour, const std::string& text);
