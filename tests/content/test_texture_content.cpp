// The pictures of the game folder: every file of tools/common/texture_names.h is there and decodes at
// its size and kind, tileable ones wrap without a seam, sprites fade out before their border, the
// crack picture works with the game's damage filter, the "env" folder holds exactly the listed sky
// boxes with six faces each, and neighbouring faces of every sky box meet along their edges.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "content/content_files.h"
#include "platform/image/image.h"
#include "platform/sys/files.h"
#include "tools/common/texture_names.h"

namespace {

using content::GamePath;

bool EndsWith(std::string_view s, std::string_view tail) {
    return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

int Channel(const plat::Image& img, int x, int y, int c) { return img.Pixel(x, y)[c]; }

// Mean absolute difference (all four channels) between two pixels.
double PixelDiff(const plat::Image& a, int ax, int ay, const plat::Image& b, int bx, int by) {
    double d = 0;
    for (int c = 0; c < 4; ++c) d += std::abs(Channel(a, ax, ay, c) - Channel(b, bx, by, c));
    return d / 4.0;
}

std::vector<content::TextureFile> AllPictures() {
    std::vector<content::TextureFile> all(std::begin(content::TEXTURE_FILES), std::end(content::TEXTURE_FILES));
    all.insert(all.end(), std::begin(content::SPLASH_PICTURES), std::end(content::SPLASH_PICTURES));
    return all;
}

TEST(TextureContent, EveryListedPictureDecodesAtItsSizeAndKind) {
    for (const content::TextureFile& file : AllPictures()) {
        SCOPED_TRACE(std::string(file.path));
        plat::Image img;
        plat::ImageInfo info;
        std::string error;
        ASSERT_TRUE(plat::LoadImage(GamePath(file.path), img, &info, &error)) << error;
        EXPECT_EQ(img.width, file.width);
        EXPECT_EQ(img.height, file.height);
        // The game scales sides above 512 down; nothing here should need it.
        EXPECT_LE(std::max(img.width, img.height), 512);
        EXPECT_EQ(info.format, file.alpha ? plat::ImageFormat::Png : plat::ImageFormat::Jpeg);
        EXPECT_TRUE(EndsWith(file.path, file.alpha ? ".png" : ".jpg"));
        EXPECT_EQ(info.hasAlpha, file.alpha);
    }
}

TEST(TextureContent, TileableTexturesHaveNoSeamAtTheirEdges) {
    for (const content::TextureFile& file : content::TEXTURE_FILES) {
        if (!file.tiles) continue;
        SCOPED_TRACE(std::string(file.path));
        plat::Image img;
        ASSERT_TRUE(plat::LoadImage(GamePath(file.path), img));
        const int w = img.width, h = img.height;
        // Across the wrap, neighbours should differ no more than neighbours inside the picture do.
        double inside = 0, seamX = 0, seamY = 0;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x + 1 < w; ++x) inside += PixelDiff(img, x, y, img, x + 1, y);
            seamX += PixelDiff(img, w - 1, y, img, 0, y);
        }
        for (int x = 0; x < w; ++x) seamY += PixelDiff(img, x, h - 1, img, x, 0);
        inside /= static_cast<double>(h) * (w - 1);
        seamX /= h;
        seamY /= w;
        EXPECT_LE(seamX, inside * 2.0 + 3.0) << "left and right edges do not meet";
        EXPECT_LE(seamY, inside * 2.0 + 3.0) << "top and bottom edges do not meet";
    }
}

TEST(TextureContent, SpritesAreClearAtTheirBorder) {
    // A particle is a camera-facing square: anything opaque at the picture's border shows the
    // square (additive sprites carry their colour premultiplied, so their alpha says it all).
    // The lightning chains end to end along u, so only the square sprites must be clear at the sides.
    for (const content::TextureFile& file : content::TEXTURE_FILES) {
        if (file.path.find("\\particles\\") == std::string_view::npos) continue;
        SCOPED_TRACE(std::string(file.path));
        ASSERT_TRUE(file.alpha);
        plat::Image img;
        ASSERT_TRUE(plat::LoadImage(GamePath(file.path), img));
        int worst = 0, peak = 0;
        for (int y = 0; y < img.height; ++y)
            for (int x = 0; x < img.width; ++x) {
                const int a = Channel(img, x, y, 3);
                peak = std::max(peak, a);
                const bool border =
                    y == 0 || y == img.height - 1 || (img.width == img.height && (x == 0 || x == img.width - 1));
                if (border) worst = std::max(worst, a);
            }
        EXPECT_LE(worst, 3);
        EXPECT_GE(peak, 200) << "the sprite is nearly invisible";
    }
}

