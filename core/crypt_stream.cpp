#include "core/crypt_stream.h"

InCryptStream::InCryptStream(InStream& inner, const char* key) : inner_(inner), key_(key ? key : "") {}

void InCryptStream::Read(void* buffer, int32_t count) {
    if (count <= 0) return;
    inner_.Read(buffer, count);
    if (key_.empty()) return;
    auto* bytes = static_cast<unsigned char*>(buffer);
    for (int32_t i = 0; i < count; ++i) {
        bytes[i] ^= static_cast<unsigned char>(key_[keyIndex_]);
        keyIndex_ = (keyIndex_ + 1) % key_.size();
    }
}

void InCryptStream::Skip(int32_t count) { inner_.Skip(count); }

int32_t InCryptStream::Remaining() { return inner_.Remaining(); }

OutCryptStream::OutCryptStream(OutStream& inner, const char* key) : inner_(inner), key_(key ? key : "") {}

void OutCryptStream::Write(const void* buffer, int32_t count) {
    if (count <= 0) return;
    if (scratch_.size() < static_cast<std::size_t>(count)) scratch_.resize(static_cast<std::size_t>(count));
    const auto* bytes = static_cast<const unsigned char*>(buffer);
    for (int32_t i = 0; i < count; ++i) {
        unsigned char k = key_.empty() ? 0 : static_cast<unsigned char>(key_[keyIndex_]);
        scratch_[static_cast<std::size_t>(i)] = bytes[i] ^ k;
        if (!key_.empty()) keyIndex_ = (keyIndex_ + 1) % key_.size();
    }
    inner_.Write(scratch_.data(), count);
}
