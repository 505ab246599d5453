// Shaders and the shader files: the grammar (small files against the states, stages, materials
// and modifiers they give, with the exact log lines for every fault), definitions that replace,
// inherit or stay open, the texture-coordinate modifiers as AnimateShaders drives them, the shader
// list, and a loaded shader applied through the renderer to the null device.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "core/log.h"
#include "platform/gpu/null/null_device.h"
#include "render/render.h"
#include "render/render_d3d.h"
#include "render/shader.h"
#include "render/shader_loader.h"
#include "render/texture.h"
#include "support/temp_dir.h"

using namespace gpu;

namespace {

using States = std::vector<std::pair<int, uint32_t>>;

// A renderer over a null Direct3D object (no device: the files need only its keyword tables and
// colour packing), a scratch log, and every shader a test makes deleted afterwards.
class ShaderFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (YShader* s : ShaderList()) before_.insert(s);
        d3d_ = std::make_shared<NullDirect3D>();
        std::shared_ptr<NullDirect3D> d3d = d3d_;
        render_ = std::make_unique<Render_D3D>([d3d](uint32_t) -> Direct3DPtr { return d3d; });
    }
    void TearDown() override {
        render_.reset();
        std::vector<YShader*> made;
        for (YShader* s : ShaderList())
            if (!before_.count(s)) made.push_back(s);
        for (YShader* s : made) delete s;
        LogReopen("");
    }

    // Reads `text` as a shader file; returns the lines it logged after "Parse shaders from file".
    std::vector<std::string> Load(const std::string& text) {
        dir_.Write("shaders.yml", text);
        LogReopen(dir_.File("log.txt"));
        ParseShaderFile(File().c_str());
        LogReopen("");
        std::vector<std::string> lines;
        std::istringstream in(dir_.Read("log.txt"));
        for (std::string line; std::getline(in, line);)
            if (line != "Parse shaders from file, " + File()) lines.push_back(line);
        return lines;
    }
    std::string File() const { return dir_.File("shaders.yml"); }
    std::string Error(const std::string& message, int line = 1) const {
        return "Shader parser error, " + message + ", file: " + File() + ", line: " + std::to_string(line);
    }
    std::string BadValue(const std::string& text, int line = 1) const {
        return "Shader parser, error value \"" + text + "\", file: " + File() + ", line: " + std::to_string(line);
    }

    static std::string Wrap(const std::string& body) { return "<shader name=\"t\">" + body + "</shader>"; }

    TempDir dir_;
    std::shared_ptr<NullDirect3D> d3d_;
    std::unique_ptr<Render_D3D> render_;
    std::set<YShader*> before_;
};

// The states a new shader has, with `changes` applied.
YRenderStateBlock DefaultsWith(const States& changes) {
    YRenderStateBlock b = YRenderStateBlock::Defaults();
    for (const auto& [i, v] : changes) b[i] = v;
    return b;
}

YStageStates StageWith(const States& changes) {
    YStageStates s;
    for (const auto& [i, v] : changes) s[i] = v;
    return s;
}

// ---------------------------------------------------------------- render states

