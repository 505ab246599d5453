#include "render/mesh/mesh_text_reader.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>
#include <type_traits>

#include "platform/sys/files.h"

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// A leading '+' is a sign the stream extraction accepts and from_chars does not.
std::string_view Unsigned(std::string_view w) {
    if (w.size() > 1 && w[0] == '+' && w[1] != '-' && w[1] != '+') w.remove_prefix(1);
    return w;
}

template <typename T>
bool ParseWhole(std::string_view w, T& out) {
    w = Unsigned(w);
    if (w.empty()) return false;
    const char* end = w.data() + w.size();
    std::from_chars_result r;
    if constexpr (std::is_floating_point_v<T>)
        r = std::from_chars(w.data(), end, out, std::chars_format::general);
    else
        r = std::from_chars(w.data(), end, out);
    return r.ec == std::errc() && r.ptr == end;
}

} // namespace

YMeshTextReader::OpenResult YMeshTextReader::Open(const char* path) {
    text_.clear();
    pos_ = 0;
    bad_.clear();
    switch (plat::ReadFile(path ? path : "", text_, MAX_FILE_BYTES, true)) {
        case plat::ReadStatus::Ok: return OpenResult::Ok;
        case plat::ReadStatus::TooLarge: text_.clear(); return OpenResult::TooLarge;
        default: text_.clear(); return OpenResult::Missing;
    }
}

std::string_view YMeshTextReader::NextWord() {
    while (pos_ < text_.size() && IsSpace(text_[pos_])) ++pos_;
    const std::size_t start = pos_;
    while (pos_ < text_.size() && !IsSpace(text_[pos_])) ++pos_;
    return std::string_view(text_).substr(start, pos_ - start);
}

std::string YMeshTextReader::Word() { return std::string(NextWord()); }

bool YMeshTextReader::Fail(std::string_view word) {
    // Long junk is cut so the error line stays readable.
    bad_.assign(word.substr(0, 64));
    return false;
}

bool YMeshTextReader::Int(int32_t& out) {
    const std::string_view w = NextWord();
    return ParseWhole(w, out) || Fail(w);
}

bool YMeshTextReader::UInt(uint32_t& out) {
    const std::string_view w = NextWord();
    int64_t v = 0;
    if (!ParseWhole(w, v) || v < INT32_MIN || v > UINT32_MAX) return Fail(w);
    out = static_cast<uint32_t>(v);
    return true;
}

bool YMeshTextReader::Real(float& out) {
    const std::string_view w = NextWord();
    return (ParseWhole(w, out) && std::isfinite(out)) || Fail(w);
}

bool YMeshTextReader::CouldHold(int64_t count, int wordsEach) const {
    if (count < 0) return false;
    return count * wordsEach <= static_cast<int64_t>(Remaining() / 2 + 1);
}
