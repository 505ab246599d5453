// fontbake: renders a TrueType font into the game's bitmap font form, a glyph data file and the
// texture it points into.
//
//   fontbake FONT.ttf OUT.dat OUT.png [--line PX] [--outline PX] [--shadow PX] [--blur PX]
//            [--max-side N]
//
// --line     cell height in texels (default 32); lowered step by step when the characters do not
//            fit in the largest allowed texture
// --outline  radius of a soft dark outline;  --shadow  offset of a dark drop shadow;
// --blur     softening of both;               --max-side  largest texture side (default 512)
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/image/image_write.h"
#include "platform/sys/files.h"
#include "tools/fontbake/bake.h"

namespace {

constexpr int MIN_LINE_PX = 8;
constexpr int MAX_LINE_PX = 256;

void Usage() {
    std::fprintf(stderr,
                 "usage: fontbake FONT.ttf OUT.dat OUT.png [--line PX] [--outline PX] [--shadow PX]"
                 " [--blur PX] [--max-side N]\n");
}

bool ParseNumber(const char* text, double lo, double hi, double& out) {
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(text, &end);
    if (end == text || *end != '\0' || errno != 0 || !std::isfinite(v) || v < lo || v > hi) return false;
    out = v;
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        Usage();
        return 2;
    }
    const std::string fontPath = argv[1], datPath = argv[2], pngPath = argv[3];
    fontbake::BakeOptions options;
    for (int i = 4; i < argc; i += 2) {
        const char* flag = argv[i];
        double v = 0;
        if (i + 1 >= argc) {
            std::fprintf(stderr, "fontbake: %s needs a value\n", flag);
            return 2;
        }
        const char* value = argv[i + 1];
        bool ok = true;
        if (std::strcmp(flag, "--line") == 0) {
            ok = ParseNumber(value, MIN_LINE_PX, MAX_LINE_PX, v);
            options.linePx = static_cast<int>(v);
        } else if (std::strcmp(flag, "--outline") == 0) {
            ok = ParseNumber(value, 0, 16, v);
            options.effects.outlineRadius = static_cast<float>(v);
        } else if (std::strcmp(flag, "--shadow") == 0) {
            ok = ParseNumber(value, 0, 16, v);
            options.effects.shadowOffset = static_cast<int>(v);
        } else if (std::strcmp(flag, "--blur") == 0) {
            ok = ParseNumber(value, 0, 8, v);
            options.effects.blur = static_cast<int>(v);
        } else if (std::strcmp(flag, "--max-side") == 0) {
            ok = ParseNumber(value, 16, 8192, v);
            options.maxSide = static_cast<int>(v);
        } else {
            std::fprintf(stderr, "fontbake: unknown option %s\n", flag);
            Usage();
            return 2;
        }
        if (!ok) {
            std::fprintf(stderr, "fontbake: bad value for %s: %s\n", flag, value);
            return 2;
        }
    }

    std::string error;
    fontbake::GlyphRasterizer raster;
    if (!raster.Open(fontPath, &error)) {
        std::fprintf(stderr, "fontbake: %s: %s\n", fontPath.c_str(), error.c_str());
        return 1;
    }

    const int wanted = options.linePx;
    fontbake::BakedFont baked;
    fontbake::BakeStatus status = fontbake::BakeStatus::DoesNotFit;
    for (; options.linePx >= MIN_LINE_PX; --options.linePx) {
        status = fontbake::BakeFont(raster, options, baked, &error);
        if (status != fontbake::BakeStatus::DoesNotFit) break;
    }
    if (status == fontbake::BakeStatus::Failed) {
        std::fprintf(stderr, "fontbake: %s: %s\n", fontPath.c_str(), error.c_str());
        return 1;
    }
    if (status != fontbake::BakeStatus::Ok) {
        std::fprintf(stderr, "fontbake: %s: the characters do not fit in a %dx%d texture\n", fontPath.c_str(),
                     options.maxSide, options.maxSide);
        return 1;
    }
    for (const std::string& w : baked.warnings) std::fprintf(stderr, "fontbake: %s: %s\n", fontPath.c_str(), w.c_str());

    if (!plat::WriteFileAtomic(datPath, fontbake::EncodeGlyphFile(baked.table))) {
        std::fprintf(stderr, "fontbake: cannot write %s\n", datPath.c_str());
        return 1;
    }
    if (!plat::SavePng(pngPath, baked.atlas, true, &error)) {
        std::fprintf(stderr, "fontbake: cannot write %s: %s\n", pngPath.c_str(), error.c_str());
        return 1;
    }
    std::printf("fontbake: %s: %d characters, cell %d px%s, texture %dx%d\n", datPath.c_str(), baked.glyphCount,
                options.linePx, options.linePx < wanted ? " (lowered to fit)" : "", baked.atlas.width,
                baked.atlas.height);
    return 0;
}