TEST_F(ShaderFileTest, RenderStateElements) {
    struct Case {
        const char* body;
        States states; // differences from the defaults
        std::vector<std::string> errors, badValues;
    };
    const Case cases[] = {
        {"", {}, {}, {}},
        {"<blend/>", {{RS_ALPHA_BLEND_ENABLE, 1}}, {}, {}}, // ONE, ZERO, 0xFFFFFFFF are the defaults
        {"<blend alpha=\"0\" src=\"srcalpha\" dest=\"invsrcalpha\" color=\"ff000080\"/>",
         {{RS_SRC_BLEND, D3DBLEND_SRCALPHA}, {RS_DEST_BLEND, D3DBLEND_INVSRCALPHA}, {RS_TEXTURE_FACTOR, 0x80FF0000u}},
         {},
         {}},
        {"<blend color=\"336699\" src=\"scrcolor\" dest=\"srcalphasat\"/>",
         {{RS_ALPHA_BLEND_ENABLE, 1},
          {RS_SRC_BLEND, D3DBLEND_SRCCOLOR},
          {RS_DEST_BLEND, D3DBLEND_SRCALPHASAT},
          {RS_TEXTURE_FACTOR, 0xFF336699u}},
         {},
         {}},
        // Keywords are exact and lower case; the state keeps its value.
        {"<blend src=\"SrcAlpha\"/>", {{RS_ALPHA_BLEND_ENABLE, 1}}, {}, {"SrcAlpha"}},
        // A short colour ends the element there: the states before it stay set.
        {"<blend src=\"srcalpha\" color=\"12345\"/>",
         {{RS_ALPHA_BLEND_ENABLE, 1}, {RS_SRC_BLEND, D3DBLEND_SRCALPHA}},
         {"Error color format."},
         {}},
        {"<state/>", {}, {}, {}},
        {"<state zfunc=\"greaterequal\" cull=\"none\" zenable=\"false\" zwrite=\"0\"/>",
         {{RS_DEPTH_FUNC, D3DCMP_GREATEREQUAL},
          {RS_CULL_MODE, D3DCULL_NONE},
          {RS_DEPTH_ENABLE, 0},
          {RS_DEPTH_WRITE_ENABLE, 0}},
         {},
         {}},
        // Counter-clockwise is spelt "cww"; "ccw" is refused.
        {"<state cull=\"ccw\"/>", {}, {}, {"ccw"}},
        {"<state cull=\"cww\"/>", {{RS_CULL_MODE, D3DCULL_CCW}}, {}, {}},
        // zenable takes only "true" and "false"; zwrite also takes "1" and "0".
        {"<state zenable=\"1\" zwrite=\"false\"/>", {{RS_DEPTH_WRITE_ENABLE, 0}}, {}, {"1"}},
        {"<state zwrite=\"0\"/><state zwrite=\"1\"/>", {}, {}, {}},
        {"<stencil enable=\"true\" mask=\"ff\"/>",
         {{RS_STENCIL_ENABLE, 1}, {RS_STENCIL_MASK, 255}, {RS_STENCIL_WRITE_MASK, 0x7FFFFFFFu}},
         {},
         {}},
        // The default masks "ffffffff" saturate as signed 32-bit numbers.
        {"<stencil/>", {{RS_STENCIL_MASK, 0x7FFFFFFFu}, {RS_STENCIL_WRITE_MASK, 0x7FFFFFFFu}}, {}, {}},
        {"<stencil fail=\"replace\" zfail=\"incrsat\" pass=\"decr\" func=\"lessequal\" ref=\"0x1F\" mask=\" -1\" "
         "writemask=\"zz\"/>",
         {{RS_STENCIL_FAIL, D3DSTENCILOP_REPLACE},
          {RS_STENCIL_DEPTH_FAIL, D3DSTENCILOP_INCRSAT},
          {RS_STENCIL_PASS, D3DSTENCILOP_DECR},
          {RS_STENCIL_FUNC, D3DCMP_LESSEQUAL},
          {RS_STENCIL_REF, 31},
          {RS_STENCIL_MASK, 0xFFFFFFFFu},
          {RS_STENCIL_WRITE_MASK, 0}},
         {},
         {}},
        {"<stencil ref=\"100000000\" mask=\"-80000001\" writemask=\"7fffffff\"/>",
         {{RS_STENCIL_REF, 0x7FFFFFFFu}, {RS_STENCIL_MASK, 0x80000000u}, {RS_STENCIL_WRITE_MASK, 0x7FFFFFFFu}},
         {},
         {}},
        {"<stencil fail=\"keeps\" func=\"sometimes\"/>",
         {{RS_STENCIL_MASK, 0x7FFFFFFFu}, {RS_STENCIL_WRITE_MASK, 0x7FFFFFFFu}},
         {},
         {"keeps", "sometimes"}},
        // Later elements set what they name again.
        {"<blend/><state cull=\"none\"/><blend alpha=\"false\"/>", {{RS_CULL_MODE, D3DCULL_NONE}}, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        std::vector<std::string> expected;
        for (const std::string& e : c.errors) expected.push_back(Error(e));
        for (const std::string& v : c.badValues) expected.push_back(BadValue(v));
        EXPECT_EQ(Load(Wrap(c.body)), expected);
        const YShader* s = FindShaderInList("t");
        ASSERT_NE(s, nullptr);
        const YRenderStateBlock want = DefaultsWith(c.states);
        for (int i = 0; i < RENDER_STATE_COUNT; ++i) EXPECT_EQ(s->renderStates[i], want[i]) << "render state " << i;
        EXPECT_TRUE(s->stages.empty());
        delete s;
    }
}

TEST_F(ShaderFileTest, IsBlendedFollowsTheBlendElement) {
    Load(
        "<shader name=\"plain\"/><shader name=\"blended\"><blend/></shader>"
        "<shader name=\"off\"><blend alpha=\"false\"/></shader>");
    EXPECT_FALSE(FindShader("plain")->IsBlended());
    EXPECT_TRUE(FindShader("blended")->IsBlended());
    EXPECT_FALSE(FindShader("off")->IsBlended());
}

// ---------------------------------------------------------------- stages

TEST_F(ShaderFileTest, StageElements) {
    struct Case {
        std::string body;
        std::vector<States> stages; // per stage: differences from the default stage states
        std::vector<std::string> errors, badValues;
    };
    std::string twelve;
    for (int i = 0; i < 12; ++i) twelve += "<map/>";
    const Case cases[] = {
        {"<map></map>", {{}}, {}, {}},
        {"<map/>", {{}}, {}, {}},
        {"<map wrap_x=\"clamp\" wrap_y=\"mirroronce\"/>",
         {{{SS_ADDRESS_U, D3DTADDRESS_CLAMP}, {SS_ADDRESS_V, D3DTADDRESS_MIRRORONCE}}},
         {},
         {}},
        {"<map wrap_x=\"wrap\"/>", {{}}, {}, {"wrap"}},
        {"<map><colorblend/><alphablend/></map>",
         {{{SS_COLOR_OP, D3DTOP_MODULATE}, {SS_ALPHA_OP, D3DTOP_MODULATE}}},
         {},
         {}},
        {"<map><colorblend op=\"substract\" arg1=\"color\" arg2=\"diffuse\"/>"
         "<alphablend op=\"selectarg1\" arg1=\"selectmask\" arg2=\"specular\"/></map>",
         {{{SS_COLOR_OP, D3DTOP_SUBTRACT},
           {SS_COLOR_ARG1, D3DTA_TFACTOR},
           {SS_COLOR_ARG2, D3DTA_DIFFUSE},
           {SS_ALPHA_OP, D3DTOP_SELECTARG1},
           {SS_ALPHA_ARG1, D3DTA_SELECTMASK},
           {SS_ALPHA_ARG2, D3DTA_SPECULAR}}},
         {},
         {}},
        {"<map><colorblend op=\"subtract\"/></map>", {{}}, {}, {"subtract"}},
        // "min" sets the magnification filter, "mag" the minification filter.
        {"<map><filter min=\"linear\"/></map>", {{{SS_MAG_FILTER, D3DTEXF_LINEAR}}}, {}, {}},
        {"<map><filter mag=\"anisotropic\" mip=\"gaussiancubic\"/></map>",
         {{{SS_MIN_FILTER, D3DTEXF_ANISOTROPIC}, {SS_MIP_FILTER, D3DTEXF_GAUSSIANCUBIC}}},
         {},
         {}},
        {"<map><filter mip=\"trilinear\"/></map>", {{}}, {}, {"trilinear"}},
        // A self-closing map takes no children.
        {"<map/><colorblend/>", {{}}, {"Tag <colorblend> outside <map>."}, {}},
        {"<colorblend/><alphablend/><filter/>",
         {},
         {"Tag <colorblend> outside <map>.", "Tag <alphablend> outside <map>.", "Tag <filterblend> outside <map>."},
         {}},
        {"<map><map></map>", {{}, {}}, {"Expected </map>."}, {}},
        {"</map>", {}, {"Expected <map>."}, {}},
        {"<map></map><map><colorblend op=\"add\"/></map>", {{}, {{SS_COLOR_OP, D3DTOP_ADD}}}, {}, {}},
        // More stages than any device blends: all are kept; the renderer uses what the device has.
        {twelve, std::vector<States>(12), {}, {}},
        {"<mod_rotate/><mod_scroll/><mod_pulse/><mod_flip/><mod_offset/><mod_swing/><mod_turn/>",
         {},
         {"Tag <mod_rotate> outside <map>.", "Tag <mod_scroll> outside <map>.", "Tag <mod_pulse> outside <map>.",
          "Tag <mod_flip> outside <map>.", "Tag <mod_offset> outside <map>.", "Tag <mod_swing> outside <map>.",
          "Tag <mod_turn> outside <map>."},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        std::vector<std::string> expected;
        for (const std::string& e : c.errors) expected.push_back(Error(e));
        for (const std::string& v : c.badValues) expected.push_back(BadValue(v));
        EXPECT_EQ(Load(Wrap(c.body)), expected);
        YShader* s = FindShaderInList("t");
        ASSERT_NE(s, nullptr);
        ASSERT_EQ(s->stages.size(), c.stages.size());
        for (std::size_t k = 0; k < c.stages.size(); ++k) {
            const YShaderStage* stage = s->Stage(k);
            const YStageStates want = StageWith(c.stages[k]);
            for (int i = 0; i < STAGE_STATE_COUNT; ++i)
                EXPECT_EQ(stage->states[i], want[i]) << "stage " << k << " state " << i;
            EXPECT_EQ(stage->texture, nullptr);
            EXPECT_EQ(stage->identity, 1);
            EXPECT_TRUE(stage->modifiers.empty());
        }
        EXPECT_EQ(s->renderStates[RS_ALPHA_BLEND_ENABLE], 0u);
        delete s;
    }
}

TEST_F(ShaderFileTest, MapTexturesAreSharedByName) {
    Load(
        "<shader name=\"one\"><map texture=\"textures\\shared.png\"/><map texture=\"textures\\Shared.png\"/></shader>"
        "<shader name=\"two\"><map texture=\"textures\\shared.png\"/></shader>");
    const YShader* one = FindShader("one");
    const YShader* two = FindShader("two");
    ASSERT_EQ(one->stages.size(), 2u);
    ASSERT_EQ(two->stages.size(), 1u);
    ASSERT_NE(one->stages[0]->texture, nullptr);
    EXPECT_EQ(one->stages[0]->texture->name, "textures\\shared.png");
    EXPECT_EQ(one->stages[0]->texture, two->stages[0]->texture);
    EXPECT_NE(one->stages[1]->texture, one->stages[0]->texture); // names differing in case are two textures
}

// ---------------------------------------------------------------- material and lighting

TEST_F(ShaderFileTest, MaterialElements) {
    struct Colour {
        float r, g, b, a;
    };
    struct Case {
        const char* body;
        Colour diffuse, ambient, specular, emissive;
        float power;
        int lighting;
        std::vector<std::string> errors, badValues;
    };
    constexpr Colour black{0, 0, 0, 1};
    constexpr Colour white{1, 1, 1, 1};
    const Case cases[] = {
        {"", black, black, black, black, 0, 0, {}, {}},
        {"<material/>", black, black, black, black, 0, 0, {}, {}},
        {"<material diffuse=\"ff000080\" ambient=\"00ff00\" specular=\"0000ff\" emissive=\"ffffff\" power=\"12.5f\"/>",
         {1, 0, 0, 128 / 255.0f},
         {0, 1, 0, 1},
         {0, 0, 1, 1},
         white,
         12.5f,
         0,
         {},
         {}},
        // The colours before a bad one stay set; the element ends there.
        {"<material diffuse=\"ff0000\" ambient=\"00ff00\" specular=\"bad\" power=\"3\"/>",
         {1, 0, 0, 1},
         {0, 1, 0, 1},
         black,
         black,
         0,
         0,
         {"Error color format."},
         {}},
        {"<material power=\"abc\"/>", black, black, black, black, 0, 0, {}, {}},
        {"<material power=\"nan\"/>", black, black, black, black, 0, 0, {}, {"nan"}},
        {"<material power=\"1e39\"/>", black, black, black, black, 0, 0, {}, {"1e39"}},
        {"<materialcolor color=\"336699cc\"/>", {0, 0, 0, 0.8f}, black, black, {0.2f, 0.4f, 0.6f, 0.8f}, 0, 0, {}, {}},
        {"<material diffuse=\"ffffff\" ambient=\"ffffff\" power=\"5\"/><lighting/><materialcolor/>",
         black,
         black,
         black,
         white,
         0,
         0,
         {},
         {}},
        {"<lighting/>", black, black, black, black, 0, 1, {}, {}},
        {"<lighting enable=\"2\"/>", black, black, black, black, 0, 1, {}, {}},
        // An integer greater than 0 is on, so "true" is off.
        {"<lighting/><lighting enable=\"true\"/>", black, black, black, black, 0, 0, {}, {}},
    };
    auto expectColour = [](const float* got, const Colour& want, const char* what) {
        EXPECT_FLOAT_EQ(got[0], want.r) << what;
        EXPECT_FLOAT_EQ(got[1], want.g) << what;
        EXPECT_FLOAT_EQ(got[2], want.b) << what;
        EXPECT_FLOAT_EQ(got[3], want.a) << what;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        std::vector<std::string> expected;
        for (const std::string& e : c.errors) expected.push_back(Error(e));
        for (const std::string& v : c.badValues) expected.push_back(BadValue(v));
        EXPECT_EQ(Load(Wrap(c.body)), expected);
        const YShader* s = FindShaderInList("t");
        ASSERT_NE(s, nullptr);
        expectColour(s->material.diffuse, c.diffuse, "diffuse");
        expectColour(s->material.ambient, c.ambient, "ambient");
        expectColour(s->material.specular, c.specular, "specular");
        expectColour(s->material.emissive, c.emissive, "emissive");
        EXPECT_FLOAT_EQ(s->material.power, c.power);
        EXPECT_EQ(s->lighting, c.lighting);
        delete s;
    }
}

// ---------------------------------------------------------------- structure

TEST_F(ShaderFileTest, ElementsOutsideAShaderAreIgnored) {
    const std::vector<std::string> log =
        Load("<blend/><state/><stencil/><material/><materialcolor/><lighting/><map/></shader>");
    EXPECT_EQ(log, (std::vector<std::string>{
                       Error("Tag <blend> outside <shader>."), Error("Tag <state> outside <shader>."),
                       Error("Tag <stencil> outside <shader>."), Error("Tag <material> outside <shader>."),
                       Error("Tag <materialcolor> outside <shader>."), Error("Tag <lighting> outside <shader>."),
                       Error("Tag <map> outside <shader>."), Error("Expected <map>."), Error("Expected <shader>.")}));
}

TEST_F(ShaderFileTest, UnknownTagsAndAttributesAreLoggedAndSkipped) {
    const std::vector<std::string> log =
        Load("<shader name=\"u\"><glow/><blend src=\"srcalpha\" colour=\"ff0000\"/><state cull=\"none\"/></shader>");
    // The markup reader reports the fault and whatever it skips to find its way back.
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), Error("Unknown tag: glow"));
    EXPECT_NE(std::find(log.begin(), log.end(), Error("Unknown attribute: colour of tag: blend")), log.end());
    for (const std::string& line : log) EXPECT_EQ(line.rfind("Shader parser error, ", 0), 0u) << line;
    const YShader* s = FindShader("u");
    EXPECT_EQ(s->renderStates[RS_ALPHA_BLEND_ENABLE], 0u); // the element with the unknown attribute did nothing
    EXPECT_EQ(s->renderStates[RS_CULL_MODE], D3DCULL_NONE);
}

