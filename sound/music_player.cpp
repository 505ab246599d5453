#include "sound/music_player.h"

#include <exception>
#include <mutex>
#include <utility>

#include "core/file_list.h"
#include "core/log.h"
#include "platform/sys/clock.h"
#include "platform/sys/crt_rand.h"
#include "sound/sound_device.h"

namespace {

using Guard = std::lock_guard<plat::YRecursiveLock>;

constexpr unsigned UPDATE_PERIOD_MS = 100;
constexpr float MIN_UPDATE_SECONDS = 0.05f; // a pass sooner than this after the last one does nothing
constexpr size_t TRACK_RESERVE = 10;

} // namespace

YMusicPlayer::YMusicPlayer(bool runThread) {
    tracks_.reserve(TRACK_RESERVE);
    for (auto& channel : channels_) channel = std::make_unique<YSoundStream>(CHANNEL_BUFFER_BYTES);
    Guard guard(lock_);
    plat::CrtSrand(plat::TimeMs());
    for (auto& channel : channels_) channel->SetChannelVolume(0.0f);
    fadeTimers_ = {0.0f, 0.0f};
    if (runThread) {
        thread_.Start([this](const std::atomic<bool>& stop) {
            while (!stop.load()) {
                wake_.WaitFor(UPDATE_PERIOD_MS);
                if (stop.load()) break;
                Update();
            }
        });
    }
}

YMusicPlayer::~YMusicPlayer() {
    {
        Guard guard(lock_);
        for (auto& channel : channels_) channel->SetChannelVolume(0.0f);
    }
    // Joined without the lock held: the thread may be waiting for it.
    thread_.Stop([this] { wake_.Set(); });
}

void YMusicPlayer::AddTrack(const char* path) {
    Guard guard(lock_);
    tracks_.emplace_back(path ? path : "");
    Shuffle();
}

void YMusicPlayer::AddFolder(const char* folder) {
    Guard guard(lock_);
    const std::string dir = folder ? folder : "";
    std::vector<std::string> names;
    ListFiles(names, (dir + "\\*.ogg").c_str(), false);
    if (names.empty()) LogPrintf(g_Log, "No music tracks in folder %s", dir.c_str());
    for (const std::string& name : names) AddTrack((dir + "\\" + name).c_str());
    Shuffle();
}

void YMusicPlayer::Shuffle() {
    Guard guard(lock_);
    if (tracks_.size() <= 2) return;
    playlist_.clear();
    for (uint32_t i = 2; i < tracks_.size(); ++i) playlist_.push_back(i);
    const size_t size = playlist_.size();
    if (size <= 2) return;
    // Positions are drawn modulo size - 1, so the last entry stays where it is.
    for (size_t n = 0; n < size; ++n) {
        const size_t a = static_cast<size_t>(plat::CrtRand()) % (size - 1);
        const size_t b = static_cast<size_t>(plat::CrtRand()) % (size - 1);
        std::swap(playlist_[a], playlist_[b]);
    }
}

void YMusicPlayer::PlayTrack(int track, float fadeSeconds) {
    Guard guard(lock_);
    if (track == currentTrack_) return;
    fadeTime_ = fadeSeconds;
    requestedTrack_ = track;
}

void YMusicPlayer::PlayNext(float fadeSeconds) {
    Guard guard(lock_);
    if (requestedTrack_ != -1) return;
    ++playlistPosition_;
    if (playlistPosition_ >= playlist_.size()) {
        Shuffle();
        playlistPosition_ = 0;
    }
    fadeTime_ = fadeSeconds;
    // Only once a track has been started before; with an empty playlist there is nothing to ask.
    if (requestedTrack_ != currentTrack_ && playlistPosition_ < playlist_.size())
        requestedTrack_ = static_cast<int>(playlist_[playlistPosition_]);
}

void YMusicPlayer::FadeOutAll() {
    Guard guard(lock_);
    fadeTimers_ = {1.0f, 1.0f};
}

