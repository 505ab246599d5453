#include "core/color.h"
#include "core/number_text.h"

#include <climits>
#include <cstring>

#include <gtest/gtest.h>

namespace {

struct ColorCase {
    const char* text;
    float r, g, b, a;
};

TEST(ParseColor, ReadsHexPairs) {
    const float h = 128.0f / 255.0f;
    const ColorCase cases[] = {
        {"ffffff", 1, 1, 1, 1},
        {"000000", 0, 0, 0, 1},
        {"FFFFFF", 1, 1, 1, 1},
        {"ff000080", 1, 0, 0, h},   // exactly eight: alpha is read
        {"ff8000ff00", 1, h, 0, 1}, // longer: only the first six count
        {"ff80007", 1, h, 0, 1},    // seven: alpha stays 1
        {"Ab10cD", 0xAB / 255.0f, 0x10 / 255.0f, 0xCD / 255.0f, 1},
        {"x1ff0f", 0, 1, 15 / 255.0f, 1},           // no leading hex digit reads 0
        {"fxff0f", 15 / 255.0f, 1, 15 / 255.0f, 1}, // no second digit: the first alone
        {"-1 f+f", 0, 0, 0, 1},                     // blanks and signs are no digits, never negative
    };
    for (const ColorCase& c : cases) {
        SCOPED_TRACE(c.text);
        YColor colour;
        colour.ParseColor(c.text);
        EXPECT_NEAR(colour.r, c.r, 1e-6f);
        EXPECT_NEAR(colour.g, c.g, 1e-6f);
        EXPECT_NEAR(colour.b, c.b, 1e-6f);
        EXPECT_NEAR(colour.a, c.a, 1e-6f);
    }
}

TEST(ParseColor, ShortTextThrowsAndLeavesColourUnchanged) {
    for (const char* text : {"fffff", "", "1"}) {
        SCOPED_TRACE(text);
        YColor colour{0.25f, 0.5f, 0.75f, 0.125f};
        try {
            ParseColor(colour, text);
            ADD_FAILURE() << "no exception";
        } catch (const std::exception& e) {
            EXPECT_STREQ(e.what(), "Error color format.");
        }
        EXPECT_EQ(colour.r, 0.25f);
        EXPECT_EQ(colour.g, 0.5f);
        EXPECT_EQ(colour.b, 0.75f);
        EXPECT_EQ(colour.a, 0.125f);
    }
}

TEST(IntToString, FormatsDecimal) {
    const struct {
        int value;
        const char* text;
    } cases[] = {{0, "0"}, {-5, "-5"}, {42, "42"}, {INT_MAX, "2147483647"}, {INT_MIN, "-2147483648"}};
    for (const auto& c : cases) EXPECT_EQ(IntToString(c.value), c.text);
}

} // namespace