TEST_F(ShaderFileTest, MessagesCountLinesFromOne) {
    const std::vector<std::string> log = Load(
        "<shader name=\"a\">\n"
        "  <blend src=\"srcalpha\"/>\n"
        "  <state cull=\"left\"/>\n"
        "</shader>\n"
        "<filter/>\n");
    EXPECT_EQ(log, (std::vector<std::string>{BadValue("left", 3), Error("Tag <filterblend> outside <map>.", 5)}));
}

TEST_F(ShaderFileTest, NestedAndStrayShaderTags) {
    const std::vector<std::string> log =
        Load("<shader name=\"a\"><blend/><shader name=\"b\"><state cull=\"none\"/></shader></shader>");
    EXPECT_EQ(log, (std::vector<std::string>{Error("Expected </shader>."), Error("Expected <shader>.")}));
    EXPECT_TRUE(FindShader("a")->IsBlended());
    EXPECT_EQ(FindShader("a")->renderStates[RS_CULL_MODE], D3DCULL_CW);
    EXPECT_EQ(FindShader("b")->renderStates[RS_CULL_MODE], D3DCULL_NONE);
}

TEST_F(ShaderFileTest, InheritanceCopiesTheLookButNotTheAnimation) {
    ASSERT_TRUE(Load("<shader name=\"a\"><blend src=\"srcalpha\"/><materialcolor color=\"ff8000\"/><lighting/>"
                     "<map texture=\"textures\\a0.png\"><colorblend op=\"add\"/><mod_scroll x=\"0.5\"/></map>"
                     "<map texture=\"textures\\a1.png\" wrap_x=\"clamp\"><mod_rotate/></map></shader>"
                     "<shader name=\"b\" inherited=\"a\"><map texture=\"textures\\b.png\"/><state cull=\"none\"/>"
                     "</shader>")
                    .empty());
    YShader* a = FindShader("a");
    AnimateShaders(0.25f);
    YShader* b = FindShader("b");
    ASSERT_EQ(b->stages.size(), 3u);
    for (std::size_t k = 0; k < 2; ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(b->Stage(k)->texture, a->Stage(k)->texture);
        for (int i = 0; i < STAGE_STATE_COUNT; ++i) EXPECT_EQ(b->Stage(k)->states[i], a->Stage(k)->states[i]);
        EXPECT_TRUE(b->Stage(k)->modifiers.empty());
        EXPECT_EQ(b->Stage(k)->identity, 1);
        EXPECT_EQ(a->Stage(k)->identity, 0);
    }
    EXPECT_EQ(b->Stage(2)->texture->name, "textures\\b.png");
    EXPECT_EQ(b->renderStates[RS_ALPHA_BLEND_ENABLE], 1u);
    EXPECT_EQ(b->renderStates[RS_SRC_BLEND], D3DBLEND_SRCALPHA);
    EXPECT_EQ(b->renderStates[RS_CULL_MODE], D3DCULL_NONE);
    EXPECT_EQ(a->renderStates[RS_CULL_MODE], D3DCULL_CW);
    EXPECT_EQ(b->material, a->material);
    EXPECT_EQ(b->lighting, 1);
}

