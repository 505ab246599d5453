#include "core/streams.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <limits>

#include "core/log.h"

// ---- InFStream ----

InFStream::InFStream(const char* path) {
    if (!path) return;
    file_ = plat::OpenFile(path, "rb");
    if (!file_) return;
    if (std::fseek(file_, 0, SEEK_END) == 0) {
        long end = std::ftell(file_);
        if (end >= 0 && std::fseek(file_, 0, SEEK_SET) == 0) {
            size_ = end;
            failed_ = false;
        }
    }
    if (failed_) {
        std::fclose(file_);
        file_ = nullptr;
    }
}

InFStream::~InFStream() {
    if (file_) std::fclose(file_);
}

void InFStream::Read(void* buffer, int32_t count) {
    if (count <= 0 || failed_) return;
    std::size_t got = std::fread(buffer, 1, static_cast<std::size_t>(count), file_);
    position_ += static_cast<int64_t>(got);
    if (got < static_cast<std::size_t>(count)) failed_ = true;
}

void InFStream::Skip(int32_t count) {
    if (count <= 0 || failed_) return;
    int64_t left = size_ - position_;
    if (count > left) {
        // Past the end: everything left is discarded and the stream fails.
        position_ = size_;
        failed_ = true;
        return;
    }
    if (std::fseek(file_, count, SEEK_CUR) != 0) {
        failed_ = true;
        return;
    }
    position_ += count;
}

int32_t InFStream::Remaining() {
    // A failed stream's position counts as -1: 0 for a file that never opened, size + 1 after
    // running past the end.
    int64_t left = size_ - (failed_ ? -1 : position_);
    return static_cast<int32_t>(
        std::clamp<int64_t>(left, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

// ---- OutFStream ----

OutFStream::OutFStream(const char* path) : path_(path ? path : ""), uncaught_(std::uncaught_exceptions()) {
    if (!path_.empty()) file_.Open(path_);
}

OutFStream::~OutFStream() {
    if (closed_) return;
    if (std::uncaught_exceptions() > uncaught_) {
        file_.Abort();
        return;
    }
    if (!Close()) LogPrintf("Could not write file %s", path_.c_str());
}

void OutFStream::Write(const void* buffer, int32_t count) {
    if (count <= 0 || closed_ || !file_.IsOpen()) return;
    file_.Write(buffer, static_cast<std::size_t>(count));
}

bool OutFStream::Close() {
    if (!closed_) {
        closed_ = true;
        result_ = file_.IsOpen() && file_.Commit();
    }
    return result_;
}

// ---- stream strings ----

OutStream& WriteStreamString(OutStream& out, const char* text) {
    std::size_t length = text ? std::strlen(text) : 0;
    int32_t n = static_cast<int32_t>(std::min<std::size_t>(length, STREAM_STRING_MAX));
    unsigned char header[2] = {static_cast<unsigned char>(n & 0xFF), static_cast<unsigned char>(n >> 8)};
    out.Write(header, 2);
    if (n > 0) out.Write(text, n);
    return out;
}

namespace {

// The length field; 0 when the input ends, negative lengths (outside the format) as 0.
int32_t ReadLength(InStream& in) {
    unsigned char header[2] = {0, 0};
    in.Read(header, 2);
    int16_t n = static_cast<int16_t>(static_cast<uint16_t>(header[0] | (header[1] << 8)));
    return n < 0 ? 0 : n;
}

} // namespace

InStream& ReadStreamString(InStream& in, std::string& text) {
    int32_t n = ReadLength(in);
    text.assign(static_cast<std::size_t>(n), '\0');
    in.Read(text.data(), n);
    return in;
}

InStream& ReadStreamString(InStream& in, char* buffer, std::size_t capacity) {
    int32_t n = ReadLength(in);
    int32_t kept = 0;
    if (buffer && capacity > 0) {
        kept = static_cast<int32_t>(std::min<std::size_t>(static_cast<std::size_t>(n), capacity - 1));
        std::memset(buffer, 0, static_cast<std::size_t>(kept));
        in.Read(buffer, kept);
        buffer[kept] = '\0';
    }
    // The dropped tail is read rather than skipped, so that an enciphered stream, whose key only
    // advances on reads, stays in step with the bytes that follow.
    char sink[256];
    for (int32_t left = n - kept; left > 0;) {
        int32_t piece = std::min<int32_t>(left, static_cast<int32_t>(sizeof sink));
        in.Read(sink, piece);
        left -= piece;
    }
    return in;
}
