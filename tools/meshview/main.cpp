// meshview <game folder> <picture.png> <animation> [channel seconds...]: draws the skinned hero
// for judging its poses, with a small software renderer (no display needed).
//
// Without more arguments the picture is a sheet of the animation's key poses, one column per key,
// seen from the front, from its left, and from where the game's camera sees the racket (behind
// and above it; that row enlarged, and the last row at the size the game shows it). With pairs of
// channel and seconds, the racket's channel set-up is made and those channels are played together
// (each from its start, at the racket's rate of 100) for the longest of the times, sampled in six
// columns: blends and fades as the game shows them. Attachment points are drawn as red dots.
#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/log.h"
#include "platform/image/image.h"
#include "platform/image/image_write.h"
#include "render/mesh/hero_channels.h"
#include "render/mesh/skel_channels.h"
#include "render/mesh/skel_instance.h"
#include "render/mesh/skel_mesh.h"

namespace {

namespace fs = std::filesystem;

constexpr int CELL = 220;

struct V3 {
    float x, y, z;
};
V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
V3 operator*(V3 a, float s) { return {a.x * s, a.y * s, a.z * s}; }
float Dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
V3 Cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
V3 Unit(V3 a) { return a * (1.0f / std::sqrt(Dot(a, a))); }

// A camera: looks from `eye` at `target`; perspective with the vertical field `fov` (degrees),
// or orthographic `span` units high when fov is 0. Model points are first scaled and turned by
// `turn` degrees about z and moved by `place`, as the racket places the figure.
struct View {
    V3 eye, target;
    float fov, span;
    float scale = 1, turn = 0;
    V3 place{0, 0, 0};
    int size = CELL;
};

class Canvas {
public:
    Canvas(int w, int h) : w_(w), h_(h), rgb_(static_cast<std::size_t>(w) * h * 3, 235) {}

    void Cell(int cx, int cy, const View& view, const YSkelMeshInstance& hero) {
        const V3 back = Unit(view.eye - view.target);
        const V3 right = Unit(Cross({0, 0, 1}, back));
        const V3 up = Cross(back, right);
        const float c = std::cos(view.turn * 3.14159265f / 180), s = std::sin(view.turn * 3.14159265f / 180);
        auto world = [&](const YVector& p) {
            const V3 q{p.x * view.scale, p.y * view.scale, p.z * view.scale};
            return V3{q.x * c - q.y * s, q.x * s + q.y * c, q.z} + view.place;
        };
        auto project = [&](V3 w, float& sx, float& sy, float& depth) {
            const V3 d = w - view.eye;
            const float x = Dot(d, right), y = Dot(d, up), z = -Dot(d, back);
            const float half = view.fov > 0 ? z * std::tan(view.fov * 3.14159265f / 360) : view.span * 0.5f;
            sx = cx + (0.5f + 0.5f * x / half) * view.size;
            sy = cy + (0.5f - 0.5f * y / half) * view.size;
            depth = z;
        };
        std::vector<float> zbuf(static_cast<std::size_t>(view.size) * view.size, 1e30f);
        const YSkelMesh& mesh = *hero.skeleton;
        static const V3 colours[4] = {
            {0.25f, 0.45f, 0.85f}, {0.95f, 0.75f, 0.6f}, {0.35f, 0.22f, 0.12f}, {0.45f, 0.5f, 0.35f}};
        const V3 light = Unit({-0.4f, -0.6f, 0.8f});
        for (std::size_t si = 0; si < mesh.subsets.size(); ++si) {
            const YMeshSubset& sub = mesh.subsets[si];
            const V3 colour = colours[std::clamp(sub.materialId, 0, 3)];
            for (int f = 0; f < sub.primitiveCount; ++f) {
                float sx[3], sy[3], sz[3];
                V3 n[3];
                for (int k = 0; k < 3; ++k) {
                    const YVertex& v =
                        hero.vertices[mesh.indices[static_cast<std::size_t>(sub.startIndex + 3 * f + k)]];
                    project(world(v.pos), sx[k], sy[k], sz[k]);
                    const V3 nm = world(v.normal) - world({0, 0, 0});
                    n[k] = nm;
                }
                Triangle(cx, cy, view.size, zbuf, sx, sy, sz, n, colour, light, back);
            }
        }
        for (const YMatrix& m : hero.attachments) {
            float x, y, z;
            project(world({m.m[12], m.m[13], m.m[14]}), x, y, z);
            for (int dy = -2; dy <= 2; ++dy)
                for (int dx = -2; dx <= 2; ++dx) Put(int(x) + dx, int(y) + dy, {0.9f, 0.1f, 0.1f});
        }
        for (int i = 0; i < view.size; ++i) {
            Put(cx + i, cy, {0.6f, 0.6f, 0.6f});
            Put(cx, cy + i, {0.6f, 0.6f, 0.6f});
        }
    }

