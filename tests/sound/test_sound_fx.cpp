// Named effects: play volumes, the choice of voices among at most seven, queued plays, lost
// buffers, and the sound-effect file.
#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/sys/crt_rand.h"
#include "sound/sound_buffer.h"
#include "sound/sound_device.h"
#include "sound/sound_fx.h"
#include "sound/sound_source.h"
#include "sound_test_support.h"

namespace {

using namespace soundtest;

const YVector kOrigin(0.0f, 0.0f, 0.0f);

class SoundFx : public SoundTest {
protected:
    void SetUp() override {
        SoundTest::SetUp();
        // About 45 ms each at 22050 Hz, told apart by their first bytes.
        for (int i = 0; i < 3; ++i)
            Write("v" + std::to_string(i) + ".wav", MakeWav({.data = Tone16(1000, 1, static_cast<uint32_t>(i + 1))}));
        InitDirectSound(nullptr);
    }

    // A new effect (names are process-wide) with the given variants.
    YSoundFx* MakeFx(const std::string& name, int variants) {
        YSoundFx* fx = NewEffect(name);
        for (int i = 0; i < variants; ++i) {
            auto* buffer = new YSoundBuffer;
            buffer->Open(("v" + std::to_string(i) + ".wav").c_str());
            fx->variants.push_back(buffer);
        }
        return fx;
    }

    static int VariantOf(const YSoundFx* fx, const YSoundSource* voice) {
        auto it = std::find(fx->variants.begin(), fx->variants.end(), voice->GetSource());
        return static_cast<int>(it - fx->variants.begin());
    }

    static bool DevicePlaying(const YSoundSource* voice) {
        return plat::NullAudio::Of(voice->GetBuffer())->IsPlaying();
    }

