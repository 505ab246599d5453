#pragma once
// Shared pieces of the sound tests: log capture, WAV and Ogg Vorbis fixtures made at test time, a
// fixture that installs the null sound backend, and a clock the tests move by hand.
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/log.h"
#include "platform/audio/null/null_audio.h"
#include "sound/sound_fx.h"
#include "support/temp_dir.h"

namespace soundtest {

// Collects every log line while it lives (the log file is closed meanwhile).
class LogCapture : public YLogEcho {
public:
    LogCapture();
    ~LogCapture();
    void Print(const std::string& text) override;

    std::vector<std::string> Lines() const;
    void Clear();
    // Lines equal to `line`, and lines starting with `prefix`.
    int Count(const std::string& line) const;
    int CountPrefix(const std::string& prefix) const;

private:
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
    YLogEcho* previous_;
};

// ---- WAV -----------------------------------------------------------------------------------------

struct WavLayout {
    uint16_t formatTag = 1;
    uint16_t channels = 1;
    uint32_t rate = 22050;
    uint16_t bits = 16;
    uint32_t fmtSize = 16;       // 16 or 18
    bool listBeforeFmt = false;  // a "LIST" chunk right after "WAVE"
    bool listBeforeData = false; // a "LIST" chunk between "fmt " and "data"
    int64_t dataSizeField = -1;  // the size the "data" header claims; -1: the true size
    std::vector<uint8_t> data;   // the sample bytes
};
std::string MakeWav(const WavLayout& layout);
// `frames` frames of a 16-bit tone whose samples are all distinct from their neighbours.
std::vector<uint8_t> Tone16(uint32_t frames, uint16_t channels, uint32_t seed = 1);

// ---- Ogg Vorbis ----------------------------------------------------------------------------------

// Whether the system's Vorbis encoder could be loaded.
bool OggEncoderAvailable();
// An Ogg Vorbis file of `seconds` of a tone (some harmonics and a slow sweep), 16-bit source.
std::string MakeOgg(double seconds, int channels, int rate, uint32_t seed = 1);

#define SKIP_WITHOUT_OGG_ENCODER()                                                                  \
    do {                                                                                            \
        if (!::soundtest::OggEncoderAvailable()) GTEST_SKIP() << "libvorbisenc.so.2 not available"; \
    } while (0)

// `base` with a suffix new to this process: effects live until the process ends, so a test that
// runs again (--gtest_repeat) must not find its effects of the last run.
std::string UniqueName(const std::string& base);

// ---- Clock ---------------------------------------------------------------------------------------

// Replaces the millisecond clock with one the test sets; the real one comes back on destruction.
class ManualClock {
public:
    explicit ManualClock(uint32_t start = 1000);
    ~ManualClock();
    void Set(uint32_t ms);
    void Advance(uint32_t ms);
    uint32_t Now() const;
};

// ---- Fixture -------------------------------------------------------------------------------------

// Installs a null backend and works in a scratch folder (the working directory for the test). The
// device is not set up; tests call InitDirectSound when they need it. Tear-down releases it and
// puts back the master volumes and the active flag.
class SoundTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes a file into the scratch folder ('/' separated relative path).
    void Write(const std::string& relative, const std::string& bytes) { dir.Write(relative, bytes); }
    // A new effect whose voices and variants go at tear-down (the effect itself stays, as all do).
    YSoundFx* NewEffect(const std::string& base);
    // Empties `fx` at tear-down.
    void Own(YSoundFx* fx) { owned_.push_back(fx); }
    // Buffers whose flags are exactly `flags`, newest last.
    std::vector<std::shared_ptr<plat::NullSoundBuffer>> BuffersWithFlags(uint32_t flags) const;

    LogCapture log;
    plat::NullAudio audio;
    TempDir dir{true};

private:
    std::vector<YSoundFx*> owned_;
};

// Flags of the buffers the sound code makes.
constexpr uint32_t EFFECT_FLAGS = 0x40090;
constexpr uint32_t STREAM_FLAGS = 0x50180;

} // namespace soundtest
