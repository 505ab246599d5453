// Effect buffers from WAV and Ogg Vorbis files: the layouts real files use, and bad input that must
// be refused with a message (never a crash or a giant allocation).
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "sound/sound_buffer.h"
#include "sound/sound_device.h"
#include "sound/sound_error.h"
#include "sound_test_support.h"

namespace {

using namespace soundtest;

class SoundBuffer : public SoundTest {
protected:
    // Opens `path` in a new buffer; returns the message thrown, or "" when it loaded.
    std::string Open(const char* path, YSoundBuffer& buffer) {
        try {
            buffer.Open(path);
        } catch (const YSoundError& e) {
            return e.what();
        }
        return "";
    }
};

struct WavCase {
    const char* name;
    const char* file;
    std::string bytes;
    const char* error; // "" when the file loads
    size_t dataBytes;  // of a file that loads
    bool deviceBuffer; // a file that loads gets a device buffer
};

TEST_F(SoundBuffer, WavLayoutsAndFaults) {
    const std::vector<uint8_t> tone = Tone16(1000, 1);
    const std::vector<uint8_t> stereo = Tone16(1000, 2);
    const std::string good = MakeWav({.data = tone});
    std::string truncatedData = good.substr(0, good.size() - 500);
    std::vector<uint8_t> odd(tone.begin(), tone.begin() + 1001);

    const WavCase cases[] = {
        {"16-byte fmt chunk", "a.wav", good, "", tone.size(), true},
        {"18-byte fmt chunk", "b.wav", MakeWav({.fmtSize = 18, .data = tone}), "", tone.size(), true},
        {"LIST between fmt and data", "c.wav", MakeWav({.listBeforeData = true, .data = tone}), "", tone.size(), true},
        {"extension in capitals", "d.WAV", good, "", tone.size(), true},
        {"8-bit", "e.wav", MakeWav({.bits = 8, .data = tone}), "", tone.size(), true},
        {"odd data size, padded", "f.wav", MakeWav({.bits = 8, .data = odd}), "", odd.size(), true},
        {"44100 Hz", "g.wav", MakeWav({.rate = 44100, .data = tone}), "", tone.size(), true},
        {"stereo: loads, but a 3D buffer must be mono", "h.wav", MakeWav({.channels = 2, .data = stereo}), "",
         stereo.size(), false},
        {"LIST before fmt", "i.wav", MakeWav({.listBeforeFmt = true, .data = tone}), "Invalid WAV format i.wav", 0,
         false},
        {"format tag 3 (float)", "j.wav", MakeWav({.formatTag = 3, .bits = 32, .data = tone}),
         "Invalid WAV format j.wav", 0, false},
        {"data size larger than the file", "k.wav", truncatedData, "Invalid WAV format k.wav", 0, false},
        {"data size 0xFFFFFFFF", "l.wav", MakeWav({.dataSizeField = 0xFFFFFFFFll, .data = tone}),
         "Invalid WAV format l.wav", 0, false},
        {"cut inside the format", "m.wav", good.substr(0, 30), "Invalid WAV format m.wav", 0, false},
        {"empty file", "n.wav", "", "Invalid WAV format n.wav", 0, false},
        {"not RIFF", "o.wav", "just some text, nothing like a wave file", "Invalid WAV format o.wav", 0, false},
        {"no data chunk", "p.wav", good.substr(0, 36), "Invalid WAV format p.wav", 0, false},
    };
    InitDirectSound(nullptr);
    for (const WavCase& c : cases) {
        SCOPED_TRACE(c.name);
        Write(c.file, c.bytes);
        log.Clear();
        YSoundBuffer buffer;
        EXPECT_EQ(Open(c.file, buffer), c.error);
        EXPECT_EQ(log.Count(std::string("Load WAV file ") + c.file), 1);
        if (*c.error) {
            EXPECT_EQ(log.Count(std::string("Load WAV file error: ") + c.error), 1);
            EXPECT_TRUE(buffer.Data().empty());
            EXPECT_EQ(buffer.GetBuffer(), nullptr);
            continue;
        }
        EXPECT_EQ(buffer.Data().size(), c.dataBytes);
        EXPECT_EQ(buffer.Format().formatTag, 1);
        ASSERT_EQ(buffer.GetBuffer() != nullptr, c.deviceBuffer);
        if (c.deviceBuffer) {
            plat::NullSoundBuffer* device = plat::NullAudio::Of(buffer.GetBuffer());
            EXPECT_EQ(device->Flags(), EFFECT_FLAGS);
            EXPECT_EQ(device->Memory(), buffer.Data());
        } else {
            EXPECT_EQ(log.Count(std::string("DS8::CreateSoundBuffer error: ") + c.file), 1);
        }
    }
}

TEST_F(SoundBuffer, NamesWithoutAKnownExtensionAndMissingFiles) {
    struct NameCase {
        const char* path;
        const char* error;
    };
    const NameCase cases[] = {
        {"sound\\noext", "Invalid filename: sound\\noext"},      {"sound.", "Invalid filename: sound."},
        {"sound.mp3", "Unknown file type: sound.mp3"},           {"missing.wav", "Could not open WAV file missing.wav"},
        {"missing.ogg", "Could not open Ogg file. missing.ogg"},
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.path);
        YSoundBuffer buffer;
        EXPECT_EQ(Open(c.path, buffer), c.error);
    }
}

