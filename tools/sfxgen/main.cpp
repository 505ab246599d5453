// sfxgen: synthesises the game's sound effects into a folder as mono 16-bit PCM WAV files.
//   sfxgen [-v] <output folder>
// -v lists every file with its length and levels; otherwise only failures and a summary print.
// Every effect is made from its recipe with a generator seeded by its file name, then cleaned up
// the same way: DC removed, short raised-cosine fades at both ends (no click when a voice starts
// or stops), and levelled to the loudness of its kind, never peaking above the ceiling. A
// self-check measures each result and the run fails when a sound is silent, clipped, off its
// loudness, offset from zero or not finite.
#include <cmath>
#include <cstdio>
#include <string>

#include "platform/sys/files.h"
#include "tools/common/folder_args.h"
#include "tools/dsp/filters.h"
#include "tools/dsp/signal_stats.h"
#include "tools/sfxgen/catalogue.h"
#include "tools/sfxgen/wav_file.h"

namespace {

using sfx::kRate;

void Finish(sfx::Sound& s, double loudness) {
    dsp::DcBlocker dc(kRate);
    for (float& v : s.data) v = static_cast<float>(dc.Process(v));
    const std::size_t n = s.Length();
    const double fadeOut = std::clamp(s.Seconds() * 0.2, 0.01, 0.12);
    dsp::FadeIn(s.data.data(), n, static_cast<std::size_t>(0.001 * kRate));
    dsp::FadeOut(s.data.data(), n, static_cast<std::size_t>(fadeOut * kRate));
    const double active = dsp::ActiveRms(s.data.data(), n, kRate);
    const double peak = dsp::Measure(s.data.data(), n).peak;
    if (active <= 0.0 || peak <= 0.0) return;
    const double gain = std::pow(10.0, loudness / 20.0) / active;
    if (gain * peak <= sfx::kPeakCeiling) {
        for (float& v : s.data) v = static_cast<float>(v * gain);
        return;
    }
    // Peaks that would pass the ceiling are rounded off (a soft limiter) rather than the whole
    // sound turned down, so that a sharp crack is not left far quieter than its kind.
    const double c = sfx::kPeakCeiling;
    for (float& v : s.data) v = static_cast<float>(c * std::tanh(v * gain / c));
}

// Empty when the sound passes; otherwise what is wrong with it. A sound whose peaks were rounded
// off may stay a little below its loudness, never more than 3 dB.
std::string Check(const sfx::Sound& s, double loudness) {
    const dsp::SignalStats st = dsp::Measure(s.data.data(), s.Length());
    if (!st.finite) return "not finite";
    if (st.peak > sfx::kPeakCeiling + 0.005) return "peak above the ceiling";
    if (st.rms < 0.003) return "nearly silent";
    const double heard = dsp::Dbfs(dsp::ActiveRms(s.data.data(), s.Length(), kRate));
    if (heard > loudness + 0.5 || heard < loudness - 3.0) return "off its loudness";
    if (std::fabs(st.dc) > 0.005) return "DC offset";
    if (std::fabs(s.data.front()) > 0.001 || std::fabs(s.data.back()) > 0.001) return "starts or ends away from zero";
    return {};
}

} // namespace

int main(int argc, char** argv) {
    tools::FolderArgs args;
    if (const int rc = tools::ParseFolderArgs(argc, argv, "sfxgen", args)) return rc;
    const bool verbose = args.verbose;
    const std::string& folder = args.folder;

    std::size_t count = 0;
    const sfx::Effect* effects = sfx::Catalogue(count);
    int failures = 0, written = 0;
    for (std::size_t e = 0; e < count; ++e) {
        const sfx::Effect& fx = effects[e];
        for (int v = 0; v < fx.variants; ++v) {
            std::string name = fx.stem;
            if (fx.variants > 1) name += std::to_string(v + 1);
            name += ".wav";

            dsp::Rng rng(dsp::HashName(name));
            sfx::Sound sound(fx.seconds);
            fx.recipe(sound, rng, v);
            Finish(sound, fx.loudness);

            const std::string problem = Check(sound, fx.loudness);
            const dsp::SignalStats st = dsp::Measure(sound.data.data(), sound.Length());
            if (verbose || !problem.empty())
                std::printf("%-22s %5.2f s  peak %6.1f dBFS  loudness %6.1f dBFS (aim %5.1f)  dc %+.5f%s%s\n",
                            name.c_str(), sound.Seconds(), dsp::Dbfs(st.peak),
                            dsp::Dbfs(dsp::ActiveRms(sound.data.data(), sound.Length(), kRate)), fx.loudness, st.dc,
                            problem.empty() ? "" : "  FAILED: ", problem.c_str());
            if (!problem.empty()) {
                ++failures;
                continue;
            }
            const std::string path = folder + "/" + name;
            if (!plat::WriteFileAtomic(path, sfx::EncodeWav(sound.data, static_cast<unsigned>(kRate)))) {
                std::fprintf(stderr, "sfxgen: cannot write %s\n", path.c_str());
                ++failures;
                continue;
            }
            ++written;
        }
    }
    std::printf("sfxgen: %d files written to %s, %d failed\n", written, folder.c_str(), failures);
    return failures == 0 ? 0 : 1;
}
