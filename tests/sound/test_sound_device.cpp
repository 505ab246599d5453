// The sound device: the volume mapping, the deferred listener, a missing device, device
// re-creation, reactivation, and one real mix on OpenAL's loopback device.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "core/frame_hooks.h"
#include "platform/audio/device.h"
#include "platform/audio/openal/openal_backend.h"
#include "sound/sound_buffer.h"
#include "sound/sound_device.h"
#include "sound/sound_fx.h"
#include "sound/sound_source.h"
#include "sound/sound_stream.h"
#include "sound_test_support.h"

namespace {

using namespace soundtest;

struct VolumeCase {
    float master;
    float own;
    int32_t mb;
};

// Binary fractions only, so the truncation is not at the mercy of rounding.
TEST(SoundVolume, ProductMapsLinearlyOntoMinusFiftyDecibels) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const VolumeCase cases[] = {
        {1.0f, 1.0f, 0},
        {0.5f, 1.0f, -2500},
        {1.0f, 0.5f, -2500},
        {0.5f, 0.5f, -3750},
        {0.0f, 1.0f, -5000},
        {0.0f, 0.75f, -5000},
        {1.0f, 0.0f, -5000},
        {0.25f, 1.0f, -3750},
        {0.75f, 1.0f, -1250},
        {0.125f, 1.0f, -4375},
        // Out of range: clamped to full level and to the bottom, never beyond -5000..0.
        {1.25f, 1.0f, 0},
        {1.0f, 10.0f, 0},
        {-0.5f, 1.0f, -5000},
        {nan, 1.0f, -5000},
    };
    for (const VolumeCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.master << " x " << c.own);
        EXPECT_EQ(SoundVolumeMb(c.master, c.own), c.mb);
    }
}

class SoundDevice : public SoundTest {};

TEST_F(SoundDevice, TwoListenerMovesInAFrameGiveOneCommitCarryingTheLast) {
    InitDirectSound(nullptr);
    UpdateSound();
    const int commits = audio.Commits();

    const YVector first(1.0f, 2.0f, 3.0f);
    const YVector second(-4.0f, 5.0f, 6.0f);
    SetListenerPosition(&first);
    SetListenerPosition(&second);
    EXPECT_EQ(audio.Commits(), commits) << "deferred settings wait for the frame";

    UpdateSound();
    EXPECT_EQ(audio.Commits(), commits + 1);
    const plat::DsListenerParams applied = audio.ListenerApplied();
    EXPECT_EQ(applied.position.x, -4.0f);
    EXPECT_EQ(applied.position.y, 5.0f);
    EXPECT_EQ(applied.position.z, 6.0f);

    UpdateSound();
    EXPECT_EQ(audio.Commits(), commits + 1) << "nothing changed, nothing committed";
}

TEST_F(SoundDevice, ListenerSetBeforeTheDeviceIsPushedWhenItComes) {
    const YVector position(7.0f, 0.0f, -3.0f);
    const YVector front(1.0f, 0.0f, 0.0f);
    const YVector top(0.0f, 1.0f, 0.0f);
    SetListenerScale(0.02f);
    SetListenerPosition(&position);
    SetListenerOrientation(&front, &top);
    InitDirectSound(nullptr);

    const plat::DsListenerParams applied = audio.ListenerApplied();
    EXPECT_EQ(applied.position.x, 7.0f);
    EXPECT_EQ(applied.position.z, -3.0f);
    EXPECT_EQ(applied.orientFront.x, 1.0f);
    EXPECT_EQ(applied.distanceFactor, 0.02f);
    EXPECT_EQ(applied.rolloffFactor, 0.02f);

    // Back to the start values for the tests that follow.
    const YVector origin(0.0f, 0.0f, 0.0f);
    const YVector ahead(0.0f, 0.0f, 1.0f);
    SetListenerPosition(&origin);
    SetListenerOrientation(&ahead, &top);
    SetListenerScale(1.0f);
}

struct InitFaultCase {
    const char* name;
    bool plat::NullAudioFaults::*fault;
    const char* message;
};