TEST_F(ShaderFileTest, AMissingParentGivesDefaultStates) {
    Load("<shader name=\"b\"><stencil enable=\"true\"/><blend/><material power=\"7\"/></shader>");
    const std::vector<std::string> log = Load("<shader name=\"b\" inherited=\"nobody\"></shader>");
    EXPECT_EQ(log, std::vector<std::string>{Error("Super shader don't find.")});
    const YShader* b = FindShader("b");
    const YRenderStateBlock defaults = YRenderStateBlock::Defaults();
    for (int i = 0; i < RENDER_STATE_COUNT; ++i) EXPECT_EQ(b->renderStates[i], defaults[i]) << i;
    EXPECT_FLOAT_EQ(b->material.power, 7.0f); // no stages: not reset, the material stays
}

TEST_F(ShaderFileTest, ADefinitionAgainStartsOverOnlyWhenTheShaderHasStages) {
    const char* first =
        "<shader name=\"s\"><blend/><materialcolor color=\"00ff00\"/><lighting/><map/></shader>"
        "<shader name=\"n\"><blend/><material emissive=\"00ff00\"/><lighting/></shader>";
    Load(first);
    EXPECT_EQ(Load("<shader name=\"s\"/><shader name=\"n\"/>"), std::vector<std::string>{});

    const YShader* s = FindShader("s");
    EXPECT_TRUE(s->stages.empty());
    EXPECT_FALSE(s->IsBlended());
    EXPECT_EQ(s->material, YMaterial());
    EXPECT_EQ(s->lighting, 0);

    const YShader* n = FindShader("n");
    EXPECT_FALSE(n->IsBlended()); // render states always start from the defaults
    EXPECT_FLOAT_EQ(n->material.emissive[1], 1.0f);
    EXPECT_EQ(n->lighting, 1);
}

