#include "platform/window/codepage.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct ConvertCase {
    const char* what;
    std::string utf8;
    std::string cp1252;
};

TEST(Codepage, Utf8ToWindows1252) {
    const ConvertCase cases[] = {
        {"ASCII stays", "Korvelin 1.73", "Korvelin 1.73"},
        {"Latin-1 letters", "Caf\xC3\xA9 \xC3\x9F\xC3\xBF", "Caf\xE9 \xDF\xFF"},
        {"the code page's 0x80 block", "\xE2\x82\xAC \xE2\x80\x94 \xC5\x92 \xC5\xB8", "\x80 \x97 \x8C \x9F"},
        {"characters it lacks become '?'", "\xE4\xB8\xAD\xF0\x9F\x98\x80", "??"},
        {"a C1 control the code page redefines is not kept", "\xC2\x80", "?"},
        {"malformed and truncated bytes end and give '?'", "a\xFF\xC3", "a??"},
        {"an overlong encoding is refused", "\xC0\xAF", "??"},
        {"a surrogate is refused", "\xED\xA0\x80", "???"},
    };
    for (const ConvertCase& c : cases) EXPECT_EQ(plat::Utf8ToCp1252(c.utf8), c.cp1252) << c.what;
}

TEST(Codepage, EveryDefinedByteSurvivesTheRoundTrip) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    const std::string utf8 = plat::Cp1252ToUtf8(all);
    EXPECT_EQ(plat::Utf8ToCp1252(utf8), all);
    EXPECT_EQ(plat::Cp1252ToUtf8("\x80"), "\xE2\x82\xAC");
}

} // namespace