TEST(TextureContent, CracksGrowAsTheDamageFilterLetsMoreThrough) {
    // The game subtracts k x 0.1 (k = 9 for an untouched block down to 0 for a broken one) from the
    // crack picture and lays the result over the block's faces. So the picture must be black where
    // there is no crack, and lines of graded brightness make the cracks spread stage by stage.
    plat::Image img;
    ASSERT_TRUE(plat::LoadImage(GamePath("textures\\split.jpg"), img));
    std::array<double, 10> showing{}; // share of pixels still above black after stage k's filter
    const double pixels = static_cast<double>(img.width) * img.height;
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x) {
            const int v = std::max({Channel(img, x, y, 0), Channel(img, x, y, 1), Channel(img, x, y, 2)});
            for (int k = 0; k < 10; ++k)
                if (v - k * 25.5 > 12.0) showing[static_cast<std::size_t>(k)] += 1.0 / pixels;
        }
    EXPECT_GT(showing[0], 0.03) << "a broken block shows hardly any cracks";
    EXPECT_LT(showing[0], 0.35) << "the picture is not mostly black";
    EXPECT_LT(showing[9], 0.005) << "an untouched block shows cracks";
    for (int k = 1; k < 10; ++k) EXPECT_LE(showing[k], showing[k - 1]);
    // At least a few distinct stages.
    EXPECT_GT(showing[2], showing[5] * 1.3);
    EXPECT_GT(showing[5], showing[8] * 1.3);
}

TEST(TextureContent, TheEnvFolderHoldsTheListedSkyBoxesInListingOrder) {
    std::vector<std::string> found;
    for (const plat::DirEntry& e : plat::ListDirectory(GamePath("env\\*")))
        if (e.isDir) found.push_back(e.name);
    std::sort(found.begin(), found.end());
    const std::vector<std::string> listed(std::begin(content::ENVIRONMENT_NAMES), std::end(content::ENVIRONMENT_NAMES));
    // The game takes the first folder by name when a level names none.
    EXPECT_EQ(found, listed);
    EXPECT_TRUE(std::is_sorted(listed.begin(), listed.end()));
    for (std::string_view env : content::ENVIRONMENT_NAMES)
        for (std::string_view face : content::ENVIRONMENT_FACES) {
            const std::string path = "env\\" + std::string(env) + "\\" + std::string(face) + ".jpg";
            SCOPED_TRACE(path);
            plat::ImageInfo info;
            ASSERT_TRUE(plat::GetImageInfo(GamePath(path), info));
            EXPECT_EQ(info.format, plat::ImageFormat::Jpeg);
            EXPECT_EQ(info.width, content::ENVIRONMENT_FACE_SIDE);
            EXPECT_EQ(info.height, content::ENVIRONMENT_FACE_SIDE);
        }
}

// ---- sky-box seams ---------------------------------------------------------------------------

