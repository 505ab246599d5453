// The bonus icons laid over the falling bonus's coin (and shown by the bonus pages): a ring in the
// kind's colour and its short label in the middle, white-edged so that it reads on the gold coin.
// Transparent outside the ring; alpha-blended.
#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>
#include <string_view>
#include <utility>

#include "tools/texgen/recipes.h"
#include "tools/texgen/text_render.h"

namespace texgen {

namespace {

struct Icon {
    std::string_view path;
    std::string_view label;
    unsigned colour;
};

constexpr Icon ICONS[] = {
    {"textures\\bonus\\ball_normal.png", "N", 0xd0d8e8},
    {"textures\\bonus\\ball_heavy.png", "H", 0x8890a0},
    {"textures\\bonus\\ball_phantom.png", "P", 0xb0f0ff},
    {"textures\\bonus\\ball_fire.png", "F", 0xff7020},
    {"textures\\bonus\\ball_explosive.png", "X", 0xffb020},
    {"textures\\bonus\\ball_electro.png", "E", 0x60a0ff},
    {"textures\\bonus\\ball_generative.png", "G", 0x60e060},
    {"textures\\bonus\\ball_universal.png", "U", 0xc070ff},
    {"textures\\bonus\\gloves.png", "Gl", 0xf0e0a0},
    {"textures\\bonus\\boomer.png", "Bo", 0xe0a040},
    {"textures\\bonus\\bomb.png", "Bm", 0xa0a0a0},
    {"textures\\bonus\\grenade.png", "Gr", 0x90a050},
    {"textures\\bonus\\min_speedup.png", "<<", 0x80ff80},
    {"textures\\bonus\\max_speedup.png", ">>", 0xff8080},
    {"textures\\bonus\\life.png", "+1", 0x40ff40},
    {"textures\\bonus\\death.png", "-1", 0xff2020},
    {"textures\\bonus\\slumber.png", "Zz", 0x8080c0},
    {"textures\\bonus\\vivacity.png", "!!", 0xffff60},
    {"textures\\bonus\\back_wall.png", "W", 0x40c0ff},
    {"textures\\bonus\\frost.png", "*", 0xa0c0ff},
    {"textures\\bonus\\slip.png", "~", 0xc0e0ff},
    {"textures\\bonus\\reset.png", "R", 0xffffff},
    {"textures\\bonus\\random.png", "?", 0xff60c0},
    {"textures\\bonus\\next.png", ">|", 0xffd040},
    {"textures\\bonus\\small_ball.png", "o", 0xe0e0ff},
    {"textures\\bonus\\four_small_balls.png", "4o", 0xe0e0ff},
    {"textures\\bonus\\new_ball_normal.png", "+N", 0xd0d8e8},
    {"textures\\bonus\\new_ball_heavy.png", "+H", 0x8890a0},
    {"textures\\bonus\\new_ball_phantom.png", "+P", 0xb0f0ff},
    {"textures\\bonus\\new_ball_fire.png", "+F", 0xff7020},
    {"textures\\bonus\\new_ball_explosive.png", "+X", 0xffb020},
    {"textures\\bonus\\new_ball_electro.png", "+E", 0x60a0ff},
    {"textures\\bonus\\new_ball_generative.png", "+G", 0x60e060},
    {"textures\\bonus\\new_ball_universal.png", "+U", 0xc070ff},
};

bool DrawIcon(const Context& context, const Icon& icon, Picture& out, std::string& error) {
    TextRenderer bold;
    if (!bold.Open(context.fontDir + "/DejaVuSans-Bold.ttf", error)) return false;
    const int w = out.Width(), h = out.Height();
    const Rgb colour = Hex(icon.colour);
    // The label fills about 60 % of the width (less for short ones, so single letters are not huge).
    const std::string label(icon.label);
    int em = h / 2;
    const float width = std::max(bold.Width(label, em, 0.0f), 1.0f);
    if (width > w * 0.6f) em = static_cast<int>(em * (w * 0.6f) / width);
    const float cap = bold.CapHeight(em);
    Mask text(w, h);
    if (!bold.Draw(text, label, em, w * 0.5f, h * 0.5f + cap * 0.5f, 0.0f, error)) return false;
    Mask halo = text;
    halo.Blur(std::max(1, w / 32), false);
    const float soft = 1.5f / static_cast<float>(w);
    out.Fill([&](float u, float v) {
        const float x = u - 0.5f, y = v - 0.5f;
        const float r = std::sqrt(x * x + y * y);
        const float ring = Clamp01(0.5f - (std::fabs(r - 0.42f) - 0.045f) / soft);
        const float disc = Clamp01(0.5f - (r - 0.4f) / soft) * 0.35f;
        return Rgba{colour.r, colour.g, colour.b, std::max(ring, disc)};
    });
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            Rgba& p = out.At(x, y);
            const float edge = Clamp01(halo.At(x, y) * 3.0f);
            const float core = Clamp01(text.At(x, y));
            // Dark edge under the letters, then the letters in white tinted by the colour.
            p.r = Mix(Mix(p.r, 0.05f, edge), Mix(1.0f, colour.r, 0.25f), core);
            p.g = Mix(Mix(p.g, 0.05f, edge), Mix(1.0f, colour.g, 0.25f), core);
            p.b = Mix(Mix(p.b, 0.05f, edge), Mix(1.0f, colour.b, 0.25f), core);
            p.a = std::max(p.a, std::max(edge * 0.8f, core));
        }
    return true;
}

template <int K>
bool Draw(const Context& context, Picture& out, std::string& error) {
    return DrawIcon(context, ICONS[K], out, error);
}

template <int... K>
constexpr std::array<Recipe, sizeof...(K)> Recipes(std::integer_sequence<int, K...>) {
    return {Draw<K>...};
}

constexpr auto RECIPES = Recipes(std::make_integer_sequence<int, std::size(ICONS)>());

} // namespace

Recipe FindBonusIcon(std::string_view path) {
    for (std::size_t i = 0; i < std::size(ICONS); ++i)
        if (ICONS[i].path == path) return RECIPES[i];
    return nullptr;
}

} // namespace texgen
