#include "sound/sound_stream.h"

#include <cstring>
#include <exception>
#include <mutex>

#include "core/log.h"
#include "core/volume.h"
#include "sound/ogg_reader.h"
#include "sound/sound_error.h"

namespace {

using Guard = std::lock_guard<plat::YRecursiveLock>;

bool SameFormat(const plat::WaveFormatEx& a, const plat::WaveFormatEx& b) {
    return a.formatTag == b.formatTag && a.channels == b.channels && a.samplesPerSec == b.samplesPerSec &&
           a.bitsPerSample == b.bitsPerSample && a.blockAlign == b.blockAlign;
}

} // namespace

YSoundStream::YSoundStream(uint32_t bufferSize) : bufferSize_(bufferSize) {
    RegisterSoundStream(this);
    thread_.Start([this](const std::atomic<bool>& stop) {
        while (!stop.load()) {
            event_.Wait();
            if (stop.load()) break;
            Refill();
        }
    });
}

YSoundStream::~YSoundStream() {
    // The thread is woken and joined without the lock held: it may be waiting for the lock.
    thread_.Stop([this] { event_.Set(); });
    Guard guard(lock_);
    UnregisterSoundStream(this);
    if (buffer_) {
        // The ring must not signal the event once the event is gone.
        buffer_->Stop();
        if (notify_) notify_->SetNotificationPositions(0, nullptr);
    }
    reader_.reset();
    Release();
}

void YSoundStream::Open(const char* path) {
    Guard guard(lock_);
    if (reader_) {
        Stop();
        reader_.reset();
    }
    write_ = 0;
    end_ = -1;
    ringFresh_ = false;
    if (buffer_ && plat::DsFailed(buffer_->SetCurrentPosition(0))) throw YSoundError("DSB8::SetCurrentPosition error");

    auto reader = std::make_unique<YOggReader>();
    reader->Open(path ? path : "");
    reader_ = std::move(reader);
    atFileStart_ = true;
    silenceLogged_ = false;
    ringFresh_ = true;

    if (!SoundDeviceReady()) return;
    if (!buffer_) {
        Create();
    } else if (!SameFormat(bufferFormat_, reader_->Format())) {
        // The ring plays in the format it was made in: a file in another one needs a new ring.
        Release();
        Create();
    } else {
        Refill();
    }
}

void YSoundStream::Create() {
    Guard guard(lock_);
    if (!reader_ || buffer_) return;
    // Readiness, not just the device: the device is released only after every object's Release,
    // and the music thread may open a track in between. Checked under this stream's lock, which
    // ReleaseDirectSound takes after clearing readiness, so a ring is never made on a device
    // that is going away (it would be kept, and played, after the device was re-made).
    if (!SoundDeviceReady()) return;
    std::shared_ptr<plat::DsDevice> device = GetSoundDevice();
    if (!device) return;

    const plat::WaveFormatEx format = reader_->Format();
    plat::DsBufferDesc desc;
    desc.size = plat::DSBUFFERDESC_SIZE;
    desc.flags = plat::DSBCAPS_GETCURRENTPOSITION2 | plat::DSBCAPS_LOCDEFER | plat::DSBCAPS_CTRLPOSITIONNOTIFY |
                 plat::DSBCAPS_CTRLVOLUME;
    desc.bufferBytes = bufferSize_;
    desc.format = &format;
    std::shared_ptr<plat::DsBuffer> buffer;
    if (plat::DsFailed(device->CreateSoundBuffer(desc, &buffer)) || !buffer)
        throw YSoundError("DS8::CreateSoundBuffer error");

    // A ring that cannot tell when to refill would loop its first fill for ever: not kept.
    std::shared_ptr<plat::DsNotify> notify;
    const plat::DsNotifyPosition positions[2] = {{bufferSize_ / 2, &event_}, {bufferSize_ - 1, &event_}};
    if (plat::DsFailed(buffer->QueryInterface(&notify)) || !notify ||
        plat::DsFailed(notify->SetNotificationPositions(2, positions)))
        throw YSoundError("DSB8::SetNotificationPositions error");

    buffer_ = std::move(buffer);
    notify_ = std::move(notify);
    bufferFormat_ = format;
    write_ = 0;
    end_ = -1;
    ringFresh_ = true;
    ApplyVolume();
    Refill();
    // The stream played before the device went away: it goes on from where its file is.
    if (playing_) Play(loop_);
}

void YSoundStream::Release() {
    Guard guard(lock_);
    notify_.reset();
    buffer_.reset();
}

void YSoundStream::Play(bool loop) {
    Guard guard(lock_);
    if (!buffer_) return;
    if (plat::DsSucceeded(buffer_->Play(0, 0, plat::DSBPLAY_LOOPING))) {
        playing_ = true;
        loop_ = loop;
    }
}

void YSoundStream::Stop() {
    Guard guard(lock_);
    if (!buffer_) return;
    if (plat::DsSucceeded(buffer_->Stop())) playing_ = false;
}

