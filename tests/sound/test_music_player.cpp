// The music player, driven by calling Update with a clock the test moves (no update thread), and
// once with its thread, started and stopped many times.
#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/sys/clock.h"
#include "platform/sys/crt_rand.h"
#include "sound/music_player.h"
#include "sound/sound_device.h"
#include "sound_test_support.h"

namespace {

using namespace soundtest;

class MusicPlayer : public SoundTest {
protected:
    void SetUp() override {
        SoundTest::SetUp();
        if (!OggEncoderAvailable()) GTEST_SKIP() << "libvorbisenc.so.2 not available";
        InitDirectSound(nullptr);
    }

    // A folder of `count` playable tracks named t0.ogg, t1.ogg, ...
    void MakeTracks(const char* folder, int count) {
        dir.MakeDir(folder);
        for (int i = 0; i < count; ++i)
            Write(std::string(folder) + "/t" + std::to_string(i) + ".ogg",
                  MakeOgg(0.2, 1, 22050, static_cast<uint32_t>(i + 1)));
    }

    // Moves the clock on and runs one pass.
    void Step(YMusicPlayer& player, float seconds) {
        clock.Advance(static_cast<uint32_t>(seconds * 1000.0f + 0.5f));
        player.Update();
    }

    ManualClock clock;
};

struct ShuffleCase {
    int tracks;
    std::vector<uint32_t> exact; // the playlist when its order is fixed, else empty
};

TEST_F(MusicPlayer, ShuffleLeavesOutTheFirstTwoTracksAndNeverMovesTheLast) {
    const ShuffleCase cases[] = {
        {1, {}}, {2, {}}, {3, {2}}, {4, {2, 3}}, // two entries are never swapped
        {5, {}}, {6, {}}, {9, {}},
    };
    for (const ShuffleCase& c : cases) {
        std::set<uint32_t> firsts;
        for (unsigned seed = 1; seed <= 20; ++seed) {
            SCOPED_TRACE(testing::Message() << c.tracks << " tracks, seed " << seed);
            YMusicPlayer player(false);
            plat::CrtSrand(seed);
            for (int i = 0; i < c.tracks; ++i) player.AddTrack(("music\\t" + std::to_string(i) + ".ogg").c_str());
            const std::vector<uint32_t> list = player.Playlist();
            ASSERT_EQ(list.size(), static_cast<size_t>(std::max(0, c.tracks - 2)));
            if (c.tracks <= 4) {
                EXPECT_EQ(list, c.exact);
                continue;
            }
            std::vector<uint32_t> sorted = list;
            std::sort(sorted.begin(), sorted.end());
            for (size_t i = 0; i < sorted.size(); ++i) EXPECT_EQ(sorted[i], i + 2);
            EXPECT_EQ(list.back(), static_cast<uint32_t>(c.tracks - 1));
            firsts.insert(list.front());
        }
        if (c.tracks > 4) {
            EXPECT_GT(firsts.size(), 1u) << c.tracks << " tracks are shuffled at all";
        }
    }
}

TEST_F(MusicPlayer, FolderTracksAreTheOggFilesInNameOrder) {
    dir.MakeDir("music");
    for (const char* name : {"c.ogg", "A.ogg", "d.OGG", "b.ogg", "notes.txt"}) Write(std::string("music/") + name, "x");
    dir.MakeDir("music/sub.ogg");
    YMusicPlayer player(false);
    player.AddFolder("music");
    const std::vector<std::string> expected = {"music\\A.ogg", "music\\b.ogg", "music\\c.ogg", "music\\d.OGG"};
    EXPECT_EQ(player.Tracks(), expected);

    dir.MakeDir("empty");
    YMusicPlayer none(false);
    log.Clear();
    none.AddFolder("empty");
    none.AddFolder("no_such_folder");
    EXPECT_TRUE(none.Tracks().empty());
    EXPECT_EQ(log.Count("No music tracks in folder empty"), 1);
    EXPECT_EQ(log.Count("No music tracks in folder no_such_folder"), 1);
}

TEST_F(MusicPlayer, RequestsBeforeTheNextPassReplaceEachOtherAndTheCurrentTrackIsKept) {
    MakeTracks("music", 3);
    YMusicPlayer player(false);
    player.AddFolder("music");

    player.PlayTrack(0, 2.0f);
    player.PlayTrack(1, 0.5f);
    EXPECT_EQ(player.RequestedTrack(), 1);
    Step(player, 0.1f);
    EXPECT_EQ(player.CurrentTrack(), 1);
    EXPECT_EQ(player.RequestedTrack(), -1);
    EXPECT_EQ(player.FadeTime(), 0.5f);

    // The track already playing: nothing, not even the fade time, changes.
    player.PlayTrack(1, 3.0f);
    EXPECT_EQ(player.RequestedTrack(), -1);
    EXPECT_EQ(player.FadeTime(), 0.5f);
}

struct FadeRow {
    float seconds; // since the request
    float volume0;
    bool playing0;
    float volume1;
    bool playing1;
};

TEST_F(MusicPlayer, CrossFadeIsLinearOverTheFadeTime) {
    MakeTracks("music", 3);
    YMusicPlayer player(false);
    player.AddFolder("music");
    player.PlayTrack(0, 2.0f);
    player.Update(); // the first pass: track 0 starts on channel 0, fading in from silence

    const FadeRow fadeIn[] = {
        {0.5f, 0.25f, true, 0.0f, false}, {1.0f, 0.5f, true, 0.0f, false}, {1.5f, 0.75f, true, 0.0f, false},
        {2.0f, 1.0f, true, 0.0f, false},  {2.5f, 1.0f, true, 0.0f, false},
    };
    float at = 0.0f;
    for (const FadeRow& row : fadeIn) {
        SCOPED_TRACE(testing::Message() << "fade in, " << row.seconds << " s");
        Step(player, row.seconds - at);
        at = row.seconds;
        EXPECT_NEAR(player.Channel(0).GetChannelVolume(), row.volume0, 1e-4f);
        EXPECT_EQ(player.Channel(0).IsPlaying(), row.playing0);
        EXPECT_EQ(player.Channel(1).IsPlaying(), row.playing1);
    }

    player.PlayTrack(1, 2.0f);
    Step(player, 0.1f); // track 1 starts on the idle channel 1; channel 0 begins to fade out
    EXPECT_EQ(player.CurrentTrack(), 1);
    const FadeRow crossFade[] = {
        {0.5f, 0.75f, true, 0.25f, true}, {1.0f, 0.5f, true, 0.5f, true},  {1.5f, 0.25f, true, 0.75f, true},
        {2.0f, 0.0f, false, 1.0f, true},  {3.0f, 0.0f, false, 1.0f, true},
    };
    at = 0.0f;
    for (const FadeRow& row : crossFade) {
        SCOPED_TRACE(testing::Message() << "cross-fade, " << row.seconds << " s");
        Step(player, row.seconds - at);
        at = row.seconds;
        EXPECT_NEAR(player.Channel(0).GetChannelVolume(), row.volume0, 1e-4f);
        EXPECT_EQ(player.Channel(0).IsPlaying(), row.playing0);
        EXPECT_NEAR(player.Channel(1).GetChannelVolume(), row.volume1, 1e-4f);
        EXPECT_EQ(player.Channel(1).IsPlaying(), row.playing1);
    }
}

struct FadeOutCase {
    float fadeTime;
    float firstVolume; // 50 ms after FadeOutAll
};

TEST_F(MusicPlayer, FadeOutAllSilencesWithinASecondAndNeverGoesAboveFullVolume) {
    MakeTracks("music", 3);
    const FadeOutCase cases[] = {
        {2.0f, 0.475f}, // (1 - 0.05) / 2
        {0.1f, 1.0f},   // (1 - 0.05) / 0.1 would be 9.5
    };
    for (const FadeOutCase& c : cases) {
        SCOPED_TRACE(c.fadeTime);
        YMusicPlayer player(false);
        player.AddFolder("music");
        player.PlayTrack(0, c.fadeTime);
        player.Update();
        Step(player, 3.0f);
        ASSERT_EQ(player.Channel(0).GetChannelVolume(), 1.0f);

        player.FadeOutAll();
        Step(player, 0.05f);
        EXPECT_NEAR(player.Channel(0).GetChannelVolume(), c.firstVolume, 1e-4f);
        for (int i = 0; i < 10; ++i) {
            Step(player, 0.1f);
            EXPECT_LE(player.Channel(0).GetChannelVolume(), 1.0f);
        }
        EXPECT_FALSE(player.Channel(0).IsPlaying());
        EXPECT_EQ(player.Channel(0).GetChannelVolume(), 0.0f);
        EXPECT_EQ(plat::NullAudio::Of(player.Channel(0).GetBuffer())->Volume(), -5000);
    }
}

TEST_F(MusicPlayer, APassSoonerThan50msAfterTheLastDoesNothing) {
    MakeTracks("music", 3);
    YMusicPlayer player(false);
    player.AddFolder("music");
    player.PlayTrack(0, 2.0f);
    player.Update();
    player.PlayTrack(1, 2.0f);
    const float volume = player.Channel(0).GetChannelVolume();
    Step(player, 0.04f);
    EXPECT_EQ(player.CurrentTrack(), 0);
    EXPECT_EQ(player.RequestedTrack(), 1);
    EXPECT_EQ(player.Channel(0).GetChannelVolume(), volume);
    Step(player, 0.01f);
    EXPECT_EQ(player.CurrentTrack(), 1);
}

TEST_F(MusicPlayer, PlaylistTracksMoveOnAfterTheirDrawnTimeButMenuTracksStay) {
    MakeTracks("music", 5);
    YMusicPlayer player(false);
    player.AddFolder("music");
    player.PlayNext(2.0f);
    EXPECT_EQ(player.RequestedTrack(), -1) << "no track was started yet";

    player.PlayTrack(0, 0.5f);
    player.Update();
    Step(player, 1000.0f);
    EXPECT_EQ(player.CurrentTrack(), 0) << "the menu track plays until another is asked for";

    player.PlayNext(2.0f);
    const int first = player.RequestedTrack();
    EXPECT_GE(first, 2);
    Step(player, 0.1f);
    ASSERT_EQ(player.CurrentTrack(), first);
    EXPECT_GE(player.TimeLeft(), 390.0f);
    EXPECT_LE(player.TimeLeft(), 450.0f);

    float elapsed = 0.0f;
    while (player.CurrentTrack() == first && elapsed < 600.0f) {
        Step(player, 5.0f);
        elapsed += 5.0f;
    }
    EXPECT_NE(player.CurrentTrack(), first);
    EXPECT_GE(player.CurrentTrack(), 2);
    EXPECT_GE(elapsed, 390.0f);
    EXPECT_LE(elapsed, 460.0f);

    player.PlayTrack(1, 2.0f);
    Step(player, 0.1f);
    Step(player, 1000.0f);
    Step(player, 1000.0f);
    EXPECT_EQ(player.CurrentTrack(), 1) << "the game-over track plays until another is asked for";
}

TEST_F(MusicPlayer, WhileInactiveTimeStandsStill) {
    MakeTracks("music", 3);
    YMusicPlayer player(false);
    player.AddFolder("music");
    player.PlayTrack(0, 2.0f);
    player.Update();
    Step(player, 0.5f);
    EXPECT_NEAR(player.Channel(0).GetChannelVolume(), 0.25f, 1e-4f);

    SetSoundAppActive(false);
    Step(player, 60.0f);
    SetSoundAppActive(true);
    Step(player, 0.5f);
    // The first pass after the pause counts as a first pass (50 ms), not as the whole pause.
    EXPECT_NEAR(player.Channel(0).GetChannelVolume(), 0.275f, 1e-4f);
}

// A track that cannot start is reported once per request, not on every pass; the player goes on.
TEST_F(MusicPlayer, TracksThatCannotStartAreReportedOncePerRequest) {
    dir.MakeDir("bad");
    Write("bad/x0.ogg", "not an ogg file at all");
    Write("bad/x1.ogg", "");
    Write("bad/x2.ogg", "OggS but then nothing");
    YMusicPlayer player(false);
    player.AddFolder("bad");
    player.AddTrack("bad\\gone.ogg");

    const struct {
        int track;
        const char* line;
    } cases[] = {
        {0, "DirectSound error: Could not open Ogg stream. Not Vorbis data. bad\\x0.ogg"},
        {3, "DirectSound error: Could not open Ogg file. bad\\gone.ogg"},
        {7, "Music track 7 does not exist."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.track);
        log.Clear();
        player.PlayTrack(c.track, 2.0f);
        for (int i = 0; i < 50; ++i) Step(player, 0.1f);
        EXPECT_EQ(log.Count(c.line), 1);
        EXPECT_LE(log.Lines().size(), 2u) << "the error, and the file name of a file that was tried";
        EXPECT_EQ(player.RequestedTrack(), -1);
    }

    // No tracks at all: requests wait quietly.
    YMusicPlayer empty(false);
    log.Clear();
    empty.PlayTrack(0, 0.5f);
    for (int i = 0; i < 50; ++i) Step(empty, 0.1f);
    EXPECT_TRUE(log.Lines().empty());
}

// A broken track in the playlist: when the playing track's time is up and the next one cannot
// start, the playing one goes on for another play time before the next try, rather than the
// player trying the playlist round on every other pass.
TEST_F(MusicPlayer, APlaylistTrackThatCannotStartIsTriedAgainOnlyAfterAnotherPlayTime) {
    MakeTracks("music", 3);
    Write("music/t3.ogg", "not an ogg file at all");
    YMusicPlayer player(false);
    player.AddFolder("music");
    ASSERT_EQ(player.Playlist(), (std::vector<uint32_t>{2, 3}));
    player.PlayTrack(0, 0.5f);
    player.Update();
    for (int i = 0; i < 3 && player.CurrentTrack() != 2; ++i) {
        player.PlayNext(2.0f);
        Step(player, 0.1f);
    }
    ASSERT_EQ(player.CurrentTrack(), 2);

    log.Clear();
    for (int i = 0; i < 180; ++i) Step(player, 5.0f); // 900 s: at least two play times
    const int failures = log.CountPrefix("DirectSound error: ");
    EXPECT_GE(failures, 1) << "the broken track was tried";
    EXPECT_LE(failures, 3) << "at most one try per play time (390 s or more)";
    EXPECT_EQ(player.CurrentTrack(), 2);
    EXPECT_TRUE(player.Channel(0).IsPlaying() || player.Channel(1).IsPlaying());
}

TEST_F(MusicPlayer, NoDeviceMeansNoPasses) {
    MakeTracks("music", 3);
    ReleaseDirectSound();
    YMusicPlayer player(false);
    player.AddFolder("music");
    player.PlayTrack(0, 2.0f);
    Step(player, 0.1f);
    EXPECT_EQ(player.RequestedTrack(), 0);
    EXPECT_EQ(player.CurrentTrack(), -1);
}

// The update thread, started and stopped many times while it is busy with the streams.
TEST_F(MusicPlayer, TheUpdateThreadStartsAndStopsCleanly) {
    MakeTracks("music", 4);
    plat::SetTimeSource(nullptr); // the thread runs on the real clock
    for (int i = 0; i < 40; ++i) {
        auto player = std::make_unique<YMusicPlayer>();
        player->AddFolder("music");
        player->PlayTrack(i % 2, 0.5f);
        if (i < 5) {
            // Let it run a pass that starts the track.
            for (int wait = 0; wait < 500 && player->CurrentTrack() != i % 2; ++wait) plat::SleepMs(10);
            EXPECT_EQ(player->CurrentTrack(), i % 2);
            audio.AdvanceMs(300); // notifications: the refill threads run too
        }
        player.reset();
    }
}

} // namespace
