#include "core/number_text.h"

#include <cstdio>

std::string IntToString(int value)
{
    char text[16]; // "-2147483648" and its terminator fit
    std::snprintf(text, sizeof text, "%d", value);
    return text;
}
