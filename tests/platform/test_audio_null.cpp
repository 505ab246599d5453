// The sound device interface through the null backend: the rules both backends share (volume to
// gain, descriptions, locks over the end of a ring, notification offsets) and the virtual clock.
#include <cstdint>
#include <cstring>
#include <limits>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/audio/buffer_rules.h"
#include "platform/audio/device.h"
#include "platform/audio/null/null_audio.h"
#include "platform/audio/volume.h"
#include "platform/sys/threads.h"

namespace {

using namespace plat;

// ---- Volume -------------------------------------------------------------------------------------

struct GainCase {
    int32_t volume;
    float gain;
};

TEST(AudioVolume, HundredthsOfDecibelToGain) {
    const GainCase cases[] = {
        {0, 1.0f},           {-600, 0.501187f},    {-2000, 0.1f},
        {-2500, 0.0562341f}, {-5000, 0.00316228f}, {-9999, 1.0011528e-5f},
        {-10000, 0.0f}, // the bottom of the range is silence
        {-25000, 0.0f}, // below it: clamped
        {500, 1.0f},    // above full level: clamped
        {INT32_MIN, 0.0f},   {INT32_MAX, 1.0f},
    };
    for (const GainCase& c : cases) {
        SCOPED_TRACE(c.volume);
        EXPECT_NEAR(DsVolumeToGain(c.volume), c.gain, c.gain * 1e-4f + 1e-9f);
    }
}

// ---- Buffer descriptions ------------------------------------------------------------------------

WaveFormatEx Pcm(uint16_t channels, uint32_t rate, uint16_t bits) {
    WaveFormatEx f;
    f.formatTag = WAVE_FORMAT_PCM;
    f.channels = channels;
    f.samplesPerSec = rate;
    f.bitsPerSample = bits;
    f.blockAlign = static_cast<uint16_t>(channels * bits / 8);
    f.avgBytesPerSec = rate * f.blockAlign;
    return f;
}

constexpr uint32_t kStaticFlags = DSBCAPS_CTRL3D | DSBCAPS_CTRLVOLUME | DSBCAPS_LOCDEFER;
constexpr uint32_t kStreamFlags =
    DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLPOSITIONNOTIFY | DSBCAPS_GETCURRENTPOSITION2 | DSBCAPS_LOCDEFER;
constexpr uint32_t kPrimaryFlags = DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRL3D;

struct DescCase {
    const char* what;
    uint32_t size;
    uint32_t flags;
    uint32_t bytes;
    bool withFormat;
    WaveFormatEx format;
    DsResult result;
    DsBufferKind kind;
};

TEST(AudioDesc, AcceptsWhatTheSoundCodeMakesAndRefusesTheRest) {
    WaveFormatEx mono16 = Pcm(1, 22050, 16);
    WaveFormatEx stereo16 = Pcm(2, 44100, 16);
    WaveFormatEx mono8 = Pcm(1, 11025, 8);
    WaveFormatEx floatFormat = mono16;
    floatFormat.formatTag = 3;
    WaveFormatEx bits24 = Pcm(1, 44100, 24);
    WaveFormatEx badAlign = stereo16;
    badAlign.blockAlign = 2;
    WaveFormatEx noRate = Pcm(1, 0, 16);
    WaveFormatEx sixChannels = Pcm(6, 44100, 16);

    const DescCase cases[] = {
        {"primary", 36, kPrimaryFlags, 0, false, {}, DS_OK, DsBufferKind::Primary},
        {"effect", 36, kStaticFlags, 4410, true, mono16, DS_OK, DsBufferKind::Static},
        {"8-bit effect", 36, kStaticFlags, 7, true, mono8, DS_OK, DsBufferKind::Static},
        {"odd-sized effect", 36, kStaticFlags, 4411, true, mono16, DS_OK, DsBufferKind::Static},
        {"stream", 36, kStreamFlags, 65536, true, stereo16, DS_OK, DsBufferKind::Ring},
        {"wrong size field", 20, kStaticFlags, 4410, true, mono16, DSERR_INVALIDPARAM, {}},
        {"primary with bytes", 36, kPrimaryFlags, 4096, false, {}, DSERR_INVALIDPARAM, {}},
        {"primary with format", 36, kPrimaryFlags, 0, true, mono16, DSERR_INVALIDPARAM, {}},
        {"no format", 36, kStaticFlags, 4410, false, {}, DSERR_INVALIDPARAM, {}},
        {"stereo 3D", 36, kStaticFlags, 4410, true, stereo16, DSERR_INVALIDPARAM, {}},
        {"not PCM", 36, kStaticFlags, 4410, true, floatFormat, DSERR_BADFORMAT, {}},
        {"24-bit", 36, kStaticFlags, 4410, true, bits24, DSERR_BADFORMAT, {}},
        {"six channels", 36, DSBCAPS_CTRLVOLUME, 4410, true, sixChannels, DSERR_BADFORMAT, {}},
        {"rate 0", 36, kStaticFlags, 4410, true, noRate, DSERR_BADFORMAT, {}},
        {"block align", 36, kStreamFlags, 65536, true, badAlign, DSERR_INVALIDPARAM, {}},
        {"too small", 36, kStaticFlags, 3, true, mono16, DSERR_INVALIDPARAM, {}},
        {"too large", 36, kStaticFlags, DSBSIZE_MAX + 1, true, mono16, DSERR_INVALIDPARAM, {}},
        {"ring of part frames", 36, kStreamFlags, 65538, true, stereo16, DSERR_INVALIDPARAM, {}},
    };
    for (const DescCase& c : cases) {
        SCOPED_TRACE(c.what);
        DsBufferDesc desc;
        desc.size = c.size;
        desc.flags = c.flags;
        desc.bufferBytes = c.bytes;
        desc.format = c.withFormat ? &c.format : nullptr;
        DsBufferKind kind = DsBufferKind::Static;
        EXPECT_EQ(DsCheckBufferDesc(desc, &kind), c.result);
        if (c.result == DS_OK) {
            EXPECT_EQ(kind, c.kind);
        }
    }
}

// ---- Locks and notification offsets -------------------------------------------------------------

struct LockCase {
    const char* what;
    uint32_t offset;
    uint32_t bytes;
    uint32_t flags;
    bool wantSecond;
    DsResult result;
    uint32_t start;
    uint32_t bytes1;
    uint32_t bytes2;
};

TEST(AudioLock, RangesWrapAtTheEndOfTheRing) {
    const uint32_t size = 16;
    const uint32_t writeCursor = 6;
    const LockCase cases[] = {
        {"whole ring", 0, 16, 0, true, DS_OK, 0, 16, 0},
        {"inside", 3, 5, 0, true, DS_OK, 3, 5, 0},
        {"up to the end", 12, 4, 0, true, DS_OK, 12, 4, 0},
        {"over the end", 12, 8, 0, true, DS_OK, 12, 4, 4},
        {"from the last byte, whole ring", 15, 16, 0, true, DS_OK, 15, 1, 15},
        {"no second region given", 12, 8, 0, false, DS_OK, 12, 4, 0},
        {"entire buffer ignores the range", 9, 1, DSBLOCK_ENTIREBUFFER, true, DS_OK, 0, 16, 0},
        {"from the write cursor", 0, 12, DSBLOCK_FROMWRITECURSOR, true, DS_OK, 6, 10, 2},
        {"offset past the end", 16, 1, 0, true, DSERR_INVALIDPARAM, 0, 0, 0},
        {"more than the ring", 0, 17, 0, true, DSERR_INVALIDPARAM, 0, 0, 0},
        {"nothing", 4, 0, 0, true, DSERR_INVALIDPARAM, 0, 0, 0},
    };
    for (const LockCase& c : cases) {
        SCOPED_TRACE(c.what);
        DsLockRange range;
        ASSERT_EQ(DsComputeLock(size, writeCursor, c.offset, c.bytes, c.flags, c.wantSecond, &range), c.result);
        if (c.result != DS_OK) continue;
        EXPECT_EQ(range.offset, c.start);
        EXPECT_EQ(range.bytes1, c.bytes1);
        EXPECT_EQ(range.bytes2, c.bytes2);
    }
}

struct PassCase {
    uint64_t from;
    uint64_t to;
    uint32_t offset;
    bool passes;
};

TEST(AudioNotify, CursorPassesAnOffsetOncePlayedOverIt) {
    const uint32_t size = 100;
    const PassCase cases[] = {
        {0, 50, 50, false},                                              // byte 50 not played yet
        {0, 51, 50, true},   {50, 51, 50, true},   {51, 150, 50, false}, // up to byte 149: next lap's byte 50 is 150
        {51, 151, 50, true}, {90, 110, 5, true},                         // over the wrap
        {90, 110, 95, true}, {90, 110, 50, false}, {0, 1000, 73, true},  // many laps at once
        {70, 70, 70, false},                                             // no movement
    };
    for (const PassCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << ".." << c.to << " @" << c.offset);
        EXPECT_EQ(DsPassesOffset(c.from, c.to, c.offset, size), c.passes);
    }
}

