// musicgen: composes the game's music tracks and writes them as Ogg Vorbis files into a folder.
//   musicgen [-v] <output folder>
// -v lists every track with its length, levels and size; otherwise only failures and a summary.
// Each track is rendered and encoded on its own thread. A self-check measures every rendered
// loop before it is encoded, and the run fails when a track is too short or long, silent, too
// hot, offset from zero, or jumps where the loop wraps.
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/sys/files.h"
#include "platform/sys/threads.h"
#include "tools/common/folder_args.h"
#include "tools/dsp/signal_stats.h"
#include "tools/musicgen/mixer.h"
#include "tools/musicgen/song.h"
#include "tools/musicgen/track.h"
#include "tools/musicgen/vorbis_writer.h"

namespace {

constexpr float kQuality = 0.3f;

struct Job {
    const music::Song* song = nullptr;
    std::string path;
    std::string report;
    bool ok = false;
};

// Empty when the loop passes; otherwise what is wrong with it.
std::string Check(const music::Rendered& r, double& seam) {
    const double seconds = static_cast<double>(r.frames) / music::kRate;
    if (seconds < 60.0 || seconds > 90.0) return "length outside 60..90 s";
    seam = 0.0;
    for (int c = 0; c < 2; ++c) {
        const dsp::SignalStats st = dsp::Measure(r.interleaved.data() + c, r.frames, 2);
        if (!st.finite) return "not finite";
        if (st.peak > 0.9) return "peak above -0.9 dBFS";
        if (st.rms < 0.03 || st.rms > 0.35) return "loudness out of range";
        if (std::fabs(st.dc) > 0.002) return "DC offset";
        seam = std::max(seam, std::fabs(static_cast<double>(r.interleaved[2 * (r.frames - 1) + c]) - r.interleaved[c]));
    }
    if (seam > 0.1) return "step at the loop point";
    return {};
}

void Run(Job& job) {
    const music::Song& song = *job.song;
    const music::Rendered r = music::RenderSong(song);
    double seam = 0.0;
    const std::string problem = Check(r, seam);
    const dsp::SignalStats left = dsp::Measure(r.interleaved.data(), r.frames, 2);
    const dsp::SignalStats right = dsp::Measure(r.interleaved.data() + 1, r.frames, 2);
    const double seconds = static_cast<double>(r.frames) / music::kRate;

    std::string ogg, error;
    std::string result;
    if (problem.empty()) {
        if (!music::EncodeVorbis(r.interleaved.data(), r.frames, 2, static_cast<long>(music::kRate), kQuality,
                                 static_cast<int>(song.seed), song.file, ogg, error))
            result = "encoding failed: " + error;
        else if (!plat::WriteFileAtomic(job.path, ogg))
            result = "cannot write " + job.path;
    } else {
        result = "FAILED: " + problem;
    }
    char line[512];
    std::snprintf(line, sizeof line,
                  "%-18s %5.1f s  %5.1f bpm  peak %5.1f dBFS  rms %5.1f/%5.1f dBFS  dc %+.5f  seam %.4f  %6.0f kB "
                  "%4.0f kbit/s%s%s",
                  song.file, seconds, song.bpm, dsp::Dbfs(std::max(left.peak, right.peak)), dsp::Dbfs(left.rms),
                  dsp::Dbfs(right.rms), 0.5 * (left.dc + right.dc), seam, static_cast<double>(ogg.size()) / 1024.0,
                  static_cast<double>(ogg.size()) * 8.0 / seconds / 1000.0, result.empty() ? "" : "  ", result.c_str());
    job.report = line;
    job.ok = result.empty();
}

} // namespace

int main(int argc, char** argv) {
    tools::FolderArgs args;
    if (const int rc = tools::ParseFolderArgs(argc, argv, "musicgen", args)) return rc;
    const bool verbose = args.verbose;
    const std::string& folder = args.folder;
    const std::vector<music::Song>& songs = music::Songs();
    std::vector<Job> jobs(songs.size());
    {
        std::vector<plat::YThread> threads(songs.size());
        for (std::size_t i = 0; i < songs.size(); ++i) {
            jobs[i].song = &songs[i];
            jobs[i].path = folder + "/" + songs[i].file;
            Job* job = &jobs[i];
            threads[i].Start([job](const std::atomic<bool>&) { Run(*job); });
        }
        for (plat::YThread& t : threads) t.Stop();
    }
    int failures = 0;
    for (const Job& job : jobs) {
        if (verbose || !job.ok) std::printf("%s\n", job.report.c_str());
        if (!job.ok) ++failures;
    }
    std::printf("musicgen: %zu tracks written to %s, %d failed\n", jobs.size() - static_cast<std::size_t>(failures),
                folder.c_str(), failures);
    return failures == 0 ? 0 : 1;
}