    bool Save(const std::string& path) const {
        plat::Image image;
        image.Allocate(w_, h_);
        for (int i = 0; i < w_ * h_; ++i) {
            for (int k = 0; k < 3; ++k)
                image.pixels[static_cast<std::size_t>(i) * 4 + k] = rgb_[static_cast<std::size_t>(i) * 3 + k];
            image.pixels[static_cast<std::size_t>(i) * 4 + 3] = 255;
        }
        return plat::SavePng(path, image, false);
    }

private:
    void Put(int x, int y, V3 c) {
        if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
        uint8_t* p = &rgb_[(static_cast<std::size_t>(y) * w_ + x) * 3];
        p[0] = uint8_t(std::clamp(c.x, 0.0f, 1.0f) * 255);
        p[1] = uint8_t(std::clamp(c.y, 0.0f, 1.0f) * 255);
        p[2] = uint8_t(std::clamp(c.z, 0.0f, 1.0f) * 255);
    }

    void Triangle(int cx, int cy, int size, std::vector<float>& zbuf, const float* sx, const float* sy, const float* sz,
                  const V3* n, V3 colour, V3 light, V3 towardEye) {
        const float area = (sx[1] - sx[0]) * (sy[2] - sy[0]) - (sx[2] - sx[0]) * (sy[1] - sy[0]);
        if (std::fabs(area) < 1e-6f) return;
        const int x0 = std::max(cx, int(std::floor(std::min({sx[0], sx[1], sx[2]}))));
        const int x1 = std::min(cx + size - 1, int(std::ceil(std::max({sx[0], sx[1], sx[2]}))));
        const int y0 = std::max(cy, int(std::floor(std::min({sy[0], sy[1], sy[2]}))));
        const int y1 = std::min(cy + size - 1, int(std::ceil(std::max({sy[0], sy[1], sy[2]}))));
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                const float px = x + 0.5f, py = y + 0.5f;
                const float b0 = ((sx[1] - px) * (sy[2] - py) - (sx[2] - px) * (sy[1] - py)) / area;
                const float b1 = ((sx[2] - px) * (sy[0] - py) - (sx[0] - px) * (sy[2] - py)) / area;
                const float b2 = 1 - b0 - b1;
                if (b0 < 0 || b1 < 0 || b2 < 0) continue;
                const float z = b0 * sz[0] + b1 * sz[1] + b2 * sz[2];
                float& zb = zbuf[static_cast<std::size_t>(y - cy) * size + (x - cx)];
                if (z >= zb) continue;
                zb = z;
                V3 nn = Unit(n[0] * b0 + n[1] * b1 + n[2] * b2);
                if (Dot(nn, towardEye) < 0) nn = nn * -1.0f; // an inside seen through a gap
                const float shade = 0.35f + 0.65f * std::max(0.0f, Dot(nn, light));
                Put(x, y, colour * shade);
            }
    }

    int w_, h_;
    std::vector<uint8_t> rgb_;
};

