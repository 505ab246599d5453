#include "core/xml_parser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "core/color.h"
#include "core/log.h"
#include "support/temp_dir.h"

namespace {

// Registers three tags and writes every callback into a trace:
//   T<name>{attr=value,...}   OnTag with all attribute values
//   C<name>[text]             OnCloseTag with the text buffer
//   E(message@line)           OnError
// Runs of the same entry are written once with "*count".
class Recorder : public XMLParser {
public:
    enum { kMaterial, kTag, kText };

    Recorder() {
        XMLTag t;
        AddTag(MakeTag(t, "material", "name", "", "mass", "1", "color", "ffffff", nullptr));
        AddTag(MakeTag(t, "tag", "a", "0", "b", "x", nullptr));
        AddTag(XMLTag("text"));
    }

    std::string Trace() const {
        std::string out;
        for (std::size_t i = 0; i < entries.size();) {
            std::size_t n = 1;
            while (i + n < entries.size() && entries[i + n] == entries[i]) ++n;
            if (!out.empty()) out += ' ';
            out += entries[i];
            if (n > 1) out += "*" + std::to_string(n);
            i += n;
        }
        return out;
    }
    const XMLTag& Tag(int id) const { return tags[id]; }

    std::vector<std::string> entries;
    std::string delivered;
    std::function<void(int)> onTag; // runs after OnTag is recorded
    bool stopOnError = false;

protected:
    char ReadChar() override {
        char c = XMLParser::ReadChar();
        delivered += c;
        return c;
    }
    void OnTag(int id) override {
        std::string e = "T" + tags[id].name + "{";
        for (std::size_t i = 0; i < tags[id].attributes.size(); ++i) {
            const XMLAttribute& a = tags[id].attributes[i];
            e += (i ? "," : "") + a.name + "=" + a.value;
        }
        entries.push_back(e + "}");
        if (onTag) onTag(id);
    }
    void OnCloseTag(int id) override { entries.push_back("C" + tags[id].name + "[" + text + "]"); }
    bool OnError(const char* message) override {
        entries.push_back("E(" + std::string(message) + "@" + std::to_string(line) + ")");
        return !stopOnError;
    }
};

std::string TraceOf(const std::string& input) {
    Recorder r;
    r.Parse(input);
    return r.Trace();
}

// Captures log.txt in a scratch folder.
class LoggedTest : public ::testing::Test {
protected:
    void SetUp() override { LogReopen(dir_.File("log.txt")); }
    void TearDown() override { LogReopen(""); }
    std::string Log() const { return dir_.Read("log.txt"); }
    testsupport::TempDir dir_;
};

} // namespace

TEST(XMLParser, GrammarTrace) {
    struct Case {
        const char* what;
        std::string input;
        std::string trace;
    };
    const Case cases[] = {
        {"empty input", "", ""},
        {"white space only", " \n\t\r\n ", ""},
        {"junk before the first tag", "ab<tag/>", "E(Expected '<'.@1)*2 Ttag{a=0,b=x} Ctag[]"},
        {"quoted and bare values, defaults", "<material name=\"a\" mass=2/>",
         "Tmaterial{name=a,mass=2,color=ffffff} Cmaterial[]"},
        {"bare value ends at '/'", "<tag a=5/>", "Ttag{a=5,b=x} Ctag[]"},
        {"values keep entities", "<tag a=\"x&amp;y\"/>", "Ttag{a=x&amp;y,b=x} Ctag[]"},
        {"entities in text", "<text>x &amp; y &lt; z &rt; w</text>", "Ttext{} Ctext[x & y < z > w]"},
        {"&gt; is no entity", "<text>&gt;</text>", "Ttext{} E(Unknown character &gt;@1) Ctext[]"},
        {"entity without ';'", "<text>&amp x</text>", "Ttext{} E(Expected ';'@1) Ctext[]"},
        {"comment joins the text around it", "<text>a<!-- a -- b --->b</text>", "Ttext{} Ctext[ab]"},
        {"xml declaration", "<?xml version=\"1.0\"?><tag/>",
         "E(Unknown tag: ?xml@1) E(Expected '<'.@1)*9 Ttag{a=0,b=x} Ctag[] E(6 more errors not shown.@1)"},
        {"closing tags are not matched", "<tag></material>", "Ttag{a=0,b=x} Cmaterial[]"},
        {"attribute without value", "<tag a/>", "E(Expected '='.@1) E(Expected '<'.@1)"},
        {"unknown tag at the end", "<tag/>\n<bogus>",
         "Ttag{a=0,b=x} Ctag[] E(Unknown tag: bogus@2) E(Expected '<'.@2)"},
        {"unknown attribute, lines from 0", "\n\n<tag c=1/>",
         "E(Unknown attribute: c of tag: tag@3) E(Expected '<'.@3)*4"},
        {"attributes reset for each occurrence", "<tag a=1 b=2/><tag b=3/>",
         "Ttag{a=1,b=2} Ctag[] Ttag{a=0,b=3} Ctag[]"},
        {"a repeated attribute keeps the last value", "<tag a=1 a='2'/>", "Ttag{a=2,b=x} Ctag[]"},
        {"quoted values are raw", "<tag a='say \"hi\"' b=\"1>2&\n3\"/>", "Ttag{a=say \"hi\",b=1>2&\n3} Ctag[]"},
        {"text after the last child only", "<text>a<tag/>b\n</text>", "Ttext{} Ttag{a=0,b=x} Ctag[] Ctext[b\n]"},
        {"white space inside tags", "< tag  a = \"1\" >t</ tag >", "Ttag{a=1,b=x} Ctag[t]"},
        {"'/' without '>'", "<tag/ >", "E(Expected '>' after '/'.@1) E(Expected '<'.@1)"},
        {"closing tag without '>'", "<tag></tag x>", "Ttag{a=0,b=x} Ctag[] E(Expected '>'.@1) E(Expected '<'.@1)"},
        {"'<!' without dashes", "<!x><tag/>", "E(Invalid special '!'.@1) E(Expected '<'.@1) Ttag{a=0,b=x} Ctag[]"},
        {"'<!-' with one dash", "<!-x>", "E(Expected '--'.@1) E(Expected '<'.@1)"},
        {"high bytes are name characters", "<\xA0tag/>", "E(Unknown tag: \xA0tag@1) E(Expected '<'.@1)*2"},
        {"unterminated quote", "<tag a=\"abc", ""},
        {"unterminated comment", "<text>a<!-- b", "Ttext{}"},
    };
    for (const Case& c : cases) EXPECT_EQ(TraceOf(c.input), c.trace) << c.what;
}