bool YSoundStream::IsPlaying() {
    Guard guard(lock_);
    return playing_;
}

void YSoundStream::SetChannelVolume(float volume) {
    Guard guard(lock_);
    channelVolume_ = ClampVolume(volume);
    ApplyVolume();
}

float YSoundStream::GetChannelVolume() {
    Guard guard(lock_);
    return channelVolume_;
}

void YSoundStream::ApplyVolume() {
    Guard guard(lock_);
    if (buffer_) buffer_->SetVolume(SoundVolumeMb(GetMusicVolume(), channelVolume_));
}

plat::DsBuffer* YSoundStream::GetBuffer() {
    Guard guard(lock_);
    return buffer_.get();
}

// Whether the last byte of the file has been played: it lies in the part of the ring the cursor
// passed since the last refill, which runs from the write position up to the cursor.
bool YSoundStream::EndPlayed(uint32_t play) const {
    const uint32_t last = static_cast<uint32_t>((end_ + bufferSize_ - 1) % bufferSize_);
    const uint32_t played = (play + bufferSize_ - write_) % bufferSize_;
    return (last + bufferSize_ - write_) % bufferSize_ < played;
}

// Decodes into `out`; at the end of the file a looping stream rewinds and goes on. `ended` is set
// when the region could not be filled: the file ended without loop, the decoder failed, or a rewind
// brought nothing (`rewound` tracks that within one refill, so a file that decodes to nothing can
// never spin here).
uint32_t YSoundStream::Decode(uint8_t* out, uint32_t bytes, bool* ended, bool* rewound) {
    uint32_t done = 0;
    while (done < bytes) {
        uint32_t got = 0;
        try {
            got = reader_->Read(out + done, bytes - done);
        } catch (const std::exception& e) {
            LogPrintf(g_Log, "SoundStream error: %s", e.what());
        }
        done += got;
        if (got > 0) {
            *rewound = false;
            atFileStart_ = false;
        } else if (atFileStart_ && !silenceLogged_) {
            // The file opened but holds no sound it can decode: say so once, or the music would
            // just stay silent.
            LogPrintf(g_Log, "SoundStream error: no sound decoded from %s", reader_->Path().c_str());
            silenceLogged_ = true;
        }
        if (done == bytes) break;
        if (!loop_ || *rewound) {
            *ended = true;
            break;
        }
        try {
            reader_->Rewind();
        } catch (const std::exception& e) {
            LogPrintf(g_Log, "SoundStream error: %s", e.what());
            *ended = true;
            break;
        }
        *rewound = true;
        atFileStart_ = true;
    }
    return done;
}

void YSoundStream::Refill() {
    Guard guard(lock_);
    if (!reader_ || !buffer_ || bufferSize_ == 0) return;
    try {
        uint32_t play = 0;
        if (plat::DsFailed(buffer_->GetCurrentPosition(&play, nullptr)))
            throw YSoundError("DSB8::GetCurrentPosition error");
        play %= bufferSize_;
        // Nothing played since the last refill (a notification that was already served): a
        // whole-ring refill now would overwrite bytes not yet heard.
        if (play == write_ && !ringFresh_) return;
        const uint32_t amount = write_ < play ? play - write_ : bufferSize_ - write_ + play;

        if (end_ >= 0 && EndPlayed(play)) Stop();

        void* audio1 = nullptr;
        void* audio2 = nullptr;
        uint32_t bytes1 = 0;
        uint32_t bytes2 = 0;
        plat::DsResult r = buffer_->Lock(write_, amount, &audio1, &bytes1, &audio2, &bytes2, 0);
        if (r == plat::DSERR_BUFFERLOST) {
            buffer_->Restore();
            r = buffer_->Lock(write_, amount, &audio1, &bytes1, &audio2, &bytes2, 0);
        }
        if (plat::DsFailed(r)) throw YSoundError("DS8::Lock error");

        auto* region1 = static_cast<uint8_t*>(audio1);
        auto* region2 = static_cast<uint8_t*>(audio2);
        bool ended = end_ >= 0 && !loop_; // a played-out file only pads with silence
        bool rewound = false;
        uint32_t filled1 = 0;
        uint32_t filled2 = 0;
        if (!ended && region1) filled1 = Decode(region1, bytes1, &ended, &rewound);
        if (!ended && region2) filled2 = Decode(region2, bytes2, &ended, &rewound);
        const uint32_t decoded = filled1 + filled2;
        if (region1) std::memset(region1 + filled1, 0, bytes1 - filled1);
        if (region2) std::memset(region2 + filled2, 0, bytes2 - filled2);
        if (ended && end_ < 0) end_ = (write_ + decoded) % bufferSize_;

        if (plat::DsFailed(buffer_->Unlock(audio1, bytes1, audio2, bytes2))) throw YSoundError("DS8::Unlock error");
        write_ = (write_ + amount) % bufferSize_;
        ringFresh_ = false;
    } catch (const std::exception& e) {
        LogPrintf(g_Log, "SoundStream error: %s", e.what());
    }
}
