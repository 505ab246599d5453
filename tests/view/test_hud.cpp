// The HUD: captions sliding in, holding and sliding out; the side panel and the indicator column
// by running effects; the texts and where they land, recorded from the painter.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "render/font.h"
#include "render/shader.h"
#include "shell/hud.h"
#include "shell/hud_caption.h"
#include "shell/hud_painter.h"

namespace {

// Every character of the HUD font half the text size wide.
constexpr float GLYPH_WIDTH = 0.5f;

struct Recording : YHudPainter {
    struct TextRec {
        std::string text;
        float x, y, size;
        float colour[4];
    };
    struct QuadRec {
        YShaderBase* shader;
        YTexVertex v[4];
    };
    struct StripRec {
        YShaderBase* shader;
        std::vector<YTexVertex> v;
    };
    std::vector<TextRec> texts;
    std::vector<QuadRec> quads;
    std::vector<StripRec> strips;

    void Strip(YShaderBase* shader, const YTexVertex* vertices, int triangleCount) override {
        strips.push_back({shader, std::vector<YTexVertex>(vertices, vertices + triangleCount + 2)});
    }
    void Quad(YShaderBase* shader, const YTexVertex vertices[4]) override {
        QuadRec q{shader, {}};
        for (int i = 0; i < 4; ++i) q.v[i] = vertices[i];
        quads.push_back(q);
    }
    void Text(const YFont*, const float colour[4], float x, float y, float size, const char* text) override {
        TextRec t{text, x, y, size, {}};
        for (int i = 0; i < 4; ++i) t.colour[i] = colour[i];
        texts.push_back(t);
    }
    const Recording::TextRec* FindText(const std::string& s) const {
        for (const auto& t : texts) {
            if (t.text == s) return &t;
        }
        return nullptr;
    }
    const Recording::QuadRec* FindQuad(YShaderBase* shader) const {
        for (const auto& q : quads) {
            if (q.shader == shader) return &q;
        }
        return nullptr;
    }
};

YShaderBase* TestIcon(int kind) { return FindShader("test_icon_" + std::to_string(kind)); }
YShaderBase* TestIcon(BonusKind kind) { return TestIcon(BonusKindIndex(kind)); }

class HudTest : public ::testing::Test {
protected:
    void SetUp() override {
        YFont* font = HudFont();
        ASSERT_NE(font, nullptr);
        for (float& w : font->widths) w = GLYPH_WIDTH;
        SetHudIconLookup(&TestIcon);
        ClearHudCaptions();
    }
    void TearDown() override {
        SetHudIconLookup(nullptr);
        ClearHudCaptions();
    }
};

const float GREEN[4] = {0.2f, 1.0f, 0.3f, 1.0f};

// "ABCD" is 4 x 0.5 x 40 = 80 wide, so it rests at x 360 and comes 440 units from the right.
TEST_F(HudTest, CaptionSlidesInHoldsAndSlidesOutFading) {
    AddHudCaption("ABCD", GREEN);
    auto& list = HudCaptions();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_FLOAT_EQ(list[0].targetX, 360.0f);
    EXPECT_FLOAT_EQ(list[0].x, 800.0f);

    const float dt = 0.01f;
    float t = 0.0f, lastAlpha = -1.0f;
    while (list[0].state == 0) {
        UpdateHudCaptions(dt);
        t += dt;
        if (list[0].state == 0) {
            EXPECT_GT(list[0].colour[3], lastAlpha);
            lastAlpha = list[0].colour[3];
        }
        ASSERT_LT(t, 10.0f);
    }
    EXPECT_NEAR(t, 440.0f / 800.0f, dt + 1e-4f);
    EXPECT_FLOAT_EQ(list[0].x, 360.0f);
    EXPECT_FLOAT_EQ(list[0].colour[3], 1.0f);
    EXPECT_EQ(list[0].colour[1], 1.0f); // its own colour stays

    float held = 0.0f;
    while (list[0].state == 1) {
        UpdateHudCaptions(dt);
        held += dt;
        if (list[0].state == 1) {
            EXPECT_FLOAT_EQ(list[0].x, 360.0f);
        }
        ASSERT_LT(held, 10.0f);
    }
    EXPECT_NEAR(held, 3.0f, 2 * dt);

    lastAlpha = 2.0f;
    float out = 0.0f, lastX = 360.0f;
    while (!list.empty()) {
        EXPECT_LT(list[0].colour[3], lastAlpha);
        lastAlpha = list[0].colour[3];
        lastX = list[0].x;
        UpdateHudCaptions(dt);
        out += dt;
        ASSERT_LT(out, 10.0f);
    }
    // Gone once as far left of its rest as it came from the right: x <= 2 x 360 - 800 = -80.
    EXPECT_GT(lastX, -80.0f);
    EXPECT_LE(lastX - 8.0f, -80.0f);
    EXPECT_NEAR(out, 440.0f / 800.0f, 2 * dt);
}

TEST_F(HudTest, ASecondCaptionSendsTheFirstOutFromItsRestAtOnce) {
    AddHudCaption("ABCD", GREEN);
    for (int i = 0; i < 100; ++i) UpdateHudCaptions(0.01f); // holding now
    ASSERT_EQ(HudCaptions()[0].state, 1);
    AddHudCaption("XY", GREEN);
    auto& list = HudCaptions();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].state, 2);
    EXPECT_FLOAT_EQ(list[0].x, 360.0f);
    EXPECT_EQ(list[1].state, 0);
    EXPECT_FLOAT_EQ(list[1].targetX, 380.0f);

    UpdateHudCaptions(0.1f);
    Recording r;
    DrawHudValues(YHudValues(), false, r);
    // Both visible: two shadows and the text each.
    int first = 0, second = 0;
    for (const auto& t : r.texts) {
        first += t.text == "ABCD";
        second += t.text == "XY";
    }
    EXPECT_EQ(first, 3);
    EXPECT_EQ(second, 3);
    // The first one leaves; when it is gone the second remains in the first slot.
    for (int i = 0; i < 100 && list.size() > 1; ++i) UpdateHudCaptions(0.01f);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].text, "XY");
}

