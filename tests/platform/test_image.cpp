#include "platform/image/image.h"

#include <gtest/gtest.h>
#include <jpeglib.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <system_error>
#include <vector>

#include "platform/image/image_fill.h"
#include "platform/image/image_write.h"
#include "platform/image/resample.h"

namespace fs = std::filesystem;
using plat::Image;
using plat::ImageFormat;
using plat::ImageInfo;

namespace {

struct Rgba {
    uint8_t r, g, b, a;
    bool operator==(const Rgba&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Rgba& c) {
    return os << "(" << int(c.r) << "," << int(c.g) << "," << int(c.b) << "," << int(c.a) << ")";
}

Rgba At(const Image& img, int x, int y) {
    const uint8_t* p = img.Pixel(x, y);
    return {p[0], p[1], p[2], p[3]};
}

void Set(Image& img, int x, int y, Rgba c) {
    uint8_t* p = img.Pixel(x, y);
    p[0] = c.r;
    p[1] = c.g;
    p[2] = c.b;
    p[3] = c.a;
}

// Four quadrants: red, green / blue, white, with four alpha levels when `alpha`.
constexpr Rgba QUAD_COLOURS[4] = {{255, 0, 0, 255}, {0, 255, 0, 128}, {0, 0, 255, 64}, {255, 255, 255, 0}};

Rgba QuadColour(int w, int h, int x, int y, bool alpha) {
    Rgba c = QUAD_COLOURS[(y >= h / 2 ? 2 : 0) + (x >= w / 2 ? 1 : 0)];
    if (!alpha) c.a = 255;
    return c;
}

Image Quad(int w, int h, bool alpha) {
    Image img;
    img.Allocate(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) Set(img, x, y, QuadColour(w, h, x, y, alpha));
    return img;
}

std::string Bytes(const Image& img, const char* kind) {
    std::string out, error;
    bool ok = false;
    if (std::string(kind) == "png") ok = plat::EncodePng(img, false, out, &error);
    if (std::string(kind) == "pnga") ok = plat::EncodePng(img, true, out, &error);
    if (std::string(kind) == "jpg") ok = plat::EncodeJpeg(img, 90, out, &error);
    if (std::string(kind) == "bmp") ok = plat::EncodeBmp(img, out, &error);
    EXPECT_TRUE(ok) << kind << ": " << error;
    return out;
}

class Scratch {
public:
    Scratch() {
        for (int n = 0;; ++n) {
            fs::path candidate = fs::temp_directory_path() / ("korvelin_image_test_" + std::to_string(n));
            std::error_code ec;
            if (fs::create_directory(candidate, ec)) {
                dir_ = candidate;
                break;
            }
            if (ec && ec != std::errc::file_exists) std::abort();
        }
    }
    ~Scratch() {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    std::string File(const std::string& name) const { return (dir_ / name).string(); }
    std::string Read(const std::string& name) const {
        std::ifstream in(dir_ / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(dir_ / name, std::ios::binary) << bytes;
    }

private:
    fs::path dir_;
};

void Put16(std::string& s, uint32_t v) {
    s.push_back(char(v & 0xFF));
    s.push_back(char((v >> 8) & 0xFF));
}
void Put32(std::string& s, uint32_t v) {
    Put16(s, v & 0xFFFF);
    Put16(s, v >> 16);
}
void Poke32(std::string& s, std::size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) s[at + i] = char((v >> (8 * i)) & 0xFF);
}
void PokeBE32(std::string& s, std::size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) s[at + i] = char((v >> (24 - 8 * i)) & 0xFF);
}

// A BMP file from parts. `height` < 0 is top-down. `rows` are in file order, unpadded. `masks` go
// inside a header of 52 bytes or more, else after the 40-byte header. Palette entries are 0xRRGGBB.
struct BmpSpec {
    uint32_t headerBytes = 40;
    int width = 2, height = 2;
    int bpp = 24;
    uint32_t compression = 0;
    uint32_t colorsUsed = 0;
    std::vector<uint32_t> masks;
    std::vector<uint32_t> palette;
    std::vector<std::string> rows;
};

std::string MakeBmp(const BmpSpec& b) {
    std::string header;
    if (b.headerBytes == 12) {
        Put32(header, 12);
        Put16(header, uint32_t(b.width));
        Put16(header, uint32_t(b.height));
        Put16(header, 1);
        Put16(header, uint32_t(b.bpp));
    } else {
        Put32(header, b.headerBytes);
        Put32(header, uint32_t(b.width));
        Put32(header, uint32_t(b.height));
        Put16(header, 1);
        Put16(header, uint32_t(b.bpp));
        Put32(header, b.compression);
        Put32(header, 0);
        Put32(header, 2835);
        Put32(header, 2835);
        Put32(header, b.colorsUsed);
        Put32(header, 0);
        if (b.headerBytes > 40) {
            for (uint32_t m : b.masks) Put32(header, m);
            header.resize(b.headerBytes, '\0');
        } else {
            for (uint32_t m : b.masks) Put32(header, m);
        }
    }
    for (uint32_t c : b.palette) {
        header.push_back(char(c & 0xFF));
        header.push_back(char((c >> 8) & 0xFF));
        header.push_back(char((c >> 16) & 0xFF));
        if (b.headerBytes != 12) header.push_back('\0');
    }
    std::string pixels;
    const std::size_t stride = (std::size_t(b.width) * b.bpp + 31) / 32 * 4;
    for (const std::string& row : b.rows) {
        std::string padded = row;
        padded.resize(stride, '\0');
        pixels += padded;
    }
    std::string file = "BM";
    Put32(file, uint32_t(14 + header.size() + pixels.size()));
    Put32(file, 0);
    Put32(file, uint32_t(14 + header.size()));
    return file + header + pixels;
}

// Writes a PNG through libpng with any colour type, depth and interlacing. Rows are raw, in the
// file's sample layout (16-bit samples big-endian).
struct PngSpec {
    int width = 2, height = 2;
    int bitDepth = 8;
    int colorType = PNG_COLOR_TYPE_RGB;
    bool interlaced = false;
    std::vector<png_color> palette;
    std::vector<uint8_t> paletteAlpha; // tRNS for palette images
    bool colourKey = false;            // tRNS colour for grey / RGB images
    png_color_16 key{};
    std::vector<std::string> rows;
};

void AppendPng(png_structp png, png_bytep data, png_size_t n) {
    static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), n);
}

