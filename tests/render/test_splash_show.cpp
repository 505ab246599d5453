// The start-up slide show: its timeline of fades, skipping, the quads and colours it draws over
// the null device, slides whose picture is missing, and the slides of "splash\config.yml".
#include <string>
#include <vector>

#include "core/init.h"
#include "render/scene/splash_show.h"
#include "render/shader.h"
#include "render/texture.h"
#include "scene_fixture.h"

using scenetest::SceneTest;

namespace {

const float kBlue[4] = {0.0f, 0.25f, 0.5f, 1.0f};

using SplashShowTest = SceneTest;

// `n` slides with untextured shaders of their own, 400 x 300 on blue.
void AddSlides(YSplashShow& show, int n) {
    for (int i = 0; i < n; ++i) {
        const std::string picture = "splash_test_picture" + std::to_string(i);
        show.AddSlide(picture.c_str(), "splash_test_background", kBlue, 400.0f, 300.0f);
    }
}

TEST_F(SplashShowTest, OneSlideFadesInShowsAndFadesOut) {
    gpu::NullDevice& dev = MakeDevice();
    YSplashShow show;
    AddSlides(show, 1);
    struct Row {
        int frame; // after this many updates of 0.5 s
        YSplashShow::Phase phase;
        float timer;
        float brightness;
        bool drawn;
    };
    const Row rows[] = {
        {0, YSplashShow::FADING_IN, 0.0f, 0.0f, true},    {1, YSplashShow::FADING_IN, 0.5f, 0.25f, true},
        {4, YSplashShow::FADING_IN, 2.0f, 1.0f, true}, // equal to the fade time: still fading in
        {5, YSplashShow::SHOWING, 0.5f, 1.0f, true},      {10, YSplashShow::SHOWING, 3.0f, 1.0f, true},
        {11, YSplashShow::FADING_OUT, 1.5f, 0.75f, true}, {14, YSplashShow::FADING_OUT, 0.0f, 0.0f, true},
        {15, YSplashShow::FADING_IN, 0.5f, 0.25f, false}, // over: the index is past the slide
        {20, YSplashShow::FADING_IN, 0.5f, 0.25f, false},
    };
    int frame = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.frame);
        for (; frame < row.frame; ++frame) show.Update(0.5f);
        EXPECT_EQ(show.CurrentPhase(), row.phase);
        EXPECT_FLOAT_EQ(show.Timer(), row.timer);
        EXPECT_FLOAT_EQ(show.Brightness(), row.brightness);
        dev.ClearTrace();
        EXPECT_EQ(show.Draw(), row.drawn);
        const std::vector<scenetest::Quad> quads = Quads();
        ASSERT_EQ(quads.size(), row.drawn ? 2u : 0u);
        if (!row.drawn) continue;
        // The picture's tint: (f, f, f, 1), applied last.
        const gpu::Material& m = dev.State().material;
        EXPECT_FLOAT_EQ(m.Emissive.r, row.brightness);
        EXPECT_FLOAT_EQ(m.Emissive.b, row.brightness);
        EXPECT_EQ(m.Emissive.a, 1.0f);
        EXPECT_EQ(m.Diffuse.a, 1.0f);
    }
    EXPECT_EQ(show.Index(), 1u);
}

