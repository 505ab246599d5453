// Feeds arbitrary bytes to the input-recording reader: it either refuses them with a reason and no
// messages, or returns messages that the window layer may post (no pointer parameters), in time
// order, that write back to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/window/message_recording.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::vector<plat::RecordedMessage> messages;
    std::string error;
    if (!plat::ParseRecording(bytes, messages, error)) {
        if (error.empty() || !messages.empty()) std::abort();
        return 0;
    }
    if (messages.size() > plat::MAX_RECORDED_MESSAGES) std::abort();
    uint32_t last = 0;
    for (const plat::RecordedMessage& m : messages) {
        if (!plat::IsReplayableMessage(m.msg.message) || m.timeMs < last) std::abort();
        last = m.timeMs;
    }
    if (plat::FormatRecording(messages) != bytes) std::abort();
    return 0;
}