bool WritePngParts(png_structp png, png_infop info, const PngSpec* s, png_bytep* rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_IHDR(png, info, s->width, s->height, s->bitDepth, s->colorType,
                 s->interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!s->palette.empty()) png_set_PLTE(png, info, s->palette.data(), int(s->palette.size()));
    if (!s->paletteAlpha.empty()) png_set_tRNS(png, info, s->paletteAlpha.data(), int(s->paletteAlpha.size()), nullptr);
    if (s->colourKey) png_set_tRNS(png, info, nullptr, 0, &s->key);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    return true;
}

std::string MakePng(const PngSpec& s) {
    std::string out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, AppendPng, nullptr);
    std::vector<std::string> rows = s.rows;
    std::vector<png_bytep> ptrs;
    for (std::string& r : rows) ptrs.push_back(reinterpret_cast<png_bytep>(r.data()));
    const bool ok = WritePngParts(png, info, &s, ptrs.data());
    png_destroy_write_struct(&png, &info);
    EXPECT_TRUE(ok);
    return out;
}

uint32_t Crc32(const std::string& s, std::size_t from, std::size_t to) {
    uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = from; i < to; ++i) {
        crc ^= uint8_t(s[i]);
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

// A PNG whose IHDR claims width x height (with a valid CRC, so only the size is wrong).
std::string PngClaiming(std::string png, uint32_t width, uint32_t height) {
    PokeBE32(png, 16, width);
    PokeBE32(png, 20, height);
    PokeBE32(png, 29, Crc32(png, 12, 29));
    return png;
}

// A JPEG whose frame header claims width x height.
std::string JpegClaiming(std::string jpg, uint16_t width, uint16_t height) {
    for (std::size_t i = 2; i + 9 < jpg.size(); ++i) {
        if (uint8_t(jpg[i]) == 0xFF && (uint8_t(jpg[i + 1]) == 0xC0 || uint8_t(jpg[i + 1]) == 0xC2)) {
            jpg[i + 5] = char(height >> 8);
            jpg[i + 6] = char(height & 0xFF);
            jpg[i + 7] = char(width >> 8);
            jpg[i + 8] = char(width & 0xFF);
            return jpg;
        }
    }
    ADD_FAILURE() << "no frame header";
    return jpg;
}

// A progressive JPEG of a flat picture that sends each coefficient band of each component in a scan
// of its own: 64 scans for one component, 190 for three.
std::string JpegWithScanPerBand(int components, uint8_t value) {
    jpeg_compress_struct c;
    jpeg_error_mgr err;
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &buffer, &size);
    c.image_width = 16;
    c.image_height = 16;
    c.input_components = components;
    c.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&c);
    std::vector<jpeg_scan_info> scans;
    jpeg_scan_info dc{};
    dc.comps_in_scan = components;
    for (int i = 0; i < components; ++i) dc.component_index[i] = i;
    scans.push_back(dc);
    for (int comp = 0; comp < components; ++comp)
        for (int k = 1; k < 64; ++k) {
            jpeg_scan_info ac{};
            ac.comps_in_scan = 1;
            ac.component_index[0] = comp;
            ac.Ss = k;
            ac.Se = k;
            scans.push_back(ac);
        }
    c.scan_info = scans.data();
    c.num_scans = int(scans.size());
    jpeg_start_compress(&c, TRUE);
    std::vector<unsigned char> row(16 * components, value);
    while (c.next_scanline < c.image_height) {
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&c, rows, 1);
    }
    jpeg_finish_compress(&c);
    std::string out(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    jpeg_destroy_compress(&c);
    return out;
}
} // namespace

