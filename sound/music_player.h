#pragma once
// The music player: the Ogg tracks of a folder played through two streams, so that a new track
// fades in on one channel while the old one fades out on the other. Tracks 0 and 1 (the first two
// files of the folder in name order) are the menu and game-over tracks; the rest form a shuffled
// playlist that moves on by itself after 420 +- 30 s of a track.
//
// Threads: the public operations only post requests under the player's lock; the update thread
// (every 100 ms) carries them out. The player's lock is always taken before a stream's lock.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/sys/threads.h"
#include "sound/sound_stream.h"

class YMusicPlayer {
public:
    static constexpr uint32_t CHANNEL_BUFFER_BYTES = 65536;

    // Seeds the calling thread's random generator with the millisecond clock, silences both
    // channels and, when `runThread` is set, starts the update thread. Without it the owner calls
    // Update itself (tests drive the player with their own clock that way).
    explicit YMusicPlayer(bool runThread = true);
    // Silences both channels, ends the update thread, then closes the channels.
    virtual ~YMusicPlayer();
    YMusicPlayer(const YMusicPlayer&) = delete;
    YMusicPlayer& operator=(const YMusicPlayer&) = delete;

    void AddTrack(const char* path);
    // Adds every "*.ogg" file of the folder in name order as a track (folder + "\" + name), then
    // reshuffles. A folder without any adds nothing and says so in the log.
    void AddFolder(const char* folder);
    // The playlist := tracks 2 .. n-1, swapped around as many times as it has entries (its last
    // entry never moves). Needs more than two tracks.
    void Shuffle();

    // Requests the track with a cross-fade of that many seconds, unless it is the current track.
    void PlayTrack(int track, float fadeSeconds);
    // When nothing is requested: the next playlist track (reshuffled at the end of the list), once
    // a track has been started before.
    void PlayNext(float fadeSeconds);
    // Both channels fade out and stop within a second.
    void FadeOutAll();

    // One pass of the update thread: fades, starts a requested track, advances the playlist. Does
    // nothing while the application is inactive or there is no device, and on a call less than
    // 50 ms after the last pass.
    virtual void Update();

    // State, for tests and diagnostics.
    std::vector<std::string> Tracks();
    std::vector<uint32_t> Playlist();
    int RequestedTrack();
    int CurrentTrack();
    float FadeTime();
    float TimeLeft();
    YSoundStream& Channel(int channel) { return *channels_[static_cast<size_t>(channel & 1)]; }

private:
    void Fade(int channel, float dt);
    void StartRequested();

    std::vector<std::string> tracks_;
    std::vector<uint32_t> playlist_;
    std::array<std::unique_ptr<YSoundStream>, 2> channels_;
    plat::YRecursiveLock lock_;
    float timeLeft_ = 0.0f;
    float trackLength_ = 420.0f;
    float lengthSpread_ = 30.0f;
    float fadeTime_ = 2.0f;
    std::array<float, 2> fadeTimers_{0.0f, 0.0f};
    bool autoAdvance_ = true;
    int requestedTrack_ = -1;
    int currentTrack_ = -1;
    uint32_t lastUpdate_ = 0;
    bool haveLastUpdate_ = false; // a pass ran since the player was last idle
    uint32_t playlistPosition_ = 0;

    plat::YEvent wake_; // ends the update thread's wait early when it is told to stop
    plat::YThread thread_;
};