TEST_F(SoundDevice, AFailingStepIsLoggedOnceWithItsMessage) {
    const InitFaultCase cases[] = {
        {"no device", &plat::NullAudioFaults::createDevice, "Could not create DirectSound object."},
        {"cooperative level", &plat::NullAudioFaults::cooperativeLevel, "DS8::SetCooperativeLevel error."},
        {"primary", &plat::NullAudioFaults::createPrimary, "Could not create Primary DirectSoundBuffer."},
        {"listener", &plat::NullAudioFaults::queryListener, "QueryInterface::IID_IDirectSound3DListener error."},
    };
    for (const InitFaultCase& c : cases) {
        SCOPED_TRACE(c.name);
        plat::NullAudioFaults faults;
        faults.*c.fault = true;
        audio.SetFaults(faults);
        log.Clear();
        InitDirectSound(nullptr);
        EXPECT_EQ(log.Lines().front(), "Sound Drivers:");
        EXPECT_EQ(log.Count("Null Sound Driver, null"), 1);
        EXPECT_EQ(log.CountPrefix("DirectSound init error: "), 1);
        EXPECT_EQ(log.Count(std::string("DirectSound init error: ") + c.message), 1);
        EXPECT_FALSE(SoundDeviceReady()) << "the music player must stay idle";
        UpdateSound();
        ReleaseDirectSound();
    }
    audio.SetFaults({});
}

TEST_F(SoundDevice, WithoutADeviceEffectsLoadAndPlayRequestsDoNothing) {
    Write("hit.wav", MakeWav({.data = Tone16(2000, 1)}));
    plat::NullAudioFaults faults;
    faults.createDevice = true;
    audio.SetFaults(faults);
    InitDirectSound(nullptr);
    EXPECT_EQ(log.Count("DirectSound init error: Could not create DirectSound object."), 1);

    YSoundFx* fx = NewEffect("no_device_hit");
    auto* buffer = new YSoundBuffer;
    buffer->Open("hit.wav");
    fx->variants.push_back(buffer);
    const YVector at(0.0f, 0.0f, 0.0f);
    for (int i = 0; i < 10; ++i) {
        fx->PlaySoundFx(&at, -1.0f, &at);
        UpdateSound();
    }
    const YVector listener(1.0f, 0.0f, 0.0f);
    SetListenerPosition(&listener);
    SetSoundVolume(0.5f);
    SetSoundAppActive(true);
    UpdateSound();
    EXPECT_TRUE(audio.Buffers().empty());
    EXPECT_EQ(log.CountPrefix("DirectSound init error: "), 1) << "one line, not one per play";
    audio.SetFaults({});
}

TEST_F(SoundDevice, ReinitRecreatesBuffersVoicesAndStreamsAndAStreamPlaysOn) {
    SKIP_WITHOUT_OGG_ENCODER();
    Write("hit.wav", MakeWav({.data = Tone16(3000, 1)}));
    Write("track.ogg", MakeOgg(2.0, 1, 22050));
    InitDirectSound(nullptr);

    YSoundBuffer buffer;
    buffer.Open("hit.wav");
    YSoundSource voice(&buffer);
    YSoundStream stream(65536);
    stream.Open("track.ogg");
    stream.Play(true);
    ASSERT_NE(buffer.GetBuffer(), nullptr);
    ASSERT_NE(voice.GetBuffer(), nullptr);
    ASSERT_NE(stream.GetBuffer(), nullptr);

    ReleaseDirectSound();
    EXPECT_EQ(buffer.GetBuffer(), nullptr);
    EXPECT_EQ(voice.GetBuffer(), nullptr);
    EXPECT_EQ(stream.GetBuffer(), nullptr);
    EXPECT_TRUE(stream.IsPlaying()) << "the stream keeps its state across the device change";

    audio.ClearCalls();
    InitDirectSound(nullptr);
    ASSERT_NE(buffer.GetBuffer(), nullptr);
    ASSERT_NE(voice.GetBuffer(), nullptr);
    ASSERT_NE(stream.GetBuffer(), nullptr);
    plat::NullSoundBuffer* effect = plat::NullAudio::Of(buffer.GetBuffer());
    plat::NullSoundBuffer* duplicate = plat::NullAudio::Of(voice.GetBuffer());
    plat::NullSoundBuffer* ring = plat::NullAudio::Of(stream.GetBuffer());
    EXPECT_EQ(effect->Flags(), EFFECT_FLAGS);
    EXPECT_EQ(effect->Memory(), buffer.Data()) << "the new buffer is filled from the kept data";
    EXPECT_EQ(duplicate->DuplicateOf(), effect->Id());
    EXPECT_EQ(ring->Flags(), STREAM_FLAGS);
    EXPECT_TRUE(ring->IsPlaying());
    EXPECT_TRUE(ring->IsLooping());

    audio.AdvanceMs(100);
    const std::vector<uint8_t> played = ring->Played();
    ASSERT_EQ(played.size(), 4410u);
    EXPECT_NE(std::count(played.begin(), played.end(), 0), static_cast<long>(played.size())) << "music, not silence";
}