TEST_F(HudTest, CaptionTextsDrawWithShadowsAtTheirPlaces) {
    AddHudCaption("ABCD", GREEN);
    UpdateHudCaptions(0.2f);
    const float x = HudCaptions()[0].x, a = HudCaptions()[0].colour[3];
    ASSERT_GT(a, 0.0f);
    Recording r;
    DrawHudValues(YHudValues(), false, r);
    std::vector<const Recording::TextRec*> caption;
    for (const auto& t : r.texts) {
        if (t.text == "ABCD") caption.push_back(&t);
    }
    ASSERT_EQ(caption.size(), 3u);
    EXPECT_FLOAT_EQ(caption[0]->x, x + 2.0f);
    EXPECT_FLOAT_EQ(caption[0]->y, 582.0f);
    EXPECT_FLOAT_EQ(caption[1]->x, x - 2.0f);
    EXPECT_FLOAT_EQ(caption[1]->y, 578.0f);
    EXPECT_FLOAT_EQ(caption[0]->colour[3], a * 0.35f);
    EXPECT_FLOAT_EQ(caption[2]->x, x);
    EXPECT_FLOAT_EQ(caption[2]->y, 580.0f);
    EXPECT_FLOAT_EQ(caption[2]->size, 40.0f);
    EXPECT_FLOAT_EQ(caption[2]->colour[3], a);
    EXPECT_FLOAT_EQ(caption[2]->colour[0], GREEN[0]);
}

TEST_F(HudTest, ScoreOnlyDrawsExactlyTheScoreRightAligned) {
    YHudValues v;
    v.score = 12345;
    v.glovesTime = 5.0f;
    v.lives = 3;
    AddHudCaption("ABCD", GREEN);
    UpdateHudCaptions(0.2f);
    Recording r;
    DrawHudValues(v, true, r);
    ASSERT_EQ(r.texts.size(), 1u);
    EXPECT_TRUE(r.quads.empty());
    EXPECT_TRUE(r.strips.empty());
    EXPECT_EQ(r.texts[0].text, "12345");
    EXPECT_FLOAT_EQ(r.texts[0].x, 780.0f - 5 * GLYPH_WIDTH * 35.0f);
    EXPECT_FLOAT_EQ(r.texts[0].y, 35.0f);
    EXPECT_FLOAT_EQ(r.texts[0].size, 35.0f);
    EXPECT_FLOAT_EQ(r.texts[0].colour[1], 0.3f);
}

