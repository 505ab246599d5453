#pragma once
// Byte streams. Every binary file of the game (levels, mesh caches, font data, scores) is a
// sequence of raw little-endian fields (int32_t, uint32_t, float as they lie in memory) and stream
// strings, read through an InStream and written through an OutStream.
//
// Streams report nothing by themselves: a missing or short input file yields fewer bytes, and each
// reader decides what that means (Remaining() tells a missing file: it is 0).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/sys/files.h"

class InStream {
public:
    virtual ~InStream() = default;
    // Copies the next `count` bytes into `buffer`. When fewer bytes are left, only those arrive and
    // the rest of the buffer keeps what it held. A count <= 0 does nothing.
    virtual void Read(void* buffer, int32_t count) = 0;
    // Discards the next `count` bytes (fewer when the input ends first).
    virtual void Skip(int32_t count) = 0;
    // Bytes left to read, or -1 when the stream cannot tell.
    virtual int32_t Remaining() { return -1; }
};

class OutStream {
public:
    virtual ~OutStream() = default;
    // Writes `count` bytes. A count <= 0 does nothing.
    virtual void Write(const void* buffer, int32_t count) = 0;
};

// Reads a file. Its length is measured when it opens; a file that does not open reads as empty.
//
// Once a Read or Skip asks for more bytes than are left, the stream has failed: it delivers the
// bytes that were left and nothing after that, and Remaining() reports size + 1 from then on.
// A file that did not open is failed from the start and reports 0.
class InFStream : public InStream {
public:
    explicit InFStream(const char* path);
    ~InFStream() override;
    InFStream(const InFStream&) = delete;
    InFStream& operator=(const InFStream&) = delete;

    void Read(void* buffer, int32_t count) override;
    void Skip(int32_t count) override;
    int32_t Remaining() override;

private:
    FILE* file_ = nullptr;
    int64_t size_ = -1;    // length at open; -1 when it did not open
    int64_t position_ = 0; // bytes consumed so far
    bool failed_ = true;
};

// Writes a file atomically: the bytes go to a temporary file in the same folder, which replaces
// the named file only when the stream is closed. Until then the old file stays as it was, so a
// crash or a full disk never leaves a truncated file. A file opened and closed with nothing
// written becomes empty.
//
// Call Close() when all is written and check its result: false means the named file was not
// replaced (the folder does not exist, a write failed, the disk is full, ...) and nothing was
// logged, so the caller reports it. A stream destroyed without Close() closes itself and logs a
// failure, since no one else could hear of it -- except while an exception unwinds the stack: then
// the half-written temporary file is discarded and the old file stays.
//
// Writes to a stream that failed to open, or after Close(), are lost.
class OutFStream : public OutStream {
public:
    explicit OutFStream(const char* path);
    ~OutFStream() override;
    OutFStream(const OutFStream&) = delete;
    OutFStream& operator=(const OutFStream&) = delete;

    void Write(const void* buffer, int32_t count) override;

    // Puts the written file in place. True when it is there in full. Later calls return the
    // first call's result.
    bool Close();

private:
    plat::AtomicFile file_;
    std::string path_;
    int uncaught_ = 0; // exceptions in flight when the stream was made
    bool closed_ = false;
    bool result_ = false;
};

// Stream strings: an int16_t length n, little-endian, 0..STREAM_STRING_MAX, then n bytes with no
// terminator.
constexpr int32_t STREAM_STRING_MAX = 32767;

// Writes `text` up to its terminator; a longer text than STREAM_STRING_MAX is cut to that length,
// so the length field always matches the bytes that follow. A null text writes an empty string.
OutStream& WriteStreamString(OutStream& out, const char* text);

// Reads a stream string into `text`. A negative length field (outside the format) reads as an
// empty string. Bytes a short input does not deliver read as 0.
InStream& ReadStreamString(InStream& in, std::string& text);

// Reads a stream string into `buffer`, which holds `capacity` bytes: at most capacity - 1
// characters are stored, followed by a 0 byte; the rest of a longer string is read and dropped so
// the next field starts where it should. A negative length field reads as an empty string. Nothing
// is ever stored outside the buffer (a capacity of 0 stores nothing).
InStream& ReadStreamString(InStream& in, char* buffer, std::size_t capacity);