// An object that cannot get its device objects when the device comes back is logged; the objects
// registered after it still get theirs.
TEST_F(SoundDevice, AnObjectThatCannotBeRemadeLeavesTheOthersTheirBuffers) {
    SKIP_WITHOUT_OGG_ENCODER();
    Write("hit.wav", MakeWav({.data = Tone16(3000, 1)}));
    Write("track.ogg", MakeOgg(1.0, 1, 22050));
    InitDirectSound(nullptr);
    YSoundBuffer buffer;
    buffer.Open("hit.wav");
    YSoundSource voice(&buffer);
    YSoundStream stream(65536);
    stream.Open("track.ogg");
    ReleaseDirectSound();

    plat::NullAudioFaults faults;
    faults.duplicate = true; // voices cannot be made; effect buffers and rings can
    audio.SetFaults(faults);
    log.Clear();
    InitDirectSound(nullptr);
    EXPECT_EQ(log.CountPrefix("DirectSound init error: "), 1);
    EXPECT_EQ(log.Count("DirectSound init error: Could create SoundSource"), 1);
    EXPECT_NE(buffer.GetBuffer(), nullptr);
    EXPECT_EQ(voice.GetBuffer(), nullptr);
    EXPECT_NE(stream.GetBuffer(), nullptr) << "made after the voice that failed";
    EXPECT_TRUE(SoundDeviceReady());
    audio.SetFaults({});
}

TEST_F(SoundDevice, ReactivationReappliesEveryVolumeAndDeactivationTouchesNone) {
    SKIP_WITHOUT_OGG_ENCODER();
    Write("hit.wav", MakeWav({.data = Tone16(3000, 1)}));
    Write("track.ogg", MakeOgg(0.5, 1, 22050));
    InitDirectSound(nullptr);
    YSoundBuffer buffer;
    buffer.Open("hit.wav");
    YSoundSource voice(&buffer);
    voice.SetVolume(0.5f);
    YSoundStream stream(65536);
    stream.Open("track.ogg");
    stream.SetChannelVolume(0.25f);
    SetSoundVolume(0.5f);
    SetMusicVolume(1.0f);
    const std::string voiceCall = "#" + std::to_string(plat::NullAudio::Of(voice.GetBuffer())->Id()) + ".SetVolume ";
    const std::string streamCall = "#" + std::to_string(plat::NullAudio::Of(stream.GetBuffer())->Id()) + ".SetVolume ";

    audio.ClearCalls();
    SetSoundAppActive(false);
    EXPECT_EQ(audio.CountCalls(voiceCall + "-3750"), 0);
    EXPECT_EQ(audio.CountCalls(streamCall + "-3750"), 0);
    EXPECT_FALSE(SoundAppActive());

    SetSoundAppActive(true);
    EXPECT_EQ(audio.CountCalls(voiceCall + "-3750"), 1);  // 0.5 x 0.5
    EXPECT_EQ(audio.CountCalls(streamCall + "-3750"), 1); // 1 x 0.25
    EXPECT_TRUE(SoundAppActive());
}

