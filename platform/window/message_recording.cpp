#include "platform/window/message_recording.h"

#include <cstring>

#include "platform/sys/clock.h"
#include "platform/sys/files.h"

namespace plat {
namespace {

constexpr char MAGIC[8] = {'K', 'V', 'I', 'N', 'P', 'U', 'T', '1'};

void PutU32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

void PutU64(std::string& out, uint64_t v) {
    for (int i = 0; i < 8; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

uint64_t GetLE(const char* p, int bytes) {
    uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(p[i]);
    return v;
}

} // namespace

bool IsReplayableMessage(uint32_t message) {
    switch (message) {
        case WM_SIZE:
        case WM_ACTIVATE:
        case WM_PAINT:
        case WM_CLOSE:
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_CHAR:
        case WM_DEADCHAR:
        case WM_SYSKEYDOWN:
        case WM_SYSKEYUP:
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
        case WM_MOUSEWHEEL: return true;
        default: return false;
    }
}

std::string FormatRecording(const std::vector<RecordedMessage>& messages) {
    std::string out(MAGIC, sizeof MAGIC);
    PutU32(out, static_cast<uint32_t>(messages.size()));
    out.reserve(RECORDING_HEADER_BYTES + messages.size() * RECORDED_MESSAGE_BYTES);
    for (const RecordedMessage& r : messages) {
        PutU32(out, r.timeMs);
        PutU32(out, r.msg.message);
        PutU64(out, static_cast<uint64_t>(r.msg.wParam));
        PutU64(out, static_cast<uint64_t>(r.msg.lParam));
    }
    return out;
}

bool ParseRecording(std::string_view bytes, std::vector<RecordedMessage>& out, std::string& error) {
    out.clear();
    if (bytes.size() < RECORDING_HEADER_BYTES || std::memcmp(bytes.data(), MAGIC, sizeof MAGIC) != 0) {
        error = "not an input recording";
        return false;
    }
    const uint64_t count = GetLE(bytes.data() + sizeof MAGIC, 4);
    if (count > MAX_RECORDED_MESSAGES) {
        error = "more than " + std::to_string(MAX_RECORDED_MESSAGES) + " messages";
        return false;
    }
    const std::size_t body = bytes.size() - RECORDING_HEADER_BYTES;
    if (body != count * RECORDED_MESSAGE_BYTES) {
        error = body < count * RECORDED_MESSAGE_BYTES ? "truncated" : "bytes after the last message";
        return false;
    }
    std::vector<RecordedMessage> messages;
    messages.reserve(static_cast<std::size_t>(count));
    uint32_t lastTime = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const char* p = bytes.data() + RECORDING_HEADER_BYTES + i * RECORDED_MESSAGE_BYTES;
        RecordedMessage r;
        r.timeMs = static_cast<uint32_t>(GetLE(p, 4));
        r.msg.message = static_cast<uint32_t>(GetLE(p + 4, 4));
        r.msg.wParam = static_cast<WPARAM>(GetLE(p + 8, 8));
        r.msg.lParam = static_cast<LPARAM>(GetLE(p + 16, 8));
        if (!IsReplayableMessage(r.msg.message)) {
            error = "message " + std::to_string(i) + " has id " + std::to_string(r.msg.message) +
                    ", which cannot be replayed";
            return false;
        }
        if (r.timeMs < lastTime) {
            error = "message " + std::to_string(i) + " is earlier than the one before it";
            return false;
        }
        lastTime = r.timeMs;
        messages.push_back(r);
    }
    out = std::move(messages);
    return true;
}

// ---- Recorder ---------------------------------------------------------------------------------

MessageRecorder::~MessageRecorder() { Stop(); }

void MessageRecorder::Start() {
    messages_.clear();
    messages_.reserve(4096);
    dropped_ = 0;
    clockStarted_ = false;
    running_ = true;
    SetMessageTap(&MessageRecorder::Tap, this);
}

void MessageRecorder::Stop() {
    if (!running_) return;
    running_ = false;
    SetMessageTap(nullptr, nullptr);
}

void MessageRecorder::Tap(void* context, const Msg& msg) {
    auto* self = static_cast<MessageRecorder*>(context);
    if (!IsReplayableMessage(msg.message)) return;
    const uint32_t now = TimeMs();
    if (!self->clockStarted_) {
        self->clockStarted_ = true;
        self->startMs_ = now;
    }
    if (self->messages_.size() >= MAX_RECORDED_MESSAGES) {
        ++self->dropped_;
        return;
    }
    self->messages_.push_back({now - self->startMs_, msg});
}

bool MessageRecorder::Save(const std::string& path, std::string& error) const {
    if (!WriteFileAtomic(path, FormatRecording(messages_))) {
        error = "could not write " + path;
        return false;
    }
    return true;
}

// ---- Replayer ---------------------------------------------------------------------------------

MessageReplayer::~MessageReplayer() { Stop(); }

bool MessageReplayer::Load(const std::string& path, std::string& error) {
    messages_.clear();
    next_ = 0;
    std::string bytes;
    const std::size_t maxBytes = RECORDING_HEADER_BYTES + MAX_RECORDED_MESSAGES * RECORDED_MESSAGE_BYTES;
    switch (ReadFile(path, bytes, maxBytes, false)) {
        case ReadStatus::Ok: break;
        case ReadStatus::Missing: error = path + ": missing"; return false;
        case ReadStatus::TooLarge: error = path + ": larger than any recording"; return false;
        case ReadStatus::Error: error = path + ": cannot be read"; return false;
    }
    if (!ParseRecording(bytes, messages_, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

void MessageReplayer::Start() {
    next_ = 0;
    clockStarted_ = false;
    running_ = true;
    SetInputReplay(&MessageReplayer::Feed, this);
}

void MessageReplayer::Stop() {
    if (!running_) return;
    running_ = false;
    SetInputReplay(nullptr, nullptr);
}

void MessageReplayer::Feed(void* context) {
    auto* self = static_cast<MessageReplayer*>(context);
    const uint32_t now = TimeMs();
    if (!self->clockStarted_) {
        self->clockStarted_ = true;
        self->startMs_ = now;
    }
    const uint32_t elapsed = now - self->startMs_;
    while (self->next_ < self->messages_.size() && self->messages_[self->next_].timeMs <= elapsed) {
        const Msg& m = self->messages_[self->next_].msg;
        if (!PostMessage(m.message, m.wParam, m.lParam)) break; // the queue is full: the rest waits
        ++self->next_;
    }
}

} // namespace plat
