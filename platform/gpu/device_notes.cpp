#include "platform/gpu/device_notes.h"

#include <atomic>
#include <mutex>

namespace gpu {

namespace {

std::atomic<DeviceNoteSink> g_sink{nullptr};
std::mutex g_lock;
constexpr int kMaxNotes = 32;
const char* g_told[kMaxNotes] = {};
int g_toldCount = 0;

} // namespace

void SetDeviceNoteSink(DeviceNoteSink sink) { g_sink = sink; }

void DeviceNoteOnce(const char* text) {
    DeviceNoteSink sink = g_sink.load();
    if (!sink || !text) return;
    {
        std::lock_guard<std::mutex> lock(g_lock);
        for (int i = 0; i < g_toldCount; ++i)
            if (g_told[i] == text) return;
        if (g_toldCount < kMaxNotes) g_told[g_toldCount++] = text;
    }
    sink(text);
}

} // namespace gpu