TEST_F(SoundBuffer, ASecondOpenWithADeviceBufferIsRefused) {
    Write("a.wav", MakeWav({.data = Tone16(100, 1)}));
    InitDirectSound(nullptr);
    YSoundBuffer buffer;
    ASSERT_EQ(Open("a.wav", buffer), "");
    EXPECT_EQ(Open("a.wav", buffer), "SoundBuffer already opened.");
}

struct OggCase {
    const char* name;
    int channels;
    int rate;
    double seconds;
};

TEST_F(SoundBuffer, OggDecodesToSamplesTimesChannelsTimesTwo) {
    SKIP_WITHOUT_OGG_ENCODER();
    const OggCase cases[] = {
        {"mono 22050", 1, 22050, 0.25},
        {"stereo 44100", 2, 44100, 0.25},
        {"mono 44100", 1, 44100, 0.1},
    };
    InitDirectSound(nullptr);
    for (const OggCase& c : cases) {
        SCOPED_TRACE(c.name);
        Write("t.ogg", MakeOgg(c.seconds, c.channels, c.rate));
        log.Clear();
        YSoundBuffer buffer;
        ASSERT_EQ(Open("t.ogg", buffer), "");
        const size_t frames = static_cast<size_t>(std::lround(c.seconds * c.rate));
        EXPECT_EQ(buffer.Data().size(), frames * c.channels * 2);
        EXPECT_EQ(buffer.Format().channels, c.channels);
        EXPECT_EQ(buffer.Format().samplesPerSec, static_cast<uint32_t>(c.rate));
        EXPECT_EQ(buffer.Format().blockAlign, c.channels * 2);
        EXPECT_EQ(buffer.Format().avgBytesPerSec, static_cast<uint32_t>(c.rate * c.channels * 2));
        EXPECT_EQ(log.Count("Open OGG stream t.ogg"), 1);
        EXPECT_EQ(log.Count("Close OGG stream."), 1);
        // Effects play in 3D, which takes mono only; a stereo file keeps its data but stays silent.
        EXPECT_EQ(buffer.GetBuffer() != nullptr, c.channels == 1);
    }
}

TEST_F(SoundBuffer, BadOggInputIsRefusedOrCutShortNeverACrash) {
    SKIP_WITHOUT_OGG_ENCODER();
    const std::string good = MakeOgg(1.0, 1, 22050);
    Write("text.ogg", "<sound name=\"this is no Vorbis\"/>\n");
    Write("empty.ogg", "");
    Write("headers.ogg", good.substr(0, 200));
    Write("half.ogg", good.substr(0, good.size() / 2));
    Write("damaged.ogg", [&] {
        std::string d = good;
        for (size_t i = d.size() / 3; i < d.size() / 3 + 400; ++i) d[i] = static_cast<char>(d[i] ^ 0x5A);
        return d;
    }());

    YSoundBuffer text;
    EXPECT_EQ(Open("text.ogg", text), "Could not open Ogg stream. Not Vorbis data. text.ogg");
    YSoundBuffer empty;
    EXPECT_EQ(Open("empty.ogg", empty).rfind("Could not open Ogg stream. ", 0), 0u);
    YSoundBuffer headers;
    EXPECT_NE(Open("headers.ogg", headers), "");

    // Cut or damaged audio: either refused with a message, or decoded as far as it goes.
    const size_t whole = 22050 * 2;
    for (const char* file : {"half.ogg", "damaged.ogg"}) {
        SCOPED_TRACE(file);
        YSoundBuffer buffer;
        const std::string error = Open(file, buffer);
        if (error.empty())
            EXPECT_LE(buffer.Data().size(), whole);
        else
            EXPECT_TRUE(buffer.Data().empty());
    }
}

} // namespace
