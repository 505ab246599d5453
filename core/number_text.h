#pragma once
// Whole numbers as decimal text, for captions and names.
#include <string>

// "%d" of `value`: -5 gives "-5", 0 gives "0".
std::string IntToString(int value);
