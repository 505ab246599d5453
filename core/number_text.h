#pragma once
// Numbers as text and text as numbers, always in the "C" locale whatever locale the process runs
// in: the data files, the configuration and the console all read and write them this way.
#include <cstddef>
#include <string>
#include <string_view>

// "%d" of `value`: -5 gives "-5", 0 gives "0".
std::string IntToString(int value);

// atoi: leading white space, an optional sign and the digits that follow; 0 when there are none.
// Values beyond the int range saturate instead of overflowing. `used`, when given, receives the
// number of characters read (0 when no number was found).
int TextToInt(std::string_view text, std::size_t* used = nullptr);

// atof: leading white space, an optional sign and the longest number that follows; 0 when there
// is none, and also when it is too large or too small for a double. Doubles beyond the float range
// become infinities.
float TextToFloat(std::string_view text);

// The form a standard output stream prints with its default settings: general notation with six
// significant digits and no trailing zeros ("1", "0.5", "0.333333", "1e-05").
std::string FloatToText(float value);
