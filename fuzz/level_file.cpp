// Feeds arbitrary bytes, as a level file, through the level reader. A file it takes must write
// back and read again to the same level; a file it refuses must come with a reason.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/streams.h"
#include "fuzz_scratch.h"
#include "world/level/level_file.h"

namespace {

class StringOut : public OutStream {
public:
    void Write(const void* buffer, int32_t count) override {
        if (count > 0) bytes.append(static_cast<const char*>(buffer), static_cast<std::size_t>(count));
    }
    std::string bytes;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static FuzzScratch scratch("level_file");
    const std::string path = scratch.Write("input.lev", data, size);
    YLevelData level;
    std::string error;
    auto known = [](const std::string& m) { return m.size() < 8; };
    if (!ReadLevelFile(path.c_str(), level, error, known)) {
        if (error.empty()) std::abort();
        return 0;
    }
    StringOut first;
    if (!WriteLevelData(first, level, error)) std::abort();
    YLevelData again;
    if (!ReadLevelBytes(reinterpret_cast<const uint8_t*>(first.bytes.data()), first.bytes.size(), again, error)) {
        std::abort();
    }
    StringOut second;
    if (!WriteLevelData(second, again, error) || second.bytes != first.bytes) std::abort();
    return 0;
}
