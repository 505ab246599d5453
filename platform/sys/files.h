#pragma once
// Files and folders. The game writes paths with '\' separators and was made for a file system that
// ignores case; this layer turns such paths into ones that open here. Every other layer opens,
// lists and writes files only through these functions.
#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

// Turns '\' into '/', and where a path component does not exist as written, uses the first entry
// of its folder that matches it ignoring case. Components that match nothing are kept as written.
std::string NativePath(std::string_view path);

// fopen over NativePath. `mode` as for fopen; always binary on this platform.
FILE* OpenFile(std::string_view path, const char* mode);

enum class ReadStatus { Ok, Missing, TooLarge, Error };

// Reads a whole file into `out`, refusing files over `maxBytes`. With `textMode`, reads as a
// text-mode stream did: CR LF becomes LF and a 0x1A byte ends the input.
ReadStatus ReadFile(std::string_view path, std::string& out, std::size_t maxBytes, bool textMode);

// Size in bytes, or -1 when the file does not exist or is not a regular file.
long long FileSize(std::string_view path);

// Writes `data` to a temporary file in the same folder, flushes it and renames it over `path`,
// so a crash or full disk never leaves a truncated file. Returns false (file untouched) on failure.
bool WriteFileAtomic(std::string_view path, std::string_view data);

// A file written piecewise and put in place atomically by Commit(). Dropped without Commit, the
// temporary file is removed and the old file stays as it was.
class AtomicFile {
public:
    AtomicFile() = default;
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    bool Open(std::string_view path);
    bool IsOpen() const { return file_ != nullptr; }
    bool Write(const void* data, std::size_t size);
    bool Commit(); // flush, sync, rename; false when any write or the rename failed
    void Abort();

private:
    FILE* file_ = nullptr;
    std::string target_;
    std::string temp_;
    bool failed_ = false;
};

struct DirEntry {
    std::string name;
    bool isDir = false;
};

// Lists the entries of a folder whose names match the last component of `pattern` ('*' and '?',
// ignoring case), e.g. "levels\*.lev" or "ui\*". "." and ".." are skipped. Order: as found.
std::vector<DirEntry> ListDirectory(std::string_view pattern);

bool MakeDirectory(std::string_view path);

// Removes the temporary files that an atomic write in `folder` left behind when its process was
// killed ("<name>.tmp<pid>_<n>" whose process no longer runs). Returns how many were removed.
int RemoveStaleTempFiles(std::string_view folder);
// The same in `folder` and in the folders below it, down to `maxDepth` levels (0: `folder` alone).
// Links are never followed. The game writes into folders below its own (levels, level pictures,
// mesh and path caches), and a kill can leave a temporary file in any of them.
int RemoveStaleTempFilesBelow(std::string_view folder, int maxDepth);

// Writes `data` over the file itself: for a file that may be written but whose folder cannot take
// the temporary file of an atomic write. Refuses (false) when the file does not exist already.
bool WriteFileInPlace(std::string_view path, std::string_view data);
bool RemoveFile(std::string_view path);

// Full path of the running executable.
std::string ModulePath();

} // namespace plat