struct PanelCase {
    const char* name;
    YHudValues values;
    float bottom;
    std::vector<int> kinds; // icons in the column below the lives, top to bottom
};

YHudValues With(void (*set)(YHudValues&)) {
    YHudValues v;
    set(v);
    return v;
}

class SidePanelTest : public HudTest, public ::testing::WithParamInterface<PanelCase> {};

TEST_P(SidePanelTest, PanelEndsAndColumnFollowTheRunningEffects) {
    const PanelCase& c = GetParam();
    EXPECT_FLOAT_EQ(HudSidePanelBottom(c.values), c.bottom);
    Recording r;
    DrawHudValues(c.values, false, r);
    // The bottom bar, then the side panel.
    ASSERT_EQ(r.strips.size(), 2u);
    EXPECT_FLOAT_EQ(r.strips[1].v[4].pos.y, c.bottom);
    EXPECT_FLOAT_EQ(r.strips[1].v[2].pos.y, c.bottom + 17.5f);

    // The lives under the ball-mode icon, then one entry per effect, 65 apart.
    const Recording::QuadRec* heart = r.FindQuad(FindShader("heart"));
    ASSERT_NE(heart, nullptr);
    EXPECT_FLOAT_EQ(heart->v[0].pos.y, 455.0f);
    float y = 390.0f;
    for (int kind : c.kinds) {
        const Recording::QuadRec* q = r.FindQuad(TestIcon(kind));
        ASSERT_NE(q, nullptr) << kind;
        EXPECT_FLOAT_EQ(q->v[0].pos.y, y) << kind;
        EXPECT_FLOAT_EQ(q->v[2].pos.y, y + 60.0f) << kind;
        y -= 65.0f;
    }
    // Ball mode icon, needle, heart and the effects.
    EXPECT_EQ(r.quads.size(), 3 + c.kinds.size());
}