// Front (the figure faces -y), its left side (+x), and the game's camera: the table's default
// depth puts the racket at y = -9, the figure turned to face +y, the camera at (0, -31, 25)
// looking at (0, 1.5, -3).
std::vector<View> Views() {
    View front{{0, -400, 50}, {0, 0, 50}, 0, 110};
    View side{{400, 0, 50}, {0, 0, 50}, 0, 110};
    const V3 eye{0, -31, 25}, target{0, 1.5f, -3};
    const V3 hero{0, -9, 1};
    const V3 along = Unit(target - eye);
    // The same direction of view as the game's camera, moved close to the figure.
    View game{hero - along * 9.0f, hero, 0, 3.0f, 0.02f, 180, {0, -9, 0}};
    View small = game;
    // At the game's size: a 768-pixel-high view through a 45-degree field from about 33 units away.
    small.span = 2.0f * 33.5f * std::tan(22.5f * 3.14159265f / 180) * CELL / 768.0f;
    return {front, side, game, small};
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4 || argc % 2 != 0) {
        std::fprintf(stderr, "usage: meshview <game folder> <picture.png> <animation> [channel seconds...]\n");
        return 2;
    }
    const fs::path source = fs::absolute(fs::path(argv[1]) / "mesh" / "hero.ams");
    const std::string out = fs::absolute(argv[2]).string();
    const int animation = std::atoi(argv[3]);
    // Loading writes a binary cache beside the model: load a copy in a scratch folder.
    const fs::path scratch =
        fs::temp_directory_path() /
        ("meshview_" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
    fs::create_directories(scratch / "mesh");
    fs::copy_file(source, scratch / "mesh" / "hero.ams", fs::copy_options::overwrite_existing);
    fs::current_path(scratch);
    LogReopen("");
    YSkelMesh* mesh = GetSkelMesh("mesh\\hero.ams");
    if (mesh->bones.empty() || animation < 0 || animation >= int(HERO_ANIMATIONS.size())) {
        std::fprintf(stderr, "meshview: no hero or no such animation\n");
        return 1;
    }
    for (const HeroAnimation& a : HERO_ANIMATIONS) mesh->poseLists.push_back(MakeIntRange(a.firstPose, a.poseCount));
    for (std::size_t c = 0; c < HERO_CHANNELS.size(); ++c) {
        const HeroChannelSetup& ch = HERO_CHANNELS[c];
        mesh->SetChannel(int32_t(c), ch.syncChannel, ch.animation, ch.weight, ch.fadeIn, ch.fadeOut, ch.loop,
                         HERO_CHANNEL_REWIND);
        if (ch.boneWeights) mesh->SetChannelBoneWeights(int32_t(c), ch.boneWeights);
    }
    YSkelMeshInstance hero(mesh);
    hero.rate = 100;
    const std::vector<View> views = Views();

    std::vector<int> poses;
    std::vector<std::pair<int, float>> played;
    for (int i = 4; i + 1 < argc; i += 2) played.push_back({std::atoi(argv[i]), float(std::atof(argv[i + 1]))});
    const HeroAnimation& a = HERO_ANIMATIONS[static_cast<std::size_t>(animation)];
    const int columns = played.empty() ? a.poseCount : 6;
    Canvas canvas(CELL * std::max(columns, 1), CELL * int(views.size()));
    if (played.empty()) {
        for (int k = 0; k < a.poseCount; ++k) {
            hero.SetPose(a.firstPose + k, true);
            for (std::size_t v = 0; v < views.size(); ++v) canvas.Cell(k * CELL, int(v) * CELL, views[v], hero);
        }
    } else {
        float longest = 0;
        hero.SetPose(0, false);
        for (auto [channel, seconds] : played) {
            hero.StartChannel(channel, -1, -1);
            longest = std::max(longest, seconds);
        }
        const float dt = 0.01f;
        float t = 0;
        for (int col = 0; col < columns; ++col) {
            const float until = longest * float(col + 1) / float(columns);
            while (t < until) {
                for (auto [channel, seconds] : played)
                    if (t < seconds && t + dt >= seconds) hero.StopChannel(channel, -1);
                hero.UpdateChannels(dt);
                t += dt;
            }
            hero.UpdatePose();
            for (std::size_t v = 0; v < views.size(); ++v) canvas.Cell(col * CELL, int(v) * CELL, views[v], hero);
        }
    }
    const bool saved = canvas.Save(out);
    fs::current_path(fs::temp_directory_path());
    std::error_code ec;
    fs::remove_all(scratch, ec);
    if (!saved) {
        std::fprintf(stderr, "meshview: could not write %s\n", out.c_str());
        return 1;
    }
    return 0;
}
