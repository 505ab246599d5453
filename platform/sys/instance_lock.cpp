#include "platform/sys/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace plat {
namespace {

bool IsSet(const char* value) { return value && *value; }

// The name as one path component: separators and other bytes outside a plain set become '_'.
std::string SafeComponent(std::string_view name) {
    std::string out;
    for (char c : name) {
        const unsigned char u = static_cast<unsigned char>(c);
        const bool plain = (u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || u == '-' ||
                           u == '_' || u == '.';
        out += plain ? c : '_';
    }
    if (out.empty() || out == "." || out == "..") out = "_" + out;
    return out;
}

int FlockRetry(int fd, int operation) {
    int r;
    do {
        r = flock(fd, operation);
    } while (r != 0 && errno == EINTR);
    return r;
}

// The folders the lock may live in, in order of preference.
std::vector<std::string> LockFolders() {
    std::vector<std::string> dirs;
    for (const char* var : {"XDG_RUNTIME_DIR", "TMPDIR"}) {
        if (const char* dir = std::getenv(var); IsSet(dir)) dirs.emplace_back(dir);
    }
    dirs.emplace_back("/tmp");
    for (std::string& dir : dirs)
        if (dir.back() != '/') dir += '/';
    return dirs;
}

std::string LockFileName(std::string_view name, const char* suffix) {
    return SafeComponent(name) + "-" + std::to_string(static_cast<unsigned long>(getuid())) + suffix;
}

// A folder this user can make files in.
bool UsableFolder(const std::string& dir) {
    struct stat st;
    return ::stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && ::access(dir.c_str(), W_OK | X_OK) == 0;
}

int OpenLockFile(const std::string& path) {
    // O_NOFOLLOW: in a shared temp folder the name could be a planted link.
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

} // namespace

std::string InstanceLock::PathFor(std::string_view name) {
    const std::vector<std::string> dirs = LockFolders();
    for (const std::string& dir : dirs)
        if (UsableFolder(dir)) return dir + LockFileName(name, ".lock");
    return dirs.front() + LockFileName(name, ".lock");
}

bool InstanceLock::Open(std::string_view name) {
    Close();
    std::string dir;
    for (const std::string& candidate : LockFolders()) {
        if (UsableFolder(candidate)) {
            dir = candidate;
            break;
        }
    }
    if (dir.empty()) return false;

    // The check and the change from the exclusive to the shared hold are two steps, so each copy
    // takes them while it holds the gate: two copies started in the same instant cannot both find
    // the lock free. The gate is held only for those two steps.
    const int gate = OpenLockFile(dir + LockFileName(name, ".gate"));
    if (gate < 0) return false;
    if (FlockRetry(gate, LOCK_EX) != 0) {
        ::close(gate);
        return false;
    }
    const int fd = OpenLockFile(dir + LockFileName(name, ".lock"));
    bool ok = fd >= 0;
    if (ok) {
        if (FlockRetry(fd, LOCK_EX | LOCK_NB) == 0)
            alreadyExisted_ = false;
        else if (errno == EWOULDBLOCK)
            alreadyExisted_ = true;
        else
            ok = false;
    }
    // Hold it shared from now on; other copies hold it shared at most, so this does not wait.
    if (ok && FlockRetry(fd, LOCK_SH) != 0) ok = false;
    ::close(gate);
    if (!ok) {
        if (fd >= 0) ::close(fd);
        alreadyExisted_ = false;
        return false;
    }
    fd_ = fd;
    return true;
}

void InstanceLock::Close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    alreadyExisted_ = false;
}

} // namespace plat