struct V3 {
    double x, y, z;
};
V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
V3 operator*(V3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
double Dot(V3 a, V3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// The box's corners per face in the order of ENVIRONMENT_FACES, in box coordinates, with the
// texture coordinates (0, 1), (1, 1), (1, 0), (0, 0); the box is turned by +90 degrees about x,
// which takes box (x, y, z) to world (x, -z, y).
constexpr double BOX_CORNERS[6][4][3] = {
    {{-1, -1, -1}, {1, -1, -1}, {1, 1, -1}, {-1, 1, -1}}, // front
    {{1, -1, 1}, {-1, -1, 1}, {-1, 1, 1}, {1, 1, 1}},     // back
    {{1, -1, -1}, {1, -1, 1}, {1, 1, 1}, {1, 1, -1}},     // right
    {{-1, -1, 1}, {-1, -1, -1}, {-1, 1, -1}, {-1, 1, 1}}, // left
    {{-1, -1, 1}, {1, -1, 1}, {1, -1, -1}, {-1, -1, -1}}, // down
    {{-1, 1, -1}, {1, 1, -1}, {1, 1, 1}, {-1, 1, 1}},     // up
};

V3 World(const double (&c)[3]) { return {c[0], -c[2], c[1]}; }

struct FaceFrame {
    V3 origin; // world point of texture (0, 0)
    V3 uAxis;  // world step from u = 0 to u = 1
    V3 vAxis;  // world step from v = 0 to v = 1
    V3 normal; // centre of the face (a unit axis)
};

FaceFrame Frame(int face) {
    const V3 c0 = World(BOX_CORNERS[face][0]), c2 = World(BOX_CORNERS[face][2]), c3 = World(BOX_CORNERS[face][3]);
    FaceFrame f{c3, c2 - c3, c0 - c3, {}};
    f.normal = f.origin + f.uAxis * 0.5 + f.vAxis * 0.5;
    return f;
}

struct SeamStats {
    double mean = 0, p95 = 0;
};
SeamStats Stats(std::vector<double> d) {
    std::sort(d.begin(), d.end());
    SeamStats s;
    for (double v : d) s.mean += v;
    s.mean /= static_cast<double>(d.size());
    s.p95 = d[d.size() * 95 / 100];
    return s;
}

TEST(TextureContent, SkyBoxFacesMeetAtTheirEdges) {
    const int n = content::ENVIRONMENT_FACE_SIDE;
    std::array<FaceFrame, 6> frames;
    for (int f = 0; f < 6; ++f) frames[static_cast<std::size_t>(f)] = Frame(f);
    // Sanity of the table itself: the picture of "up" lies overhead and "front" at +y.
    ASSERT_EQ(frames[5].normal.z, 1.0);
    ASSERT_EQ(frames[0].normal.y, 1.0);

    for (std::string_view env : content::ENVIRONMENT_NAMES) {
        SCOPED_TRACE(std::string(env));
        std::array<plat::Image, 6> faces;
        int lo = 255, hi = 0;
        for (int f = 0; f < 6; ++f) {
            const std::string path =
                "env\\" + std::string(env) + "\\" + std::string(content::ENVIRONMENT_FACES[f]) + ".jpg";
            ASSERT_TRUE(plat::LoadImage(GamePath(path), faces[static_cast<std::size_t>(f)])) << path;
            ASSERT_EQ(faces[static_cast<std::size_t>(f)].width, n);
            for (int y = 0; y < n; y += 7)
                for (int x = 0; x < n; x += 7) {
                    lo = std::min(lo, Channel(faces[static_cast<std::size_t>(f)], x, y, 1));
                    hi = std::max(hi, Channel(faces[static_cast<std::size_t>(f)], x, y, 1));
                }
        }
        // A flat colour would meet everywhere; a sky has some range.
        EXPECT_GT(hi - lo, 40);

        for (int f = 0; f < 6; ++f) {
            const FaceFrame& from = frames[static_cast<std::size_t>(f)];
            // Border pixels of each edge, and one pixel step outward across it (in texture units).
            struct Edge {
                const char* name;
                double du, dv;
            };
            const Edge edges[] = {{"top", 0, -1}, {"bottom", 0, 1}, {"left", -1, 0}, {"right", 1, 0}};
            for (const Edge& edge : edges) {
                SCOPED_TRACE(std::string(content::ENVIRONMENT_FACES[f]) + " " + edge.name);
                // Differences across the seam, and for comparison across the next step inward.
                std::vector<double> across, inward;
                for (int i = 0; i < n; ++i) {
                    int px = i, py = i;
                    if (edge.dv < 0) py = 0;
                    if (edge.dv > 0) py = n - 1;
                    if (edge.du < 0) px = 0;
                    if (edge.du > 0) px = n - 1;
                    const double u = (px + 0.5 + edge.du) / n, v = (py + 0.5 + edge.dv) / n;
                    const V3 w = from.origin + from.uAxis * u + from.vAxis * v;
                    // The face the outward direction looks through, and where on it.
                    int g = 0;
                    for (int k = 1; k < 6; ++k)
                        if (Dot(w, frames[static_cast<std::size_t>(k)].normal) >
                            Dot(w, frames[static_cast<std::size_t>(g)].normal))
                            g = k;
                    ASSERT_NE(g, f);
                    const FaceFrame& to = frames[static_cast<std::size_t>(g)];
                    const V3 p = w * (1.0 / Dot(w, to.normal)) - to.origin;
                    const int qx =
                        std::clamp(static_cast<int>(Dot(p, to.uAxis) / Dot(to.uAxis, to.uAxis) * n), 0, n - 1);
                    const int qy =
                        std::clamp(static_cast<int>(Dot(p, to.vAxis) / Dot(to.vAxis, to.vAxis) * n), 0, n - 1);
                    const plat::Image& here = faces[static_cast<std::size_t>(f)];
                    across.push_back(PixelDiff(here, px, py, faces[static_cast<std::size_t>(g)], qx, qy));
                    inward.push_back(
                        PixelDiff(here, px, py, here, px - static_cast<int>(edge.du), py - static_cast<int>(edge.dv)));
                }
                const SeamStats a = Stats(across), in = Stats(inward);
                // Stars and the sun's rim change within a pixel anywhere; across an edge the sky
                // may change no more than it does between neighbouring pixels of one face.
                EXPECT_LE(a.mean, in.mean * 1.5 + 1.5) << "inward " << in.mean;
                EXPECT_LE(a.p95, in.p95 * 1.5 + 3.0) << "inward " << in.p95;
            }
        }
    }
}

} // namespace