// Each level is clamped on its own before the two are multiplied: a master volume above 1 must not
// lift a quiet voice, and two negative levels must not multiply into full volume.
TEST_F(SoundDevice, MasterAndOwnVolumesAreEachClampedBeforeTheyMeetAtTheBuffer) {
    SKIP_WITHOUT_OGG_ENCODER();
    Write("hit.wav", MakeWav({.data = Tone16(3000, 1)}));
    Write("track.ogg", MakeOgg(0.5, 1, 22050));
    InitDirectSound(nullptr);
    YSoundBuffer buffer;
    buffer.Open("hit.wav");
    YSoundSource voice(&buffer);
    YSoundStream stream(65536);
    stream.Open("track.ogg");
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const VolumeCase cases[] = {
        {4.0f, 0.25f, -3750}, // the master counts as 1
        {0.25f, 4.0f, -3750}, // the own level counts as 1
        {-1.0f, -1.0f, -5000}, {inf, 0.0f, -5000}, {nan, 1.0f, -5000}, {1.0f, nan, -5000}, {inf, inf, 0},
    };
    for (const VolumeCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.master << " x " << c.own);
        SetSoundVolume(c.master);
        SetMusicVolume(c.master);
        voice.SetVolume(c.own);
        stream.SetChannelVolume(c.own);
        EXPECT_EQ(plat::NullAudio::Of(voice.GetBuffer())->Volume(), c.mb);
        EXPECT_EQ(plat::NullAudio::Of(stream.GetBuffer())->Volume(), c.mb);
    }
}

// The framework reaches the device through its hooks.
TEST_F(SoundDevice, FrameworkHooksSetUpAndReleaseTheDevice) {
    YFrameHooks saved = FrameHooks();
    InstallSoundHooks();
    ASSERT_TRUE(FrameHooks().initSound && FrameHooks().releaseSound && FrameHooks().setSoundAppActive);
    FrameHooks().initSound(nullptr);
    EXPECT_TRUE(SoundDeviceReady());
    EXPECT_EQ(audio.LiveDevices(), 1);
    FrameHooks().setSoundAppActive(false);
    EXPECT_FALSE(SoundAppActive());
    FrameHooks().setSoundAppActive(true);
    FrameHooks().releaseSound();
    EXPECT_FALSE(SoundDeviceReady());
    EXPECT_EQ(audio.LiveDevices(), 0);
    EXPECT_EQ(log.Count("DirectSound Release."), 1);
    FrameHooks() = saved;
}

// The mix itself: a voice to the listener's right comes out on the right.
class LoopbackBackend : public plat::DsBackend {
public:
    plat::DsResult EnumerateDrivers(const DriverCallback& callback) override {
        callback("Loopback", "");
        return plat::DS_OK;
    }
    plat::DsResult CreateDevice(std::shared_ptr<plat::DsDevice>* out) override {
        plat::DsResult r = plat::OpenAlCreateLoopbackDevice(44100, out);
        device = *out;
        return r;
    }
    std::shared_ptr<plat::DsDevice> device;
};

TEST_F(SoundDevice, AVoiceOnTheListenersRightIsLouderOnTheRight) {
    LoopbackBackend loopback;
    plat::DsInstallBackend(&loopback);
    InitDirectSound(nullptr);
    if (!loopback.device) {
        plat::DsInstallBackend(&audio);
        GTEST_SKIP() << "no OpenAL loopback device";
    }
    Write("tone.wav", MakeWav({.rate = 44100, .data = Tone16(44100, 1)}));
    YSoundFx* fx = NewEffect("loopback_right");
    auto* buffer = new YSoundBuffer;
    buffer->Open("tone.wav");
    fx->variants.push_back(buffer);

    // A camera looking down +z: its right is +x.
    const YVector origin(0.0f, 0.0f, 0.0f);
    const YVector front(0.0f, 0.0f, 1.0f);
    const YVector top(0.0f, 1.0f, 0.0f);
    SetListenerPosition(&origin);
    SetListenerOrientation(&front, &top);
    const YVector right(5.0f, 0.0f, 0.0f);
    fx->PlaySoundFx(&right, -1.0f, &origin);
    UpdateSound();

    std::vector<float> out(2 * 4096);
    double left = 0.0, rightSum = 0.0;
    for (int block = 0; block < 4; ++block) {
        ASSERT_EQ(plat::OpenAlRenderLoopback(*loopback.device, out.data(), 4096), plat::DS_OK);
        for (size_t i = 0; i < out.size(); i += 2) {
            left += out[i] * out[i];
            rightSum += out[i + 1] * out[i + 1];
        }
    }
    EXPECT_GT(rightSum, 0.0);
    EXPECT_GT(rightSum, 4.0 * left);

    ReleaseDirectSound();
    loopback.device.reset();
    plat::DsInstallBackend(&audio);
}

} // namespace
