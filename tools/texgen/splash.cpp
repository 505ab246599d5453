// The splash slides. Each is drawn over a black slide background, so every picture fades to black
// well before its border.
#include <cmath>

#include "tools/texgen/noise.h"
#include "tools/texgen/recipes.h"
#include "tools/texgen/text_render.h"

namespace texgen {

namespace {

constexpr const char* BOLD_FONT = "DejaVuSans-Bold.ttf";
constexpr const char* BOOK_FONT = "DejaVuSans.ttf";

bool OpenFont(const Context& context, const char* file, TextRenderer& text, std::string& error) {
    return text.Open(context.fontDir + "/" + file, error);
}

// A dark blue glow in the middle falling to black; exactly black from the border outward.
Rgb Backdrop(float u, float v, Rgb centre) {
    const float x = (u - 0.5f) * 2.0f, y = (v - 0.5f) * 2.0f;
    const float fall = 1.0f - SmoothStep(0.15f, 0.98f, std::sqrt(x * x + y * y));
    return centre * (fall * fall);
}

Rgb Over(Rgb below, Rgb colour, float cover) { return Mix(below, colour, Clamp01(cover)); }

// A soft cross of light, as a lens shows a bright point.
float Sparkle(float x, float y, float size) {
    const float ax = std::fabs(x) / size, ay = std::fabs(y) / size;
    return std::exp(-(ax * ax + ay * ay) * 8.0f) + 0.6f * std::exp(-ay * ay * 300.0f - ax * 2.0f) +
           0.6f * std::exp(-ax * ax * 300.0f - ay * 2.0f);
}

// Chrome: pale sky above a dark horizon line, warm ground below; t runs 0 (top) .. 1 (bottom).
Rgb Chrome(float t) {
    constexpr Rgb STOPS[] = {Hex(0xe8f4ff), Hex(0xaad0ff), Hex(0xffffff), Hex(0x1c2c5a),
                             Hex(0x5a4a6a), Hex(0xd09060), Hex(0xffe0b0)};
    return Ramp(STOPS, t);
}

// Lettering with a bevel and a glow behind it. `top` and `bottom` bound the capitals (for the
// chrome ramp); `glow` is the glow's colour.
void Letter(Picture& out, const Mask& cover, float top, float bottom, Rgb glow, int glowRadius, float bevel) {
    Mask height = cover;
    height.Blur(3, false);
    const Mask shade = ShadeHeights(height, bevel, false);
    Mask halo = cover;
    halo.Blur(glowRadius, false);
    for (int y = 0; y < out.Height(); ++y)
        for (int x = 0; x < out.Width(); ++x) {
            Rgba& p = out.At(x, y);
            Rgb c{p.r, p.g, p.b};
            c = c + glow * (halo.At(x, y) * 0.9f);
            const float t = (y + 0.5f - top) / (bottom - top);
            const float s = shade.At(x, y);
            Rgb fill = Chrome(t) * (0.55f + 0.45f * s);
            fill = fill + Rgb{1, 1, 1} * (std::pow(Clamp01(s - 1.0f) * 2.0f, 2.0f) * 0.6f);
            // A thin dark rim keeps the letters apart from their glow.
            const float rim = Clamp01(cover.At(x, y) * 2.0f) - Clamp01(height.At(x, y) * 2.5f - 0.8f);
            fill = Mix(fill, Hex(0x0a1020), Clamp01(rim) * 0.6f);
            c = Over(c, fill, cover.At(x, y));
            p = WithAlpha(c, 1.0f);
        }
}

void Flat(Picture& out, const Mask& cover, Rgb colour) {
    for (int y = 0; y < out.Height(); ++y)
        for (int x = 0; x < out.Width(); ++x) {
            Rgba& p = out.At(x, y);
            p = WithAlpha(Over(Rgb{p.r, p.g, p.b}, colour, cover.At(x, y)), 1.0f);
        }
}

} // namespace

namespace {

// The title "Korvelin" with its streak of light, the glint and the line under it. `width` is the
// share of the picture's width the word fills, `centre` the height of its middle as a share of the
// picture's height.
bool DrawTitle(const Context& context, Picture& out, float width, float centre, int taglineSize, std::string& error) {
    TextRenderer bold, book;
    if (!OpenFont(context, BOLD_FONT, bold, error) || !OpenFont(context, BOOK_FONT, book, error)) return false;
    const int w = out.Width(), h = out.Height();

    int em = 100;
    em = static_cast<int>(em * (w * width) / std::max(bold.Width("Korvelin", em, 2.0f), 1.0f));
    const float cap = bold.CapHeight(em);
    const float baseline = h * centre + cap * 0.45f;
    // A streak of light along the chrome's horizon, behind the letters.
    const float horizon = baseline - cap * 0.5f;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float dx = (x + 0.5f - w * 0.5f) / (w * 0.5f), dy = y + 0.5f - horizon;
            const float streak = std::exp(-dy * dy / 3.0f) * std::max(0.0f, 1.0f - dx * dx) * 0.5f;
            Rgba& p = out.At(x, y);
            p.r += 0.35f * streak;
            p.g += 0.6f * streak;
            p.b += 1.0f * streak;
        }
    Mask title(w, h);
    if (!bold.Draw(title, "Korvelin", em, w * 0.5f, baseline, 2.0f, error)) return false;
    Letter(out, title, baseline - cap, baseline, Hex(0x2a68d0), 10, 2.2f);