// ---- The null device ----------------------------------------------------------------------------

// A device on the null backend. Formats run at 1000 frames per second, so one millisecond of the
// virtual clock is one frame.
class NullSoundDevice : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(audio.CreateDevice(&device), DS_OK);
        DsBufferDesc desc;
        desc.flags = kPrimaryFlags;
        ASSERT_EQ(device->CreateSoundBuffer(desc, &primary), DS_OK);
        ASSERT_EQ(primary->QueryInterface(&listener), DS_OK);
    }

    std::shared_ptr<DsBuffer> Make(uint32_t flags, uint32_t bytes, const WaveFormatEx& format) {
        DsBufferDesc desc;
        desc.flags = flags;
        desc.bufferBytes = bytes;
        desc.format = &format;
        std::shared_ptr<DsBuffer> buffer;
        EXPECT_EQ(device->CreateSoundBuffer(desc, &buffer), DS_OK);
        return buffer;
    }

    // Writes bytes 1, 2, 3, ... into the whole buffer.
    static void FillCounting(DsBuffer& buffer) {
        void* p1 = nullptr;
        void* p2 = nullptr;
        uint32_t n1 = 0;
        uint32_t n2 = 0;
        ASSERT_EQ(buffer.Lock(0, 0, &p1, &n1, &p2, &n2, DSBLOCK_ENTIREBUFFER), DS_OK);
        auto* bytes = static_cast<uint8_t*>(p1);
        std::iota(bytes, bytes + n1, uint8_t{1});
        ASSERT_EQ(buffer.Unlock(p1, n1, p2, n2), DS_OK);
    }

    static uint32_t Status(DsBuffer& buffer) {
        uint32_t status = 0;
        EXPECT_EQ(buffer.GetStatus(&status), DS_OK);
        return status;
    }

    static uint32_t Cursor(DsBuffer& buffer) {
        uint32_t play = 0;
        EXPECT_EQ(buffer.GetCurrentPosition(&play, nullptr), DS_OK);
        return play;
    }

    NullAudio audio;
    std::shared_ptr<DsDevice> device;
    std::shared_ptr<DsBuffer> primary;
    std::shared_ptr<DsListener> listener;
    const WaveFormatEx mono16 = Pcm(1, 1000, 16);
};