// A subclass that checksums what ReadChar hands out sees every put-back character again, and the
// end marker exactly once.
TEST(XMLParser, DeliversPutBackCharactersAgainAndTheEndMarkerOnce) {
    struct Case {
        std::string input;
        std::string delivered;
        int line;
    };
    const Case cases[] = {
        {"<\ntag/>x", "<<\n\nttag///>x\xFF", 3}, // the put-back line feed counts twice
        {"<tag/><", "<<tttag///><\xFF", 1},      // the end marker is put back and not repeated
        {"a", "aa\xFF", 1},
    };
    for (const Case& c : cases) {
        Recorder r;
        r.Parse(c.input);
        EXPECT_EQ(r.delivered, c.delivered) << c.input;
        EXPECT_EQ(r.GetLine(), c.line) << c.input;
    }
}

TEST(XMLParser, MessagesThrownByCallbacksReachOnError) {
    Recorder r;
    r.onTag = [&](int id) {
        if (id == Recorder::kMaterial) {
            YColor colour;
            colour.ParseColor(r.Tag(id).attributes[2].value);
        }
        if (id == Recorder::kTag) throw std::string("bad tag");
        if (id == Recorder::kText) throw "c string";
    };
    r.Parse("<material color=12/><tag a=1>x</tag><text>");
    EXPECT_EQ(r.Trace(),
              "Tmaterial{name=,mass=1,color=12} E(Error color format.@1) Ttag{a=1,b=x} E(bad tag@1) "
              "E(Expected '<'.@1) Ctag[] Ttext{} E(c string@1)");
}

// Junk over many lines: the first faults are reported with the line each one is on (counted from
// 1), the rest as one count at the end, so a damaged file cannot flood the log.
TEST(XMLParser, ErrorsPastTheFirstFewAreCountedInOneMessage) {
    Recorder r;
    std::string junk;
    for (int i = 0; i < 12; ++i) junk += "ab\n";
    r.Parse(junk + "<tag/>");
    EXPECT_EQ(r.Trace(),
              "E(Expected '<'.@1)*3 E(Expected '<'.@2)*3 E(Expected '<'.@3)*3 E(Expected '<'.@4) Ttag{a=0,b=x} Ctag[] "
              "E(26 more errors not shown.@13)");
    static_assert(XML_ERROR_LINES == 10);

    // A fault at the end of a line is reported on that line, not the next.
    Recorder next;
    next.Parse("<tag c=1/>\n<tag/>");
    EXPECT_EQ(next.entries.front(), "E(Unknown attribute: c of tag: tag@1)");
}

TEST(XMLParser, OnErrorReturningFalseEndsTheParse) {
    Recorder r;
    r.stopOnError = true;
    r.Parse("ab<tag/>");
    EXPECT_EQ(r.Trace(), "E(Expected '<'.@1)");
}