TEST_F(SplashShowTest, SkippingFadesOutFromWhereTheSlideIs) {
    struct Row {
        const char* name;
        int slides;
        float before;      // seconds played before the key
        bool all;          // SkipAll rather than Skip
        float brightness;  // right after the key
        float toNextSlide; // seconds from the key until the next slide starts (or the show ends)
        uint32_t nextIndex;
        bool over;
    };
    const Row rows[] = {
        {"skip while fading in, at brightness 0.25", 2, 0.5f, false, 0.25f, 0.75f, 1, false},
        {"skip while showing fades out from full brightness", 2, 3.0f, false, 1.0f, 2.25f, 1, false},
        {"skip while fading out changes nothing", 2, 6.0f, false, 0.5f, 1.25f, 1, false},
        {"skip-all on the second of three ends the show after its fade-out", 3, 7.0f + 1.0f, true, 0.5f, 1.25f, 101,
         true},
        {"skip on the last slide ends the show", 1, 1.0f, false, 0.5f, 1.25f, 1, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        YSplashShow show;
        AddSlides(show, row.slides);
        for (float t = 0.0f; t < row.before; t += 0.25f) show.Update(0.25f);
        const uint32_t index = show.Index();
        if (row.all)
            show.SkipAll();
        else
            show.Skip();
        EXPECT_EQ(show.CurrentPhase(), YSplashShow::FADING_OUT);
        EXPECT_FLOAT_EQ(show.Brightness(), row.brightness);
        // The fade-out runs down from there, step by step.
        for (float t = 0.25f; t < row.toNextSlide; t += 0.25f) {
            show.Update(0.25f);
            EXPECT_EQ(show.Index(), index);
        }
        show.Update(0.25f);
        EXPECT_EQ(show.Index(), row.nextIndex);
        EXPECT_EQ(show.Over(), row.over);
        EXPECT_EQ(show.Draw(), !row.over);
    }
}

TEST_F(SplashShowTest, BackgroundFillsTheScreenBehindTheCentredPicture) {
    gpu::NullDevice& dev = MakeDevice();
    struct Row {
        const char* name;
        float width, height;
        std::size_t quads;
    };
    const Row rows[] = {
        {"800 x 600 fills the screen", 800, 600, 2},
        {"500 x 500 is centred", 500, 500, 2},
        {"width 0: the background alone", 0, 500, 1},
        {"height 0: the background alone", 500, 0, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        YSplashShow show;
        show.AddSlide("splash_test_picture", "splash_test_background", kBlue, row.width, row.height);
        show.Update(1.0f); // brightness 0.5
        dev.ClearTrace();
        ASSERT_TRUE(show.Draw());
        const std::vector<scenetest::Quad> quads = Quads();
        ASSERT_EQ(quads.size(), row.quads);

        const float w = row.width / 800.0f, h = row.height / 600.0f;
        const float corners[2][4][3] = {{{-1, -1, 1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1}},
                                        {{-w, -h, 0}, {w, -h, 0}, {w, h, 0}, {-w, h, 0}}};
        const float uv[4][2] = {{0.001f, 0.999f}, {0.999f, 0.999f}, {0.999f, 0.001f}, {0.001f, 0.001f}};
        for (std::size_t q = 0; q < quads.size(); ++q)
            for (int i = 0; i < 4; ++i) {
                const YTexVertex& v = quads[q].v[i];
                EXPECT_FLOAT_EQ(v.pos.x, corners[q][i][0]);
                EXPECT_FLOAT_EQ(v.pos.y, corners[q][i][1]);
                EXPECT_FLOAT_EQ(v.pos.z, corners[q][i][2]);
                EXPECT_FLOAT_EQ(v.uv.u, uv[i][0]);
                EXPECT_FLOAT_EQ(v.uv.v, uv[i][1]);
                EXPECT_FLOAT_EQ(v.uv2.u, uv[i][0]);
                EXPECT_FLOAT_EQ(v.uv2.v, uv[i][1]);
            }
        // The background's colour, alpha included, scaled by the brightness: the first material
        // of the slide, or the only one (it may equal the last one sent and not be sent again).
        if (row.quads == 1) {
            const gpu::Material& m = dev.State().material;
            EXPECT_EQ(m.Emissive.g, 0.125f);
            EXPECT_EQ(m.Emissive.b, 0.25f);
            EXPECT_EQ(m.Emissive.a, 0.5f);
            EXPECT_EQ(m.Diffuse.a, 0.5f);
        } else {
            const std::vector<std::string> materials = dev.TraceStartingWith("SetMaterial(");
            ASSERT_EQ(materials.size(), 2u);
            EXPECT_EQ(materials[0], "SetMaterial(0,0,0,0.5|0,0,0,1|0,0,0,1|0,0.125,0.25,0.5|0)");
            EXPECT_EQ(materials[1], "SetMaterial(0,0,0,1|0,0,0,1|0,0,0,1|0.5,0.5,0.5,1|0)");
        }
    }
}

TEST_F(SplashShowTest, SlidesWithMissingPicturesAreLoggedAndPassedOver) {
    gpu::NullDevice& dev = MakeDevice();
    TempDir root(true);
    root.MakeDir("splash");
    WritePicture("splash/splash_test_there.jpg");
    YShader* missing = FindShader("splash_test_missing_picture");
    missing->Reset();
    missing->AddStage()->texture = GetTexture("splash\\splash_test_absent.jpg");
    YShader* there = FindShader("splash_test_there_picture");
    there->Reset();
    there->AddStage()->texture = GetTexture("splash\\splash_test_there.jpg");

    YSplashShow show;
    show.AddSlide("splash_test_missing_picture", "", kBlue, 500, 500);
    show.AddSlide("splash_test_there_picture", "", kBlue, 500, 500);
    show.AddSlide("splash_test_missing_picture", "", kBlue, 500, 500);
    show.Update(0.5f);
    dev.ClearTrace();
    ASSERT_TRUE(show.Draw());
    EXPECT_EQ(show.Index(), 1u);
    EXPECT_EQ(show.CurrentPhase(), YSplashShow::FADING_IN);
    EXPECT_EQ(show.Timer(), 0.0f); // the shown slide starts from black
    EXPECT_EQ(Quads().size(), 2u);
    EXPECT_EQ(CountLogLines("Splash slide 0 skipped, picture of shader \"splash_test_missing_picture\" not loaded"), 1);

    for (int i = 0; i < 15; ++i) show.Update(0.5f);
    EXPECT_EQ(show.Index(), 2u);
    EXPECT_FALSE(show.Draw()); // the last one is missing too
    EXPECT_EQ(CountLogLines("Splash slide 2 skipped"), 1);
    EXPECT_FALSE(show.Draw());
    EXPECT_EQ(CountLogLines("Splash slide "), 2);
}

TEST_F(SplashShowTest, SplashTagsOfTheConfigurationBecomeSlides) {
    TempDir root(true);
    root.MakeDir("splash");
    root.Write("splash/config.yml",
               "<config>\n"
               "<splash shader=\"emblem\" bgshader=\"splash_bg\" bgcolor=\"ff800040\" width=\"512\" height=\"256\"/>\n"
               "<splash shader=\"title\"/>\n"
               "</config>\n");
    InstallSplashShowHook();
    const std::size_t before = g_SplashShow.Slides().size();
    Init config;
    config.Load("splash\\config.yml");
    InitHooks().addSplashSlide = nullptr;

    const std::vector<YSplashSlide>& slides = g_SplashShow.Slides();
    ASSERT_EQ(slides.size(), before + 2);
    const YSplashSlide& first = slides[before];
    EXPECT_EQ(first.picture, FindShader("emblem"));
    EXPECT_EQ(first.background, FindShader("splash_bg"));
    EXPECT_EQ(first.width, 512.0f);
    EXPECT_EQ(first.height, 256.0f);
    EXPECT_FLOAT_EQ(first.colour[0], 1.0f);
    EXPECT_FLOAT_EQ(first.colour[1], 128.0f / 255.0f);
    EXPECT_FLOAT_EQ(first.colour[3], 64.0f / 255.0f);
    const YSplashSlide& second = slides[before + 1]; // the tag's defaults
    EXPECT_EQ(second.picture, FindShader("title"));
    EXPECT_EQ(second.background, FindShader(""));
    EXPECT_EQ(second.width, 500.0f);
    EXPECT_EQ(second.colour[0], 0.0f);
    EXPECT_EQ(second.colour[3], 1.0f);
}

} // namespace
