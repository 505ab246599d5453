#pragma once
// Threads, events and locks. A thread ends when its body sees the stop flag and returns; it is
// never killed, so it can never die holding a lock.
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace plat {

// An auto-reset event: Set wakes one waiter (or the next one to wait) and resets.
class YEvent {
public:
    void Set();
    void Wait();
    // false on time-out
    bool WaitFor(unsigned ms);

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    bool signalled_ = false;
};

using YRecursiveLock = std::recursive_mutex;

class YThread {
public:
    YThread() = default;
    ~YThread();
    YThread(const YThread&) = delete;
    YThread& operator=(const YThread&) = delete;

    // Runs body(stopFlag) on a new thread. The body must return soon after the flag becomes true.
    void Start(std::function<void(const std::atomic<bool>& stop)> body);
    // Sets the stop flag, runs `wake` (to release a wait the body may be in), and joins.
    void Stop(const std::function<void()>& wake = {});
    bool Running() const { return thread_.joinable(); }

private:
    std::thread thread_;
    std::atomic<bool> stop_{false};
};

} // namespace plat
