// Feeds arbitrary bytes, as a glyph data file, to a font. The font either takes what the file has
// (every value a finite number; a short file over what the font held) or is left empty; either way
// every width and corner is a finite number and measuring text never fails.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/log.h"
#include "fuzz_scratch.h"
#include "render/font.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static FuzzScratch* scratch = [] {
        LogReopen(""); // every rejected input would be a log line
        return new FuzzScratch("font_data");
    }();
    static YFont* font = FindFont("fuzzed");
    const std::string file = scratch->Write("input.dat", data, size);
    const bool taken = font->LoadData(file.c_str());
    bool anyValue = false;
    for (int c = 0; c < 256; ++c) {
        Check(std::isfinite(font->widths[c]));
        anyValue = anyValue || font->widths[c] != 0.0f;
        for (const YGlyphCorner& k : font->glyphs[c].corners) {
            Check(std::isfinite(k.x) && std::isfinite(k.y) && std::isfinite(k.unused) && std::isfinite(k.u) &&
                  std::isfinite(k.v));
        }
    }
    if (!taken) Check(!anyValue); // a rejected file leaves nothing of itself, nor of earlier inputs

    char all[256];
    for (int c = 0; c < 255; ++c) all[c] = static_cast<char>(c + 1);
    all[255] = '\0';
    (void)font->GetTextWidth(all);
    return 0;
}
