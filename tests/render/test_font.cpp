// Bitmap fonts: glyph data files into widths and glyphs, text widths, text drawn through the
// renderer (null device), broken glyph files, the font file grammar, and the console drawn with
// "sysfont" and the "console" shader.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/console.h"
#include "core/log.h"
#include "platform/gpu/null/null_device.h"
#include "render/console_drawer.h"
#include "render/font.h"
#include "render/font_loader.h"
#include "render/render_d3d.h"
#include "render/shader.h"
#include "render/video_mode.h"
#include "support/temp_dir.h"

namespace {

// A glyph data file in the making: widths and corners, written little-endian.
struct GlyphFile {
    float widths[256] = {};
    YGlyph glyphs[256] = {};

    std::string Bytes() const {
        std::string out;
        auto put = [&out](float f) {
            const uint32_t bits = std::bit_cast<uint32_t>(f);
            for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((bits >> shift) & 0xFF);
        };
        for (float w : widths) put(w);
        for (const YGlyph& g : glyphs)
            for (const YGlyphCorner& c : g.corners) {
                put(c.x);
                put(c.y);
                put(c.unused);
                put(c.u);
                put(c.v);
            }
        return out;
    }
};

// Every corner value of glyph c distinct and tied to c, so a record read from the wrong offset
// shows.
YGlyph MarkedGlyph(int c) {
    YGlyph g;
    for (int k = 0; k < 4; ++k) {
        const float base = static_cast<float>(c) + 0.01f * static_cast<float>(k);
        g.corners[k] = {base, base + 0.1f, 0.0f, base + 0.2f, base + 0.3f};
    }
    return g;
}

// 'a' 0.5, 'b' 0.25, ' ' 0.3, 0xE9 0.75, 0xFF 0.125; everything else 0. Every glyph marked.
GlyphFile SampleGlyphs() {
    GlyphFile f;
    f.widths[int{'a'}] = 0.5f;
    f.widths[int{'b'}] = 0.25f;
    f.widths[int{' '}] = 0.3f;
    f.widths[0xE9] = 0.75f;
    f.widths[0xFF] = 0.125f;
    for (int c = 0; c < 256; ++c) f.glyphs[c] = MarkedGlyph(c);
    return f;
}

bool SameGlyph(const YGlyph& a, const YGlyph& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

class FontTest : public ::testing::Test {
protected:
    FontTest() : dir_(/*enter*/ true) {
        LogReopen(dir_.File("log.txt"));
        dir_.MakeDir("fonts");
        dir_.Write("fonts/sample.dat", SampleGlyphs().Bytes());
    }
    ~FontTest() override {
        render_.reset();
        LogReopen("");
    }

    // The renderer over the null device, with a device (one windowed 800 x 600 mode).
    void MakeRenderer() {
        gpu::NullAdapterScript script;
        script.modes = {gpu::DisplayMode{800, 600, 60, gpu::D3DFMT_X8R8G8B8}};
        d3d_ = std::make_shared<gpu::NullDirect3D>(script);
        std::shared_ptr<gpu::NullDirect3D> d3d = d3d_;
        render_ = std::make_unique<Render_D3D>([d3d](uint32_t) -> gpu::Direct3DPtr { return d3d; });
        std::vector<YVideoMode> modes;
        render_->GetVideoModes(&modes);
        g_VideoModes.Assign(modes);
        ASSERT_TRUE(render_->CreateDevice(nullptr, false, 0));
        device_ = d3d_->LastDevice();
    }

    std::vector<std::string> LogLines() const {
        std::vector<std::string> lines;
        std::istringstream in(dir_.Read("log.txt"));
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    // The lines logged since the last call.
    std::vector<std::string> NewLogLines() {
        std::vector<std::string> all = LogLines();
        std::vector<std::string> fresh(all.begin() + static_cast<std::ptrdiff_t>(std::min(seen_, all.size())),
                                       all.end());
        seen_ = all.size();
        return fresh;
    }

    // The text draws since the trace was last cleared: one triangle strip per batch of glyphs.
    std::vector<const gpu::NullCall*> TextDraws() const {
        std::vector<const gpu::NullCall*> out;
        for (const gpu::NullCall& c : device_->Calls())
            if (c.text.rfind("DrawPrimitiveUP(", 0) == 0) out.push_back(&c);
        return out;
    }
    // The glyph quads in those draws: a strip of n quads has 6n - 2 vertices.
    std::size_t GlyphQuads() const {
        std::size_t quads = 0;
        for (const gpu::NullCall* c : TextDraws()) quads += (c->vertices.size() / sizeof(YTexVertex) + 2) / 6;
        return quads;
    }

    TempDir dir_;
    std::size_t seen_ = 0;
    std::shared_ptr<gpu::NullDirect3D> d3d_;
    std::shared_ptr<gpu::NullDevice> device_;
    std::unique_ptr<Render_D3D> render_;
};

TEST_F(FontTest, WidthsAndGlyphsComeFromTheGlyphFile) {
    YFont* font = FindFont("widths");
    ASSERT_TRUE(font->LoadData("fonts\\sample.dat"));
    const GlyphFile expected = SampleGlyphs();
    for (int c : {0, int{'a'}, 0xE9, 0xFF}) {
        EXPECT_TRUE(SameGlyph(font->glyphs[c], expected.glyphs[c])) << "glyph " << c;
    }

    struct CharCase {
        int c;
        float width;
    };
    const CharCase chars[] = {
        {'a', 0.5f},
        {'b', 0.25f},
        {1, 0.0f},
        {0xE9, 0.75f},
        {static_cast<char>(0xE9), 0.75f}, // a signed char still indexes the upper half
        {0x100 + 'a', 0.5f},              // only the low byte counts
    };
    for (const CharCase& cc : chars) EXPECT_FLOAT_EQ(font->GetCharWidth(cc.c), cc.width) << "char " << cc.c;

    struct TextCase {
        const char* text;
        float width;
    };
    const TextCase texts[] = {
        {"", 0.0f},
        {"ab", 0.75f},
        {"a b", 1.05f}, // a space is measured like any character
        {"a\x01z"
         "b",
         0.75f},              // characters without width add nothing
        {"\xE9\xFF", 0.875f}, // bytes from 128 up
        {nullptr, 0.0f},
    };
    for (const TextCase& tc : texts)
        EXPECT_FLOAT_EQ(font->GetTextWidth(tc.text), tc.width) << (tc.text ? tc.text : "(null)");
}

TEST_F(FontTest, UnknownNamesGiveOneEmptyFontEach) {
    YFont* font = FindFont("nobody defines this");
    EXPECT_EQ(FindFont(std::string("nobody defines this")), font);
    EXPECT_EQ(FindFontInList("nobody defines this"), font);
    EXPECT_EQ(FindFontInList("nor this"), nullptr);
    EXPECT_EQ(font->shader, nullptr);
    EXPECT_EQ(font->GetTextWidth("any text"), 0.0f);
    EXPECT_EQ(font->DrawText(0, 0, 20, "no renderer"), 0.0f);
}

TEST_F(FontTest, DrawnTextIsMeasuredInScreenUnits) {
    MakeRenderer();
    YFont* font = FindFont("drawn");
    ASSERT_TRUE(font->LoadData("fonts\\sample.dat"));
    font->shader = FindShader("drawn");
    render_->BeginFrame(false);

    struct DrawCase {
        const char* name;
        std::function<float()> draw;
        float width;
        std::size_t quads;
        std::size_t draws;
    };
    const std::string longText(3000, 'a');
    const std::vector<DrawCase> cases = {
        {"plain", [&] { return font->DrawText(10, 100, 20, "a b\x01"); }, 21.0f, 3, 1}, // the space's quad is drawn
        {"formatted", [&] { return font->DrawTextf(10, 100, 20, "%c%d%s", 'a', 7, "b"); }, 15.0f, 2, 1},
        {"one full batch", [&] { return font->DrawText(0, 0, 2, longText.substr(0, TEXT_BATCH_GLYPHS).c_str()); },
         TEXT_BATCH_GLYPHS * 1.0f, static_cast<std::size_t>(TEXT_BATCH_GLYPHS), 1},
        {"one glyph past a batch",
         [&] { return font->DrawText(0, 0, 2, longText.substr(0, TEXT_BATCH_GLYPHS + 1).c_str()); },
         (TEXT_BATCH_GLYPHS + 1) * 1.0f, static_cast<std::size_t>(TEXT_BATCH_GLYPHS + 1), 2},
        {"cut at the formatting limit", [&] { return font->DrawTextf(0, 0, 2, "%s", longText.c_str()); },
         FONT_FORMAT_MAX * 1.0f, static_cast<std::size_t>(FONT_FORMAT_MAX),
         static_cast<std::size_t>((FONT_FORMAT_MAX + TEXT_BATCH_GLYPHS - 1) / TEXT_BATCH_GLYPHS)},
        {"empty", [&] { return font->DrawText(0, 0, 20, ""); }, 0.0f, 0, 0},
    };
    for (const DrawCase& dc : cases) {
        SCOPED_TRACE(dc.name);
        device_->ClearTrace();
        EXPECT_FLOAT_EQ(dc.draw(), dc.width);
        EXPECT_EQ(GlyphQuads(), dc.quads);
        EXPECT_EQ(TextDraws().size(), dc.draws);
        for (const gpu::NullCall* c : TextDraws()) EXPECT_EQ(c->text.rfind("DrawPrimitiveUP(TRIANGLESTRIP,", 0), 0u);
    }
    EXPECT_EQ(render_->CurrentShader(), FindShader("drawn"));
}

TEST_F(FontTest, BrokenGlyphFilesAreLoggedAndNeverHalfRead) {
    const std::string good = SampleGlyphs().Bytes();
    auto withFloat = [&good](std::size_t offset, float value) {
        std::string bytes = good;
        const uint32_t bits = std::bit_cast<uint32_t>(value);
        for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
        return bytes;
    };
    struct BadCase {
        const char* name;
        const char* bytes; // null: no file at all
        std::size_t size;
        bool keepsOldData;
        std::string logged;
    };
    const std::string nanGlyph = withFloat(1024 + 80 * 200 + 12, std::numeric_limits<float>::quiet_NaN());
    const std::string infWidth = withFloat(4 * 'b', std::numeric_limits<float>::infinity());
    const BadCase cases[] = {
        {"missing", nullptr, 0, true, "Load font data error, file fonts\\bad.dat"},
        {"not a number in a glyph", nanGlyph.data(), nanGlyph.size(), false,
         "Load font data error, file fonts\\bad.dat: no number at byte 17036"},
        {"infinite width", infWidth.data(), infWidth.size(), false,
         "Load font data error, file fonts\\bad.dat: no number at byte 392"},
    };
    const GlyphFile sample = SampleGlyphs();
    for (const BadCase& bc : cases) {
        SCOPED_TRACE(bc.name);
        YFont* font = FindFont(std::string("bad ") + bc.name);
        ASSERT_TRUE(font->LoadData("fonts\\sample.dat"));
        std::remove(dir_.File("fonts/bad.dat").c_str());
        if (bc.bytes) dir_.Write("fonts/bad.dat", std::string(bc.bytes, bc.size));
        NewLogLines();

        EXPECT_FALSE(font->LoadData("fonts\\bad.dat"));
        EXPECT_EQ(NewLogLines(), std::vector<std::string>{bc.logged});
        EXPECT_FLOAT_EQ(font->GetCharWidth('a'), bc.keepsOldData ? 0.5f : 0.0f);
        EXPECT_FLOAT_EQ(font->GetTextWidth("ab\xE9"), bc.keepsOldData ? 1.5f : 0.0f);
        EXPECT_TRUE(SameGlyph(font->glyphs[int{'a'}], bc.keepsOldData ? sample.glyphs[int{'a'}] : YGlyph{}));
    }
}

// A glyph file of another length is still read: a longer one up to the glyph data's end, a
// shorter one as far as it goes, with the rest of the font as it was. Each is logged.
TEST_F(FontTest, GlyphFilesOfOtherLengthsFillWhatTheyHave) {
    GlyphFile other;
    for (int c = 0; c < 256; ++c) {
        other.widths[c] = 0.0625f;
        other.glyphs[c] = MarkedGlyph(255 - c);
    }
    const std::string bytes = other.Bytes() + std::string(1000, 'x');
    const GlyphFile sample = SampleGlyphs();
    const std::string suffix = ", a glyph data file has 21504";
    struct LengthCase {
        std::size_t size;
        bool newWidths; // the widths come from the file
        int newGlyphs;  // glyphs 0 .. newGlyphs - 1 come from the file
        std::string logged;
    };
    const LengthCase cases[] = {
        {0, false, 0, "Load font data error, file fonts\\len.dat: 0 bytes" + suffix + "; the rest is kept"},
        {1024, true, 0, "Load font data error, file fonts\\len.dat: 1024 bytes" + suffix + "; the rest is kept"},
        {1024 + 80 * 100 + 7, true, 100,
         "Load font data error, file fonts\\len.dat: 9031 bytes" + suffix + "; the rest is kept"},
        {21504, true, 256, ""},
        {21505, true, 256, "Load font data, file fonts\\len.dat: 21505 bytes" + suffix + "; the rest is not read"},
        {22504, true, 256, "Load font data, file fonts\\len.dat: 22504 bytes" + suffix + "; the rest is not read"},
    };
    for (const LengthCase& lc : cases) {
        SCOPED_TRACE(lc.size);
        YFont* font = FindFont("length " + std::to_string(lc.size));
        ASSERT_TRUE(font->LoadData("fonts\\sample.dat"));
        dir_.Write("fonts/len.dat", bytes.substr(0, lc.size));
        NewLogLines();
        EXPECT_TRUE(font->LoadData("fonts\\len.dat"));
        const std::vector<std::string> logged = NewLogLines();
        EXPECT_EQ(logged, lc.logged.empty() ? std::vector<std::string>{} : std::vector<std::string>{lc.logged});
        EXPECT_FLOAT_EQ(font->GetCharWidth('a'), lc.newWidths ? 0.0625f : 0.5f);
        const bool cutGlyph = lc.size > 1024 && (lc.size - 1024) % 80 != 0; // part of it from the file
        for (int c = 0; c < 256; ++c) {
            if (c == lc.newGlyphs && cutGlyph) continue;
            EXPECT_TRUE(SameGlyph(font->glyphs[c], c < lc.newGlyphs ? other.glyphs[c] : sample.glyphs[c]))
                << "glyph " << c;
        }
    }
}

TEST_F(FontTest, FontFileGrammar) {
    MakeRenderer();
    GlyphFile other;
    other.widths[int{'a'}] = 0.25f;
    dir_.Write("fonts/other.dat", other.Bytes());
    dir_.Write("fonts/short.dat", std::string(100, '\0'));

    struct Expected {
        const char* font;
        const char* shader; // null: the font must not exist
        float widthOfA;
    };
    struct GrammarCase {
        const char* name;
        const char* markup; // null: no file
        std::vector<Expected> fonts;
        std::vector<std::string> logged; // without the reader's recovery lines
        bool recovers = false;           // a fault inside a tag: one "Expected '<'." per character left in it
    };
    const GrammarCase cases[] = {
        {"a font",
         R"(<font name="one" shader="s_one" data="fonts\sample.dat"/>)",
         {{"one", "s_one", 0.5f}},
         {"Parse fonts from file, fonts.yml"}},
        {"defaults: no shader name, no data",
         "<font name=\"bare\"/>",
         {{"bare", "", 0.0f}},
         {"Parse fonts from file, fonts.yml", "Load font data error, file "}},
        {"a later definition replaces the earlier one",
         "<font name=\"twice\" shader=\"s_first\" data=\"fonts\\sample.dat\"/>\n"
         "<font name=\"twice\" shader=\"s_second\" data=\"fonts\\other.dat\"/>",
         {{"twice", "s_second", 0.25f}},
         {"Parse fonts from file, fonts.yml"}},
        {"an unknown attribute defines nothing",
         "<!-- comment -->\n<font name=\"sized\" size=\"12\" data=\"fonts\\sample.dat\"/>\n"
         "<font name=\"after_attr\" shader=\"s_after\" data=\"fonts\\sample.dat\"/>",
         {{"sized", nullptr, 0.0f}, {"after_attr", "s_after", 0.5f}},
         {"Parse fonts from file, fonts.yml",
          "Font parser error, Unknown attribute: size of tag: font, file: fonts.yml, line: 2"},
         true},
        {"an unknown tag defines nothing",
         "<fnt name=\"typo\" data=\"fonts\\sample.dat\"/>\n"
         "<font name=\"after_tag\" shader=\"s_after\" data=\"fonts\\other.dat\"/>",
         {{"typo", nullptr, 0.0f}, {"after_tag", "s_after", 0.25f}},
         {"Parse fonts from file, fonts.yml", "Font parser error, Unknown tag: fnt, file: fonts.yml, line: 1"},
         true},
        {"a short data file fills what it has",
         "<font name=\"cut\" shader=\"s_cut\" data=\"fonts\\short.dat\"/>",
         {{"cut", "s_cut", 0.0f}},
         {"Parse fonts from file, fonts.yml",
          "Load font data error, file fonts\\short.dat: 100 bytes, a glyph data file has 21504; the rest is kept"}},
        {"no file", nullptr, {}, {"Parse fonts from file, fonts.yml", "Markup file not found: fonts.yml"}},
    };
    for (const GrammarCase& gc : cases) {
        SCOPED_TRACE(gc.name);
        std::remove(dir_.File("fonts.yml").c_str());
        if (gc.markup) dir_.Write("fonts.yml", gc.markup);
        NewLogLines();
        ParseFontFile("fonts.yml");
        std::vector<std::string> logged;
        int recovery = 0;
        for (const std::string& line : NewLogLines()) {
            if (line.rfind("Font parser error, Expected '<'., file: fonts.yml, line: ", 0) == 0 ||
                line.find(" more errors not shown., file: fonts.yml") != std::string::npos)
                ++recovery;
            else
                logged.push_back(line);
        }
        EXPECT_EQ(logged, gc.logged);
        EXPECT_EQ(recovery > 0, gc.recovers) << recovery;
        for (const Expected& e : gc.fonts) {
            SCOPED_TRACE(e.font);
            YFont* font = FindFontInList(e.font);
            if (!e.shader) {
                EXPECT_EQ(font, nullptr);
                continue;
            }
            ASSERT_NE(font, nullptr);
            EXPECT_EQ(font->shader, FindShaderInList(e.shader));
            EXPECT_FLOAT_EQ(font->GetCharWidth('a'), e.widthOfA);
        }
    }
}

TEST_F(FontTest, FontFilesNeedTheRenderer) {
    dir_.Write("fonts.yml", R"(<font name="too_early" shader="s" data="fonts\sample.dat"/>)");
    ParseFontFile("fonts.yml");
    EXPECT_EQ(NewLogLines(), std::vector<std::string>{"Font parser error, render must be created."});
    EXPECT_EQ(FindFontInList("too_early"), nullptr);
}

TEST_F(FontTest, ConsoleIsDrawnWithSysfontAndTheConsoleShader) {
    MakeRenderer();
    // Widths only for the characters this console shows.
    GlyphFile glyphs;
    for (char c : std::string("=>_ahi")) glyphs.widths[static_cast<unsigned char>(c)] = 0.5f;
    dir_.Write("fonts/sys.dat", glyphs.Bytes());
    YFont* sysfont = FindFont("sysfont");
    ASSERT_TRUE(sysfont->LoadData("fonts\\sys.dat"));
    sysfont->shader = FindShader("sysfont shader");
    YShader* panelShader = FindShader("console");
    panelShader->material.emissive[0] = 0.25f;

    YConsole console(nullptr);
    InstallConsoleDrawer(&console);
    console.OnChar('a');
    console.OnChar('b'); // no width in the console font: refused
    EXPECT_EQ(console.GetEditLine(), "a");
    console.Print("hi");
    console.shown = true;
    console.Update(1.0f); // all the way down to 300
    ASSERT_EQ(console.position, YConsole::SHOWN_POSITION);

    render_->BeginFrame(false);
    device_->ClearTrace();
    console.Draw();
    const std::vector<const gpu::NullCall*> quads = TextDraws();
    // The panel, then "=>", "a", the cursor when it is on, and the line "hi" (a fan of four
    // vertices counts as one quad).
    ASSERT_EQ(GlyphQuads(), 1u + 2u + 1u + (console.IsCursorOn() ? 1u : 0u) + 2u);
    ASSERT_FALSE(quads.empty());
    EXPECT_EQ(quads[0]->text.rfind("DrawPrimitiveUP(TRIANGLEFAN,2,", 0), 0u);
    ASSERT_EQ(quads[0]->vertices.size(), sizeof(YTexVertex[4]));
    YTexVertex panel[4];
    std::memcpy(panel, quads[0]->vertices.data(), sizeof panel);
    const float expected[4][4] = {{0, -300, 0, 0}, {0, 300, 0, 1}, {800, 300, 1, 1}, {800, -300, 1, 0}};
    for (int k = 0; k < 4; ++k) {
        SCOPED_TRACE(k);
        EXPECT_FLOAT_EQ(panel[k].pos.x, expected[k][0]);
        EXPECT_FLOAT_EQ(panel[k].pos.y, expected[k][1]);
        EXPECT_FLOAT_EQ(panel[k].uv.u, expected[k][2]);
        EXPECT_FLOAT_EQ(panel[k].uv.v, expected[k][3]);
    }
    EXPECT_EQ(render_->CurrentShader(), sysfont->shader); // the text came after the panel

    // The panel alone: the console shader, applied with its material.
    render_->BeginFrame(false);
    InstallConsoleDrawer(nullptr); // ignored
    YConsoleFontDrawer drawer;
    drawer.DrawPanel(YConsole::GetQuad());
    EXPECT_EQ(render_->CurrentShader(), panelShader);
    EXPECT_EQ(render_->CurrentMaterial(), panelShader->material);
    EXPECT_FLOAT_EQ(drawer.CharWidth('a'), 0.5f);
    EXPECT_FLOAT_EQ(drawer.CharWidth('b'), 0.0f);
}

} // namespace
