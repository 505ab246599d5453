#pragma once
// Recording and replaying the input the window layer hands the program.
//
// A recorder notes every message PeekMessage hands out, with the milliseconds since the first
// PeekMessage after Start, and saves them to a file. A replayer reads such a file and, from the
// first PeekMessage after Start, posts each message once its time has come, in place of the
// window's own input: while it runs the window turns only the close button and SIGINT/SIGTERM into
// messages and drops every other SDL event. Sent messages (those of Show and sizing) are not
// recorded: the window sends them again when the program makes it.
//
// File: "KVINPUT1", a little-endian uint32 record count, then per record uint32 time (ms),
// uint32 message, uint64 wParam, int64 lParam. Only messages whose parameters are plain values are
// taken (keys, characters, mouse, size, activation, paint, close); a file with any other message,
// times that go backwards, a count that is not the file's, or more than MAX_RECORDED_MESSAGES
// records is refused whole.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/window/message_queue.h"

namespace plat {

struct RecordedMessage {
    uint32_t timeMs = 0;
    Msg msg;
};

constexpr std::size_t MAX_RECORDED_MESSAGES = 1u << 20;
constexpr std::size_t RECORDING_HEADER_BYTES = 12;
constexpr std::size_t RECORDED_MESSAGE_BYTES = 24;

// Whether a message may be recorded and replayed: its parameters hold no pointer.
bool IsReplayableMessage(uint32_t message);

std::string FormatRecording(const std::vector<RecordedMessage>& messages);
// False, with why in `error`, when the bytes are not a whole, valid recording (`out` left empty).
bool ParseRecording(std::string_view bytes, std::vector<RecordedMessage>& out, std::string& error);

class MessageRecorder {
public:
    MessageRecorder() = default;
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    // Notes every message handed out from now on (one recorder at a time).
    void Start();
    void Stop();
    // Writes what was noted, atomically. False, with why in `error`, when it cannot.
    bool Save(const std::string& path, std::string& error) const;
    const std::vector<RecordedMessage>& Messages() const { return messages_; }
    // Messages past MAX_RECORDED_MESSAGES are not noted; how many were not.
    std::size_t Dropped() const { return dropped_; }

private:
    static void Tap(void* self, const Msg& msg);

    std::vector<RecordedMessage> messages_;
    std::size_t dropped_ = 0;
    bool clockStarted_ = false;
    uint32_t startMs_ = 0;
    bool running_ = false;
};

class MessageReplayer {
public:
    MessageReplayer() = default;
    ~MessageReplayer();
    MessageReplayer(const MessageReplayer&) = delete;
    MessageReplayer& operator=(const MessageReplayer&) = delete;

    // Reads a recording (missing, oversized, truncated or malformed: false, with why in `error`).
    bool Load(const std::string& path, std::string& error);
    void Assign(std::vector<RecordedMessage> messages) { messages_ = std::move(messages); }
    // Takes the place of the window's input from now on (one replayer at a time).
    void Start();
    void Stop();
    // Every message has been posted.
    bool Finished() const { return next_ >= messages_.size(); }
    std::size_t Count() const { return messages_.size(); }

private:
    static void Feed(void* self);

    std::vector<RecordedMessage> messages_;
    std::size_t next_ = 0;
    bool clockStarted_ = false;
    uint32_t startMs_ = 0;
    bool running_ = false;
};

} // namespace plat