TEST_F(ShaderFileTest, AMapLeftOpenStaysCurrentAfterItsShader) {
    const std::vector<std::string> log = Load(
        "<shader name=\"a\"><map></shader>"
        "<colorblend op=\"add\"/>"
        "<shader name=\"b\"><map></map></shader>");
    EXPECT_EQ(log, std::vector<std::string>{Error("Expected </map>.")});
    ASSERT_EQ(FindShader("a")->stages.size(), 1u);
    EXPECT_EQ(FindShader("a")->Stage(0)->states[SS_COLOR_OP], D3DTOP_ADD);
    EXPECT_EQ(FindShader("b")->stages.size(), 1u);
}

TEST_F(ShaderFileTest, AnOpenMapOfAShaderDefinedAgainIsClosed) {
    // The open map's shader starts over and its stage is deleted; what follows must not reach it.
    const std::vector<std::string> log = Load(
        "<shader name=\"a\"><map></shader>"
        "<shader name=\"a\"><colorblend op=\"add\"/><mod_rotate/></shader>"
        "<shader name=\"a\"><map></map></shader>");
    EXPECT_EQ(log, (std::vector<std::string>{Error("Tag <colorblend> outside <map>."),
                                             Error("Tag <mod_rotate> outside <map>.")}));
    ASSERT_EQ(FindShader("a")->stages.size(), 1u);
    EXPECT_EQ(FindShader("a")->Stage(0)->states[SS_COLOR_OP], D3DTOP_DISABLE);
}

TEST_F(ShaderFileTest, BrokenFilesAreLoggedAndReadAsFarAsTheyGo) {
    struct Case {
        std::string text;
        const char* shader; // defined by what was read, or null
        uint32_t blend;     // its alpha-blend state
    };
    const Case cases[] = {
        {"<shader name=\"cut\"><blend src=\"srcalpha\" dest=\"inv", "cut", 0},
        {"<shader name=\"half\"><blend/><sta", "half", 1},
        {"<shader name=\"q\"><blend alpha='1'/><!-- never closed", "q", 1},
        {std::string("\x00\xff<shader\x01 name=\"z\"><blend/>\x1a", 29), nullptr, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const std::vector<std::string> log = Load(c.text);
        EXPECT_FALSE(log.empty());
        if (!c.shader) continue;
        const YShader* s = FindShaderInList(c.shader);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->renderStates[RS_ALPHA_BLEND_ENABLE], c.blend);
    }
}

