#include "sound_test_support.h"

#include <atomic>
#include <cmath>
#include <cstring>

#include "platform/audio/device.h"
#include "platform/sys/clock.h"
#include "sound/sound_buffer.h"
#include "sound/sound_device.h"
#include "sound/sound_source.h"

namespace soundtest {

// ---- Log -----------------------------------------------------------------------------------------

LogCapture::LogCapture() : previous_(GetLogConsole()) {
    LogReopen("");
    SetLogConsole(this);
}

LogCapture::~LogCapture() { SetLogConsole(previous_); }

void LogCapture::Print(const std::string& text) {
    std::lock_guard<std::mutex> guard(mutex_);
    lines_.push_back(text);
}

std::vector<std::string> LogCapture::Lines() const {
    std::lock_guard<std::mutex> guard(mutex_);
    return lines_;
}

void LogCapture::Clear() {
    std::lock_guard<std::mutex> guard(mutex_);
    lines_.clear();
}

int LogCapture::Count(const std::string& line) const {
    std::lock_guard<std::mutex> guard(mutex_);
    int n = 0;
    for (const std::string& l : lines_) n += l == line;
    return n;
}

int LogCapture::CountPrefix(const std::string& prefix) const {
    std::lock_guard<std::mutex> guard(mutex_);
    int n = 0;
    for (const std::string& l : lines_) n += l.compare(0, prefix.size(), prefix) == 0;
    return n;
}

// ---- WAV -----------------------------------------------------------------------------------------

namespace {

void Put32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out += static_cast<char>((v >> (8 * i)) & 0xFF);
}

void Put16(std::string& out, uint16_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}

std::string ListChunk() {
    std::string c = "LIST";
    Put32(c, 10);
    c += "INFOISFT\x02";
    c += '\0';
    return c;
}

} // namespace

std::string MakeWav(const WavLayout& s) {
    std::string body = "WAVE";
    if (s.listBeforeFmt) body += ListChunk();
    body += "fmt ";
    Put32(body, s.fmtSize);
    Put16(body, s.formatTag);
    Put16(body, s.channels);
    Put32(body, s.rate);
    const uint16_t align = static_cast<uint16_t>(s.channels * s.bits / 8);
    Put32(body, s.rate * align);
    Put16(body, align);
    Put16(body, s.bits);
    for (uint32_t i = 16; i < s.fmtSize; ++i) body += '\0';
    if (s.listBeforeData) body += ListChunk();
    body += "data";
    Put32(body, s.dataSizeField >= 0 ? static_cast<uint32_t>(s.dataSizeField) : static_cast<uint32_t>(s.data.size()));
    body.append(reinterpret_cast<const char*>(s.data.data()), s.data.size());
    if (s.data.size() & 1) body += '\0';
    std::string file = "RIFF";
    Put32(file, static_cast<uint32_t>(body.size()));
    return file + body;
}

std::vector<uint8_t> Tone16(uint32_t frames, uint16_t channels, uint32_t seed) {
    std::vector<uint8_t> out;
    out.reserve(static_cast<size_t>(frames) * channels * 2);
    for (uint32_t n = 0; n < frames; ++n) {
        for (uint16_t c = 0; c < channels; ++c) {
            const double v = 12000.0 * std::sin(0.05 * (n + 1) * (c + 1) + seed) + 3.0 * ((n * 7 + seed) % 11);
            const auto s = static_cast<int16_t>(std::lround(v));
            out.push_back(static_cast<uint8_t>(s & 0xFF));
            out.push_back(static_cast<uint8_t>((s >> 8) & 0xFF));
        }
    }
    return out;
}

std::string UniqueName(const std::string& base) {
    static int next = 0;
    return base + "#" + std::to_string(++next);
}

// ---- Clock ---------------------------------------------------------------------------------------

namespace {

std::atomic<uint32_t> g_manualNow{0};

uint32_t ManualNow() { return g_manualNow.load(); }

} // namespace

ManualClock::ManualClock(uint32_t start) {
    g_manualNow.store(start);
    plat::SetTimeSource(&ManualNow);
}

ManualClock::~ManualClock() { plat::SetTimeSource(nullptr); }

void ManualClock::Set(uint32_t ms) { g_manualNow.store(ms); }

void ManualClock::Advance(uint32_t ms) { g_manualNow.fetch_add(ms); }

uint32_t ManualClock::Now() const { return g_manualNow.load(); }

// ---- Fixture -------------------------------------------------------------------------------------

void SoundTest::SetUp() { plat::DsInstallBackend(&audio); }

void SoundTest::TearDown() {
    // Plays queued by a test start now, on this test's device, not on the next test's.
    UpdateSound();
    for (YSoundFx* fx : owned_) {
        for (YSoundSource* voice : fx->voices) delete voice;
        for (YSoundBuffer* buffer : fx->variants) delete buffer;
        fx->voices.clear();
        fx->variants.clear();
        fx->nextVariant = 0;
    }
    owned_.clear();
    ReleaseDirectSound();
    plat::DsInstallBackend(nullptr);
    SetSoundVolume(1.0f);
    SetMusicVolume(1.0f);
    SetSoundAppActive(true);
}

YSoundFx* SoundTest::NewEffect(const std::string& base) {
    YSoundFx* fx = GetSoundFx(UniqueName(base));
    Own(fx);
    return fx;
}

std::vector<std::shared_ptr<plat::NullSoundBuffer>> SoundTest::BuffersWithFlags(uint32_t flags) const {
    std::vector<std::shared_ptr<plat::NullSoundBuffer>> out;
    for (auto& b : audio.Buffers())
        if (b->Flags() == flags) out.push_back(b);
    return out;
}

} // namespace soundtest
