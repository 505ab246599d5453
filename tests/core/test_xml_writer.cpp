#include "core/xml_parser.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <locale>
#include <sstream>
#include <string>
#include <vector>

#include "platform/sys/files.h"
#include "support/temp_dir.h"

namespace {

// A configuration-shaped reader and writer: a root tag and two inner tags.
class Settings : public XMLParser {
public:
    enum { kConfig, kVideo, kGame };

    explicit Settings(bool all) {
        writeAll = all;
        XMLTag t;
        AddTag(XMLTag("config"));
        AddTag(MakeTag(t, "video", "width", "800", "height", "600", "windowed", "1", nullptr));
        AddTag(MakeTag(t, "game", "player", "", "level", "0", nullptr));
    }
    XMLAttribute& Attr(int tag, int index) { return tags[tag].attributes[index]; }
    const XMLTag& Tag(int id) const { return tags[id]; }

    // The layout the configuration file uses: root, then each inner tag indented on its own line.
    std::string Write() const {
        std::string out;
        WriteOpenTag(out, kConfig);
        out += "\n";
        for (int id : {kVideo, kGame}) {
            out += "  ";
            WriteOpenTag(out, id);
            out += "\n";
        }
        WriteCloseTag(out, kConfig);
        out += "\n";
        return out;
    }

    std::vector<std::string> seen; // values of each OnTag, and every error
    int errors = 0;

protected:
    void OnTag(int id) override {
        for (const XMLAttribute& a : tags[id].attributes) seen.push_back(a.value);
    }
    bool OnError(const char*) override {
        ++errors;
        return true;
    }
};

// A global locale with a decimal comma and digit grouping, as a user's desktop might set.
struct CommaPunct : std::numpunct<char> {
    char do_decimal_point() const override { return ','; }
    char do_thousands_sep() const override { return '.'; }
    std::string do_grouping() const override { return "\3"; }
};

} // namespace

TEST(XMLWriter, SettersStoreCLocaleText) {
    const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new CommaPunct));
    struct FloatCase {
        float v;
        const char* text;
    };
    const FloatCase floats[] = {
        {1.0f, "1"},       {0.1f, "0.1"},         {1.0f / 3, "0.333333"},      {0.5f, "0.5"},
        {-2.25f, "-2.25"}, {100000.0f, "100000"}, {1234567.0f, "1.23457e+06"}, {1e-5f, "1e-05"},
    };
    XMLAttribute a("v", "7");
    for (const FloatCase& c : floats) {
        a.SetFloat(c.v);
        EXPECT_EQ(a.value, c.text) << c.v;
        EXPECT_NEAR(a.AsFloat(), c.v, std::fabs(c.v) * 1e-5f) << c.text;
    }
    const std::pair<int32_t, const char*> ints[] = {
        {0, "0"}, {-5, "-5"}, {1234567, "1234567"}, {INT_MIN, "-2147483648"}};
    for (const auto& [v, text] : ints) {
        a.SetInt(v);
        EXPECT_EQ(a.value, text);
        EXPECT_EQ(a.AsInt(), v);
    }
    a.SetBool(true);
    EXPECT_EQ(a.value, "1");
    a.SetBool(false);
    EXPECT_EQ(a.value, "0");
    EXPECT_EQ(a.defaultValue, "7");
    std::locale::global(previous);
}

TEST(XMLWriter, WriteAllDecidesWhichAttributesArePrinted) {
    for (bool all : {false, true}) {
        Settings s(all);
        s.Attr(Settings::kVideo, 0).SetInt(1024);
        s.Attr(Settings::kVideo, 2).SetBool(true); // equals its default "1"
        std::string open, selfClosed, close, bare;
        s.WriteOpenTag(open, Settings::kVideo);
        s.WriteTag(selfClosed, s.Tag(Settings::kVideo), true);
        s.WriteCloseTag(close, Settings::kVideo);
        s.WriteOpenTag(bare, Settings::kGame);
        if (all) {
            EXPECT_EQ(open, "<video width=\"1024\" height=\"600\" windowed=\"1\">");
            EXPECT_EQ(bare, "<game player=\"\" level=\"0\">");
        } else {
            EXPECT_EQ(open, "<video width=\"1024\">");
            EXPECT_EQ(selfClosed, "<video width=\"1024\"/>");
            EXPECT_EQ(bare, "<game>");
        }
        EXPECT_EQ(close, "</video>");

        std::ostringstream stream;
        s.WriteOpenTag(stream, Settings::kVideo);
        s.WriteCloseTag(stream, Settings::kVideo);
        EXPECT_EQ(stream.str(), open + close);
    }
}

// What is written and put in place atomically reads back as it was stored. A value holding '"'
// goes in single quotes; one holding both quote kinds is written with '"' turned into '\''.
TEST(XMLWriter, WrittenFileReadsBack) {
    testsupport::TempDir dir;
    const std::string path = dir.File("config.yml");
    struct Case {
        std::string player;
        std::string readBack;
    };
    const Case cases[] = {
        {"plain", "plain"},
        {"a & b <c> &amp;", "a & b <c> &amp;"},
        {"two\nlines", "two\nlines"},
        {"say \"hi\"", "say \"hi\""},
        {"it's", "it's"},
        {"\"x\" and 'y'", "'x' and 'y'"},
        {"", ""},
    };
    for (bool all : {false, true}) {
        for (const Case& c : cases) {
            Settings out(all);
            out.Attr(Settings::kVideo, 1).SetInt(768);
            out.Attr(Settings::kVideo, 2).SetBool(false);
            out.Attr(Settings::kGame, 0).value = c.player;
            out.Attr(Settings::kGame, 1).SetInt(-3);
            ASSERT_TRUE(plat::WriteFileAtomic(path, out.Write()));

            Settings in(false);
            ASSERT_TRUE(in.Load(path.c_str()));
            EXPECT_EQ(in.errors, 0) << c.player;
            const std::vector<std::string> want = {"800", "768", "0", c.readBack, "-3"};
            EXPECT_EQ(in.seen, want) << c.player;
        }
    }
}
