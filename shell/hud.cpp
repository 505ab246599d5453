#include "shell/hud.h"

#include <cmath>
#include <cstdio>

#include "core/init.h"
#include "render/font.h"
#include "render/shader.h"
#include "shell/hud_caption.h"
#include "shell/hud_painter.h"
#include "world/racket/racket.h"
#include "world/weapons/grenade.h"

namespace {

constexpr float ICON_LEFT = 735.0f;
constexpr float ICON_SIZE = 60.0f;
constexpr float COLUMN_STEP = 65.0f;
constexpr float MODE_ICON_Y = 520.0f;
constexpr float NEEDLE_X = 765.0f;
constexpr float NEEDLE_Y = 550.0f;
constexpr float SCORE_SIZE = 35.0f;
constexpr float VALUE_SIZE = 20.0f;
constexpr float SCORE_COLOUR[4] = {1.0f, 0.3f, 0.1f, 1.0f};

struct HudResources {
    bool ready = false;
    YFont* font = nullptr;
    YShaderBase* bar = nullptr;
    YShaderBase* needle = nullptr;
    YShaderBase* heart = nullptr;
};

HudResources& Resources() {
    static HudResources r;
    return r;
}

HudIconLookup g_IconLookup = nullptr;

YShaderBase* Icon(BonusKind kind) { return g_IconLookup ? g_IconLookup(kind) : nullptr; }

// The icon of ball mode `mode`: that of the ball-mode bonus that gives it (none for the small mode).
YShaderBase* BallModeIcon(int mode) {
    const int index = BonusKindIndex(BonusKind::BallNormal) + mode;
    if (mode < 0 || !IsBonusKind(index) || !IsBallModeBonus(BonusKindAt(index))) return nullptr;
    return Icon(BonusKindAt(index));
}

void SetVertex(YTexVertex& v, float x, float y, float u, float t) {
    v.pos = YVector(x, y, 0.0f);
    v.uv = YVector2(u, t);
    v.uv2 = YVector2(u, t);
}

// The 60 x 60 indicator square with its bottom edge at y.
void IconQuad(YTexVertex q[4], float y) {
    SetVertex(q[0], ICON_LEFT, y, 0.0f, 0.0f);
    SetVertex(q[1], ICON_LEFT, y + ICON_SIZE, 0.0f, 1.0f);
    SetVertex(q[2], ICON_LEFT + ICON_SIZE, y + ICON_SIZE, 1.0f, 1.0f);
    SetVertex(q[3], ICON_LEFT + ICON_SIZE, y, 1.0f, 0.0f);
}

float TextWidth(const YFont* font, const char* text) { return font ? font->GetTextWidth(text) : 0.0f; }

// A value centred over the indicator square whose bottom edge is at y.
void DrawValue(YHudPainter& painter, const YFont* font, float y, const char* text) {
    const float w = TextWidth(font, text) * VALUE_SIZE;
    painter.Text(font, SCORE_COLOUR, (ICON_SIZE - w) * 0.5f + ICON_LEFT, y + COLUMN_STEP, VALUE_SIZE, text);
}

void DrawIcon(YHudPainter& painter, YShaderBase* shader, float y) {
    if (!shader) return;
    YTexVertex q[4];
    IconQuad(q, y);
    painter.Quad(shader, q);
}

void DrawBottomBar(YHudPainter& painter, YShaderBase* bar) {
    YTexVertex v[6];
    SetVertex(v[0], 620.0f, 52.5f, 0.0f, 0.0f);
    SetVertex(v[1], 620.0f, 0.0f, 1.0f, 0.0f);
    SetVertex(v[2], 637.5f, 52.5f, 0.0f, 0.25f);
    SetVertex(v[3], 637.5f, 0.0f, 1.0f, 0.25f);
    SetVertex(v[4], 800.0f, 52.5f, 0.0f, 0.75f);
    SetVertex(v[5], 800.0f, 0.0f, 1.0f, 0.75f);
    painter.Strip(bar, v, 4);
}

void DrawSidePanel(YHudPainter& painter, YShaderBase* bar, float yb) {
    YTexVertex v[6];
    SetVertex(v[0], 730.0f, 600.0f, 0.0f, 0.25f);
    SetVertex(v[1], 800.0f, 600.0f, 1.0f, 0.25f);
    SetVertex(v[2], 730.0f, yb + 17.5f, 0.0f, 0.75f);
    SetVertex(v[3], 800.0f, yb + 17.5f, 1.0f, 0.75f);
    SetVertex(v[4], 730.0f, yb, 0.0f, 1.0f);
    SetVertex(v[5], 800.0f, yb, 1.0f, 1.0f);
    painter.Strip(bar, v, 4);
}

void DrawCaptions(YHudPainter& painter, const YFont* font) {
    for (const YHudCaption& c : HudCaptions()) {
        const float a = c.colour[3];
        if (!(a > 0.0f)) continue;
        const float shadow[4] = {0.5f, 0.5f, 0.45f, a * 0.35f};
        painter.Text(font, shadow, c.x + 2.0f, 582.0f, HUD_CAPTION_SIZE, c.text.c_str());
        painter.Text(font, shadow, c.x - 2.0f, 578.0f, HUD_CAPTION_SIZE, c.text.c_str());
        painter.Text(font, c.colour, c.x, 580.0f, HUD_CAPTION_SIZE, c.text.c_str());
    }
}

} // namespace

