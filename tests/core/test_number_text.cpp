#include "core/number_text.h"

#include <climits>
#include <locale>
#include <string>

#include <gtest/gtest.h>

namespace {

// A global locale with a decimal comma and digit grouping, as a user's desktop might set.
struct CommaPunct : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

TEST(TextToInt, ReadsWhatAtoiReadsAndTellsHowFar) {
    struct Case {
        const char* text;
        int value;
        std::size_t used;
    };
    const Case cases[] = {
        {"800x600", 800, 3},
        {"  -12:", -12, 5},
        {"+7", 7, 2},
        {"x600", 0, 0},
        {"-", 0, 0},
        {"", 0, 0},
        {" \t", 0, 0},
        {"2147483647", INT_MAX, 10},
        {"-2147483648", INT_MIN, 11},
        {"99999999999999999999999x", INT_MAX, 23},
        {"-2147483649", INT_MIN, 11},
    };
    for (const Case& c : cases) {
        std::size_t used = 99;
        EXPECT_EQ(TextToInt(c.text, &used), c.value) << c.text;
        EXPECT_EQ(used, c.used) << c.text;
    }
}

// The console echoes volumes with FloatToText; a desktop locale must not turn "0.5" into "0,5",
// which the configuration and the console would read back as 0.
TEST(FloatToText, PrintsInTheCLocaleWhateverTheGlobalLocale) {
    const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaPunct));
    const std::string half = FloatToText(0.5f);
    const std::string large = FloatToText(1234.5f);
    std::locale::global(previous);
    EXPECT_EQ(half, "0.5");
    EXPECT_EQ(large, "1234.5");
    EXPECT_FLOAT_EQ(TextToFloat(half), 0.5f);
}

} // namespace
