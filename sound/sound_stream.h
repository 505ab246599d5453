#pragma once
// A long Ogg Vorbis file played through a small ring buffer that a thread of the stream's own
// refills whenever the play cursor passes the middle or the end of the ring. The music player owns
// two of them, one per cross-fade channel.
//
// Threads: every public operation takes the stream's (recursive) lock for its whole run; the refill
// thread takes it for each refill. Callers that hold a lock of their own (the music player) take it
// before the stream's, never after.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/audio/device.h"
#include "platform/sys/threads.h"
#include "sound/sound_device.h"

class YOggReader;

class YSoundStream : public YSoundResource {
public:
    // A ring of `bufferSize` bytes (65536 for music). Joins the stream list and starts the refill
    // thread.
    explicit YSoundStream(uint32_t bufferSize);
    // Ends the refill thread (no refill runs after this begins), then drops the file and the ring.
    ~YSoundStream() override;

    // Stops and closes the file open so far, then opens `path` from its start; with the device
    // ready (SoundDeviceReady) the ring is made (or remade, when the file's format differs from
    // the ring's) and filled. Throws YSoundError with the reader's or the device's message; the
    // stream is then left without a file.
    void Open(const char* path);

    // With a file, no ring and the device ready: makes the ring in the file's format with two
    // notification points (the middle and the last byte), fills it, and resumes play when the
    // stream was playing before the device went away. Throws "DS8::CreateSoundBuffer error".
    void Create() override;
    void Release() override;

    // Starts the ring (it always runs looping); `loop` rewinds the file at its end instead of
    // ending the stream.
    void Play(bool loop);
    void Stop();
    bool IsPlaying();

    // Own volume of the stream, clamped to 0..1, times the music volume.
    void SetChannelVolume(float volume);
    float GetChannelVolume();
    void ApplyVolume();

    // Fills the part of the ring the cursor has played since the last refill with the next
    // decoded bytes, and stops the stream once a file that ended has been played out. Failures
    // are logged as "SoundStream error: %s".
    virtual void Refill();

    // The ring, or nullptr (for tests).
    plat::DsBuffer* GetBuffer();

private:
    uint32_t Decode(uint8_t* out, uint32_t bytes, bool* ended, bool* rewound);
    bool EndPlayed(uint32_t play) const;

    std::shared_ptr<plat::DsBuffer> buffer_;
    std::shared_ptr<plat::DsNotify> notify_;
    plat::WaveFormatEx bufferFormat_; // the format the ring was made in
    const uint32_t bufferSize_;
    uint32_t write_ = 0;     // next byte of the ring to fill
    int64_t end_ = -1;       // ring position of the first byte after the file's end; -1 while data remain
    bool ringFresh_ = false; // nothing of the ring has been played since it was filled whole
    float channelVolume_ = 1.0f;
    std::unique_ptr<YOggReader> reader_;
    bool atFileStart_ = false;   // nothing decoded since the file was opened or rewound
    bool silenceLogged_ = false; // the file was found to decode to nothing
    bool loop_ = false;
    bool playing_ = false;

    plat::YRecursiveLock lock_;
    plat::YEvent event_;   // set by the ring at its notification points
    plat::YThread thread_; // the refill thread
};
