// Feeds arbitrary bytes to the camera path reader twice: as the text form with no binary copy
// beside it, and as the binary copy itself. A text that is taken leaves a copy of exactly
// 4 + 28 bytes per sample; a copy never yields more samples than its bytes hold.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/log.h"
#include "fuzz_scratch.h"
#include "shell/camera_path.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static FuzzScratch* scratch = [] {
        LogReopen(""); // every rejected input would be a log line
        return new FuzzScratch("camera_path");
    }();
    const std::string text = scratch->Path("p.cpt");
    const std::string cache = scratch->Path("p.cpb");
    std::error_code ec;

    std::filesystem::remove(cache, ec);
    scratch->Write("p.cpt", data, size);
    if (LoadCameraPath(text)) {
        const std::size_t n = CameraPath().size();
        Check(n > 0 && n <= size / 14); // seven numbers and their blanks per sample
        Check(std::filesystem::file_size(cache, ec) == 4 + 28 * n);
    } else {
        Check(CameraPath().empty());
    }

    std::filesystem::remove(text, ec);
    scratch->Write("p.cpb", data, size);
    LoadCameraPath(text);
    Check(size >= 4 ? CameraPath().size() <= (size - 4) / 28 : CameraPath().empty());
    return 0;
}
