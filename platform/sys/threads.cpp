#include "platform/sys/threads.h"

#include <chrono>
#include <utility>

namespace plat {

void YEvent::Set() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        signalled_ = true;
    }
    cv_.notify_one();
}

void YEvent::Wait() {
    std::unique_lock<std::mutex> lock(mutex_);
    cv_.wait(lock, [this] { return signalled_; });
    signalled_ = false;
}

bool YEvent::WaitFor(unsigned ms) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!cv_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return signalled_; })) return false;
    signalled_ = false;
    return true;
}

YThread::~YThread() { Stop(); }

void YThread::Start(std::function<void(const std::atomic<bool>& stop)> body) {
    Stop();
    stop_.store(false);
    thread_ = std::thread([this, body = std::move(body)] { body(stop_); });
}

void YThread::Stop(const std::function<void()>& wake) {
    if (!thread_.joinable()) return;
    stop_.store(true);
    if (wake) wake();
    thread_.join();
}

} // namespace plat