// What a buffer keeps of the volume it is given, at both ends of the range and beyond.
TEST_F(NullSoundDevice, ABufferKeepsItsVolumeInsideTheRange) {
    const int32_t cases[][2] = {
        {INT32_MIN, DSBVOLUME_MIN},
        {DSBVOLUME_MIN - 1, DSBVOLUME_MIN},
        {DSBVOLUME_MIN, DSBVOLUME_MIN},
        {DSBVOLUME_MIN + 1, DSBVOLUME_MIN + 1},
        {-1, -1},
        {DSBVOLUME_MAX, DSBVOLUME_MAX},
        {DSBVOLUME_MAX + 1, DSBVOLUME_MAX},
        {INT32_MAX, DSBVOLUME_MAX},
    };
    std::shared_ptr<DsBuffer> buffer = Make(kStaticFlags, 4096, Pcm(1, 1000, 16));
    ASSERT_TRUE(buffer);
    for (const auto& c : cases) {
        SCOPED_TRACE(c[0]);
        EXPECT_EQ(DsClampVolume(c[0]), c[1]);
        EXPECT_EQ(buffer->SetVolume(c[0]), DS_OK);
        EXPECT_EQ(NullAudio::Of(buffer.get())->Volume(), c[1]);
    }
}

TEST_F(NullSoundDevice, LockOverTheEndWritesBothEndsOfTheRing) {
    auto ring = Make(kStreamFlags, 16, mono16);
    void* p1 = nullptr;
    void* p2 = nullptr;
    uint32_t n1 = 0;
    uint32_t n2 = 0;
    ASSERT_EQ(ring->Lock(12, 8, &p1, &n1, &p2, &n2, 0), DS_OK);
    ASSERT_EQ(n1, 4u);
    ASSERT_EQ(n2, 4u);
    std::memset(p1, 0xAA, n1);
    std::memset(p2, 0xBB, n2);
    ASSERT_EQ(ring->Unlock(p1, n1, p2, n2), DS_OK);

    std::vector<uint8_t> expected(16, 0);
    std::fill(expected.begin(), expected.begin() + 4, 0xBB);
    std::fill(expected.begin() + 12, expected.end(), 0xAA);
    EXPECT_EQ(NullAudio::Of(ring.get())->Memory(), expected);

    // Unlock takes back only what Lock gave out, inside the ring.
    uint8_t foreign[4];
    ASSERT_EQ(ring->Lock(0, 4, &p1, &n1, nullptr, nullptr, 0), DS_OK);
    EXPECT_EQ(ring->Unlock(foreign, 4, nullptr, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(ring->Unlock(p1, 5 + 12, nullptr, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(ring->Unlock(p1, 4, nullptr, 0), DS_OK);
    EXPECT_EQ(ring->Unlock(p1, 4, nullptr, 0), DSERR_INVALIDCALL);
}

// A ring of 400 bytes (200 ms) with notifications at the middle and at the last byte, the way
// streams use them. Each row advances the clock and says which events are set afterwards.
TEST_F(NullSoundDevice, NotificationsFireAsTheCursorPassesTheirOffsets) {
    auto ring = Make(kStreamFlags, 400, mono16);
    std::shared_ptr<DsNotify> notify;
    ASSERT_EQ(ring->QueryInterface(&notify), DS_OK);
    YEvent middle;
    YEvent last;
    const DsNotifyPosition positions[] = {{200, &middle}, {399, &last}};
    ASSERT_EQ(notify->SetNotificationPositions(2, positions), DS_OK);
    ASSERT_EQ(ring->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    // Notifications change only while stopped.
    EXPECT_EQ(notify->SetNotificationPositions(2, positions), DSERR_INVALIDCALL);

    struct Step {
        uint32_t ms;
        uint32_t cursor;
        bool middle;
        bool last;
    };
    const Step steps[] = {
        {50, 100, false, false},  {50, 200, false, false},                      // byte 200 is next, not played yet
        {1, 202, true, false},    {98, 398, false, false}, {1, 0, false, true}, // byte 399 played, the cursor wraps
        {100, 200, false, false}, {150, 100, true, true},                       // over both offsets in one step
        {1000, 100, true, true}, // five laps: each event is set once (auto-reset)
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(testing::Message() << "advance " << s.ms << " to " << s.cursor);
        audio.AdvanceMs(s.ms);
        EXPECT_EQ(Cursor(*ring), s.cursor);
        EXPECT_EQ(middle.WaitFor(0), s.middle);
        EXPECT_EQ(last.WaitFor(0), s.last);
    }
}

TEST_F(NullSoundDevice, LoopingRepeatsAndAOneShotStopsAtTheEndWithTheCursorAtZero) {
    auto buffer = Make(kStaticFlags, 10, mono16); // 5 frames, 5 ms
    FillCounting(*buffer);
    const std::vector<uint8_t> sound = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};

    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    EXPECT_EQ(Status(*buffer), DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
    audio.AdvanceMs(12);
    std::vector<uint8_t> twice = sound;
    twice.insert(twice.end(), sound.begin(), sound.end());
    twice.insert(twice.end(), sound.begin(), sound.begin() + 4);
    EXPECT_EQ(NullAudio::Of(buffer.get())->Played(), twice);
    EXPECT_EQ(Cursor(*buffer), 4u);

    // Without the looping flag the play ends at the end of the buffer, not after 12 ms.
    ASSERT_EQ(buffer->Stop(), DS_OK);
    ASSERT_EQ(buffer->SetCurrentPosition(0), DS_OK);
    NullAudio::Of(buffer.get())->ClearPlayed();
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(Status(*buffer), DSBSTATUS_PLAYING);
    audio.AdvanceMs(12);
    EXPECT_EQ(NullAudio::Of(buffer.get())->Played(), sound);
    EXPECT_EQ(Status(*buffer), 0u);
    EXPECT_EQ(Cursor(*buffer), 0u);
}

TEST_F(NullSoundDevice, StopKeepsTheCursorAndPlayGoesOnFromIt) {
    auto buffer = Make(kStaticFlags, 20, mono16);
    FillCounting(*buffer);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    audio.AdvanceMs(3);
    ASSERT_EQ(buffer->Stop(), DS_OK);
    EXPECT_EQ(Status(*buffer), 0u);
    audio.AdvanceMs(50); // time passes, the cursor stays
    EXPECT_EQ(Cursor(*buffer), 6u);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    audio.AdvanceMs(2);
    const std::vector<uint8_t> tenBytes = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    EXPECT_EQ(NullAudio::Of(buffer.get())->Played(), tenBytes);

    // Play on a playing buffer does not restart it; it only takes the looping flag.
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    EXPECT_EQ(Cursor(*buffer), 10u);
    EXPECT_EQ(Status(*buffer), DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
}

TEST_F(NullSoundDevice, DuplicatesShareBytesButPlayOnTheirOwn) {
    auto original = Make(kStaticFlags, 8, mono16);
    FillCounting(*original);
    std::shared_ptr<DsBuffer> voice1;
    std::shared_ptr<DsBuffer> voice2;
    ASSERT_EQ(device->DuplicateSoundBuffer(*original, &voice1), DS_OK);
    ASSERT_EQ(device->DuplicateSoundBuffer(*original, &voice2), DS_OK);

    // One set of bytes: a write through the original is what the voices play.
    void* p1 = nullptr;
    uint32_t n1 = 0;
    ASSERT_EQ(original->Lock(0, 2, &p1, &n1, nullptr, nullptr, 0), DS_OK);
    static_cast<uint8_t*>(p1)[0] = 0x77;
    ASSERT_EQ(original->Unlock(p1, n1, nullptr, 0), DS_OK);

    // The original may go first (the sound code releases effect buffers before their voices).
    original.reset();

    ASSERT_EQ(voice1->SetVolume(-2500), DS_OK);
    ASSERT_EQ(voice1->Play(0, 0, 0), DS_OK);
    audio.AdvanceMs(2);
    ASSERT_EQ(voice2->Play(0, 0, 0), DS_OK);
    audio.AdvanceMs(10);
    NullSoundBuffer* v1 = NullAudio::Of(voice1.get());
    NullSoundBuffer* v2 = NullAudio::Of(voice2.get());
    const std::vector<uint8_t> sound = {0x77, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_EQ(v1->Played(), sound);
    EXPECT_EQ(v2->Played(), sound);
    EXPECT_EQ(v1->Volume(), -2500);
    EXPECT_EQ(v2->Volume(), 0);

    // 3D settings are per voice.
    std::shared_ptr<Ds3DBuffer> voice1In3D;
    std::shared_ptr<Ds3DBuffer> voice2In3D;
    ASSERT_EQ(voice1->QueryInterface(&voice1In3D), DS_OK);
    ASSERT_EQ(voice2->QueryInterface(&voice2In3D), DS_OK);
    ASSERT_EQ(voice1In3D->SetPosition(5, 0, 0, DS3D_IMMEDIATE), DS_OK);
    EXPECT_EQ(v1->Applied3D().position.x, 5.0f);
    EXPECT_EQ(v2->Applied3D().position.x, 0.0f);

    // Rings have no memory to share.
    auto ring = Make(kStreamFlags, 400, mono16);
    std::shared_ptr<DsBuffer> ringVoice;
    EXPECT_EQ(device->DuplicateSoundBuffer(*ring, &ringVoice), DSERR_INVALIDCALL);
    EXPECT_EQ(ringVoice, nullptr);
}

TEST_F(NullSoundDevice, DeferredSettingsWaitForTheCommit) {
    // The listener starts with the values the sound code expects.
    DsListenerParams start = audio.ListenerApplied();
    EXPECT_EQ(start.orientFront.z, 1.0f);
    EXPECT_EQ(start.orientTop.y, 1.0f);
    EXPECT_EQ(start.distanceFactor, 1.0f);
    EXPECT_EQ(start.rolloffFactor, 1.0f);

    auto buffer = Make(kStaticFlags, 8, mono16);
    std::shared_ptr<Ds3DBuffer> in3D;
    ASSERT_EQ(buffer->QueryInterface(&in3D), DS_OK);
    ASSERT_EQ(listener->SetPosition(1, 2, 3, DS3D_DEFERRED), DS_OK);
    ASSERT_EQ(listener->SetRolloffFactor(0.02f, DS3D_DEFERRED), DS_OK);
    ASSERT_EQ(in3D->SetPosition(7, 8, 9, DS3D_DEFERRED), DS_OK);
    EXPECT_EQ(audio.ListenerApplied().position.x, 0.0f);
    EXPECT_EQ(NullAudio::Of(buffer.get())->Applied3D().position.x, 0.0f);

    ASSERT_EQ(listener->CommitDeferredSettings(), DS_OK);
    DsListenerParams applied = audio.ListenerApplied();
    EXPECT_EQ(applied.position.z, 3.0f);
    EXPECT_EQ(applied.rolloffFactor, 0.02f);
    EXPECT_EQ(NullAudio::Of(buffer.get())->Applied3D().position.z, 9.0f);
    EXPECT_EQ(audio.Commits(), 1);

    // A value OpenAL could not take is refused and changes nothing.
    EXPECT_EQ(in3D->SetPosition(std::numeric_limits<float>::quiet_NaN(), 0, 0, DS3D_IMMEDIATE), DSERR_INVALIDPARAM);
    EXPECT_EQ(NullAudio::Of(buffer.get())->Applied3D().position.x, 7.0f);
    EXPECT_EQ(listener->SetOrientation(0, 0, 0, 0, 1, 0, DS3D_IMMEDIATE), DSERR_INVALIDPARAM);
}

TEST_F(NullSoundDevice, InterfacesFollowTheBufferFlags) {
    auto effect = Make(kStaticFlags, 8, mono16);
    auto stream = Make(kStreamFlags, 400, mono16);
    std::shared_ptr<DsListener> l;
    std::shared_ptr<Ds3DBuffer> b3;
    std::shared_ptr<DsNotify> n;
    EXPECT_EQ(primary->QueryInterface(&b3), DSERR_NOINTERFACE);
    EXPECT_EQ(effect->QueryInterface(&l), DSERR_NOINTERFACE);
    EXPECT_EQ(effect->QueryInterface(&n), DSERR_NOINTERFACE);
    EXPECT_EQ(stream->QueryInterface(&b3), DSERR_NOINTERFACE); // streams are 2D
    EXPECT_EQ(stream->QueryInterface(&n), DS_OK);

    // An interface keeps its buffer alive.
    std::weak_ptr<DsBuffer> weak = stream;
    stream.reset();
    EXPECT_FALSE(weak.expired());
    n.reset();
    EXPECT_TRUE(weak.expired());
}

TEST_F(NullSoundDevice, ALostBufferRefusesPlayUntilRestored) {
    auto original = Make(kStaticFlags, 8, mono16);
    FillCounting(*original);
    std::shared_ptr<DsBuffer> voice;
    ASSERT_EQ(device->DuplicateSoundBuffer(*original, &voice), DS_OK);
    ASSERT_EQ(voice->Play(0, 0, DSBPLAY_LOOPING), DS_OK);

    NullAudio::Of(original.get())->Lose();
    EXPECT_EQ(Status(*voice), DSBSTATUS_BUFFERLOST);
    EXPECT_EQ(voice->Play(0, 0, 0), DSERR_BUFFERLOST);
    void* p1 = nullptr;
    uint32_t n1 = 0;
    EXPECT_EQ(original->Lock(0, 0, &p1, &n1, nullptr, nullptr, DSBLOCK_ENTIREBUFFER), DSERR_BUFFERLOST);

    ASSERT_EQ(original->Restore(), DS_OK);
    FillCounting(*original);
    EXPECT_EQ(voice->Play(0, 0, 0), DS_OK);
    audio.AdvanceMs(4);
    EXPECT_EQ(NullAudio::Of(voice.get())->Played(), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST(NullAudioBackend, InstalledBackendServesEnumerationAndCreationAndCanFail) {
    NullAudio audio;
    audio.SetDrivers({{"Primary Sound Driver", ""}, {"Speakers", "null.sys"}});
    DsInstallBackend(&audio);

    std::vector<std::string> listed;
    EXPECT_EQ(DsEnumerate([&](const char* description, const char* module) {
                  listed.push_back(std::string(description) + ", " + module);
                  return true;
              }),
              DS_OK);
    EXPECT_EQ(listed, (std::vector<std::string>{"Primary Sound Driver, ", "Speakers, null.sys"}));

    // No sound card: creation fails and hands out nothing.
    NullAudioFaults faults;
    faults.createDevice = true;
    audio.SetFaults(faults);
    std::shared_ptr<DsDevice> device;
    EXPECT_EQ(DsCreate(&device), DSERR_NODRIVER);
    EXPECT_EQ(device, nullptr);

    audio.SetFaults({});
    EXPECT_EQ(DsCreate(&device), DS_OK);
    EXPECT_EQ(audio.LiveDevices(), 1);
    device.reset();
    EXPECT_EQ(audio.LiveDevices(), 0);
    DsInstallBackend(nullptr);

    const std::vector<std::string> calls = audio.Calls();
    EXPECT_EQ(calls.front(), "EnumerateDrivers");
    EXPECT_EQ(audio.CountCalls("CreateDevice"), 2);
}

} // namespace
