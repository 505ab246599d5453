// Damaged sound files, as effects read them whole and as music streams them: every cut or bit
// flip the file format can show leaves a log line (or an error) that names the file, and none
// crashes. A flipped bit inside WAV samples cannot be told from sound and is only read.
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "sound/ogg_reader.h"
#include "sound/sound_buffer.h"
#include "sound/sound_error.h"
#include "sound_test_support.h"

namespace {

using namespace soundtest;

struct Damage {
    std::string what;
    std::string bytes;
};

std::vector<Damage> Cuts(const std::string& good, const std::vector<size_t>& at) {
    std::vector<Damage> out;
    for (size_t n : at) out.push_back({"cut to " + std::to_string(n) + " bytes", good.substr(0, n)});
    return out;
}

Damage Flip(const std::string& good, size_t bit) {
    std::string d = good;
    d[bit / 8] = static_cast<char>(d[bit / 8] ^ (1 << (bit % 8)));
    return {"bit " + std::to_string(bit) + " flipped", d};
}

class DamagedSoundFile : public SoundTest {
protected:
    // Lines that name `path`, other than the ones every load writes, plus the error thrown.
    std::vector<std::string> Naming(const std::string& path, const std::string& thrown) {
        std::vector<std::string> out;
        for (const std::string& l : log.Lines())
            if (l.find(path) != std::string::npos && l != "Load WAV file " + path && l != "Open OGG stream " + path)
                out.push_back(l);
        if (thrown.find(path) != std::string::npos) out.push_back(thrown);
        return out;
    }
    // Reads the file as an effect does; returns the error thrown ("" when it loaded).
    static std::string LoadEffect(const std::string& path) {
        YSoundBuffer buffer;
        try {
            buffer.Open(path.c_str());
        } catch (const YSoundError& e) {
            return e.what();
        }
        return "";
    }
    // Decodes the file to its end as a music stream does.
    static std::string StreamToEnd(const std::string& path) {
        try {
            YOggReader reader;
            reader.Open(path);
            std::vector<uint8_t> piece(8192);
            while (reader.Read(piece.data(), static_cast<uint32_t>(piece.size())) > 0) {}
        } catch (const YSoundError& e) {
            return e.what();
        }
        return "";
    }
};

TEST_F(DamagedSoundFile, WavCutOrWithAFlippedHeaderBitNamesItself) {
    // The layout the shipped effects have: an 18-byte format chunk, then the data.
    const std::string good = MakeWav({.fmtSize = 18, .data = Tone16(2000, 1)});
    const size_t header = 46;
    std::vector<Damage> cases =
        Cuts(good, {0, 3, 12, 30, header - 1, header, header + 1, good.size() / 2, good.size() - 2, good.size() - 1});
    for (size_t bit = 0; bit < header * 8; ++bit) cases.push_back(Flip(good, bit));
    std::mt19937 rng(77);
    std::uniform_int_distribution<size_t> anyBit(header * 8, good.size() * 8 - 1);

    const std::string path = "sounds\\hit.wav";
    std::filesystem::create_directory("sounds"); // in the scratch folder, the working directory
    Write("sounds/hit.wav", good);
    log.Clear();
    EXPECT_EQ(LoadEffect(path), "");
    EXPECT_TRUE(Naming(path, "").empty()) << testing::PrintToString(Naming(path, ""));

    for (const Damage& d : cases) {
        Write("sounds/hit.wav", d.bytes);
        log.Clear();
        const std::string thrown = LoadEffect(path);
        EXPECT_FALSE(Naming(path, thrown).empty()) << d.what;
    }
    // Flips among the samples: read like any other sound.
    for (int i = 0; i < 20; ++i) {
        const Damage d = Flip(good, anyBit(rng));
        Write("sounds/hit.wav", d.bytes);
        EXPECT_EQ(LoadEffect(path), "") << d.what;
    }
}

TEST_F(DamagedSoundFile, OggCutOrBitFlippedNamesItself) {
    SKIP_WITHOUT_OGG_ENCODER();
    const std::string good = MakeOgg(2.0, 1, 22050);
    std::vector<Damage> cases = Cuts(
        good, {0, 10, 200, good.size() / 4, good.size() / 2, good.size() * 3 / 4, good.size() - 100, good.size() - 1});
    std::mt19937 rng(2026);
    std::uniform_int_distribution<size_t> anyBit(0, good.size() * 8 - 1);
    for (int i = 0; i < 40; ++i) cases.push_back(Flip(good, anyBit(rng)));

    const std::string path = "music\\track.ogg";
    std::filesystem::create_directory("music");
    Write("music/track.ogg", good);
    log.Clear();
    EXPECT_EQ(StreamToEnd(path), "");
    EXPECT_EQ(LoadEffect(path), "");
    EXPECT_TRUE(Naming(path, "").empty()) << testing::PrintToString(Naming(path, ""));

    for (const Damage& d : cases) {
        Write("music/track.ogg", d.bytes);
        log.Clear();
        const std::string streamed = StreamToEnd(path);
        EXPECT_FALSE(Naming(path, streamed).empty()) << "streamed, " << d.what;
        log.Clear();
        const std::string loaded = LoadEffect(path);
        EXPECT_FALSE(Naming(path, loaded).empty()) << "as an effect, " << d.what;
    }
}

} // namespace
