// Streams on the null device's virtual clock: the refill thread keeps the ring ahead of the cursor,
// and the bytes the ring played are compared with the file decoded whole.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/audio/buffer_rules.h"
#include "sound/ogg_reader.h"
#include "sound/sound_device.h"
#include "sound/sound_error.h"
#include "sound/sound_stream.h"
#include "sound_test_support.h"

namespace {

using namespace soundtest;

constexpr uint32_t kRing = 65536;

class SoundStream : public SoundTest {
protected:
    void SetUp() override {
        SoundTest::SetUp();
        if (!OggEncoderAvailable()) GTEST_SKIP() << "libvorbisenc.so.2 not available";
        InitDirectSound(nullptr);
    }

    // The whole file, decoded in one go.
    static std::vector<uint8_t> Decode(const char* path) {
        YOggReader reader;
        reader.Open(path);
        std::vector<uint8_t> bytes(static_cast<size_t>(reader.Length()));
        bytes.resize(reader.Read(bytes.data(), static_cast<uint32_t>(bytes.size())));
        return bytes;
    }

    static std::shared_ptr<plat::NullSoundBuffer> Ring(plat::NullAudio& audio, YSoundStream& stream) {
        plat::NullSoundBuffer* ring = plat::NullAudio::Of(stream.GetBuffer());
        return ring ? audio.Buffer(ring->Id()) : nullptr;
    }

    // Moves the virtual clock on in steps of `stepMs` (far less than half the ring), and after a
    // step whose cursor passed a notification point waits for the refill it asked for. Stops
    // early once the stream has stopped itself.
    void Run(YSoundStream& stream, uint32_t totalMs, uint32_t stepMs = 20) {
        for (uint32_t t = 0; t < totalMs && stream.IsPlaying(); t += stepMs) {
            std::shared_ptr<plat::NullSoundBuffer> ring = Ring(audio, stream);
            ASSERT_NE(ring, nullptr);
            const uint32_t size = ring->Bytes();
            const uint64_t from = ring->PlayCursor();
            const uint64_t unlocks = ring->Unlocks();
            audio.AdvanceMs(stepMs);
            const uint64_t to = from + (ring->PlayCursor() + size - from) % size;
            if (plat::DsPassesOffset(from, to, size / 2, size) || plat::DsPassesOffset(from, to, size - 1, size)) {
                ASSERT_TRUE(ring->WaitForUnlocks(unlocks + 1, 20000)) << "no refill after a notification";
            }
        }
    }