// ---------------------------------------------------------------------------------------------
// Round trips through files: the writer and the reader agree, and the format is told by content.

TEST(Image, QuadRoundTripsThroughEveryWriterAndIsSniffedByContent) {
    Scratch dir;
    struct Case {
        const char* name;
        const char* file; // deliberately not matching the content
        ImageFormat format;
        bool hasAlpha;
        int tolerance; // 0: every pixel exact; else probed at quadrant centres
    };
    const Case cases[] = {
        {"png rgba", "quad.bmp", ImageFormat::Png, true, 0},
        {"png rgb", "quad.jpg", ImageFormat::Png, false, 0},
        {"bmp", "quad.lev.bmp.png", ImageFormat::Bmp, false, 0},
        {"jpeg", "quad.png", ImageFormat::Jpeg, false, 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // 30 x 18 gives BMP rows of 90 bytes, padded to 92; JPEG gets quadrants on its 16-pixel blocks.
        const bool lossy = c.tolerance > 0;
        const int w = lossy ? 32 : 30, h = lossy ? 32 : 18;
        const Image src = Quad(w, h, true);
        std::string error;
        const std::string path = dir.File(c.file);
        bool saved = false;
        switch (c.format) {
            case ImageFormat::Png: saved = plat::SavePng(path, src, c.hasAlpha, &error); break;
            case ImageFormat::Jpeg: saved = plat::SaveJpeg(path, src, 95, &error); break;
            default: saved = plat::SaveBmp(path, src, &error); break;
        }
        ASSERT_TRUE(saved) << error;

        ImageInfo info;
        ASSERT_TRUE(plat::GetImageInfo(path, info, &error)) << error;
        EXPECT_EQ(info.width, w);
        EXPECT_EQ(info.height, h);
        EXPECT_EQ(info.format, c.format);
        EXPECT_EQ(info.hasAlpha, c.hasAlpha);

        Image img;
        ImageInfo loadedInfo;
        ASSERT_TRUE(plat::LoadImage(path, img, &loadedInfo, &error)) << error;
        ASSERT_EQ(img.width, w);
        ASSERT_EQ(img.height, h);
        ASSERT_EQ(img.pixels.size(), std::size_t(w) * h * 4);
        EXPECT_EQ(loadedInfo.format, c.format);
        if (!lossy) {
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    ASSERT_EQ(At(img, x, y), QuadColour(w, h, x, y, c.hasAlpha)) << x << "," << y;
        } else {
            for (int q = 0; q < 4; ++q) {
                const int x = (q % 2) * w / 2 + w / 4, y = (q / 2) * h / 2 + h / 4;
                const Rgba want = QuadColour(w, h, x, y, false), got = At(img, x, y);
                EXPECT_NEAR(got.r, want.r, c.tolerance) << "quadrant " << q;
                EXPECT_NEAR(got.g, want.g, c.tolerance) << "quadrant " << q;
                EXPECT_NEAR(got.b, want.b, c.tolerance) << "quadrant " << q;
                EXPECT_EQ(got.a, 255);
            }
        }
    }
}

TEST(Image, SavedBmpIs24BitBottomUpWithPaddedRows) {
    Scratch dir;
    const Image src = Quad(3, 2, false); // 9 bytes a row, padded to 12
    ASSERT_TRUE(plat::SaveBmp(dir.File("t.bmp"), src));
    const std::string f = dir.Read("t.bmp");
    ASSERT_EQ(f.size(), 54u + 2 * 12);
    auto u32 = [&](std::size_t at) {
        return uint32_t(uint8_t(f[at])) | uint32_t(uint8_t(f[at + 1])) << 8 | uint32_t(uint8_t(f[at + 2])) << 16 |
               uint32_t(uint8_t(f[at + 3])) << 24;
    };
    EXPECT_EQ(f.substr(0, 2), "BM");
    EXPECT_EQ(u32(2), f.size());
    EXPECT_EQ(u32(10), 54u);       // pixel data offset
    EXPECT_EQ(u32(14), 40u);       // info header
    EXPECT_EQ(u32(22), 2u);        // positive height: bottom-up
    EXPECT_EQ(uint8_t(f[28]), 24); // bits per pixel
    EXPECT_EQ(u32(30), 0u);        // uncompressed
    // The first stored row is the picture's bottom row: blue, then white, in B, G, R order.
    EXPECT_EQ(f.substr(54, 6), std::string("\xFF\x00\x00\xFF\xFF\xFF", 6));
}

TEST(Image, SaveReportsAnUnwritablePathAndAnInvalidImage) {
    Scratch dir;
    std::string error;
    EXPECT_FALSE(plat::SaveBmp(dir.File("no/such/folder/t.bmp"), Quad(4, 4, false), &error));
    EXPECT_FALSE(error.empty());

    Image broken = Quad(4, 4, false);
    broken.pixels.resize(10);
    std::string out;
    error.clear();
    EXPECT_FALSE(plat::EncodePng(broken, true, out, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(plat::EncodeJpeg(Image(), 90, out));
    EXPECT_FALSE(plat::SaveBmp(dir.File("empty.bmp"), Image()));
    EXPECT_TRUE(out.empty());
}

// ---------------------------------------------------------------------------------------------
// The pixel layouts each reader must handle.

TEST(Image, BmpVariantsDecode) {
    const Rgba R{255, 0, 0, 255}, G{0, 255, 0, 255}, B{0, 0, 255, 255}, W{255, 255, 255, 255}, K{0, 0, 0, 255};
    struct Case {
        const char* name;
        BmpSpec spec;
        Rgba want[4]; // top-left, top-right, bottom-left, bottom-right
        bool hasAlpha;
    };
    const std::vector<uint32_t> pal = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
    auto spec = [](uint32_t header, int h, int bpp, uint32_t comp, std::vector<uint32_t> masks,
                   std::vector<uint32_t> palette, std::vector<std::string> rows, uint32_t used = 0) {
        BmpSpec s;
        s.headerBytes = header;
        s.height = h;
        s.bpp = bpp;
        s.compression = comp;
        s.masks = std::move(masks);
        s.palette = std::move(palette);
        s.rows = std::move(rows);
        s.colorsUsed = used;
        return s;
    };
    const Case cases[] = {
        {"8-bit palette, bottom-up",
         spec(40, 2, 8, 0, {}, pal, {std::string("\x02\x03"), std::string("\x00\x01", 2)}),
         {R, G, B, W},
         false},
        {"4-bit palette", spec(40, 2, 4, 0, {}, pal, {"\x23", std::string("\x01")}), {R, G, B, W}, false},
        {"1-bit palette", spec(40, 2, 1, 0, {}, {0x000000, 0xFFFFFF}, {"\x40", "\x80"}), {W, K, K, W}, false},
        {"index past the palette is black",
         spec(40, 2, 8, 0, {}, {0xFF0000, 0x00FF00}, {std::string("\x03\x00", 2), std::string("\x00\x01", 2)}, 2),
         {R, G, K, R},
         false},
        {"core header, 3-byte palette",
         spec(12, 2, 8, 0, {}, pal, {std::string("\x02\x03"), std::string("\x00\x01", 2)}),
         {R, G, B, W},
         false},
        {"16-bit 5-5-5",
         spec(40, 2, 16, 0, {}, {}, {std::string("\x1F\x00\xFF\x7F", 4), std::string("\x00\x7C\xE0\x03", 4)}),
         {R, G, B, W},
         false},
        {"16-bit 5-6-5 masks after the header",
         spec(40, 2, 16, 3, {0xF800, 0x07E0, 0x001F}, {},
              {std::string("\x1F\x00\xFF\xFF", 4), std::string("\x00\xF8\xE0\x07", 4)}),
         {R, G, B, W},
         false},
        {"24-bit top-down",
         spec(40, -2, 24, 0, {}, {},
              {std::string("\x00\x00\xFF\x00\xFF\x00", 6), std::string("\xFF\x00\x00\xFF\xFF\xFF", 6)}),
         {R, G, B, W},
         false},
        {"32-bit without masks ignores the fourth byte",
         spec(40, 2, 32, 0, {}, {},
              {std::string("\xFF\x00\x00\x00\xFF\xFF\xFF\x00", 8), std::string("\x00\x00\xFF\x00\x00\xFF\x00\x00", 8)}),
         {R, G, B, W},
         false},
        {"32-bit with an alpha mask in a V5 header",
         spec(124, 2, 32, 3, {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000}, {},
              {std::string("\xFF\x00\x00\x80\xFF\xFF\xFF\x00", 8), std::string("\x00\x00\xFF\xFF\x00\xFF\x00\x40", 8)}),
         {R, {0, 255, 0, 64}, {0, 0, 255, 128}, {255, 255, 255, 0}},
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = MakeBmp(c.spec);
        Image img;
        ImageInfo info;
        std::string error;
        ASSERT_TRUE(plat::DecodeImage(file.data(), file.size(), img, &info, &error)) << error;
        ASSERT_EQ(img.width, 2);
        ASSERT_EQ(img.height, 2);
        EXPECT_EQ(info.format, ImageFormat::Bmp);
        EXPECT_EQ(info.hasAlpha, c.hasAlpha);
        EXPECT_EQ(At(img, 0, 0), c.want[0]);
        EXPECT_EQ(At(img, 1, 0), c.want[1]);
        EXPECT_EQ(At(img, 0, 1), c.want[2]);
        EXPECT_EQ(At(img, 1, 1), c.want[3]);
    }
}

TEST(Image, PngColourTypesDecodeToRgba) {
    struct Case {
        const char* name;
        PngSpec spec;
        Rgba want[4];
        bool hasAlpha;
    };
    auto spec = [](int depth, int type, std::vector<std::string> rows) {
        PngSpec s;
        s.bitDepth = depth;
        s.colorType = type;
        s.rows = std::move(rows);
        return s;
    };
    PngSpec palette = spec(8, PNG_COLOR_TYPE_PALETTE, {std::string("\x00\x01", 2), std::string("\x01\x00", 2)});
    palette.palette = {{255, 0, 0}, {0, 0, 255}};
    palette.paletteAlpha = {128}; // index 0 half transparent, index 1 opaque
    PngSpec keyed = spec(8, PNG_COLOR_TYPE_RGB,
                         {std::string("\xFF\x00\x00\x00\xFF\x00", 6), std::string("\x00\x00\xFF\xFF\x00\x00", 6)});
    keyed.colourKey = true;
    keyed.key.red = 255; // pure red is transparent
    PngSpec interlaced = spec(8, PNG_COLOR_TYPE_RGB,
                              {std::string("\xFF\x00\x00\x00\xFF\x00", 6), std::string("\x00\x00\xFF\xFF\xFF\xFF", 6)});
    interlaced.interlaced = true;
    const Case cases[] = {
        {"grey 1-bit",
         spec(1, PNG_COLOR_TYPE_GRAY, {"\x80", "\x40"}),
         {{255, 255, 255, 255}, {0, 0, 0, 255}, {0, 0, 0, 255}, {255, 255, 255, 255}},
         false},
        {"grey 8-bit",
         spec(8, PNG_COLOR_TYPE_GRAY, {std::string("\x00\x40", 2), "\x80\xFF"}),
         {{0, 0, 0, 255}, {64, 64, 64, 255}, {128, 128, 128, 255}, {255, 255, 255, 255}},
         false},
        {"grey + alpha 16-bit",
         spec(16, PNG_COLOR_TYPE_GRAY_ALPHA,
              {std::string("\xFF\xFF\x80\x80\x00\x00\xFF\xFF", 8), std::string("\x80\x80\x00\x00\xFF\xFF\xFF\xFF", 8)}),
         {{255, 255, 255, 128}, {0, 0, 0, 255}, {128, 128, 128, 0}, {255, 255, 255, 255}},
         true},
        {"palette with transparency",
         palette,
         {{255, 0, 0, 128}, {0, 0, 255, 255}, {0, 0, 255, 255}, {255, 0, 0, 128}},
         true},
        {"RGB with a transparent colour",
         keyed,
         {{255, 0, 0, 0}, {0, 255, 0, 255}, {0, 0, 255, 255}, {255, 0, 0, 0}},
         true},
        {"RGB interlaced",
         interlaced,
         {{255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}, {255, 255, 255, 255}},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = MakePng(c.spec);
        Image img;
        ImageInfo info;
        std::string error;
        ASSERT_TRUE(plat::DecodeImage(file.data(), file.size(), img, &info, &error)) << error;
        ASSERT_EQ(img.width, 2);
        ASSERT_EQ(img.height, 2);
        EXPECT_EQ(info.hasAlpha, c.hasAlpha);
        EXPECT_EQ(At(img, 0, 0), c.want[0]);
        EXPECT_EQ(At(img, 1, 0), c.want[1]);
        EXPECT_EQ(At(img, 0, 1), c.want[2]);
        EXPECT_EQ(At(img, 1, 1), c.want[3]);
    }
}

// ---------------------------------------------------------------------------------------------
// Bad input: refused with a reason, nothing allocated for absurd sizes, never a crash.

TEST(Image, CorruptInputsAreRefusedWithAReason) {
    const Image quad = Quad(32, 32, false);
    const std::string png = Bytes(quad, "png"), jpg = Bytes(quad, "jpg"), bmp = Bytes(quad, "bmp");
    enum Header { BROKEN, INTACT, EITHER }; // what reading only the header finds
    struct Case {
        std::string name;
        std::string bytes;
        Header header;
    };
    std::vector<Case> cases = {
        {"empty", "", BROKEN},
        {"unknown magic", "GIF89a" + std::string(64, '\0'), BROKEN},
        {"png with a damaged magic", "\x88" + png.substr(1), BROKEN},
        {"jpeg with a damaged magic", "\xFF\xD9" + jpg.substr(2), BROKEN},
        {"png claiming 100000x100000", PngClaiming(png, 100000, 100000), BROKEN},
        {"png claiming 8193x1", PngClaiming(png, 8193, 1), BROKEN},
        {"png claiming width 0", PngClaiming(png, 0, 32), BROKEN},
        {"jpeg claiming 60000x60000", JpegClaiming(jpg, 60000, 60000), BROKEN},
        {"jpeg claiming height 0", JpegClaiming(jpg, 32, 0), BROKEN},
    };
    {
        std::string damaged = png;
        damaged[png.size() / 2] ^= 0x55; // inside the compressed image data
        cases.push_back({"png with damaged image data", damaged, INTACT});
    }
    {
        // Stray bytes after the first segment (APP0): libjpeg skips them with only a warning.
        std::string junk = jpg;
        junk.insert(4 + (uint8_t(jpg[4]) << 8 | uint8_t(jpg[5])), "\x12\x34\x56", 3);
        cases.push_back({"jpeg with stray bytes between markers", junk, INTACT});
    }
    auto bmpWith = [&](std::size_t at, uint32_t value) {
        std::string b = bmp;
        Poke32(b, at, value);
        return b;
    };
    auto bmpSized = [&](uint32_t w, uint32_t h) {
        std::string b = bmpWith(18, w);
        Poke32(b, 22, h);
        return b;
    };
    cases.push_back({"bmp claiming 100000x100000", bmpSized(100000, 100000), BROKEN});
    cases.push_back({"bmp claiming 8192x8192 with 3 KB of pixels", bmpSized(8192, 8192), BROKEN});
    cases.push_back({"bmp with the smallest height", bmpWith(22, 0x80000000u), BROKEN});
    cases.push_back({"bmp with width 0", bmpWith(18, 0), BROKEN});
    cases.push_back({"bmp run-length compressed", bmpWith(30, 1), BROKEN});
    cases.push_back({"bmp with an unknown header size", bmpWith(14, 0), BROKEN});
    cases.push_back({"bmp with pixel data past the end", bmpWith(10, uint32_t(bmp.size())), BROKEN});
    cases.push_back({"bmp with pixel data inside its header", bmpWith(10, 20), BROKEN});
    {
        BmpSpec s;
        s.bpp = 8;
        s.colorsUsed = 200;
        s.palette = {0x123456}; // 200 colours announced, one present, no pixels
        cases.push_back(
            {"bmp with 200 colours announced, one stored, no pixels", MakeBmp(s).substr(0, 14 + 40 + 4), BROKEN});
    }
    // Cut files: a BMP needs all its pixels even for its header; PNG and JPEG headers end early.
    for (const auto& [name, file] : {std::pair<std::string, std::string>{"png", png}, {"jpeg", jpg}, {"bmp", bmp}}) {
        for (std::size_t cut :
             {std::size_t(1), std::size_t(2), std::size_t(12), std::size_t(30), file.size() / 2, file.size() - 1}) {
            const Header h = cut <= 12 ? BROKEN : cut == file.size() - 1 ? (name == "bmp" ? BROKEN : INTACT) : EITHER;
            cases.push_back({name + " cut to " + std::to_string(cut) + " bytes", file.substr(0, cut), h});
        }
    }

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Image img;
        ImageInfo info;
        info.width = 7;
        std::string error;
        EXPECT_FALSE(plat::DecodeImage(c.bytes.data(), c.bytes.size(), img, &info, &error));
        EXPECT_FALSE(error.empty());
        EXPECT_TRUE(img.Empty());
        EXPECT_TRUE(img.pixels.empty());

        ImageInfo header;
        error.clear();
        const bool infoOk = plat::GetImageInfoFromMemory(c.bytes.data(), c.bytes.size(), header, &error);
        if (c.header != EITHER) {
            EXPECT_EQ(infoOk, c.header == INTACT) << error;
        }
        if (!infoOk) {
            EXPECT_FALSE(error.empty());
            EXPECT_EQ(header.width, 0);
        }
    }
}

TEST(Image, ProgressiveJpegDecodesUpToAScanLimit) {
    // One grey component in 64 scans: decoded, grey in all three channels.
    const std::string grey = JpegWithScanPerBand(1, 100);
    Image img;
    std::string error;
    ASSERT_TRUE(plat::DecodeImage(grey.data(), grey.size(), img, nullptr, &error)) << error;
    const Rgba c = At(img, 7, 7);
    EXPECT_NEAR(c.r, 100, 2);
    EXPECT_EQ(c.g, c.r);
    EXPECT_EQ(c.b, c.r);
    // Three components in 190 scans: more than any encoder writes, refused rather than re-scanned.
    const std::string colour = JpegWithScanPerBand(3, 100);
    EXPECT_FALSE(plat::DecodeImage(colour.data(), colour.size(), img, nullptr, &error));
    EXPECT_NE(error.find("scans"), std::string::npos) << error;
}

TEST(Image, AbsurdSizesNameTheProblem) {
    const std::string png = PngClaiming(Bytes(Quad(8, 8, false), "png"), 100000, 100000);
    std::string error;
    ImageInfo info;
    EXPECT_FALSE(plat::GetImageInfoFromMemory(png.data(), png.size(), info, &error));
    EXPECT_NE(error.find("too large"), std::string::npos) << error;
}

TEST(Image, RandomDamageNeverCrashesAndSuccessIsConsistent) {
    const Image quad = Quad(24, 16, true);
    std::mt19937 rng(12345);
    for (const char* kind : {"pnga", "jpg", "bmp"}) {
        const std::string good = Bytes(quad, kind);
        for (int round = 0; round < 150; ++round) {
            std::string bad = good;
            const int flips = 1 + int(rng() % 4);
            for (int i = 0; i < flips; ++i) bad[3 + rng() % (bad.size() - 3)] = char(rng());
            if (round % 3 == 0) bad.resize(3 + rng() % (bad.size() - 3));
            Image img;
            ImageInfo info;
            std::string error;
            // A damaged size field can claim a large picture; those are only read up to the header.
            if (plat::GetImageInfoFromMemory(bad.data(), bad.size(), info) &&
                std::size_t(info.width) * info.height > (1u << 20))
                continue;
            if (plat::DecodeImage(bad.data(), bad.size(), img, &info, &error)) {
                ASSERT_EQ(img.width, info.width) << kind << " round " << round;
                ASSERT_EQ(img.height, info.height);
                ASSERT_EQ(img.pixels.size(), std::size_t(img.width) * img.height * 4);
            } else {
                ASSERT_FALSE(error.empty()) << kind << " round " << round;
                ASSERT_TRUE(img.pixels.empty());
            }
        }
    }
}

TEST(Image, FilesThatAreMissingEmptyOrTooLargeAreRefused) {
    Scratch dir;
    dir.Write("empty.png", "");
    {
        std::ofstream(dir.File("huge.bmp"), std::ios::binary) << MakeBmp(BmpSpec());
        fs::resize_file(dir.File("huge.bmp"), plat::IMAGE_MAX_FILE_BYTES + 1);
    }
    for (const char* name : {"missing.png", "empty.png", "huge.bmp"}) {
        SCOPED_TRACE(name);
        Image img;
        ImageInfo info;
        std::string error;
        EXPECT_FALSE(plat::LoadImage(dir.File(name), img, &info, &error));
        EXPECT_FALSE(error.empty());
        EXPECT_TRUE(img.Empty());
        error.clear();
        EXPECT_FALSE(plat::GetImageInfo(dir.File(name), info, &error));
        EXPECT_FALSE(error.empty());
    }
}

// ---------------------------------------------------------------------------------------------
// Box filtering: resizing and mip chains.

TEST(ImageResample, AreaAveragesWithPartialCoverage) {
    struct Case {
        const char* name;
        int srcW, srcH;
        std::vector<int> src; // row-major values
        int dstW, dstH;
        std::vector<int> want;
    };
    const Case cases[] = {
        {"halving is the 2x2 mean, rounded", 2, 2, {0, 255, 255, 0}, 1, 1, {128}},
        {"4 to 2 along a row", 4, 1, {0, 100, 200, 255}, 2, 1, {50, 228}},
        {"3 to 2 weights the shared pixel by half", 3, 1, {0, 90, 180}, 2, 1, {30, 150}},
        {"5 to 2 down a column", 1, 5, {10, 20, 30, 40, 50}, 1, 2, {18, 42}},
        {"growing repeats", 1, 1, {77}, 3, 2, {77, 77, 77, 77, 77, 77}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Image src;
        src.Allocate(c.srcW, c.srcH);
        for (int i = 0; i < c.srcW * c.srcH; ++i)
            Set(src, i % c.srcW, i / c.srcW, {uint8_t(c.src[i]), 0, 0, uint8_t(255 - c.src[i])});
        Image dst;
        ASSERT_TRUE(plat::ResizeImage(src, c.dstW, c.dstH, dst));
        ASSERT_EQ(dst.width, c.dstW);
        ASSERT_EQ(dst.height, c.dstH);
        for (int i = 0; i < c.dstW * c.dstH; ++i) {
            const Rgba got = At(dst, i % c.dstW, i / c.dstW);
            EXPECT_EQ(got.r, c.want[i]) << "pixel " << i;
            EXPECT_NEAR(got.a, 255 - c.want[i], 1) << "pixel " << i; // channels are filtered separately
            EXPECT_EQ(got.g, 0);
        }
    }
    Image dst;
    EXPECT_FALSE(plat::ResizeImage(Image(), 2, 2, dst));
    EXPECT_FALSE(plat::ResizeImage(Quad(4, 4, false), 0, 2, dst));
}

TEST(ImageResample, TextureOf2048SquareComesDownTo512WithBlockMeans) {
    Image src;
    src.Allocate(2048, 2048);
    for (int y = 0; y < 2048; ++y)
        for (int x = 0; x < 2048; ++x) Set(src, x, y, {uint8_t(x * 7 + y * 13), uint8_t(x), uint8_t(y), 255});
    Image dst;
    ASSERT_TRUE(plat::ResizeImage(src, 512, 512, dst));
    ASSERT_EQ(dst.width, 512);
    ASSERT_EQ(dst.height, 512);
    for (auto [ox, oy] : {std::pair{0, 0}, {511, 0}, {100, 300}, {511, 511}}) {
        int sum = 0;
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) sum += src.Pixel(ox * 4 + x, oy * 4 + y)[0];
        EXPECT_EQ(At(dst, ox, oy).r, (sum + 8) / 16) << ox << "," << oy;
    }
}

TEST(ImageResample, MipChainSizes) {
    struct Case {
        int w, h;
        std::vector<std::pair<int, int>> levels;
    };
    const Case cases[] = {
        {1, 1, {{1, 1}}},
        {512, 128, {{512, 128}, {256, 64}, {128, 32}, {64, 16}, {32, 8}, {16, 4}, {8, 2}, {4, 1}, {2, 1}, {1, 1}}},
        {5, 3, {{5, 3}, {2, 1}, {1, 1}}},
        {1, 7, {{1, 7}, {1, 3}, {1, 1}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.w << "x" << c.h);
        EXPECT_EQ(plat::MipLevelCount(c.w, c.h), int(c.levels.size()));
        std::vector<Image> chain(1);
        chain[0] = Quad(c.w, c.h, false);
        ASSERT_TRUE(plat::BuildMipChain(chain));
        ASSERT_EQ(chain.size(), c.levels.size());
        for (std::size_t i = 0; i < chain.size(); ++i) {
            EXPECT_EQ(chain[i].width, c.levels[i].first) << "level " << i;
            EXPECT_EQ(chain[i].height, c.levels[i].second) << "level " << i;
            EXPECT_EQ(plat::MipLevelSide(c.w, int(i)), c.levels[i].first);
        }
    }
    EXPECT_EQ(plat::MipLevelCount(0, 4), 0);
    std::vector<Image> none(1);
    EXPECT_FALSE(plat::BuildMipChain(none));
}

TEST(ImageResample, MipLevelsAreBoxFilteredFromTheLevelAbove) {
    std::vector<Image> chain(1);
    chain[0] = Quad(4, 4, true);
    ASSERT_TRUE(plat::BuildMipChain(chain));
    ASSERT_EQ(chain.size(), 3u);
    // Level 1: each texel is one whole quadrant.
    EXPECT_EQ(At(chain[1], 0, 0), QUAD_COLOURS[0]);
    EXPECT_EQ(At(chain[1], 1, 0), QUAD_COLOURS[1]);
    EXPECT_EQ(At(chain[1], 0, 1), QUAD_COLOURS[2]);
    EXPECT_EQ(At(chain[1], 1, 1), QUAD_COLOURS[3]);
    // Level 2: the mean of the four, rounded: r (255+0+0+255)/4, g 127.5, b 127.5, a (255+128+64+0)/4.
    EXPECT_EQ(At(chain[2], 0, 0), (Rgba{128, 128, 128, 112}));
}

TEST(ImageFill, FunctionSeesTexelCentresAndOutputIsClampedAndRounded) {
    Image img;
    img.Allocate(4, 2);
    struct Seen {
        int calls = 0;
        bool indicesMatch = true;
    } seen;
    plat::FillImage(
        img,
        [](float out[4], float u, float v, int x, int y, void* data) {
            auto* s = static_cast<Seen*>(data);
            ++s->calls;
            if (std::fabs(u - (x + 0.5f) / 4) > 1e-6f || std::fabs(v - (y + 0.5f) / 2) > 1e-6f) s->indicesMatch = false;
            out[0] = u;
            out[1] = v;
            out[2] = x == 0 ? -1.0f : (x == 1 ? 2.0f : NAN);
            out[3] = 0.5f;
        },
        &seen);
    EXPECT_EQ(seen.calls, 8);
    EXPECT_TRUE(seen.indicesMatch);
    EXPECT_EQ(At(img, 0, 0), (Rgba{32, 64, 0, 128}));    // u 0.125, v 0.25; below 0 clamps
    EXPECT_EQ(At(img, 1, 1), (Rgba{96, 191, 255, 128})); // u 0.375, v 0.75; above 1 clamps
    EXPECT_EQ(At(img, 2, 0).b, 0);                       // NaN writes 0
}
