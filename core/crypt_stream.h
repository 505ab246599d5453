#pragma once
// Enciphering wrappers over another stream: every byte passes through a repeating-key XOR. The key
// starts at its first byte where the wrapper is made (not where the file starts), so a file reads
// back through an InCryptStream made at the same byte as the OutCryptStream that wrote it, provided
// every byte is read in order. The inner stream is not owned and must outlive the wrapper.
#include <cstdint>
#include <string>
#include <vector>

#include "core/streams.h"

// The key of the high-score file.
inline constexpr char SCORE_FILE_KEY[] = "PLOVERKIT";

class InCryptStream : public InStream {
public:
    // An empty key leaves the bytes as they are.
    InCryptStream(InStream& inner, const char* key);

    // Reads `count` bytes from the inner stream and deciphers all `count` bytes of the buffer,
    // advancing the key by `count` even when the inner stream delivered fewer.
    void Read(void* buffer, int32_t count) override;
    // Forwarded to the inner stream; the key does not advance, it counts bytes read only.
    void Skip(int32_t count) override;
    int32_t Remaining() override;

private:
    InStream& inner_;
    std::string key_;
    uint32_t keyIndex_ = 0;
};

class OutCryptStream : public OutStream {
public:
    // An empty key leaves the bytes as they are.
    OutCryptStream(OutStream& inner, const char* key);

    // Enciphers `count` bytes into a scratch buffer and writes those; the caller's buffer stays
    // unchanged.
    void Write(const void* buffer, int32_t count) override;

private:
    OutStream& inner_;
    std::vector<unsigned char> scratch_; // grows to the largest write, never shrinks
    std::string key_;
    uint32_t keyIndex_ = 0;
};