    static bool AllZero(const std::vector<uint8_t>& bytes, size_t from) {
        return std::all_of(bytes.begin() + static_cast<long>(from), bytes.end(), [](uint8_t b) { return b == 0; });
    }
};

struct PlayThroughCase {
    const char* name;
    double seconds;
    int channels;
    int rate;
};

// A file that is not looped plays every byte once, then silence, and the stream stops itself
// within one more ring of silence. Files shorter and longer than the ring.
TEST_F(SoundStream, ATrackPlaysThroughOnceThenTheStreamStopsItself) {
    const PlayThroughCase cases[] = {
        {"shorter than the ring", 0.5, 1, 22050},
        {"several rings long", 3.0, 1, 22050},
        // Ends half-way into a refilled half of the ring: the end must not be cut off when the
        // cursor reaches the start of that half.
        {"ending inside a refilled half", 2.6, 1, 22050},
        {"stereo, several rings long", 1.5, 2, 44100},
    };
    for (const PlayThroughCase& c : cases) {
        Write("track.ogg", MakeOgg(c.seconds, c.channels, c.rate));
        const std::vector<uint8_t> track = Decode("track.ogg");
        // Where the cursor stands at each notification depends on the step of the clock.
        for (uint32_t step : {20u, 17u, 11u, 5u}) {
            SCOPED_TRACE(testing::Message() << c.name << ", steps of " << step << " ms");
            YSoundStream stream(kRing);
            stream.Open("track.ogg");
            stream.Play(false);
            Run(stream, static_cast<uint32_t>(c.seconds * 1000) + 2000, step);
            EXPECT_FALSE(stream.IsPlaying());
            std::shared_ptr<plat::NullSoundBuffer> ring = Ring(audio, stream);
            EXPECT_FALSE(ring->IsPlaying());

            const std::vector<uint8_t> played = ring->Played();
            ASSERT_GE(played.size(), track.size());
            EXPECT_TRUE(std::equal(track.begin(), track.end(), played.begin())) << "every byte once, in order";
            EXPECT_TRUE(AllZero(played, track.size()));
            EXPECT_LT(played.size() - track.size(), kRing + 2 * 3528u) << "stopped within a ring of silence";
        }
    }
}

TEST_F(SoundStream, ALoopingTrackRepeatsWithoutAGapOrARepeatedByte) {
    Write("loop.ogg", MakeOgg(1.6, 1, 22050));
    const std::vector<uint8_t> track = Decode("loop.ogg");
    ASSERT_GT(track.size(), kRing) << "a looping track shorter than the ring would end at its first fill";
    YSoundStream stream(kRing);
    stream.Open("loop.ogg");
    stream.Play(true);
    Run(stream, 6000);
    EXPECT_TRUE(stream.IsPlaying());

    const std::vector<uint8_t> played = Ring(audio, stream)->Played();
    ASSERT_GT(played.size(), 3 * track.size());
    size_t mismatch = played.size();
    for (size_t i = 0; i < played.size(); ++i) {
        if (played[i] != track[i % track.size()]) {
            mismatch = i;
            break;
        }
    }
    EXPECT_EQ(mismatch, played.size()) << "first difference at lap " << mismatch / track.size() << ", byte "
                                       << mismatch % track.size();
}

TEST_F(SoundStream, OpenWhilePlayingStopsAndTheNextPlayStartsTheNewFile) {
    Write("a.ogg", MakeOgg(2.0, 1, 22050, 1));
    Write("b.ogg", MakeOgg(2.0, 1, 22050, 2));
    const std::vector<uint8_t> b = Decode("b.ogg");
    YSoundStream stream(kRing);
    stream.Open("a.ogg");
    stream.Play(true);
    Run(stream, 500);
    std::shared_ptr<plat::NullSoundBuffer> ring = Ring(audio, stream);

    stream.Open("b.ogg");
    EXPECT_FALSE(stream.IsPlaying());
    EXPECT_FALSE(ring->IsPlaying());
    EXPECT_EQ(Ring(audio, stream), ring) << "same format, same ring";

    ring->ClearPlayed();
    stream.Play(false);
    Run(stream, 1000);
    const std::vector<uint8_t> played = ring->Played();
    ASSERT_GE(played.size(), 40000u);
    EXPECT_TRUE(std::equal(played.begin(), played.end(), b.begin()));
}

struct FormatCase {
    const char* name;
    int channels;
    int rate;
};

// The ring is made in the first file's format; a file in another format gets a new ring, so it
// is not played at the wrong speed or with its channels mixed up.
TEST_F(SoundStream, AFileInAnotherFormatGetsARingInItsFormat) {
    const FormatCase cases[] = {
        {"stereo 44100", 2, 44100},
        {"mono 44100", 1, 44100},
        {"mono 22050 again", 1, 22050},
    };
    Write("first.ogg", MakeOgg(1.0, 1, 22050));
    YSoundStream stream(kRing);
    stream.Open("first.ogg");
    stream.Play(true);
    Run(stream, 300);
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = std::string("f") + std::to_string(c.channels) + "_" + std::to_string(c.rate) + ".ogg";
        Write(file, MakeOgg(1.5, c.channels, c.rate));
        const std::vector<uint8_t> track = Decode(file.c_str());
        stream.Open(file.c_str());
        std::shared_ptr<plat::NullSoundBuffer> ring = Ring(audio, stream);
        ASSERT_NE(ring, nullptr);
        EXPECT_EQ(ring->Format().channels, c.channels);
        EXPECT_EQ(ring->Format().samplesPerSec, static_cast<uint32_t>(c.rate));
        EXPECT_EQ(ring->Flags(), STREAM_FLAGS);
        ring->ClearPlayed();
        stream.Play(true);
        Run(stream, 600);
        const std::vector<uint8_t> played = ring->Played();
        ASSERT_EQ(played.size(), static_cast<size_t>(c.rate) * c.channels * 2 * 600 / 1000);
        EXPECT_TRUE(std::equal(played.begin(), played.end(), track.begin()));
    }
}

TEST_F(SoundStream, DestructionWhileTheRefillThreadIsBusyCompletes) {
    Write("track.ogg", MakeOgg(2.0, 2, 44100));
    for (int i = 0; i < 20; ++i) {
        auto stream = std::make_unique<YSoundStream>(kRing);
        stream->Open("track.ogg");
        stream->Play(true);
        // Several notifications at once: the thread is woken and refills while the stream goes.
        audio.AdvanceMs(150 + 10 * static_cast<uint32_t>(i));
        stream.reset();
    }
    // A stream that never opened a file ends as well.
    YSoundStream idle(kRing);
}

// Opens a track on a stream from its Release, which ReleaseDirectSound calls after the stream's
// own: the music thread starting a track while the main thread takes the device down.
class OpenDuringRelease : public YSoundResource {
public:
    OpenDuringRelease(YSoundStream& stream, const char* path) : stream_(stream), path_(path) {}
    void Create() override {}
    void Release() override { stream_.Open(path_); }

private:
    YSoundStream& stream_;
    const char* path_;
};

