#include "platform/window/interrupt_signals.h"

#include <signal.h>

#include <atomic>

namespace plat {
namespace {

volatile sig_atomic_t g_requested = 0;
std::atomic<bool> g_installed{false};

void NoteInterrupt(int) { g_requested = 1; }

} // namespace

void WatchInterruptSignals() {
    if (g_installed.exchange(true)) return;
    struct sigaction action {};
    action.sa_handler = &NoteInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool TakeInterruptRequest() {
    if (!g_requested) return false;
    g_requested = 0;
    return true;
}

} // namespace plat