// Every parse starts afresh: tags hold their defaults and lines count from 1 again, so values of
// an earlier file never leak into a later one.
TEST(XMLParser, EachParseResetsValuesAndLines) {
    Recorder r;
    r.Parse("\n<tag a=5 b=y/>\n");
    EXPECT_EQ(r.Tag(Recorder::kTag).attributes[0].value, "5"); // kept after the callbacks
    EXPECT_EQ(r.GetLine(), 3);
    r.Parse("");
    EXPECT_EQ(r.Tag(Recorder::kTag).attributes[0].value, "0");
    EXPECT_EQ(r.Tag(Recorder::kTag).attributes[1].value, "x");
    EXPECT_EQ(r.GetLine(), 1);
}

TEST(XMLAttribute, Converters) {
    struct Case {
        const char* value;
        int asInt;
        float asFloat;
        bool asBool;
    };
    const Case cases[] = {
        {"1", 1, 1.0f, true},
        {"2", 2, 2.0f, true},
        {"0", 0, 0.0f, false},
        {"-1", -1, -1.0f, false},
        {"true", 0, 0.0f, false},
        {"yes", 0, 0.0f, false},
        {"", 0, 0.0f, false},
        {" \t42abc", 42, 42.0f, true},
        {"+7", 7, 7.0f, true},
        {"0.5", 0, 0.5f, false},
        {".5", 0, 0.5f, false},
        {"-2.75e1", -2, -27.5f, false},
        {"--5", 0, 0.0f, false},
        {"99999999999", INT_MAX, 1e11f, true},
        {"-99999999999", INT_MIN, -1e11f, false},
        {"1e999", 1, 0.0f, true}, // beyond any double: reads as 0
    };
    for (const Case& c : cases) {
        XMLAttribute a("n", c.value);
        EXPECT_EQ(a.AsInt(), c.asInt) << c.value;
        EXPECT_FLOAT_EQ(a.AsFloat(), c.asFloat) << c.value;
        EXPECT_EQ(a.AsBool(), c.asBool) << c.value;
    }
}

TEST(XMLTag, MakeTagReplacesWhatTheRecordHeld) {
    XMLTag t;
    MakeTag(t, "one", "a", "1", "b", nullptr, nullptr);
    MakeTag(t, "two", "c", "3", nullptr);
    ASSERT_EQ(t.attributes.size(), 1u);
    EXPECT_EQ(t.name, "two");
    EXPECT_EQ(t.attributes[0].name, "c");
    EXPECT_EQ(t.attributes[0].value, "3");
    EXPECT_EQ(t.attributes[0].defaultValue, "3");
}

using XMLParserFiles = LoggedTest;

TEST_F(XMLParserFiles, CrLfFileReadsAsLf) {
    const std::string body = "<text>\na\n</text>\n<bogus>\n";
    std::string crlf;
    for (char c : body) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    dir_.Write("lf.yml", body);
    dir_.Write("crlf.yml", crlf);
    Recorder lf, cr;
    EXPECT_TRUE(lf.Load(dir_.File("lf.yml").c_str()));
    EXPECT_TRUE(cr.Load(dir_.File("crlf.yml").c_str()));
    EXPECT_EQ(cr.Trace(), lf.Trace());
    EXPECT_EQ(cr.delivered, lf.delivered);
    EXPECT_EQ(lf.Trace(), "Ttext{} Ctext[\na\n] E(Unknown tag: bogus@4) E(Expected '<'.@4)*2");
    EXPECT_EQ(Log(), "");
}

TEST_F(XMLParserFiles, MissingAndOversizedFilesAreLoggedAndNotParsed) {
    Recorder r;
    EXPECT_FALSE(r.Load(dir_.File("missing.yml").c_str()));
    dir_.Write("big.yml", "<tag/>" + std::string(XML_MAX_FILE_BYTES, ' '));
    EXPECT_FALSE(r.Load(dir_.File("big.yml").c_str()));
    EXPECT_TRUE(r.entries.empty());
    const std::string log = Log();
    EXPECT_NE(log.find("Markup file not found: " + dir_.File("missing.yml")), std::string::npos) << log;
    EXPECT_NE(log.find("not read: " + dir_.File("big.yml")), std::string::npos) << log;
}

