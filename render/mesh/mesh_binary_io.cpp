#include "render/mesh/mesh_binary_io.h"

#include <algorithm>

YMeshBinReader::YMeshBinReader(InStream& in) : in_(in) {
    const int32_t left = in.Remaining();
    left_ = left < 0 ? UNKNOWN_LENGTH_LIMIT : left;
}

bool YMeshBinReader::Bytes(void* dst, int64_t size) {
    if (!reason_.empty()) return false;
    if (size < 0 || size > left_) return Fail("truncated");
    if (size > 0) in_.Read(dst, static_cast<int32_t>(size));
    left_ -= size;
    return true;
}

bool YMeshBinReader::Count(uint32_t& n, int64_t minBytesEach, const char* what) {
    if (!U32(n)) return false;
    if (static_cast<int64_t>(n) * minBytesEach > left_)
        return Fail(std::string(what) + " count " + std::to_string(n) + " beyond the end of the file");
    return true;
}

bool YMeshBinReader::Fail(const std::string& reason) {
    if (reason_.empty()) reason_ = reason;
    return false;
}

void YMeshBinWriter::WriteTo(OutStream& out) const {
    constexpr std::size_t PIECE = 1u << 30;
    for (std::size_t at = 0; at < data_.size(); at += PIECE)
        out.Write(data_.data() + at, static_cast<int32_t>(std::min(PIECE, data_.size() - at)));
}