    // Lets every voice play to its end.
    void Finish() { audio.AdvanceMs(200); }
};

struct VolumeCase {
    float volume;
    bool plays;
    float own;
    int32_t mb;
};

TEST_F(SoundFx, PlayVolumes) {
    const VolumeCase cases[] = {
        {0.05f, false, 0.0f, 0},   {0.0f, false, 0.0f, 0},    {0.0999f, false, 0.0f, 0}, {-1.0f, true, 1.0f, 0},
        {0.1f, true, 0.1f, -4500}, {0.5f, true, 0.5f, -2500}, {1.0f, true, 1.0f, 0},     {3.0f, true, 3.0f, 0},
    };
    int n = 0;
    for (const VolumeCase& c : cases) {
        SCOPED_TRACE(c.volume);
        YSoundFx* fx = MakeFx("volume_" + std::to_string(n++), 1);
        const YVector at(3.0f, 1.0f, -2.0f);
        const YVector velocity(0.0f, 4.0f, 0.0f);
        fx->PlaySoundFx(&at, c.volume, &velocity);
        ASSERT_EQ(fx->voices.size(), c.plays ? 1u : 0u);
        if (!c.plays) continue;
        YSoundSource* voice = fx->voices[0];
        EXPECT_FLOAT_EQ(voice->GetVolume(), c.own);
        plat::NullSoundBuffer* device = plat::NullAudio::Of(voice->GetBuffer());
        EXPECT_EQ(device->Volume(), c.mb);
        EXPECT_FALSE(device->IsPlaying()) << "queued until the next frame";
        EXPECT_TRUE(voice->IsPlaying()) << "a queued voice counts as playing";
        UpdateSound();
        EXPECT_TRUE(device->IsPlaying());
        EXPECT_FALSE(device->IsLooping());
        const plat::Ds3DBufferParams placed = device->Applied3D();
        EXPECT_EQ(placed.position.x, 3.0f);
        EXPECT_EQ(placed.position.z, -2.0f);
        EXPECT_EQ(placed.velocity.y, 4.0f);
    }
}

TEST_F(SoundFx, FirstPlaysMakeOneVoicePerVariantInFileOrder) {
    YSoundFx* fx = MakeFx("three_variants", 3);
    for (int i = 0; i < 3; ++i) {
        fx->PlaySoundFx(&kOrigin, -1.0f, &kOrigin);
        UpdateSound();
        Finish(); // the voice is free again before the next play
        ASSERT_EQ(fx->voices.size(), static_cast<size_t>(i + 1));
        EXPECT_EQ(VariantOf(fx, fx->voices[static_cast<size_t>(i)]), i);
    }
    // Now every variant has a voice and all are free: no fourth voice.
    fx->PlaySoundFx(&kOrigin, -1.0f, &kOrigin);
    EXPECT_EQ(fx->voices.size(), 3u);
}

TEST_F(SoundFx, BusyVoicesGrowToSevenInVariantTurnAndAnEighthPlayIsDropped) {
    YSoundFx* fx = MakeFx("seven_voices", 3);
    for (int i = 0; i < 7; ++i) fx->PlaySoundFx(&kOrigin, -1.0f, &kOrigin);
    ASSERT_EQ(fx->voices.size(), 7u) << "plays in one frame each take a voice";
    for (size_t i = 0; i < 7; ++i) EXPECT_EQ(VariantOf(fx, fx->voices[i]), static_cast<int>(i % 3));

    audio.ClearCalls();
    fx->PlaySoundFx(&kOrigin, -1.0f, &kOrigin);
    EXPECT_EQ(fx->voices.size(), 7u);
    UpdateSound();
    int plays = 0;
    for (const std::string& call : audio.Calls()) plays += call.find(".Play ") != std::string::npos;
    EXPECT_EQ(plays, 7) << "the eighth play was dropped";

    // Still playing after the frame: dropped again.
    fx->PlaySoundFx(&kOrigin, -1.0f, &kOrigin);
    EXPECT_EQ(fx->voices.size(), 7u);
    UpdateSound();
    Finish();
}

TEST_F(SoundFx, TwoPlaysInOneFrameUseTwoVoices) {
    YSoundFx* fx = MakeFx("same_frame", 1);
    fx->PlaySoundFx(&kOrigin, -1.0f, &kOrigin);
    UpdateSound();
    Finish();
    ASSERT_EQ(fx->voices.size(), 1u);

    fx->PlaySoundFx(&kOrigin, -1.0f, &kOrigin);
    fx->PlaySoundFx(&kOrigin, -1.0f, &kOrigin);
    ASSERT_EQ(fx->voices.size(), 2u);
    UpdateSound();
    EXPECT_TRUE(DevicePlaying(fx->voices[0]));
    EXPECT_TRUE(DevicePlaying(fx->voices[1]));
    Finish();
}

TEST_F(SoundFx, AFreeVoiceIsFoundFromARandomStart) {
    YSoundFx* fx = MakeFx("random_choice", 1);
    for (int i = 0; i < 7; ++i) fx->PlaySoundFx(&kOrigin, -1.0f, &kOrigin);
    UpdateSound();
    Finish();
    ASSERT_EQ(fx->voices.size(), 7u);

    // Free voices are spread over: with a seeded generator every one of the seven is used, no
    // eighth is made, and the same seed gives the same order.
    auto sequence = [&](unsigned seed) {
        plat::CrtSrand(seed);
        std::vector<size_t> chosen;
        for (int i = 0; i < 60; ++i) {
            fx->PlaySoundFx(&kOrigin, -1.0f, &kOrigin);
            UpdateSound();
            for (size_t v = 0; v < fx->voices.size(); ++v)
                if (DevicePlaying(fx->voices[v])) chosen.push_back(v);
            Finish();
        }
        return chosen;
    };
    const std::vector<size_t> first = sequence(7);
    EXPECT_EQ(first.size(), 60u) << "one voice per play";
    EXPECT_EQ(std::set<size_t>(first.begin(), first.end()).size(), 7u);
    EXPECT_EQ(fx->voices.size(), 7u);
    EXPECT_EQ(sequence(7), first);

    // With one voice free, it is found whatever the start.
    for (unsigned seed = 1; seed <= 14; ++seed) {
        SCOPED_TRACE(seed);
        const size_t free = seed % 7;
        for (size_t v = 0; v < 7; ++v)
            if (v != free) fx->voices[v]->Play(false);
        UpdateSound();
        plat::CrtSrand(seed);
        fx->PlaySoundFx(&kOrigin, -1.0f, &kOrigin);
        UpdateSound();
        for (size_t v = 0; v < 7; ++v) EXPECT_TRUE(DevicePlaying(fx->voices[v])) << v;
        Finish();
    }
}

TEST_F(SoundFx, ALostBufferIsRefilledAndPlayedOnce) {
    YSoundFx* fx = MakeFx("lost_buffer", 1);
    fx->PlaySoundFx(&kOrigin, -1.0f, &kOrigin);
    UpdateSound();
    Finish();
    plat::NullSoundBuffer* voice = plat::NullAudio::Of(fx->voices[0]->GetBuffer());
    voice->Lose();

    fx->PlaySoundFx(&kOrigin, -1.0f, &kOrigin);
    UpdateSound();
    EXPECT_TRUE(voice->IsPlaying());
    EXPECT_EQ(voice->Memory(), fx->variants[0]->Data());
    Finish();
}

TEST_F(SoundFx, AVoiceTheDeviceCannotMakeDropsThePlayWithALogLine) {
    YSoundFx* fx = MakeFx("no_voice", 1);
    plat::NullAudioFaults faults;
    faults.duplicate = true;
    audio.SetFaults(faults);
    fx->PlaySoundFx(&kOrigin, -1.0f, &kOrigin);
    EXPECT_TRUE(fx->voices.empty());
    EXPECT_EQ(log.Count("Sound " + fx->name + " not played: Could create SoundSource"), 1);

    audio.SetFaults({});
    fx->PlaySoundFx(&kOrigin, -1.0f, &kOrigin);
    ASSERT_EQ(fx->voices.size(), 1u);
    UpdateSound();
    EXPECT_TRUE(DevicePlaying(fx->voices[0]));
    Finish();
}

TEST_F(SoundFx, AnUnknownNameIsAnEmptyEffectThatNeverPlays) {
    const std::string name = UniqueName("never_defined");
    YSoundFx* fx = GetSoundFx(name);
    EXPECT_EQ(GetSoundFx(name), fx);
    EXPECT_NE(GetSoundFx("N" + name.substr(1)), fx) << "names are case-sensitive";
    fx->PlaySoundFx(&kOrigin, -1.0f, &kOrigin);
    PlaySoundFx(nullptr, &kOrigin, -1.0f, &kOrigin);
    EXPECT_TRUE(fx->voices.empty());
}

TEST_F(SoundFx, LoaderReportsFaultsWithTheirLinesAndKeepsGoing) {
    dir.MakeDir("data");
    dir.MakeDir("sound");
    Write("sound/c.wav", MakeWav({.data = Tone16(100, 1)}));
    Write("bad.wav", "RIFF....WAVEjunk");
    const std::string one = UniqueName("ld_one"), two = UniqueName("ld_two");
    const std::string once = UniqueName("ld_once"), bad = UniqueName("ld_bad");
    const std::string yml =
        "<file path=\"v0.wav\"/>\n" // 1
        "<sound name=\"" +
        one +
        "\">\n"                       // 2
        "  <file path=\"v0.wav\"/>\n" // 3
        "<sound name=\"" +
        two +
        "\">\n"                              // 4
        "  <file path=\"missing.wav\"/>\n"   // 5
        "  <file path=\"v1.wav\"/>\n"        // 6
        "  <file path=\"sound\\c.wav\" />\n" // 7
        "</sound>\n"                         // 8
        "</sound>\n"                         // 9
        "<sound_once name=\"" +
        once +
        "\" path=\"v2.wav\"/>\n" // 10
        "<!-- a comment -->\n"   // 11
        "<sound name=\"" +
        bad +
        "\">\n"                        // 12
        "  <file path=\"bad.wav\"/>\n" // 13
        "  <file path=\"noext\"/>\n"   // 14
        "</sound>\n";                  // 15
    Write("data/sound_fx.yml", yml);
    log.Clear();
    ParseSoundFile("data\\sound_fx.yml");
    for (const std::string* name : {&one, &two, &once, &bad}) Own(GetSoundFx(*name));

    const std::string at = ", file: data\\sound_fx.yml, line: ";
    const std::vector<std::string> expected = {
        "Sound init parser error, Tag <file> outside <sound>." + at + "1",
        "Sound init parser error, Expected </sound>." + at + "4",
        "Sound init parser error, Could not open WAV file missing.wav" + at + "5",
        "Sound init parser error, Expected <sound>." + at + "9",
        "Sound init parser error, Invalid WAV format bad.wav" + at + "13",
        "Sound init parser error, Invalid filename: noext" + at + "14",
    };
    std::vector<std::string> errors;
    for (const std::string& line : log.Lines())
        if (line.rfind("Sound init parser error", 0) == 0) errors.push_back(line);
    EXPECT_EQ(errors, expected);
    EXPECT_EQ(log.Lines().front(), "Parse sounds from file, data\\sound_fx.yml");

    EXPECT_EQ(GetSoundFx(one)->variants.size(), 1u);
    ASSERT_EQ(GetSoundFx(two)->variants.size(), 2u) << "a self-closed <file/> leaves its entry open";
    EXPECT_EQ(GetSoundFx(two)->variants[1]->FileName(), "sound\\c.wav");
    EXPECT_EQ(GetSoundFx(once)->variants.size(), 1u);
    EXPECT_EQ(GetSoundFx(bad)->variants.size(), 0u);
    EXPECT_NE(GetSoundFx(one)->variants[0]->GetBuffer(), nullptr);

    // A missing file is the markup reader's business: one line, nothing else.
    log.Clear();
    ParseSoundFile("data\\none.yml");
    EXPECT_EQ(log.CountPrefix("Sound init parser error"), 0);
}

} // namespace