TEST_F(ShaderFileTest, AMissingFileDefinesNothing) {
    const std::size_t count = ShaderList().size();
    LogReopen(dir_.File("log.txt"));
    ParseShaderFile(dir_.File("none.yml").c_str());
    LogReopen("");
    EXPECT_EQ(ShaderList().size(), count);
    const std::string log = dir_.Read("log.txt");
    EXPECT_NE(log.find("Parse shaders from file, " + dir_.File("none.yml")), std::string::npos);
    EXPECT_EQ(log.find("Shader parser"), std::string::npos) << log;
}

TEST_F(ShaderFileTest, NothingIsReadWithoutARenderer) {
    dir_.Write("shaders.yml", "<shader name=\"early\"><blend/></shader>");
    render_.reset();
    LogReopen(dir_.File("log.txt"));
    ParseShaderFile(File().c_str());
    LogReopen("");
    EXPECT_EQ(dir_.Read("log.txt"), "Shader parser error, render must be created.\n");
    EXPECT_EQ(FindShaderInList("early"), nullptr);
}

// ---------------------------------------------------------------- modifiers

struct Probe {
    float u, v;   // in
    float eu, ev; // expected out
};

// (u, v, 1, 0) x M
std::pair<float, float> Transform(const YMatrix& m, float u, float v) {
    return {u * m.m[0] + v * m.m[4] + m.m[8], u * m.m[1] + v * m.m[5] + m.m[9]};
}

