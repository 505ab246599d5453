#include "tools/fontbake/glyph_file.h"

#include <bit>
#include <cstdint>

namespace fontbake {
namespace {

void PutFloat(std::string& out, float value) {
    const uint32_t bits = std::bit_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((bits >> shift) & 0xFF);
}

} // namespace

std::string EncodeGlyphFile(const GlyphTable& table) {
    std::string out;
    out.reserve(GLYPH_FILE_BYTES);
    for (float w : table.widths) PutFloat(out, w);
    for (const auto& glyph : table.corners) {
        for (const GlyphCorner& c : glyph) {
            PutFloat(out, c.x);
            PutFloat(out, c.y);
            PutFloat(out, c.unused);
            PutFloat(out, c.u);
            PutFloat(out, c.v);
        }
    }
    return out;
}

} // namespace fontbake
