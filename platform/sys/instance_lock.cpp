#include "platform/sys/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

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

} // namespace

std::string InstanceLock::PathFor(std::string_view name) {
    std::string dir;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); IsSet(runtime))
        dir = runtime;
    else if (const char* tmp = std::getenv("TMPDIR"); IsSet(tmp))
        dir = tmp;
    else
        dir = "/tmp";
    if (dir.back() != '/') dir += '/';
    return dir + SafeComponent(name) + "-" + std::to_string(static_cast<unsigned long>(getuid())) + ".lock";
}

bool InstanceLock::Open(std::string_view name) {
    Close();
    const std::string path = PathFor(name);
    // O_NOFOLLOW: in a shared temp folder the name could be a planted link.
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return false;

    if (FlockRetry(fd, LOCK_EX | LOCK_NB) == 0) {
        alreadyExisted_ = false;
    } else if (errno == EWOULDBLOCK) {
        alreadyExisted_ = true;
    } else {
        ::close(fd);
        return false;
    }
    // Hold it shared from now on. This waits only while another copy is between its own
    // exclusive try and its switch to shared.
    if (FlockRetry(fd, LOCK_SH) != 0) {
        ::close(fd);
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
