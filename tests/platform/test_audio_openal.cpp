// The OpenAL Soft backend, mixed on OpenAL's loopback device so that no sound card is needed and
// the output is exact: 3D panning in the game's left-handed coordinates, the distance law,
// deferred settings, and a stream refilled on its notifications as the sound code does it.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/audio/device.h"
#include "platform/audio/openal/openal_backend.h"
#include "platform/audio/volume.h"
#include "platform/sys/threads.h"

namespace {

using namespace plat;

// Where a real device is opened, OpenAL must not look for a sound card. This runs before main,
// before OpenAL reads its settings.
const bool g_nullDriver = [] {
    setenv("ALSOFT_DRIVERS", "null", 1);
    return true;
}();

constexpr uint32_t kRate = 44100;
constexpr double kPi = 3.14159265358979323846;
constexpr uint32_t kEffectFlags = DSBCAPS_CTRL3D | DSBCAPS_CTRLVOLUME | DSBCAPS_LOCDEFER;
constexpr uint32_t kStreamFlags =
    DSBCAPS_CTRLVOLUME | DSBCAPS_CTRLPOSITIONNOTIFY | DSBCAPS_GETCURRENTPOSITION2 | DSBCAPS_LOCDEFER;

WaveFormatEx Pcm16(uint16_t channels) {
    WaveFormatEx f;
    f.formatTag = WAVE_FORMAT_PCM;
    f.channels = channels;
    f.samplesPerSec = kRate;
    f.bitsPerSample = 16;
    f.blockAlign = static_cast<uint16_t>(channels * 2);
    f.avgBytesPerSec = kRate * f.blockAlign;
    return f;
}

// The 1 kHz test tone at `amplitude` (of 32767), sample n.
int16_t Tone(uint64_t n, double amplitude) {
    return static_cast<int16_t>(std::lround(amplitude * std::sin(2.0 * kPi * 1000.0 * n / kRate)));
}

struct Rms {
    double left = 0;
    double right = 0;
};

class OpenAlLoopback : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(OpenAlCreateLoopbackDevice(kRate, &device), DS_OK);
        DsBufferDesc desc;
        desc.flags = DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRL3D;
        ASSERT_EQ(device->CreateSoundBuffer(desc, &primary), DS_OK);
        ASSERT_EQ(primary->QueryInterface(&listener), DS_OK);
    }

    // Renders `frames` frames in small steps and returns them interleaved.
    std::vector<float> Render(uint32_t frames) {
        std::vector<float> out(2 * static_cast<size_t>(frames));
        for (uint32_t done = 0; done < frames;) {
            uint32_t step = std::min<uint32_t>(512, frames - done);
            EXPECT_EQ(OpenAlRenderLoopback(*device, out.data() + 2 * done, step), DS_OK);
            done += step;
        }
        return out;
    }

    static Rms RmsOf(const std::vector<float>& frames) {
        Rms rms;
        const size_t n = frames.size() / 2;
        for (size_t i = 0; i < n; ++i) {
            rms.left += frames[2 * i] * frames[2 * i];
            rms.right += frames[2 * i + 1] * frames[2 * i + 1];
        }
        rms.left = std::sqrt(rms.left / n);
        rms.right = std::sqrt(rms.right / n);
        return rms;
    }

    // A mono effect buffer holding one second of the tone, and a voice duplicated from it.
    std::shared_ptr<DsBuffer> MakeEffect(std::shared_ptr<DsBuffer>* voice) {
        const WaveFormatEx mono = Pcm16(1);
        DsBufferDesc desc;
        desc.flags = kEffectFlags;
        desc.bufferBytes = kRate * 2;
        desc.format = &mono;
        std::shared_ptr<DsBuffer> effect;
        EXPECT_EQ(device->CreateSoundBuffer(desc, &effect), DS_OK);
        void* p1 = nullptr;
        uint32_t n1 = 0;
        EXPECT_EQ(effect->Lock(0, 0, &p1, &n1, nullptr, nullptr, DSBLOCK_ENTIREBUFFER), DS_OK);
        auto* samples = static_cast<int16_t*>(p1);
        for (uint32_t i = 0; i < n1 / 2; ++i) samples[i] = Tone(i, 16000);
        EXPECT_EQ(effect->Unlock(p1, n1, nullptr, 0), DS_OK);
        if (voice != nullptr) {
            EXPECT_EQ(device->DuplicateSoundBuffer(*effect, voice), DS_OK);
        }
        return effect;
    }

    static std::shared_ptr<Ds3DBuffer> In3D(DsBuffer& buffer) {
        std::shared_ptr<Ds3DBuffer> in3D;
        EXPECT_EQ(buffer.QueryInterface(&in3D), DS_OK);
        return in3D;
    }

    static uint32_t PlayCursor(DsBuffer& buffer) {
        uint32_t play = 0;
        EXPECT_EQ(buffer.GetCurrentPosition(&play, nullptr), DS_OK);
        return play;
    }

    // Plays a 1 kHz tone through a stream ring refilled on its notifications, mixing `stepFrames`
    // frames at a time, and checks that every output frame is the next tone sample.
    void PlayRefilledTone(uint32_t stepFrames) {
        const WaveFormatEx stereo = Pcm16(2);
        const uint32_t size = 65536;
        DsBufferDesc desc;
        desc.flags = kStreamFlags;
        desc.bufferBytes = size;
        desc.format = &stereo;
        std::shared_ptr<DsBuffer> ring;
        ASSERT_EQ(device->CreateSoundBuffer(desc, &ring), DS_OK);
        std::shared_ptr<DsNotify> notify;
        ASSERT_EQ(ring->QueryInterface(&notify), DS_OK);
        YEvent event;
        const DsNotifyPosition positions[] = {{size / 2, &event}, {size - 1, &event}};
        ASSERT_EQ(notify->SetNotificationPositions(2, positions), DS_OK);
        const int32_t volume = -600;
        ASSERT_EQ(ring->SetVolume(volume), DS_OK);

        // The tone goes to the left channel only; frame n of the stream holds tone sample n.
        const double amplitude = 12000;
        uint64_t nextFrame = 0;
        uint32_t write = 0;
        auto refill = [&] {
            uint32_t play = 0;
            ASSERT_EQ(ring->GetCurrentPosition(&play, nullptr), DS_OK);
            uint32_t amount = write < play ? play - write : size - write + play;
            void* p[2] = {};
            uint32_t n[2] = {};
            ASSERT_EQ(ring->Lock(write, amount, &p[0], &n[0], &p[1], &n[1], 0), DS_OK);
            ASSERT_EQ(n[0] + n[1], amount);
            for (int r = 0; r < 2; ++r) {
                auto* samples = static_cast<int16_t*>(p[r]);
                for (uint32_t i = 0; i < n[r] / 4; ++i) {
                    samples[2 * i] = Tone(nextFrame++, amplitude);
                    samples[2 * i + 1] = 0;
                }
            }
            ASSERT_EQ(ring->Unlock(p[0], n[0], p[1], n[1]), DS_OK);
            write = (write + amount) % size;
        };
        refill(); // the whole ring, before play
        ASSERT_EQ(ring->Play(0, 0, DSBPLAY_LOOPING), DS_OK);

        // Steps that do not divide the ring's segments, so a queue running dry would show as a gap.
        const uint32_t total = kRate * 2; // about six laps of the ring
        std::vector<float> out(2 * static_cast<size_t>(total));
        int notifications = 0;
        for (uint32_t done = 0; done < total;) {
            const uint32_t step = std::min<uint32_t>(stepFrames, total - done);
            const uint32_t before = PlayCursor(*ring);
            ASSERT_EQ(OpenAlRenderLoopback(*device, out.data() + 2 * done, step), DS_OK);
            done += step;
            // The event is set in the step whose bytes include an offset, and only then.
            const uint32_t moved = (PlayCursor(*ring) + size - before) % size;
            auto passed = [&](uint32_t offset) { return (offset + size - before) % size < moved; };
            const bool expected = passed(size / 2) || passed(size - 1);
            const bool set = event.WaitFor(0);
            ASSERT_EQ(set, expected) << "cursor " << before << " moved " << moved << " by frame " << done;
            if (set) {
                ++notifications;
                refill();
            }
        }
        EXPECT_GE(notifications, 2 * 5);

        // Every output frame is the next tone sample at the buffer's gain: no gap, no repeat.
        const double gain = DsVolumeToGain(volume);
        double worst = 0;
        uint32_t worstAt = 0;
        for (uint32_t i = 0; i < total; ++i) {
            double expected = gain * Tone(i, amplitude) / 32768.0;
            double error = std::fabs(out[2 * i] - expected) + std::fabs(out[2 * i + 1]);
            if (error > worst) {
                worst = error;
                worstAt = i;
            }
        }
        EXPECT_LT(worst, 1e-4) << "at frame " << worstAt;
        Rms rms = RmsOf(out);
        EXPECT_NEAR(rms.left, gain * amplitude / 32768.0 / std::sqrt(2.0), 0.005 * rms.left);
    }

    std::shared_ptr<DsDevice> device;
    std::shared_ptr<DsBuffer> primary;
    std::shared_ptr<DsListener> listener;
};

