// The shipped sound: "data\sound_fx.yml" defines every effect name the code and the data files
// ask for, every file it names is in the game folder as a mono PCM WAV (or mono Ogg) the sound
// loader takes, at a clean level, and the "music" folder holds loopable Ogg tracks of one format.
#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "content/content_files.h"
#include "content/sound_names.h"
#include "core/xml_parser.h"
#include "platform/sys/files.h"
#include "sound/wav_reader.h"

namespace {

using content::GamePath;
using content::SourcePath;

// ---- data\sound_fx.yml, read with the game's tags and structure rules -----------------------

class SoundFxReader : public XMLParser {
public:
    SoundFxReader() {
        XMLTag t;
        AddTag(MakeTag(t, "sound", "name", "", nullptr));
        AddTag(MakeTag(t, "file", "path", "", nullptr));
        AddTag(MakeTag(t, "sound_once", "name", "", "path", "", nullptr));
    }
    std::map<std::string, std::vector<std::string>> effects; // name -> files
    std::vector<std::string> order;                          // names as first defined
    std::vector<std::string> errors;

protected:
    void OnTag(int id) override {
        if (id == 0 || id == 2) {
            if (open_) Error("Expected </sound>.");
            const std::string name = tags[id].attributes[0].value;
            if (effects.find(name) == effects.end()) order.push_back(name);
            std::vector<std::string>& files = effects[name];
            if (id == 2) {
                files.push_back(tags[2].attributes[1].value);
                open_ = false;
            } else {
                current_ = name;
                open_ = true;
            }
        } else if (!open_) {
            Error("Tag <file> outside <sound>.");
        } else {
            effects[current_].push_back(tags[1].attributes[0].value);
        }
    }
    void OnCloseTag(int id) override {
        if (id != 0) return; // a self-closed <file/> or <sound_once/> ends no entry
        if (!open_) Error("Expected <sound>.");
        open_ = false;
    }
    bool OnError(const char* message) override {
        Error(message);
        return true;
    }

private:
    void Error(const std::string& message) { errors.push_back(std::to_string(GetLine()) + ": " + message); }
    std::string current_;
    bool open_ = false;
};

const SoundFxReader& ShippedEffects() {
    static SoundFxReader reader;
    static bool loaded = false;
    if (!loaded) {
        loaded = true;
        const std::string file = SourcePath("data/sound_fx.yml");
        EXPECT_TRUE(reader.Load(file.c_str())) << file;
    }
    return reader;
}

// ---- sound names chosen by other data files ---------------------------------------------------

// Collects the values of the named attributes of every tag of a data file (the game's own tag
// and attribute tables, so defaults are those the game fills in).
class SoundNameCollector : public XMLParser {
public:
    SoundNameCollector(const std::vector<XMLTag>& tagTable, std::vector<std::string> soundAttributes)
        : soundAttributes_(std::move(soundAttributes)) {
        for (const XMLTag& t : tagTable) AddTag(t);
    }
    std::set<std::string> names;

protected:
    void OnTag(int id) override {
        for (const XMLAttribute& a : tags[id].attributes)
            if (std::find(soundAttributes_.begin(), soundAttributes_.end(), a.name) != soundAttributes_.end())
                names.insert(a.value);
    }
    bool OnError(const char*) override { return true; } // the file's own tests judge its syntax

private:
    std::vector<std::string> soundAttributes_;
};

// name -> the file that asks for it
std::map<std::string, std::string> SoundNamesAskedByData() {
    std::map<std::string, std::string> asked;
    XMLTag t;
    const std::vector<XMLTag> blockTags = {
        MakeTag(t, "default", "mass", "1", "health", "200", "shader", "block", "in_shader", "in_block", "scores", "25",
                "sound_stroke", "def_stroke", "sound_destroy", "def_destroy", "special", "", nullptr),
        MakeTag(t, "material", "name", "", "mass", "1", "health", "200", "shader", "block", "in_shader", "in_block",
                "scores", "25", "sound_stroke", "def_stroke", "sound_destroy", "def_destroy", "special", "", nullptr),
    };
    SoundNameCollector blocks(blockTags, {"sound_stroke", "sound_destroy"});
    if (plat::FileSize(SourcePath("data/blocks.yml")) >= 0) {
        blocks.Load(SourcePath("data/blocks.yml").c_str());
        for (const std::string& n : blocks.names) asked[n] = "data\\blocks.yml";
    }
    const std::vector<XMLTag> bonusTags = {
        MakeTag(t, "bonus", "name", "", "timeout", "0", "color", "ffffff", "score", "0", "sound", "bonus", nullptr),
    };
    SoundNameCollector bonuses(bonusTags, {"sound"});
    if (plat::FileSize(SourcePath("data/bonuses.yml")) >= 0) {
        bonuses.Load(SourcePath("data/bonuses.yml").c_str());
        for (const std::string& n : bonuses.names) asked[n] = "data\\bonuses.yml";
    }
    return asked;
}

// ---- audio files --------------------------------------------------------------------------------

struct Audio {
    int channels = 0;
    long rate = 0;
    std::vector<float> samples; // interleaved, -1 .. 1
    std::size_t clipped = 0;    // samples at full scale
};

// One little-endian 16-bit sample, counted as clipped at full scale.
void AddSample(Audio& a, const unsigned char* p) {
    const auto s = static_cast<int16_t>(p[0] | p[1] << 8);
    if (s == 32767 || s == -32768) ++a.clipped;
    a.samples.push_back(static_cast<float>(s) / 32768.0f);
}

// Decodes with the game's own WAV reader ("RIFF"/"WAVE", "fmt " as the first chunk with format
// tag 1, then "data" found by id, every size checked against the file). Empty when the file is
// usable, else why not.
std::string DecodeWav(const std::string& path, Audio& out) {
    FILE* file = plat::OpenFile(path, "rb");
    if (!file) return "missing or unreadable";
    plat::WaveFormatEx format;
    std::vector<uint8_t> data;
    std::string problem;
    try {
        ReadWavFile(file, path, &format, &data, &problem); // a sign of damage counts as a problem too
    } catch (const std::exception& e) {
        problem = e.what();
    }
    std::fclose(file);
    if (!problem.empty()) return problem;
    if (format.bitsPerSample != 16) return "not 16-bit";
    out.channels = format.channels;
    out.rate = static_cast<long>(format.samplesPerSec);
    for (std::size_t i = 0; i + 1 < data.size(); i += 2) AddSample(out, &data[i]);
    return {};
}

// Whole-file decode with libvorbisfile, as the game's Ogg reader does.
std::string DecodeOgg(const std::string& path, Audio& out) {
    OggVorbis_File vf;
    if (ov_fopen(plat::NativePath(path).c_str(), &vf) != 0) return "not an Ogg Vorbis file";
    const vorbis_info* info = ov_info(&vf, -1);
    out.channels = info->channels;
    out.rate = info->rate;
    const ogg_int64_t total = ov_pcm_total(&vf, -1);
    char buffer[8192];
    int section = 0;
    std::string error;
    for (;;) {
        const long n = ov_read(&vf, buffer, sizeof buffer, 0, 2, 1, &section);
        if (n == 0) break;
        if (n < 0) {
            error = "decode error " + std::to_string(n);
            break;
        }
        for (long i = 0; i + 1 < n; i += 2) AddSample(out, reinterpret_cast<const unsigned char*>(buffer + i));
    }
    ov_clear(&vf);
    if (error.empty() && total * out.channels != static_cast<ogg_int64_t>(out.samples.size()))
        error = "decoded length differs from the stream's length";
    return error;
}

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

struct Levels {
    double peak = 0, rms = 0, dc = 0;
};

Levels Measure(const Audio& a, int channel) {
    Levels l;
    double sum = 0, sq = 0;
    std::size_t n = 0;
    for (std::size_t i = static_cast<std::size_t>(channel); i < a.samples.size();
         i += static_cast<std::size_t>(a.channels), ++n) {
        const double v = a.samples[i];
        sum += v;
        sq += v * v;
        l.peak = std::max(l.peak, std::fabs(v));
    }
    if (n) {
        l.dc = sum / static_cast<double>(n);
        l.rms = std::sqrt(sq / static_cast<double>(n));
    }
    return l;
}

// What a finished effect must be: short, loud enough to hear, not clipped, centred on zero, and
// starting and ending at silence so a voice starts and stops without a click.
constexpr double kEffectMinSeconds = 0.03, kEffectMaxSeconds = 5.0;
constexpr double kEffectMinPeak = 0.25, kEffectMinRms = 0.01, kEffectMaxDc = 0.01, kEffectMaxEdge = 0.01;
// A music track: a minute or more, a steady level under full scale, and its last sample running
// straight on into its first, since the player loops it.
constexpr double kTrackMinSeconds = 60.0, kTrackMaxSeconds = 90.0;
constexpr double kTrackMinRms = 0.03, kTrackMaxRms = 0.4, kTrackMaxDc = 0.005, kTrackMaxSeam = 0.15;

// ---- tests --------------------------------------------------------------------------------------

TEST(SoundContent, EffectsFileParsesWithoutErrors) {
    const SoundFxReader& fx = ShippedEffects();
    EXPECT_TRUE(fx.errors.empty()) << fx.errors.front();
    ASSERT_FALSE(fx.effects.empty());
    for (const auto& [name, files] : fx.effects) {
        EXPECT_FALSE(name.empty());
        EXPECT_FALSE(files.empty()) << name << " has no file";
        EXPECT_LE(files.size(), 7u) << name << ": variants beyond the seventh voice never play";
        for (const std::string& f : files) EXPECT_FALSE(f.empty()) << name;
    }
}

TEST(SoundContent, EffectsFileDefinesEveryNameTheCodePlays) {
    const SoundFxReader& fx = ShippedEffects();
    for (const content::SoundNameUse& use : content::SOUND_NAMES_USED_BY_CODE) {
        const auto it = fx.effects.find(std::string(use.name));
        EXPECT_TRUE(it != fx.effects.end() && !it->second.empty())
            << "no sound \"" << use.name << "\" in data\\sound_fx.yml (played for " << use.playedFor << ")";
    }
}

TEST(SoundContent, EffectsFileDefinesEveryNameTheDataFilesChoose) {
    const SoundFxReader& fx = ShippedEffects();
    for (const auto& [name, file] : SoundNamesAskedByData()) {
        const auto it = fx.effects.find(name);
        EXPECT_TRUE(it != fx.effects.end() && !it->second.empty())
            << "no sound \"" << name << "\" in data\\sound_fx.yml (named by " << file << ")";
    }
}

TEST(SoundContent, EveryEffectFileLoadsAsCleanMonoSound) {
    const SoundFxReader& fx = ShippedEffects();
    std::size_t checked = 0;
    for (const std::string& name : fx.order) {
        for (const std::string& file : fx.effects.at(name)) {
            SCOPED_TRACE(name + ": " + file);
            const std::string path = GamePath(file);
            const std::string ext = Lower(file.substr(file.find_last_of('.') + 1));
            Audio a;
            std::string problem;
            if (ext == "wav") {
                problem = DecodeWav(path, a);
            } else {
                ASSERT_EQ(ext, "ogg") << "the loader takes only .wav and .ogg";
                problem = DecodeOgg(path, a);
            }
            ASSERT_TRUE(problem.empty()) << problem;
            // 3D voices need one channel.
            ASSERT_EQ(a.channels, 1);
            EXPECT_TRUE(a.rate == 22050 || a.rate == 44100) << a.rate;
            const double seconds = static_cast<double>(a.samples.size()) / static_cast<double>(a.rate);
            EXPECT_GE(seconds, kEffectMinSeconds);
            EXPECT_LE(seconds, kEffectMaxSeconds);
            ASSERT_FALSE(a.samples.empty());
            const Levels l = Measure(a, 0);
            EXPECT_GE(l.peak, kEffectMinPeak);
            EXPECT_GE(l.rms, kEffectMinRms);
            EXPECT_EQ(a.clipped, 0u);
            EXPECT_LE(std::fabs(l.dc), kEffectMaxDc);
            EXPECT_LE(std::fabs(a.samples.front()), kEffectMaxEdge);
            EXPECT_LE(std::fabs(a.samples.back()), kEffectMaxEdge);
            ++checked;
        }
    }
    EXPECT_GT(checked, 0u);
}

// Loudness as heard: the RMS over the 10 ms windows within 20 dB of the loudest one.
double ActiveRmsDb(const Audio& a) {
    const std::size_t window = static_cast<std::size_t>(a.rate / 100);
    std::vector<double> energy;
    for (std::size_t at = 0; at < a.samples.size(); at += window) {
        const std::size_t n = std::min(window, a.samples.size() - at);
        double sq = 0;
        for (std::size_t i = 0; i < n; ++i) sq += a.samples[at + i] * a.samples[at + i];
        energy.push_back(sq / static_cast<double>(n));
    }
    const double loudest = *std::max_element(energy.begin(), energy.end());
    double sum = 0;
    std::size_t used = 0;
    for (double e : energy)
        if (e >= loudest * 0.01) {
            sum += e;
            ++used;
        }
    return 10.0 * std::log10(sum / static_cast<double>(used));
}

Audio LoadEffectFile(const std::string& file) {
    Audio a;
    const std::string problem = DecodeWav(GamePath(file), a);
    EXPECT_TRUE(problem.empty()) << file << ": " << problem;
    return a;
}

// Effects are levelled by kind: none stands far out of the others (footsteps aside, which are
// meant to be quiet), and the variants of one effect are within a little of each other.
TEST(SoundContent, EffectsAreLevelledByKind) {
    const SoundFxReader& fx = ShippedEffects();
    double quietest = 0, loudest = -200;
    std::string quietestName, loudestName;
    for (const std::string& name : fx.order) {
        if (name == "hero_step") continue;
        double low = 0, high = -200;
        for (const std::string& file : fx.effects.at(name)) {
            if (Lower(file.substr(file.find_last_of('.') + 1)) != "wav") continue;
            const double db = ActiveRmsDb(LoadEffectFile(file));
            low = std::min(low, db);
            high = std::max(high, db);
            if (db < quietest) {
                quietest = db;
                quietestName = file;
            }
            if (db > loudest) {
                loudest = db;
                loudestName = file;
            }
        }
        if (high > low) {
            EXPECT_LE(high - low, 3.0) << name << ": variants at different levels";
        }
    }
    EXPECT_LE(loudest - quietest, 10.0) << "loudest " << loudestName << " " << loudest << " dB, quietest "
                                        << quietestName << " " << quietest << " dB";
}

// Peak normalised cross-correlation of two sounds over small shifts.
double Likeness(const Audio& a, const Audio& b) {
    const std::size_t n = std::min(a.samples.size(), b.samples.size());
    double ea = 0, eb = 0;
    for (std::size_t i = 0; i < n; ++i) {
        ea += a.samples[i] * a.samples[i];
        eb += b.samples[i] * b.samples[i];
    }
    double best = 0;
    for (int lag = -220; lag <= 220; lag += 2) {
        double sum = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const long j = static_cast<long>(i) - lag;
            if (j >= 0 && j < static_cast<long>(n)) sum += a.samples[i] * b.samples[static_cast<std::size_t>(j)];
        }
        best = std::max(best, std::fabs(sum));
    }
    return best / std::sqrt(ea * eb);
}

