#pragma once
// MD5 digests (RFC 1321). The UI layout reader checks a protected layout's text against the
// digest written in it.
#include <cstddef>
#include <cstdint>

class CMD5Checksum {
public:
    CMD5Checksum();
    virtual ~CMD5Checksum() = default;

    // Adds `length` bytes; every complete 64-byte block is processed at once.
    void Update(const void* data, std::size_t length);
    // Pads, processes the last block(s) and writes the 16-byte digest (state words A, B, C, D,
    // each little-endian). The object is spent afterwards.
    void Final(uint8_t digest[16]);
    // The compression function: folds one 64-byte block into the state.
    void Transform(const uint8_t block[64]);

private:
    uint8_t buffer_[64]; // the partial input block
    uint32_t count_[2];  // number of input bits so far, low word first
    uint32_t state_[4];  // A, B, C, D
};

// The raw 16-byte digest of `length` bytes at `data`.
void GetMD5(const void* data, std::size_t length, uint8_t digest[16]);
