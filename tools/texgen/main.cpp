// texgen: draws the game's pictures into the game folder: the sky boxes "env\<name>\<face>.jpg",
// the textures under "textures\" and the splash slides under "splash\".
//   texgen [-v] [--fonts DIR] <game folder>
// -v lists every file with the time it took. --fonts names the folder of the DejaVu TrueType
// fonts the slides are lettered with (default /usr/share/fonts/truetype/dejavu).
// Every picture is made from fixed seeds, so a run writes the same pictures every time. The work
// is shared among threads, one file at a time.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/image/image_write.h"
#include "platform/sys/clock.h"
#include "platform/sys/files.h"
#include "platform/sys/threads.h"
#include "tools/common/texture_names.h"
#include "tools/dsp/rng.h"
#include "tools/texgen/catalogue.h"

namespace {

using namespace texgen;

constexpr int JPEG_QUALITY = 92;

struct Job {
    std::string path; // relative, with '\'
    int width = 0, height = 0;
    bool alpha = false;
    Recipe recipe = nullptr;   // a texture or slide ...
    SkyFunction sky = nullptr; // ... or a sky-box face
    int face = 0;
    float threshold = 0;
    // Filled in by the worker.
    std::string error;
    uint32_t ms = 0;
};

// Makes every folder on the way to the file.
bool MakeFoldersFor(const std::string& folder, const std::string& relative) {
    std::string path = folder;
    std::size_t start = 0;
    for (std::size_t sep; (sep = relative.find('\\', start)) != std::string::npos; start = sep + 1) {
        path += "/" + relative.substr(start, sep - start);
        if (!plat::MakeDirectory(path)) return false;
    }
    return true;
}

void Run(Job& job, const Context& context, const std::string& folder) {
    const uint32_t start = plat::TimeMs();
    Picture picture(job.width, job.height);
    if (job.sky) {
        picture = RenderSkyFace(job.sky, job.face, job.width, job.threshold);
    } else if (!job.recipe(context, picture, job.error)) {
        if (job.error.empty()) job.error = "the recipe failed";
        return;
    }
    const plat::Image image = picture.ToImage(static_cast<uint32_t>(dsp::HashName(job.path)));
    if (!MakeFoldersFor(folder, job.path)) {
        job.error = "cannot make its folder";
        return;
    }
    const std::string target = folder + "\\" + job.path; // the file layer turns '\' into '/'
    std::string why;
    const bool png = job.path.size() > 4 && job.path.compare(job.path.size() - 4, 4, ".png") == 0;
    const bool saved =
        png ? plat::SavePng(target, image, job.alpha, &why) : plat::SaveJpeg(target, image, JPEG_QUALITY, &why);
    if (!saved) job.error = "cannot write it: " + why;
    job.ms = plat::TimeMs() - start;
}

// The whole list, or an empty one (with a message) when an entry has no recipe.
std::vector<Job> MakeJobs() {
    std::vector<Job> jobs;
    bool complete = true;
    auto add = [&](const content::TextureFile& file) {
        Job job;
        job.path = std::string(file.path);
        job.width = file.width;
        job.height = file.height;
        job.alpha = file.alpha;
        job.recipe = FindRecipe(file.path);
        if (!job.recipe) {
            std::fprintf(stderr, "texgen: no recipe for %s\n", job.path.c_str());
            complete = false;
        }
        jobs.push_back(std::move(job));
    };
    for (const content::TextureFile& file : content::TEXTURE_FILES) add(file);
    for (const content::TextureFile& file : content::SPLASH_PICTURES) add(file);
    for (std::string_view env : content::ENVIRONMENT_NAMES) {
        const SkyRecipe sky = FindSky(env);
        if (!sky.sky) {
            std::fprintf(stderr, "texgen: no sky for the environment %.*s\n", static_cast<int>(env.size()), env.data());
            complete = false;
            continue;
        }
        for (std::string_view face : content::ENVIRONMENT_FACES) {
            Job job;
            job.path = "env\\" + std::string(env) + "\\" + std::string(face) + ".jpg";
            job.width = job.height = content::ENVIRONMENT_FACE_SIDE;
            job.sky = sky.sky;
            job.threshold = sky.threshold;
            job.face = FaceIndex(face);
            if (job.face < 0) {
                std::fprintf(stderr, "texgen: unknown face %s\n", job.path.c_str());
                complete = false;
            }
            jobs.push_back(std::move(job));
        }
    }
    if (!complete) jobs.clear();
    return jobs;
}

} // namespace

int main(int argc, char** argv) {
    bool verbose = false;
    Context context{"/usr/share/fonts/truetype/dejavu"};
    std::string folder;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-v") == 0) {
            verbose = true;
        } else if (std::strcmp(argv[i], "--fonts") == 0 && i + 1 < argc) {
            context.fontDir = argv[++i];
        } else if (folder.empty() && argv[i][0] != '-') {
            folder = argv[i];
        } else {
            folder.clear();
            break;
        }
    }
    if (folder.empty()) {
        std::fprintf(stderr, "usage: texgen [-v] [--fonts DIR] <game folder>\n");
        return 2;
    }
    if (!plat::MakeDirectory(folder)) {
        std::fprintf(stderr, "texgen: cannot create %s\n", folder.c_str());
        return 1;
    }
    std::vector<Job> jobs = MakeJobs();
    if (jobs.empty()) return 1;

    // The slowest jobs (sky faces) go first so the threads finish together.
    std::stable_partition(jobs.begin(), jobs.end(), [](const Job& j) { return j.sky != nullptr; });
    std::atomic<std::size_t> next{0};
    const unsigned threads = std::clamp(std::thread::hardware_concurrency(), 1u, 16u);
    {
        std::vector<std::unique_ptr<plat::YThread>> workers;
        for (unsigned t = 0; t < threads; ++t) {
            workers.push_back(std::make_unique<plat::YThread>());
            workers.back()->Start([&](const std::atomic<bool>&) {
                for (std::size_t i; (i = next.fetch_add(1)) < jobs.size();) Run(jobs[i], context, folder);
            });
        }
        for (auto& w : workers) w->Stop();
    }

    int failures = 0;
    for (const Job& job : jobs) {
        if (!job.error.empty()) {
            std::fprintf(stderr, "texgen: %s: %s\n", job.path.c_str(), job.error.c_str());
            ++failures;
        } else if (verbose) {
            std::printf("%-36s %4d x %-4d %5u ms\n", job.path.c_str(), job.width, job.height, job.ms);
        }
    }
    std::printf("texgen: %zu pictures written to %s, %d failed\n", jobs.size() - failures, folder.c_str(), failures);
    return failures == 0 ? 0 : 1;
}