// Positions and orientations are the game's (left-handed: x right, y up, z forward).
struct PanCase {
    const char* what;
    DsVector front;
    DsVector source;
    bool rightLouder;
};

TEST_F(OpenAlLoopback, ASourceToTheListenersRightIsLouderOnTheRight) {
    std::shared_ptr<DsBuffer> voice;
    auto effect = MakeEffect(&voice);
    auto voiceIn3D = In3D(*voice);
    const PanCase cases[] = {
        {"facing +z, source at +x", {0, 0, 1}, {3, 0, 0}, true},
        {"facing +z, source at -x", {0, 0, 1}, {-3, 0, 0}, false},
        {"facing +x, source at -z", {1, 0, 0}, {0, 0, -3}, true},
        {"facing -z, source at +x", {0, 0, -1}, {3, 0, 0}, false},
        {"facing +x, source to the right and a little ahead", {1, 0, 0}, {1, 0, -3}, true},
    };
    for (const PanCase& c : cases) {
        SCOPED_TRACE(c.what);
        DsListenerParams p;
        p.orientFront = c.front;
        ASSERT_EQ(listener->SetAllParameters(p, DS3D_IMMEDIATE), DS_OK);
        ASSERT_EQ(voiceIn3D->SetPosition(c.source.x, c.source.y, c.source.z, DS3D_DEFERRED), DS_OK);
        ASSERT_EQ(listener->CommitDeferredSettings(), DS_OK);
        ASSERT_EQ(voice->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
        Render(1024);
        Rms rms = RmsOf(Render(2048));
        ASSERT_EQ(voice->Stop(), DS_OK);
        const double louder = c.rightLouder ? rms.right : rms.left;
        const double quieter = c.rightLouder ? rms.left : rms.right;
        EXPECT_GT(louder, 0.01);
        EXPECT_GT(louder, 4 * quieter) << "left " << rms.left << " right " << rms.right;
    }
}

TEST_F(OpenAlLoopback, DeferredPositionsTakeEffectAtTheCommit) {
    std::shared_ptr<DsBuffer> voice;
    auto effect = MakeEffect(&voice);
    auto voiceIn3D = In3D(*voice);
    ASSERT_EQ(voiceIn3D->SetPosition(3, 0, 0, DS3D_IMMEDIATE), DS_OK);
    ASSERT_EQ(voice->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    Render(1024);

    ASSERT_EQ(voiceIn3D->SetPosition(-3, 0, 0, DS3D_DEFERRED), DS_OK);
    ASSERT_EQ(listener->SetPosition(0, 0, 0, DS3D_DEFERRED), DS_OK);
    Render(1024);
    Rms before = RmsOf(Render(2048));
    EXPECT_GT(before.right, 4 * before.left);

    ASSERT_EQ(listener->CommitDeferredSettings(), DS_OK);
    Render(1024);
    Rms after = RmsOf(Render(2048));
    EXPECT_GT(after.left, 4 * after.right);
}

// Gain relative to a source inside its minimum distance, straight ahead: min / (min + rolloff *
// (d - min)) with d clamped to [min, max].
struct DistanceCase {
    float rolloff;
    float minDistance;
    float maxDistance;
    float distance;
    double gain;
};

TEST_F(OpenAlLoopback, AttenuationFollowsTheInverseDistanceClampedLaw) {
    std::shared_ptr<DsBuffer> voice;
    auto effect = MakeEffect(&voice);
    auto voiceIn3D = In3D(*voice);
    ASSERT_EQ(voice->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    auto measure = [&](float rolloff, const Ds3DBufferParams& params) {
        EXPECT_EQ(listener->SetRolloffFactor(rolloff, DS3D_DEFERRED), DS_OK);
        EXPECT_EQ(voiceIn3D->SetAllParameters(params, DS3D_DEFERRED), DS_OK);
        EXPECT_EQ(listener->CommitDeferredSettings(), DS_OK);
        Render(1024);
        Rms rms = RmsOf(Render(2048));
        return (rms.left + rms.right) / 2;
    };
    Ds3DBufferParams near;
    near.position = {0, 0, 0.5f};
    const double reference = measure(1.0f, near);
    ASSERT_GT(reference, 0.01);

    const DistanceCase cases[] = {
        {1.0f, 1.0f, 1e9f, 4.0f, 0.25},         {1.0f, 2.0f, 1e9f, 4.0f, 0.5},
        {1.0f, 1.0f, 10.0f, 40.0f, 0.1},        // beyond the maximum distance: no quieter
        {0.02f, 1.0f, 1e9f, 30.0f, 1.0 / 1.58}, // the game's rolloff
        {0.0f, 1.0f, 1e9f, 100.0f, 1.0},
    };
    for (const DistanceCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "rolloff " << c.rolloff << " min " << c.minDistance << " max "
                                        << c.maxDistance << " at " << c.distance);
        Ds3DBufferParams p;
        p.position = {0, 0, c.distance};
        p.minDistance = c.minDistance;
        p.maxDistance = c.maxDistance;
        EXPECT_NEAR(measure(c.rolloff, p) / reference, c.gain, c.gain * 0.02);
    }
}

// A stream as the sound code runs it: a 64 KiB stereo ring with notifications at its middle and
// its last byte, refilled from the previous write position up to the play cursor on each one.
// Mixed in steps of 300 frames, and in steps of 5000 frames (113 ms, a fair delay of the device
// thread on a busy machine): what the stream wrote ahead is all queued, so even the long steps play
// without a gap.
TEST_F(OpenAlLoopback, AStreamRefilledOnItsNotificationsPlaysAnUnbrokenTone) {
    for (const uint32_t step : {300u, 5000u}) {
        SCOPED_TRACE(testing::Message() << "steps of " << step << " frames");
        const uint64_t underruns = OpenAlStreamUnderruns();
        PlayRefilledTone(step);
        EXPECT_EQ(OpenAlStreamUnderruns(), underruns);
    }
}

TEST_F(OpenAlLoopback, StopKeepsTheCursorAndPlayGoesOn) {
    std::shared_ptr<DsBuffer> voice;
    auto effect = MakeEffect(&voice);
    ASSERT_EQ(voice->Play(0, 0, 0), DS_OK);
    Render(1000);
    EXPECT_EQ(PlayCursor(*voice), 2000u);
    ASSERT_EQ(voice->Stop(), DS_OK);
    uint32_t status = DSBSTATUS_PLAYING;
    ASSERT_EQ(voice->GetStatus(&status), DS_OK);
    EXPECT_EQ(status, 0u);
    Rms silent = RmsOf(Render(1000));
    EXPECT_EQ(silent.left + silent.right, 0.0);
    EXPECT_EQ(PlayCursor(*voice), 2000u);
    ASSERT_EQ(voice->Play(0, 0, 0), DS_OK);
    Render(1000);
    EXPECT_EQ(PlayCursor(*voice), 4000u);

    // A play without looping ends at the end of the sound, with the cursor back at 0.
    ASSERT_EQ(voice->SetCurrentPosition(kRate * 2 - 2000), DS_OK);
    Render(2000);
    ASSERT_EQ(voice->GetStatus(&status), DS_OK);
    EXPECT_EQ(status, 0u);
    EXPECT_EQ(PlayCursor(*voice), 0u);
}

TEST_F(OpenAlLoopback, VoicesOutliveTheBufferTheyWereDuplicatedFrom) {
    std::shared_ptr<DsBuffer> voice1;
    std::shared_ptr<DsBuffer> voice2;
    auto effect = MakeEffect(&voice1);
    ASSERT_EQ(device->DuplicateSoundBuffer(*effect, &voice2), DS_OK);
    effect.reset(); // the sound code releases effect buffers before their voices
    ASSERT_EQ(voice1->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    Rms one = RmsOf(Render(1764)); // 40 whole periods of the tone, so the second voice starts in step
    ASSERT_EQ(voice2->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    Rms two = RmsOf(Render(1764));
    EXPECT_GT(one.left, 0.05);
    EXPECT_NEAR(two.left, 2 * one.left, 0.02 * one.left);
    voice1.reset();
    voice2.reset();
    Rms none = RmsOf(Render(512));
    EXPECT_EQ(none.left + none.right, 0.0);
}

// A real device, opened through OpenAL's null driver: the device thread keeps a stream going and
// fires its notifications without anyone rendering by hand.
TEST(OpenAlDevice, OpensWithoutASoundCardAndRunsStreamsOnItsOwn) {
    ASSERT_TRUE(g_nullDriver);
    DsBackend& backend = OpenAlBackend();
    int drivers = 0;
    EXPECT_EQ(backend.EnumerateDrivers([&](const char* description, const char* module) {
        EXPECT_NE(std::string(description), "");
        ++drivers;
        return true;
    }),
              DS_OK);
    EXPECT_GE(drivers, 1);

    std::shared_ptr<DsDevice> device;
    ASSERT_EQ(backend.CreateDevice(&device), DS_OK);
    std::shared_ptr<DsDevice> second;
    EXPECT_EQ(backend.CreateDevice(&second), DSERR_ALLOCATED);
    EXPECT_EQ(device->SetCooperativeLevel(nullptr, DSSCL_PRIORITY), DS_OK);

    const WaveFormatEx stereo = Pcm16(2);
    DsBufferDesc desc;
    desc.flags = kStreamFlags;
    desc.bufferBytes = 16384;
    desc.format = &stereo;
    std::shared_ptr<DsBuffer> ring;
    ASSERT_EQ(device->CreateSoundBuffer(desc, &ring), DS_OK);
    std::shared_ptr<DsNotify> notify;
    ASSERT_EQ(ring->QueryInterface(&notify), DS_OK);
    YEvent event;
    const DsNotifyPosition half = {8192, &event};
    ASSERT_EQ(notify->SetNotificationPositions(1, &half), DS_OK);
    ASSERT_EQ(ring->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    EXPECT_TRUE(event.WaitFor(10000)); // about 50 ms of sound; the limit only guards a hang
    EXPECT_TRUE(event.WaitFor(10000)); // and again one lap later
    ASSERT_EQ(ring->Stop(), DS_OK);

    // Buffers keep the device's sound system up; once all are gone a new device opens.
    notify.reset();
    device.reset();
    EXPECT_EQ(backend.CreateDevice(&second), DSERR_ALLOCATED);
    ring.reset();
    EXPECT_EQ(backend.CreateDevice(&second), DS_OK);
}

} // namespace