INSTANTIATE_TEST_SUITE_P(
    Effects, SidePanelTest,
    ::testing::Values(PanelCase{"None", YHudValues(), 450.0f, {}},
                      PanelCase{"Gloves", With([](YHudValues& v) { v.glovesTime = 1.0f; }), 385.0f, {8}},
                      PanelCase{"Frost", With([](YHudValues& v) { v.frostTime = 1.0f; }), 385.0f, {19}},
                      PanelCase{"GlovesAndShield",
                                With([](YHudValues& v) {
                                    v.glovesTime = 2.0f;
                                    v.shieldTime = 3.0f;
                                }),
                                320.0f,
                                {8, 18}},
                      PanelCase{"GrenadeBetweenShieldAndSlip",
                                With([](YHudValues& v) {
                                    v.slipTime = 1.0f;
                                    v.grenadeCharges = 4;
                                    v.vivacityTime = 1.0f;
                                }),
                                255.0f,
                                {17, 11, 20}},
                      PanelCase{"EndedTimesCountForNothing",
                                With([](YHudValues& v) {
                                    v.glovesTime = -1.0f;
                                    v.slumberTime = 0.0f;
                                }),
                                450.0f,
                                {}},
                      PanelCase{"All",
                                With([](YHudValues& v) {
                                    v.glovesTime = v.slumberTime = v.vivacityTime = v.shieldTime = 1.0f;
                                    v.slipTime = v.frostTime = 1.0f;
                                    v.grenadeCharges = 0;
                                }),
                                -5.0f,
                                {8, 16, 17, 18, 11, 20, 19}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HudTest, ColumnValuesAreCentredAboveTheirIcons) {
    YHudValues v;
    v.lives = 7;
    v.shieldTime = 75.9f;
    v.grenadeCharges = 12;
    Recording r;
    DrawHudValues(v, false, r);
    struct Expect {
        const char* text;
        float y;
    };
    for (const Expect& e :
         {Expect{"7", 455.0f + 65.0f}, Expect{"01:15", 390.0f + 65.0f}, Expect{"12", 325.0f + 65.0f}}) {
        const Recording::TextRec* t = r.FindText(e.text);
        ASSERT_NE(t, nullptr) << e.text;
        const float w = std::string(e.text).size() * GLYPH_WIDTH * 20.0f;
        EXPECT_FLOAT_EQ(t->x, (60.0f - w) * 0.5f + 735.0f) << e.text;
        EXPECT_FLOAT_EQ(t->y, e.y) << e.text;
        EXPECT_FLOAT_EQ(t->size, 20.0f);
    }
}

TEST_F(HudTest, BallModeIconNeedleAndClock) {
    YHudValues v;
    v.ballMode = 3;
    v.ballModeTime = 61.5f;
    v.aimAngle = 90.0f;
    Recording r;
    DrawHudValues(v, false, r);
    const Recording::QuadRec* icon = r.FindQuad(TestIcon(3));
    ASSERT_NE(icon, nullptr);
    EXPECT_FLOAT_EQ(icon->v[0].pos.x, 735.0f);
    EXPECT_FLOAT_EQ(icon->v[0].pos.y, 520.0f);
    EXPECT_FLOAT_EQ(icon->v[2].pos.x, 795.0f);
    EXPECT_FLOAT_EQ(icon->v[2].pos.y, 580.0f);
    EXPECT_FLOAT_EQ(icon->v[1].uv.v, 1.0f);
    // Aimed straight up, the needle is the icon's square unturned.
    const Recording::QuadRec* needle = r.FindQuad(FindShader("ball_angle"));
    ASSERT_NE(needle, nullptr);
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(needle->v[i].pos.x, icon->v[i].pos.x, 1e-3f);
        EXPECT_NEAR(needle->v[i].pos.y, icon->v[i].pos.y, 1e-3f);
    }
    const Recording::TextRec* clock = r.FindText("01:01");
    ASSERT_NE(clock, nullptr);
    EXPECT_FLOAT_EQ(clock->y, 585.0f);
}

TEST_F(HudTest, NeedleTurnsAboutItsCentreByTheAimBelowNinety) {
    YHudValues v;
    v.aimAngle = 0.0f;
    Recording r;
    DrawHudValues(v, false, r);
    const Recording::QuadRec* needle = r.FindQuad(FindShader("ball_angle"));
    ASSERT_NE(needle, nullptr);
    // Turned a quarter about (765, 550): the corner (735, 520) goes to (735, 580) ...
    EXPECT_NEAR(needle->v[0].pos.x, 735.0f, 1e-3f);
    EXPECT_NEAR(needle->v[0].pos.y, 580.0f, 1e-3f);
    // ... and (795, 520) to (735, 520).
    EXPECT_NEAR(needle->v[3].pos.x, 735.0f, 1e-3f);
    EXPECT_NEAR(needle->v[3].pos.y, 520.0f, 1e-3f);
    EXPECT_FLOAT_EQ(needle->v[3].uv.u, 1.0f);
}

TEST_F(HudTest, LowBallModesShowNoNeedleAndUntimedModesNoClock) {
    YHudValues v;
    v.lowBall = true;
    v.ballMode = 2;
    v.ballModeTime = -1.0f;
    Recording r;
    DrawHudValues(v, false, r);
    EXPECT_EQ(r.FindQuad(FindShader("ball_angle")), nullptr);
    for (const auto& t : r.texts) EXPECT_EQ(t.text.find(':'), std::string::npos) << t.text;
}

struct TimeCase {
    float seconds;
    const char* text;
};

class HudTimeTest : public ::testing::TestWithParam<TimeCase> {};

TEST_P(HudTimeTest, MinutesAndWholeSeconds) {
    char out[16];
    FormatHudTime(GetParam().seconds, out, sizeof out);
    EXPECT_STREQ(out, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Times, HudTimeTest,
                         ::testing::Values(TimeCase{75.9f, "01:15"}, TimeCase{0.0f, "00:00"}, TimeCase{59.99f, "00:59"},
                                           TimeCase{3599.9f, "59:59"}, TimeCase{6000.0f, "100:00"},
                                           TimeCase{-1.0f, "00:00"}, TimeCase{NAN, "00:00"}));

} // namespace