// The variants of the most often heard effects sound different, not like takes of one sound.
TEST(SoundContent, VariantsOfFrequentEffectsDiffer) {
    const SoundFxReader& fx = ShippedEffects();
    for (const char* name : {"kick", "wall_stroke", "hero_step"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(fx.effects.count(name));
        const std::vector<std::string>& files = fx.effects.at(name);
        ASSERT_GE(files.size(), 2u);
        for (std::size_t i = 0; i < files.size(); ++i)
            for (std::size_t j = i + 1; j < files.size(); ++j)
                EXPECT_LT(Likeness(LoadEffectFile(files[i]), LoadEffectFile(files[j])), 0.7)
                    << files[i] << " and " << files[j];
    }
}

TEST(SoundContent, MusicFolderHoldsLoopableTracksOfOneFormat) {
    std::vector<plat::DirEntry> entries = plat::ListDirectory(GamePath("music\\*.ogg"));
    std::sort(entries.begin(), entries.end(),
              [](const plat::DirEntry& a, const plat::DirEntry& b) { return a.name < b.name; });
    // Tracks 0 and 1 are the menu and game-over tracks; the shuffled play list has six or more, so
    // that no track comes back every other turn.
    ASSERT_GE(entries.size(), 8u);
    for (const plat::DirEntry& e : entries) {
        SCOPED_TRACE(e.name);
        Audio a;
        const std::string problem = DecodeOgg(GamePath("music\\" + e.name), a);
        ASSERT_TRUE(problem.empty()) << problem;
        // The streams keep one format for every track.
        EXPECT_EQ(a.channels, 2);
        EXPECT_EQ(a.rate, 44100);
        ASSERT_EQ(a.channels, 2);
        const double seconds = static_cast<double>(a.samples.size() / 2) / static_cast<double>(a.rate);
        EXPECT_GE(seconds, kTrackMinSeconds);
        EXPECT_LE(seconds, kTrackMaxSeconds);
        EXPECT_LE(a.clipped, a.samples.size() / 100000) << "clipped samples";
        for (int c = 0; c < 2; ++c) {
            const Levels l = Measure(a, c);
            EXPECT_GE(l.rms, kTrackMinRms) << "channel " << c;
            EXPECT_LE(l.rms, kTrackMaxRms) << "channel " << c;
            EXPECT_LE(std::fabs(l.dc), kTrackMaxDc) << "channel " << c;
            const double seam = std::fabs(a.samples[a.samples.size() - 2 + static_cast<std::size_t>(c)] -
                                          a.samples[static_cast<std::size_t>(c)]);
            EXPECT_LE(seam, kTrackMaxSeam) << "channel " << c << " jumps where the track loops";
        }
    }
}

} // namespace