    // A glint on the K's upper arm.
    const float kx = w * 0.5f - bold.Width("Korvelin", em, 2.0f) * 0.5f + cap * 0.55f;
    const float ky = baseline - cap * 0.98f;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float s = Sparkle(x + 0.5f - kx, y + 0.5f - ky, 14.0f) * 0.9f;
            Rgba& p = out.At(x, y);
            p.r += s;
            p.g += s;
            p.b += s;
        }

    Mask tagline(w, h);
    const float gap = static_cast<float>(taglineSize);
    if (!book.Draw(tagline, "BREAK EVERY BLOCK", taglineSize, w * 0.5f, baseline + cap * 0.55f + gap, gap / 3.0f,
                   error))
        return false;
    Flat(out, tagline, Hex(0x9ab4dc));
    return true;
}

} // namespace

bool SlideTitle(const Context& context, Picture& out, std::string& error) {
    out.Fill([&](float u, float v) { return WithAlpha(Backdrop(u, v, Hex(0x1a2850)), 1.0f); });
    // The title fills about four fifths of the width, in the middle of the card.
    return DrawTitle(context, out, 0.8f, 0.5f, 15, error);
}

bool UiLogo(const Context& context, Picture& out, std::string& error) {
    // Drawn over the menus by adding it to the picture, so black adds nothing. The quad covers the
    // top 225 of the screen's 600 lines; the title keeps to the upper two fifths of it, the black
    // band above the menus' view, so that no page's text runs under it.
    out.Fill([](float, float) { return Rgba{0.0f, 0.0f, 0.0f, 1.0f}; });
    return DrawTitle(context, out, 0.62f, 0.19f, 11, error);
}