TEST_F(SoundStream, ATrackOpenedWhileTheDeviceGoesGetsItsRingFromTheNextDevice) {
    Write("a.ogg", MakeOgg(1.0, 1, 22050, 1));
    Write("b.ogg", MakeOgg(1.0, 2, 44100, 2));
    YSoundStream stream(kRing);
    OpenDuringRelease music(stream, "b.ogg");
    stream.Open("a.ogg");
    stream.Play(true);
    ASSERT_NE(stream.GetBuffer(), nullptr);

    ReleaseDirectSound();
    EXPECT_EQ(stream.GetBuffer(), nullptr) << "a ring on the device being released";

    InitDirectSound(nullptr);
    std::shared_ptr<plat::NullSoundBuffer> ring = Ring(audio, stream);
    ASSERT_NE(ring, nullptr);
    EXPECT_EQ(ring->Format().channels, 2) << "the ring is made for the track opened meanwhile";
    ring->ClearPlayed();
    stream.Play(true);
    Run(stream, 300);
    const std::vector<uint8_t> b = Decode("b.ogg");
    const std::vector<uint8_t> played = ring->Played();
    ASSERT_FALSE(played.empty());
    EXPECT_TRUE(std::equal(played.begin(), played.end(), b.begin()));
}

TEST_F(SoundStream, AMissingFileThrowsAndLeavesTheStreamSilent) {
    YSoundStream stream(kRing);
    EXPECT_THROW(stream.Open("missing.ogg"), YSoundError);
    stream.Play(true);
    stream.Refill();
    EXPECT_FALSE(stream.IsPlaying());
    EXPECT_EQ(stream.GetBuffer(), nullptr);
}

// A damaged page in the middle of a looping track is skipped: every lap plays the file as the
// reader decodes it (the music goes on past the damage instead of starting over), and the damage
// is logged once, not once per lap.
TEST_F(SoundStream, ADamagedPageIsSkippedAndLoggedOnce) {
    // Past the headers (a few kB), in the audio pages.
    const std::string good = MakeOgg(6.0, 1, 22050);
    std::string damaged = good;
    const size_t at = good.size() * 2 / 3;
    for (size_t i = at; i < at + 64; ++i) damaged[i] = static_cast<char>(damaged[i] ^ 0x33);
    Write("damaged.ogg", damaged);
    Write("good.ogg", good);
    const std::vector<uint8_t> whole = Decode("damaged.ogg");
    const std::vector<uint8_t> intact = Decode("good.ogg");
    ASSERT_LT(whole.size(), intact.size()) << "the damage takes a piece out";
    // A piece from near the end, after the damage, is the intact file's sound.
    const auto piece = whole.end() - 20000;
    ASSERT_NE(std::search(intact.begin(), intact.end(), piece, piece + 2000), intact.end())
        << "what follows the damage is decoded";

    log.Clear();
    YSoundStream stream(kRing);
    stream.Open("damaged.ogg");
    stream.Play(true);
    Run(stream, 14000);
    EXPECT_TRUE(stream.IsPlaying());
    const std::vector<uint8_t> played = Ring(audio, stream)->Played();
    ASSERT_GT(played.size(), 2 * whole.size());
    size_t mismatch = played.size();
    for (size_t i = 0; i < played.size(); ++i) {
        if (played[i] != whole[i % whole.size()]) {
            mismatch = i;
            break;
        }
    }
    EXPECT_EQ(mismatch, played.size()) << "first difference at lap " << mismatch / whole.size() << ", byte "
                                       << mismatch % whole.size();
    EXPECT_EQ(log.Count("Ogg stream damaged.ogg: damaged data skipped"), 1);
    EXPECT_EQ(log.CountPrefix("SoundStream error: "), 0);
}

// Cut or damaged files: a few log lines at most, the looping stream goes on or stops, and
// nothing hangs.
TEST_F(SoundStream, CutAndDamagedFilesNeitherHangNorFloodTheLog) {
    const std::string good = MakeOgg(2.0, 1, 22050);
    std::string damaged = good;
    for (size_t i = good.size() / 2; i < good.size() / 2 + 300; ++i) damaged[i] = static_cast<char>(damaged[i] ^ 0x33);
    Write("half.ogg", good.substr(0, good.size() / 2));
    Write("damaged.ogg", damaged);
    for (const char* file : {"half.ogg", "damaged.ogg"}) {
        for (bool loop : {true, false}) {
            SCOPED_TRACE(std::string(file) + (loop ? " looping" : " once"));
            log.Clear();
            YSoundStream stream(kRing);
            try {
                stream.Open(file);
            } catch (const YSoundError&) {
                continue; // refused at open: fine
            }
            stream.Play(loop);
            Run(stream, 10000);
            EXPECT_LE(log.CountPrefix("SoundStream error: "), 10);
        }
    }
}

} // namespace
