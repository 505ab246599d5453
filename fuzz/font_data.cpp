// Feeds arbitrary bytes, as a glyph data file, to a font. The font either takes the whole file
// (exactly a glyph file's length, every value a finite number) or is left empty; either way every
// width and corner is a finite number and measuring text never fails.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "core/log.h"
#include "render/font.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

// One scratch folder per process, removed at exit.
class Scratch {
public:
    Scratch() {
        namespace fs = std::filesystem;
        for (int n = 0;; ++n) {
            fs::path candidate = fs::temp_directory_path() / ("korvelin_fuzz_font_data_" + std::to_string(n));
            std::error_code ec;
            if (fs::create_directory(candidate, ec)) {
                dir_ = candidate;
                break;
            }
            if (ec && ec != std::errc::file_exists) std::abort();
        }
        file_ = (dir_ / "input.dat").string();
    }
    ~Scratch() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    const std::string& File() const { return file_; }

private:
    std::filesystem::path dir_;
    std::string file_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static Scratch* scratch = [] {
        LogReopen("");  // every rejected input would be a log line
        return new Scratch();
    }();
    static YFont* font = FindFont("fuzzed");
    {
        std::ofstream out(scratch->File(), std::ios::binary | std::ios::trunc);
        if (size) out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }

    const bool taken = font->LoadData(scratch->File().c_str());
    if (taken) Check(size == GLYPH_FILE_BYTES);
    bool anyValue = false;
    for (int c = 0; c < 256; ++c) {
        Check(std::isfinite(font->widths[c]));
        anyValue = anyValue || font->widths[c] != 0.0f;
        for (const YGlyphCorner& k : font->glyphs[c].corners) {
            Check(std::isfinite(k.x) && std::isfinite(k.y) && std::isfinite(k.unused) && std::isfinite(k.u) &&
                  std::isfinite(k.v));
        }
    }
    if (!taken) Check(!anyValue);  // a rejected file leaves nothing of itself, nor of earlier inputs

    char all[256];
    for (int c = 0; c < 255; ++c) all[c] = static_cast<char>(c + 1);
    all[255] = '\0';
    (void)font->GetTextWidth(all);
    return 0;
}