TEST_F(ShaderFileTest, ModifiersAnimatedByAnimateShaders) {
    struct Case {
        const char* mods;
        std::vector<float> steps;
        std::vector<Probe> probes;
        std::vector<std::string> badValues;
    };
    const std::vector<float> quarters4(4, 0.25f), quarters8(8, 0.25f), quarters9(9, 0.25f);
    const Case cases[] = {
        // Scrolling by 0.5 per second: exactly 1 is kept, past 1 wraps.
        {"<mod_scroll x=\"0.5\"/>", quarters4, {{0, 0, 0.5f, 0}, {0.25f, 0.5f, 0.75f, 0.5f}}, {}},
        {"<mod_scroll x=\"0.5\"/>", quarters8, {{0, 0, 1.0f, 0}}, {}},
        {"<mod_scroll x=\"0.5\"/>", quarters9, {{0, 0, 0.125f, 0}}, {}},
        {"<mod_scroll x=\"-0.75\" y=\"0.5\"/>", {1.0f, 1.0f}, {{0, 0, -0.5f, 1.0f}}, {}},
        // Rotating 360 degrees per second in half seconds: 180 (kept), 0, 180.
        {"<mod_rotate/>", {0.5f}, {{0, 0, 1, 1}, {0.25f, 0.5f, 0.75f, 0.5f}}, {}},
        {"<mod_rotate/>", {0.5f, 0.5f}, {{0.25f, 0.75f, 0.25f, 0.75f}}, {}},
        {"<mod_rotate/>", {0.5f, 0.5f, 0.5f}, {{0, 0, 1, 1}}, {}},
        {"<mod_rotate angle=\"-90\"/>", {1.0f}, {{0, 0, 0, 1}, {1, 0, 0, 0}}, {}},
        // Fixed modifiers, whatever the time.
        {"<mod_turn angle=\"90\"/>", {0.0f}, {{0, 0, 1, 0}, {1, 0, 1, 1}, {0.5f, 0.5f, 0.5f, 0.5f}}, {}},
        {"<mod_turn/>", {3.0f}, {{0, 0, 1, 1}}, {}},
        // The last-listed modifier acts first.
        {"<mod_offset x=\"0.25\"/><mod_flip x=\"1\"/>", {0.1f}, {{0.5f, 0.3f, -0.25f, 0.3f}}, {}},
        {"<mod_flip x=\"1\"/><mod_offset x=\"0.25\"/>", {0.1f}, {{0.5f, 0.3f, -0.75f, 0.3f}}, {}},
        {"<mod_scroll x=\"0.25\"/><mod_rotate angle=\"180\"/>", {1.0f}, {{0, 0, 1.25f, 1}}, {}},
        {"<mod_flip y=\"1\"/>", {0.1f}, {{0.2f, 0.3f, 0.2f, -0.3f}}, {}},
        {"<mod_flip x=\"true\"/>", {0.1f}, {{0.2f, 0.3f, 0.2f, 0.3f}}, {}}, // "true" is not above 0
        // Pulse: scale 1 / k about the centre, k = 0.75 + 0.25 sin(phase) for the defaults.
        {"<mod_pulse/>", {0.25f}, {{0.9f, 0.1f, 0.9f, 0.1f}}, {}},
        {"<mod_pulse/>", {0.75f}, {{1, 1, 1.5f, 1.5f}, {0.5f, 0.5f, 0.5f, 0.5f}}, {}},
        {"<mod_pulse/>", {0.25f, 0.25f}, {{1, 1, 7.0f / 6.0f, 7.0f / 6.0f}}, {}},
        // A range that reaches 0 is left alone where k is 0 rather than scaled by infinity.
        {"<mod_pulse min=\"0\" max=\"0\"/>", {0.25f}, {{0.9f, 0.1f, 0.9f, 0.1f}}, {}},
        // Swing: the angle moves between min and max with the sine of the phase.
        {"<mod_swing/>", {0.25f}, {{0, 0, 1, 0}}, {}},
        {"<mod_swing/>", {0.75f}, {{0, 0, 0, 1}}, {}},
        {"<mod_swing/>", {0.5f}, {{0.3f, 0.7f, 0.3f, 0.7f}}, {}},
        {"<mod_swing vel=\"90\" min=\"90\" max=\"90\"/>", {0.7f}, {{0, 0, 1, 0}}, {}},
        // Numbers that are no finite numbers are logged and read as 0.
        {"<mod_rotate angle=\"nan\"/><mod_scroll x=\"inf\" y=\"-1e40\"/>",
         {0.5f},
         {{0.2f, 0.3f, 0.2f, 0.3f}},
         {"nan", "inf", "-1e40"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mods);
        std::vector<std::string> expected;
        for (const std::string& v : c.badValues) expected.push_back(BadValue(v));
        EXPECT_EQ(Load(Wrap(std::string("<map>") + c.mods + "</map><map/>")), expected);
        YShader* s = FindShaderInList("t");
        ASSERT_NE(s, nullptr);
        ASSERT_EQ(s->stages.size(), 2u);
        for (float dt : c.steps) AnimateShaders(dt);
        const YShaderStage* stage = s->Stage(0);
        EXPECT_EQ(stage->identity, 0);
        for (const Probe& p : c.probes) {
            const auto [u, v] = Transform(stage->matrix, p.u, p.v);
            EXPECT_NEAR(u, p.eu, 1e-5f) << "u of (" << p.u << ", " << p.v << ")";
            EXPECT_NEAR(v, p.ev, 1e-5f) << "v of (" << p.u << ", " << p.v << ")";
        }
        // A stage without modifiers keeps its identity matrix and flag.
        EXPECT_EQ(s->Stage(1)->identity, 1);
        EXPECT_EQ(s->Stage(1)->matrix.m[8], 0.0f);
        EXPECT_EQ(s->Stage(1)->matrix.m[0], 1.0f);
        delete s;
    }
}

// ---------------------------------------------------------------- the shader list

TEST_F(ShaderFileTest, FindShaderFindsOrMakesAnEmptyShader) {
    EXPECT_EQ(FindShaderInList("fresh"), nullptr);
    YShader* fresh = FindShader("fresh");
    EXPECT_EQ(FindShader("fresh"), fresh);
    EXPECT_EQ(FindShaderInList("fresh"), fresh);
    EXPECT_EQ(FindShaderInList("Fresh"), nullptr);
    EXPECT_EQ(fresh->name, "fresh");
    EXPECT_TRUE(fresh->stages.empty());
    EXPECT_EQ(fresh->material, YMaterial());
    EXPECT_EQ(fresh->lighting, 0);
    const YRenderStateBlock defaults = YRenderStateBlock::Defaults();
    for (int i = 0; i < RENDER_STATE_COUNT; ++i) EXPECT_EQ(fresh->renderStates[i], defaults[i]) << i;
    EXPECT_EQ(FindShader(static_cast<const char*>(nullptr)), FindShader(""));
}

TEST_F(ShaderFileTest, DeletingAShaderMovesTheLastIntoItsPlace) {
    YShader* a = FindShader("list_a");
    YShader* b = FindShader("list_b");
    YShader* c = FindShader("list_c");
    const std::vector<YShader*>& list = ShaderList();
    std::size_t at = 0;
    while (list[at] != a) ++at;
    ASSERT_EQ(list[at + 1], b);
    ASSERT_EQ(list.back(), c);
    delete a;
    EXPECT_EQ(list[at], c);
    EXPECT_EQ(list[at + 1], b);
    EXPECT_EQ(FindShaderInList("list_a"), nullptr);
}

TEST_F(ShaderFileTest, CloneCopiesTheLookWithoutModifiers) {
    Load(
        "<shader name=\"env\"><blend/><state zwrite=\"false\"/><materialcolor color=\"ff0000\"/>"
        "<map texture=\"textures\\sky.png\" wrap_x=\"clamp\"><colorblend/><mod_rotate/></map></shader>");
    YShader* env = FindShader("env");
    env->lighting = 1;
    AnimateShaders(0.25f);
    ASSERT_EQ(env->Stage(0)->identity, 0);

    YShader* copy = env->Clone("env_copy");
    EXPECT_EQ(FindShaderInList("env_copy"), copy);
    EXPECT_EQ(copy->name, "env_copy");
    for (int i = 0; i < RENDER_STATE_COUNT; ++i) EXPECT_EQ(copy->renderStates[i], env->renderStates[i]) << i;
    EXPECT_EQ(copy->material, env->material);
    EXPECT_EQ(copy->lighting, 1);
    ASSERT_EQ(copy->stages.size(), 1u);
    const YShaderStage* stage = copy->Stage(0);
    EXPECT_EQ(stage->texture, env->Stage(0)->texture);
    for (int i = 0; i < STAGE_STATE_COUNT; ++i) EXPECT_EQ(stage->states[i], env->Stage(0)->states[i]) << i;
    EXPECT_TRUE(stage->modifiers.empty());
    EXPECT_EQ(stage->identity, 1);
    AnimateShaders(0.25f);
    EXPECT_EQ(copy->Stage(0)->identity, 1);
    EXPECT_EQ(copy->Stage(0)->matrix.m[8], 0.0f);
    // The copy's stages are its own.
    copy->Stage(0)->texture = nullptr;
    EXPECT_NE(env->Stage(0)->texture, nullptr);
    EXPECT_NE(env->Clone("env_copy"), copy); // a name need not be unique
}

TEST_F(ShaderFileTest, ResetForgetsEverythingButTheName) {
    Load("<shader name=\"r\"><blend/><lighting/><material power=\"4\"/><map><mod_rotate/></map></shader>");
    YShader* r = FindShader("r");
    r->Reset();
    EXPECT_EQ(r->name, "r");
    EXPECT_TRUE(r->stages.empty());
    EXPECT_EQ(r->lighting, 0);
    EXPECT_EQ(r->material, YMaterial());
    EXPECT_FALSE(r->IsBlended());
    AnimateShaders(0.1f); // nothing left to animate
}

TEST(ShaderWithoutRenderer, AShaderMadeBeforeTheRendererHasTheDefaultStates) {
    ASSERT_EQ(g_Render, nullptr);
    YShader* early = FindShader("made_before_the_renderer");
    const YRenderStateBlock defaults = YRenderStateBlock::Defaults();
    for (int i = 0; i < RENDER_STATE_COUNT; ++i) EXPECT_EQ(early->renderStates[i], defaults[i]) << i;
    const YStageStates stageDefaults;
    YShaderStage* stage = early->AddStage();
    for (int i = 0; i < STAGE_STATE_COUNT; ++i) EXPECT_EQ(stage->states[i], stageDefaults[i]) << i;
    delete early;
}

// ---------------------------------------------------------------- applied by the renderer

TEST_F(ShaderFileTest, ALoadedShaderReachesTheDevice) {
    NullAdapterScript script;
    script.modes = {DisplayMode{800, 600, 60, D3DFMT_X8R8G8B8}};
    d3d_->Script() = script;
    std::vector<YVideoMode> modes;
    render_->GetVideoModes(&modes);
    ASSERT_TRUE(render_->CreateDevice(nullptr, false, -1));
    std::shared_ptr<NullDevice> device = d3d_->LastDevice();
    ASSERT_NE(device, nullptr);

    ASSERT_EQ(Load("<shader name=\"two\">"
                   "<blend src=\"srcalpha\" dest=\"invsrcalpha\" color=\"80402010\"/><state cull=\"none\"/>"
                   "<stencil enable=\"true\" func=\"notequal\" ref=\"3\"/><materialcolor color=\"ff0000\"/>"
                   "<map><colorblend arg2=\"diffuse\"/><filter min=\"linear\"/></map>"
                   "<map wrap_y=\"clamp\"><colorblend op=\"add\" arg2=\"color\"/><mod_scroll x=\"0.5\"/></map>"
                   "</shader>"),
              std::vector<std::string>{});
    AnimateShaders(0.5f);
    render_->BeginFrame(false);
    render_->SetShader(FindShader("two"), true);

    const DeviceState& st = device->State();
    EXPECT_EQ(st.renderStates[D3DRS_ALPHABLENDENABLE], 1u);
    EXPECT_EQ(st.renderStates[D3DRS_SRCBLEND], D3DBLEND_SRCALPHA);
    EXPECT_EQ(st.renderStates[D3DRS_DESTBLEND], D3DBLEND_INVSRCALPHA);
    EXPECT_EQ(st.renderStates[D3DRS_TEXTUREFACTOR], 0x10804020u);
    EXPECT_EQ(st.renderStates[D3DRS_CULLMODE], D3DCULL_NONE);
    EXPECT_EQ(st.renderStates[D3DRS_STENCILENABLE], 1u);
    EXPECT_EQ(st.renderStates[D3DRS_STENCILFUNC], D3DCMP_NOTEQUAL);
    EXPECT_EQ(st.renderStates[D3DRS_STENCILREF], 3u);
    EXPECT_EQ(st.stageStates[0][D3DTSS_COLOROP], D3DTOP_MODULATE);
    EXPECT_EQ(st.stageStates[0][D3DTSS_COLORARG2], D3DTA_DIFFUSE);
    EXPECT_EQ(st.stageStates[0][D3DTSS_MAGFILTER], D3DTEXF_LINEAR);
    EXPECT_EQ(st.stageStates[0][D3DTSS_TEXTURETRANSFORMFLAGS], D3DTTFF_DISABLE);
    EXPECT_EQ(st.stageStates[1][D3DTSS_COLOROP], D3DTOP_ADD);
    EXPECT_EQ(st.stageStates[1][D3DTSS_COLORARG2], D3DTA_TFACTOR);
    EXPECT_EQ(st.stageStates[1][D3DTSS_ADDRESSV], D3DTADDRESS_CLAMP);
    EXPECT_EQ(st.stageStates[1][D3DTSS_TEXTURETRANSFORMFLAGS], D3DTTFF_COUNT2);
    EXPECT_FLOAT_EQ(st.texture[1].m[8], 0.25f);
    EXPECT_EQ(st.stageStates[2][D3DTSS_COLOROP], D3DTOP_DISABLE);
    EXPECT_FLOAT_EQ(st.material.Emissive.r, 1.0f);
    EXPECT_FLOAT_EQ(st.material.Diffuse.a, 1.0f);
    render_->EndFrame();
}

} // namespace