// A file with no tag in it at all (empty, spaces, only comments) is logged; a file with a tag, or
// whose faults were reported, is not logged again for it. Input given in memory is not a file.
TEST_F(XMLParserFiles, AFileWithoutTagsIsLogged) {
    struct Case {
        const char* text;
        bool logged;
    };
    const Case cases[] = {
        {"", true}, {" \n\t\n", true}, {"<!-- nothing -->\n", true}, {"<tag/>", false}, {"junk", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        dir_.Write("t.yml", c.text);
        const std::size_t before = Log().size();
        Recorder r;
        EXPECT_TRUE(r.Load(dir_.File("t.yml").c_str()));
        const std::string added = Log().substr(before);
        EXPECT_EQ(added.find("Markup file " + dir_.File("t.yml") + " holds no tags") != std::string::npos, c.logged)
            << added;
    }
    const std::size_t before = Log().size();
    Recorder r;
    r.Parse("");
    EXPECT_EQ(Log().substr(before), "");
}

// The callbacks hear nothing of a construct cut off by the end of the input; the log does.
TEST_F(XMLParserFiles, InputEndingInsideAConstructIsLogged) {
    struct Case {
        std::string input;
        std::string logged; // empty: nothing is logged
    };
    const Case cases[] = {
        {"<tag a=\"abc", "Markup input ends inside an unfinished quoted value, line: 1"},
        {"<tag a=1\n", "Markup input ends inside an unfinished tag, line: 2"},
        {"<tag", "ends inside an unfinished tag"},
        {"<text>a<!-- b", "ends inside an unfinished comment"},
        {"<!", "ends after an error: Invalid special '!'."},
        {"</tag", "ends inside an unfinished closing tag"},
        {"<tag></tag ", "ends inside an unfinished closing tag"},
        {"<text>&am", "ends inside an unfinished entity"},
        {"<tag/", "Markup input ends after an error: Expected '>' after '/'., line: 1"},
        {"<tag/>\n", ""},
        {"<text>tail", ""},
        {"junk", ""},
        {"<tag a/>", ""},
    };
    for (const Case& c : cases) {
        LogReopen(dir_.File("log.txt"));
        Recorder r;
        r.Parse(c.input);
        const std::string log = Log();
        if (c.logged.empty())
            EXPECT_EQ(log, "") << c.input;
        else
            EXPECT_NE(log.find(c.logged), std::string::npos) << c.input << " -> " << log;
        EXPECT_LE(std::count(log.begin(), log.end(), '\n'), 1) << c.input;
    }
}

// A reader reads one input at a time: another parse started from its own callback is refused and
// logged, and the parse under way reads on to its end (instead of reading a finished input for ever).
TEST_F(XMLParserFiles, ParseStartedFromItsOwnCallbackIsRefused) {
    dir_.Write("inner.yml", "<text/>");
    Recorder r;
    bool loaded = true;
    r.onTag = [&](int) {
        if (r.entries.size() != 1) return;
        r.Parse("<text/>");
        loaded = r.Load(dir_.File("inner.yml").c_str());
    };
    r.Parse("<tag a=1/>\n<tag a=2/>");
    EXPECT_EQ(r.Trace(), "Ttag{a=1,b=x} Ctag[] Ttag{a=2,b=x} Ctag[]");
    EXPECT_FALSE(loaded);
    const std::string log = Log();
    EXPECT_NE(log.find("Markup input not read: its reader is still reading another"), std::string::npos) << log;
    EXPECT_NE(log.find("Markup file " + dir_.File("inner.yml") + " not read"), std::string::npos) << log;
}

// Huge names and random bytes end in reported errors, with every input character handed out at
// most three times (a character may be put back twice), so the work stays linear.
TEST(XMLParser, HugeNamesAndJunkEndInErrors) {
    {
        Recorder r;
        const std::string name(1 << 20, 'n');
        r.Parse("<" + name + "><tag/>");
        ASSERT_EQ(r.entries.size(), 4u);
        EXPECT_EQ(r.entries[0], "E(Unknown tag: " + name + "@1)");
        EXPECT_EQ(r.entries[3], "Ctag[]");
    }
    std::mt19937 rng(20240607);
    const std::string alphabet = "<>/=!-&;'\" \n\tatgxmlrp\xFF";
    for (int round = 0; round < 300; ++round) {
        std::string input;
        const std::size_t size = round == 0 ? 1 << 18 : rng() % 64;
        for (std::size_t i = 0; i < size; ++i)
            input += round == 0 ? static_cast<char>(rng()) : alphabet[rng() % alphabet.size()];
        Recorder r;
        r.Parse(input);
        EXPECT_LE(r.delivered.size(), 3 * input.size() + 1) << input;
        if (round == 0) {
            // Thousands of faults, of which the first few are reported and the rest counted.
            ASSERT_FALSE(r.entries.empty());
            const std::string& last = r.entries.back();
            ASSERT_EQ(last.rfind("E(", 0), 0u) << last;
            EXPECT_GT(std::atoi(last.c_str() + 2), 1000) << last;
            EXPECT_NE(last.find(" more errors not shown.@"), std::string::npos) << last;
        }
    }
}
