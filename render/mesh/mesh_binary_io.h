#pragma once
// Field readers and writers shared by the mesh caches (".meb", ".mab").
//
// The reader never reads past the end of its input: it knows how many bytes are left and refuses
// any field or array that does not fit, so a count taken from a damaged file cannot make it
// allocate more than the file could hold. The first refusal is kept as the reason.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/streams.h"

class YMeshBinReader {
public:
    // Inputs that cannot tell their length are read as if this many bytes were left.
    static constexpr int64_t UNKNOWN_LENGTH_LIMIT = 64 << 20;

    explicit YMeshBinReader(InStream& in);

    bool Bytes(void* dst, int64_t size);
    bool I32(int32_t& v) { return Bytes(&v, 4); }
    bool U32(uint32_t& v) { return Bytes(&v, 4); }
    bool F32(float& v) { return Bytes(&v, 4); }
    bool U16(uint16_t& v) { return Bytes(&v, 2); }

    // A u32 element count whose elements take at least `minBytesEach` bytes each.
    bool Count(uint32_t& n, int64_t minBytesEach, const char* what);

    // An array of `n` plain records read in one piece.
    template <typename T>
    bool Array(std::vector<T>& out, uint32_t n) {
        if (static_cast<int64_t>(n) * static_cast<int64_t>(sizeof(T)) > left_) return Fail("truncated");
        out.resize(n);
        return Bytes(out.data(), static_cast<int64_t>(n) * static_cast<int64_t>(sizeof(T)));
    }

    // Records the reason (the first one only) and returns false.
    bool Fail(const std::string& reason);

    int64_t Left() const { return left_; }
    const std::string& Reason() const { return reason_; }

private:
    InStream& in_;
    int64_t left_;
    std::string reason_;
};

// Cache files larger than this are refused before reading: records grow about sixteen-fold in
// memory, and the models the game draws need a small fraction of it.
constexpr int32_t MAX_MESH_CACHE_BYTES = 32 << 20;

// Whether a stored index names one of `count` elements.
inline bool InRange(int32_t v, std::size_t count) { return v >= 0 && static_cast<std::size_t>(v) < count; }

// Builds the whole file in memory; it is written in one piece.
class YMeshBinWriter {
public:
    void Bytes(const void* src, std::size_t size) {
        const std::size_t at = data_.size();
        data_.resize(at + size);
        if (size) std::memcpy(data_.data() + at, src, size);
    }
    void I32(int32_t v) { Bytes(&v, 4); }
    void U32(uint32_t v) { Bytes(&v, 4); }
    void F32(float v) { Bytes(&v, 4); }
    template <typename T>
    void Array(const std::vector<T>& v) {
        U32(static_cast<uint32_t>(v.size()));
        Bytes(v.data(), v.size() * sizeof(T));
    }

    // Hands the bytes to `out`, in pieces its Write can take.
    void WriteTo(OutStream& out) const;

private:
    std::string data_;
};
