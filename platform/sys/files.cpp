#include "platform/sys/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <random>

namespace plat {

namespace {

bool Exists(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

bool IsDirectory(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool EqualNoCase(const char* a, const char* b) { return ::strcasecmp(a, b) == 0; }

// Finds `name` in folder `dir` ignoring case; empty when nothing matches.
std::string FindNoCase(const std::string& dir, const std::string& name) {
    DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
    if (!d) return {};
    std::string found;
    while (dirent* e = ::readdir(d)) {
        if (EqualNoCase(e->d_name, name.c_str())) {
            found = e->d_name;
            break;
        }
    }
    ::closedir(d);
    return found;
}

// '*' matches any run of characters, '?' any one character; case is ignored.
bool WildcardMatch(const char* mask, const char* name) {
    const char* star = nullptr;
    const char* resume = nullptr;
    while (*name) {
        unsigned char m = static_cast<unsigned char>(*mask);
        unsigned char n = static_cast<unsigned char>(*name);
        if (m == '*') {
            star = mask++;
            resume = name;
        } else if (m == '?' || (m && std::tolower(m) == std::tolower(n))) {
            ++mask;
            ++name;
        } else if (star) {
            mask = star + 1;
            name = ++resume;
        } else {
            return false;
        }
    }
    while (*mask == '*') ++mask;
    return *mask == '\0';
}

} // namespace

std::string NativePath(std::string_view path) {
    std::string p(path);
    for (char& c : p)
        if (c == '\\') c = '/';
    if (p.empty() || Exists(p)) return p;

    // Walk the components, replacing each missing one by a case-insensitive match.
    std::string out;
    std::size_t pos = 0;
    if (p[0] == '/') {
        out = "/";
        pos = 1;
    }
    bool lost = false; // once a component matches nothing, keep the rest as written
    while (pos <= p.size()) {
        std::size_t next = p.find('/', pos);
        if (next == std::string::npos) next = p.size();
        std::string comp = p.substr(pos, next - pos);
        if (!comp.empty()) {
            std::string candidate = out + comp;
            if (!lost && comp != "." && comp != ".." && !Exists(candidate)) {
                std::string match = FindNoCase(out.empty() ? "." : out, comp);
                if (!match.empty())
                    candidate = out + match;
                else
                    lost = true;
            }
            out = candidate;
        }
        if (next < p.size()) out += '/';
        pos = next + 1;
    }
    return out;
}

FILE* OpenFile(std::string_view path, const char* mode) {
    std::string native = NativePath(path);
    if (IsDirectory(native)) return nullptr;
    return std::fopen(native.c_str(), mode);
}

ReadStatus ReadFile(std::string_view path, std::string& out, std::size_t maxBytes, bool textMode) {
    out.clear();
    FILE* f = OpenFile(path, "rb");
    if (!f) return ReadStatus::Missing;
    std::string data;
    char chunk[65536];
    ReadStatus status = ReadStatus::Ok;
    for (;;) {
        std::size_t n = std::fread(chunk, 1, sizeof chunk, f);
        if (n > 0) {
            if (data.size() + n > maxBytes) {
                status = ReadStatus::TooLarge;
                break;
            }
            data.append(chunk, n);
        }
        if (n < sizeof chunk) {
            if (std::ferror(f)) status = ReadStatus::Error;
            break;
        }
    }
    std::fclose(f);
    if (status != ReadStatus::Ok) return status;
    if (!textMode) {
        out.swap(data);
        return ReadStatus::Ok;
    }
    out.reserve(data.size());
    for (std::size_t i = 0; i < data.size(); ++i) {
        char c = data[i];
        if (c == '\x1A') break;
        if (c == '\r' && i + 1 < data.size() && data[i + 1] == '\n') continue;
        out += c;
    }
    return ReadStatus::Ok;
}

long long FileSize(std::string_view path) {
    struct stat st;
    std::string native = NativePath(path);
    if (::stat(native.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
    return static_cast<long long>(st.st_size);
}

namespace {

// The pid of a name of the form "<anything>.tmp<pid>_<digits>", or 0.
long TempFilePid(const std::string& name) {
    const std::size_t tmp = name.rfind(".tmp");
    if (tmp == std::string::npos) return 0;
    const std::size_t underscore = name.find('_', tmp + 4);
    if (underscore == std::string::npos || underscore == tmp + 4 || underscore + 1 >= name.size()) return 0;
    long pid = 0;
    for (std::size_t i = tmp + 4; i < underscore; ++i) {
        if (name[i] < '0' || name[i] > '9' || pid > 100000000) return 0;
        pid = pid * 10 + (name[i] - '0');
    }
    for (std::size_t i = underscore + 1; i < name.size(); ++i)
        if (name[i] < '0' || name[i] > '9') return 0;
    return pid;
}

// Whether `name` is the temporary file of an atomic write whose process no longer runs.
bool IsStaleTempName(const std::string& name) {
    const long pid = TempFilePid(name);
    if (pid <= 0) return false;
    // A process that still runs may be writing it right now.
    return pid != ::getpid() && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

int RemoveStaleIn(const std::string& dir, int depthLeft) {
    DIR* d = ::opendir(dir.c_str());
    if (!d) return 0;
    int removed = 0;
    std::vector<std::string> folders;
    while (const dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        const std::string path = dir + "/" + name;
        struct stat st;
        // lstat: a link is never followed, neither into another folder nor to another file.
        if (::lstat(path.c_str(), &st) != 0) continue;
        if (S_ISDIR(st.st_mode)) {
            if (depthLeft > 0) folders.push_back(path);
        } else if (S_ISREG(st.st_mode) && IsStaleTempName(name) && ::unlink(path.c_str()) == 0) {
            ++removed;
        }
    }
    ::closedir(d);
    for (const std::string& folder : folders) removed += RemoveStaleIn(folder, depthLeft - 1);
    return removed;
}

std::string NativeFolder(std::string_view folder) {
    return NativePath(folder.empty() ? std::string_view(".") : folder);
}

} // namespace

int RemoveStaleTempFiles(std::string_view folder) { return RemoveStaleIn(NativeFolder(folder), 0); }

int RemoveStaleTempFilesBelow(std::string_view folder, int maxDepth) {
    return RemoveStaleIn(NativeFolder(folder), maxDepth < 0 ? 0 : maxDepth);
}

bool WriteFileInPlace(std::string_view path, std::string_view data) {
    const std::string native = NativePath(path);
    int fd;
    do {
        fd = ::open(native.c_str(), O_WRONLY | O_NOFOLLOW | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return false;
    bool ok = ::ftruncate(fd, 0) == 0;
    std::size_t done = 0;
    while (ok && done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0)
            ok = false;
        else
            done += static_cast<std::size_t>(n);
    }
    if (ok && ::fsync(fd) != 0) ok = false;
    if (::close(fd) != 0) ok = false;
    return ok;
}

AtomicFile::~AtomicFile() { Abort(); }

bool AtomicFile::Open(std::string_view path) {
    Abort();
    target_ = NativePath(path);
    // One generator per thread: saves may run on several threads at once.
    thread_local std::mt19937 seq{std::random_device{}()};
    for (int attempt = 0; attempt < 8 && !file_; ++attempt) {
        temp_ = target_ + ".tmp" + std::to_string(::getpid()) + "_" + std::to_string(seq() % 1000000);
        int fd = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            break;
        }
        file_ = ::fdopen(fd, "wb");
        if (!file_) ::close(fd);
    }
    if (!file_) temp_.clear();
    failed_ = false;
    return file_ != nullptr;
}

bool AtomicFile::Write(const void* data, std::size_t size) {
    if (!file_) return false;
    if (size && std::fwrite(data, 1, size, file_) != size) failed_ = true;
    return !failed_;
}

bool AtomicFile::Commit() {
    if (!file_) return false;
    bool ok = !failed_;
    if (std::fflush(file_) != 0) ok = false;
    if (ok && ::fsync(::fileno(file_)) != 0) ok = false;
    if (std::fclose(file_) != 0) ok = false;
    file_ = nullptr;
    if (ok && ::rename(temp_.c_str(), target_.c_str()) != 0) ok = false;
    if (!ok) ::unlink(temp_.c_str());
    temp_.clear();
    return ok;
}

void AtomicFile::Abort() {
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!temp_.empty()) {
        ::unlink(temp_.c_str());
        temp_.clear();
    }
}

bool WriteFileAtomic(std::string_view path, std::string_view data) {
    AtomicFile file;
    if (!file.Open(path)) return false;
    if (!file.Write(data.data(), data.size())) return false;
    return file.Commit();
}

std::vector<DirEntry> ListDirectory(std::string_view pattern) {
    std::string p(pattern);
    for (char& c : p)
        if (c == '\\') c = '/';
    std::size_t slash = p.rfind('/');
    std::string dir = slash == std::string::npos ? std::string() : p.substr(0, slash == 0 ? 1 : slash);
    std::string mask = slash == std::string::npos ? p : p.substr(slash + 1);
    std::string nativeDir = dir.empty() ? std::string(".") : NativePath(dir);

    std::vector<DirEntry> out;
    DIR* d = ::opendir(nativeDir.c_str());
    if (!d) return out;
    while (dirent* e = ::readdir(d)) {
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
        if (!WildcardMatch(mask.c_str(), e->d_name)) continue;
        DirEntry entry;
        entry.name = e->d_name;
        entry.isDir = IsDirectory(nativeDir + "/" + entry.name);
        out.push_back(std::move(entry));
    }
    ::closedir(d);
    return out;
}

bool MakeDirectory(std::string_view path) {
    std::string native = NativePath(path);
    return ::mkdir(native.c_str(), 0755) == 0 || (errno == EEXIST && IsDirectory(native));
}

bool RemoveFile(std::string_view path) {
    std::string native = NativePath(path);
    return ::unlink(native.c_str()) == 0;
}

std::string ModulePath() {
    char buffer[4096];
    ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return {};
    return std::string(buffer, static_cast<std::size_t>(n));
}

} // namespace plat