bool SlideEmblem(const Context& context, Picture& out, std::string& error) {
    TextRenderer bold;
    if (!OpenFont(context, BOLD_FONT, bold, error)) return false;
    const int w = out.Width(), h = out.Height();
    out.Fill([&](float u, float v) { return WithAlpha(Backdrop(u, v, Hex(0x1c2448)), 1.0f); });

    // A pyramid of blocks: rows of 4, 3, 2 and 1, and its reflection in a polished floor.
    constexpr Rgb ROWS[] = {Hex(0x2c5aa0), Hex(0x3a6ec0), Hex(0x5a6ad0), Hex(0x8a5ad8)};
    const float bw = 62, bh = 42, gap = 5;
    const float floorY = h * 0.66f;
    Mask blockHeight(w, h);
    std::vector<int> rowOf(static_cast<std::size_t>(w) * h, -1);
    for (int row = 0; row < 4; ++row) {
        const int count = 4 - row;
        const float y1 = floorY - row * (bh + gap), y0 = y1 - bh;
        const float x0 = w * 0.5f - (count * bw + (count - 1) * gap) * 0.5f;
        for (int b = 0; b < count; ++b) {
            const float bx0 = x0 + b * (bw + gap), bx1 = bx0 + bw;
            for (int y = static_cast<int>(y0); y <= static_cast<int>(y1); ++y)
                for (int x = static_cast<int>(bx0); x <= static_cast<int>(bx1); ++x) {
                    const float e = std::min({x + 0.5f - bx0, bx1 - x - 0.5f, y + 0.5f - y0, y1 - y - 0.5f});
                    if (e <= -0.5f) continue;
                    blockHeight.At(x, y) = std::max(blockHeight.At(x, y), SmoothStep(-0.5f, 7.0f, e));
                    rowOf[static_cast<std::size_t>(y) * w + x] = row;
                }
        }
    }
    const Mask shade = ShadeHeights(blockHeight, 6.0f, false);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int row = rowOf[static_cast<std::size_t>(y) * w + x];
            if (row < 0) continue;
            const float cover = Clamp01(blockHeight.At(x, y) * 8.0f);
            Rgb c = ROWS[row] * (0.5f + 0.55f * shade.At(x, y));
            const float sheen = 0.12f * SmoothStep(0.3f, 1.0f, FbmTile(x / 128.0f, y / 128.0f, 2, 3, 261));
            c = c + Rgb{sheen, sheen, sheen};
            Rgba& p = out.At(x, y);
            p = WithAlpha(Over(Rgb{p.r, p.g, p.b}, c, cover), 1.0f);
            // The floor mirrors it, fading with depth.
            const int my = static_cast<int>(2 * floorY) - y + 3;
            if (my > y && my < h) {
                const float fade = 0.28f * (1.0f - SmoothStep(0.0f, 90.0f, static_cast<float>(my) - floorY));
                Rgba& q = out.At(x, my);
                q = WithAlpha(Over(Rgb{q.r, q.g, q.b}, c, cover * fade), 1.0f);
            }
        }

    // The ball above the top block: a glowing sphere lit from the upper left.
    const Vec2 ball{w * 0.5f, floorY - 4 * (bh + gap) - 52.0f};
    const float radius = 36;
    const Vec3 light = Normalize(Vec3{-0.5f, -0.6f, 0.8f});
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float dx = (x + 0.5f - ball.x) / radius, dy = (y + 0.5f - ball.y) / radius;
            const float r = std::sqrt(dx * dx + dy * dy);
            Rgba& p = out.At(x, y);
            Rgb c{p.r, p.g, p.b};
            c = c + Rgb{1.0f, 0.55f, 0.15f} *
                        (0.55f * std::exp(-std::max(r - 1.0f, 0.0f) * 2.2f) * (r > 1.0f ? 1.0f : 0.0f));
            if (r < 1.0f + 1.0f / radius) {
                const Vec3 n{dx, dy, std::sqrt(std::max(0.0f, 1.0f - r * r))};
                const float diffuse = std::max(Dot(n, light), 0.0f);
                const Vec3 half = Normalize(light + Vec3{0, 0, 1});
                const float shine = std::pow(std::max(Dot(n, half), 0.0f), 60.0f);
                const float rimLight = std::pow(1.0f - n.z, 3.0f);
                Rgb s = Hex(0xff8a20) * (0.35f + 0.85f * diffuse) + Rgb{1, 1, 0.9f} * shine * 1.2f +
                        Hex(0xffd080) * rimLight * 0.6f;
                c = Over(c, s, Clamp01((1.0f - r) * radius + 0.5f));
            }
            p = WithAlpha(c, 1.0f);
        }

    Mask name(w, h);
    const float nameBase = h * 0.86f;
    if (!bold.Draw(name, "KORVELIN", 40, w * 0.5f, nameBase, 9.0f, error)) return false;
    const float cap = bold.CapHeight(40);
    Letter(out, name, nameBase - cap, nameBase, Hex(0x1a3c80), 6, 1.5f);
    return true;
}

bool SlideCredits(const Context& context, Picture& out, std::string& error) {
    TextRenderer bold, book;
    if (!OpenFont(context, BOLD_FONT, bold, error) || !OpenFont(context, BOOK_FONT, book, error)) return false;
    const int w = out.Width(), h = out.Height();
    out.Fill([&](float u, float v) { return WithAlpha(Backdrop(u, v, Hex(0x141c34)), 1.0f); });

    Mask heading(w, h);
    if (!bold.Draw(heading, "Made with free software", 22, w * 0.5f, h * 0.34f, 1.0f, error)) return false;
    Flat(out, heading, Hex(0xe0ecff));
    // A thin rule under the heading, fading at both ends.
    const float ruleY = h * 0.42f;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float dx = (x + 0.5f - w * 0.5f) / (w * 0.33f), dy = y + 0.5f - ruleY;
            const float line = std::exp(-dy * dy / 0.6f) * Clamp01(1.0f - dx * dx);
            Rgba& p = out.At(x, y);
            p = WithAlpha(Over(Rgb{p.r, p.g, p.b}, Hex(0x5a8ad8), line), 1.0f);
        }
    constexpr const char* LINES[] = {"SDL2  \xC2\xB7  OpenAL Soft  \xC2\xB7  Open Dynamics Engine",
                                     "Ogg Vorbis  \xC2\xB7  libpng  \xC2\xB7  libjpeg  \xC2\xB7  FreeType",
                                     "DejaVu fonts"};
    Mask body(w, h);
    for (int i = 0; i < 3; ++i)
        if (!book.Draw(body, LINES[i], 15, w * 0.5f, h * 0.55f + i * 24.0f, 0.5f, error)) return false;
    Flat(out, body, Hex(0xa4b4cc));
    return true;
}

} // namespace texgen