float HudSidePanelBottom(const YHudValues& v) {
    float yb = v.glovesTime > 0.0f ? 385.0f : 450.0f;
    const bool more[] = {v.slumberTime > 0.0f,  v.vivacityTime > 0.0f, v.shieldTime > 0.0f,
                         v.grenadeCharges >= 0, v.slipTime > 0.0f,     v.frostTime > 0.0f};
    for (bool m : more) {
        if (m) yb -= COLUMN_STEP;
    }
    return yb;
}

void SetHudIconLookup(HudIconLookup lookup) { g_IconLookup = lookup; }

void InitHud() {
    HudResources& r = Resources();
    if (r.ready) return;
    r.ready = true;
    r.font = FindFont("mainfont");
    r.bar = FindShader("bar");
    r.needle = FindShader("ball_angle");
    r.heart = FindShader("heart");
}

YFont* HudFont() {
    InitHud();
    return Resources().font;
}

void FormatHudTime(float seconds, char* out, std::size_t size) {
    // Times run down to 0; anything below (or no number) shows as 0.
    const int t = seconds > 0.0f ? static_cast<int>(std::fmin(seconds, 2.0e9f)) : 0;
    std::snprintf(out, size, "%02d:%02d", t / 60, t % 60);
}

YHudValues ReadHudValues() {
    YHudValues v;
    v.lowBall = GetInit().CurrentGameMode().lowBall;
    const YRacket* r = g_Racket;
    if (!r) return v;
    v.score = r->score;
    v.lives = r->lives;
    v.ballMode = r->ballMode;
    v.ballModeTime = r->ballModeTime;
    v.aimAngle = r->aimAngle;
    v.glovesTime = r->glovesTime;
    v.slumberTime = r->slumberTime;
    v.vivacityTime = r->vivacityTime;
    v.shieldTime = r->shieldTime;
    v.slipTime = r->slipTime;
    v.frostTime = r->frostTime;
    if (r->held && r->held->kind == TACKED_GRENADE) {
        if (const YGrenade* g = dynamic_cast<const YGrenade*>(r->held)) v.grenadeCharges = g->grenadesLeft;
    }
    return v;
}

void DrawHud(bool scoreOnly) {
    YRenderHudPainter painter;
    DrawHudValues(ReadHudValues(), scoreOnly, painter);
}

void DrawHudValues(const YHudValues& v, bool scoreOnly, YHudPainter& painter) {
    InitHud();
    const HudResources& r = Resources();
    char text[32];

    if (!scoreOnly) DrawBottomBar(painter, r.bar);
    std::snprintf(text, sizeof text, "%d", v.score);
    painter.Text(r.font, SCORE_COLOUR, 780.0f - TextWidth(r.font, text) * SCORE_SIZE, 35.0f, SCORE_SIZE, text);
    if (scoreOnly) return;

    DrawCaptions(painter, r.font);
    DrawSidePanel(painter, r.bar, HudSidePanelBottom(v));

    DrawIcon(painter, BallModeIcon(v.ballMode), MODE_ICON_Y);
    if (!v.lowBall) {
        YTexVertex q[4];
        IconQuad(q, MODE_ICON_Y);
        const float a = (v.aimAngle - 90.0f) * 3.14159265358979f / 180.0f;
        const float c = std::cos(a), s = std::sin(a);
        for (YTexVertex& p : q) {
            const float dx = p.pos.x - NEEDLE_X, dy = p.pos.y - NEEDLE_Y;
            p.pos = YVector(NEEDLE_X + dx * c - dy * s, NEEDLE_Y + dx * s + dy * c, 0.0f);
        }
        painter.Quad(r.needle, q);
    }
    // Untimed ball modes (no time left to count) show no clock.
    if (v.ballMode > 0 && v.ballModeTime >= 0.0f) {
        FormatHudTime(v.ballModeTime, text, sizeof text);
        const float w = TextWidth(r.font, text) * VALUE_SIZE;
        painter.Text(r.font, SCORE_COLOUR, (ICON_SIZE - w) * 0.5f + ICON_LEFT, 585.0f, VALUE_SIZE, text);
    }

    float y = MODE_ICON_Y - COLUMN_STEP;
    DrawIcon(painter, r.heart, y);
    std::snprintf(text, sizeof text, "%d", v.lives);
    DrawValue(painter, r.font, y, text);
    y -= COLUMN_STEP;

    struct Timed {
        float time;
        BonusKind kind;
    };
    const Timed before[] = {{v.glovesTime, BonusKind::Gloves},
                            {v.slumberTime, BonusKind::Slumber},
                            {v.vivacityTime, BonusKind::Vivacity},
                            {v.shieldTime, BonusKind::BackWall}};
    const Timed after[] = {{v.slipTime, BonusKind::Slip}, {v.frostTime, BonusKind::Frost}};
    auto drawTimed = [&](const Timed& e) {
        if (!(e.time > 0.0f)) return;
        DrawIcon(painter, Icon(e.kind), y);
        FormatHudTime(e.time, text, sizeof text);
        DrawValue(painter, r.font, y, text);
        y -= COLUMN_STEP;
    };
    for (const Timed& e : before) drawTimed(e);
    if (v.grenadeCharges >= 0) {
        DrawIcon(painter, Icon(BonusKind::Grenade), y);
        std::snprintf(text, sizeof text, "%d", v.grenadeCharges);
        DrawValue(painter, r.font, y, text);
        y -= COLUMN_STEP;
    }
    for (const Timed& e : after) drawTimed(e);
}
