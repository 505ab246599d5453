#pragma once
// The single-instance "mutex": a lock file named after the mutex and the user, in the first of
// $XDG_RUNTIME_DIR, $TMPDIR and /tmp that is a folder this user can write to.
//
// Opening tries to lock the file exclusively without waiting. When that succeeds no other copy
// holds it; when it fails another copy does (AlreadyExisted). Either way the open lock then holds
// the file SHARED until Close, so every running copy, also one started with the switch that
// ignores the rule, keeps later copies from believing they are alone. A copy that ends for any
// reason releases its hold with its file descriptor.
//
// The check and the change to the shared hold happen under a second lock (the "gate", beside
// the lock file), so two copies started at the same instant never both find themselves alone.
//
// When the lock file cannot be opened at all, nothing is held and AlreadyExisted is false: the
// program starts as if alone rather than not at all (and should say so in its log).
#include <string>
#include <string_view>

namespace plat {

class InstanceLock {
public:
    InstanceLock() = default;
    ~InstanceLock() { Close(); }
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Opens the lock `name` (closing one held before). True when the file is now held.
    bool Open(std::string_view name);
    void Close();

    bool IsHeld() const { return fd_ >= 0; }
    // Another copy held the lock when Open ran.
    bool AlreadyExisted() const { return alreadyExisted_; }

    // The lock file's path for `name` under the current environment.
    static std::string PathFor(std::string_view name);

private:
    int fd_ = -1;
    bool alreadyExisted_ = false;
};

} // namespace plat