void YMusicPlayer::Update() {
    Guard guard(lock_);
    if (!SoundAppActive() || !SoundDeviceReady()) {
        // Time stands still while idle: the first pass afterwards counts as a first pass.
        haveLastUpdate_ = false;
        return;
    }
    try {
        const uint32_t now = plat::TimeMs();
        float dt = MIN_UPDATE_SECONDS;
        if (haveLastUpdate_) {
            dt = static_cast<float>(now - lastUpdate_) * 0.001f;
            if (dt < MIN_UPDATE_SECONDS) return;
        }
        lastUpdate_ = now;
        haveLastUpdate_ = true;

        Fade(0, dt);
        Fade(1, dt);

        if (tracks_.empty()) return;
        if (requestedTrack_ != -1) {
            StartRequested();
        } else if (timeLeft_ >= 0.0f) {
            timeLeft_ -= dt;
        } else if (autoAdvance_ && currentTrack_ >= 2) {
            PlayNext(2.0f);
        }
    } catch (const std::exception& e) {
        LogPrintf(g_Log, "DirectSound error: %s", e.what());
    }
}

// Fade timer > 0: fading out (counts down to a stop); < 0: fading in (counts up); 0: steady.
void YMusicPlayer::Fade(int channel, float dt) {
    float& t = fadeTimers_[static_cast<size_t>(channel)];
    if (t == 0.0f) return;
    YSoundStream& stream = *channels_[static_cast<size_t>(channel)];
    if (!stream.IsPlaying()) {
        t = 0.0f;
        return;
    }
    const bool fadingOut = t > 0.0f;
    float volume;
    if (!(fadeTime_ > 0.0f)) {
        // No fade time: the change is immediate.
        t = 0.0f;
        if (fadingOut) stream.Stop();
        volume = fadingOut ? 0.0f : 1.0f;
    } else if (fadingOut) {
        t -= dt;
        if (t <= 0.0f) {
            t = 0.0f;
            stream.Stop();
        }
        volume = t / fadeTime_;
    } else {
        t += dt;
        if (t >= 0.0f) t = 0.0f;
        volume = t / fadeTime_ + 1.0f;
    }
    // A fade time that changed mid-fade, or FadeOutAll after a short fade, can leave 0..1: the
    // channel clamps it.
    stream.SetChannelVolume(volume);
}

void YMusicPlayer::StartRequested() {
    const int track = requestedTrack_;
    // Cleared before the attempt, so that a track that cannot start is reported once, not on every
    // pass.
    requestedTrack_ = -1;
    if (track == currentTrack_) return;
    if (track < 0 || static_cast<size_t>(track) >= tracks_.size()) {
        LogPrintf(g_Log, "Music track %d does not exist.", track);
        return;
    }

    // The play time is drawn before the attempt: when a playlist track cannot start, the one
    // playing goes on for another play time, instead of the next pass trying the next track at
    // once (and, with a broken track in the list, again on every other pass for good).
    const int r = plat::CrtRand() % 32767;
    timeLeft_ = trackLength_ + lengthSpread_ * (static_cast<float>(r) * 2.0f / 32767.0f - 1.0f);

    const int idle = channels_[0]->IsPlaying() ? 1 : 0;
    const int other = 1 - idle;
    YSoundStream& stream = *channels_[static_cast<size_t>(idle)];
    stream.Open(tracks_[static_cast<size_t>(track)].c_str());
    // Fading in from silence.
    const bool fade = fadeTime_ > 0.0f;
    stream.SetChannelVolume(fade ? 0.0f : 1.0f);
    stream.Play(true);
    fadeTimers_[static_cast<size_t>(idle)] = fade ? -fadeTime_ : 0.0f;
    YSoundStream& old = *channels_[static_cast<size_t>(other)];
    if (old.IsPlaying()) {
        if (fade) {
            fadeTimers_[static_cast<size_t>(other)] = fadeTime_;
        } else {
            fadeTimers_[static_cast<size_t>(other)] = 0.0f;
            old.Stop();
            old.SetChannelVolume(0.0f);
        }
    }
    currentTrack_ = track;
}

std::vector<std::string> YMusicPlayer::Tracks() {
    Guard guard(lock_);
    return tracks_;
}

std::vector<uint32_t> YMusicPlayer::Playlist() {
    Guard guard(lock_);
    return playlist_;
}

int YMusicPlayer::RequestedTrack() {
    Guard guard(lock_);
    return requestedTrack_;
}

int YMusicPlayer::CurrentTrack() {
    Guard guard(lock_);
    return currentTrack_;
}

float YMusicPlayer::FadeTime() {
    Guard guard(lock_);
    return fadeTime_;
}

float YMusicPlayer::TimeLeft() {
    Guard guard(lock_);
    return timeLeft_;
}
