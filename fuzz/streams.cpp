// Feeds arbitrary bytes, as a file, through the stream readers: stream strings into small bounded
// buffers and into std::string, raw reads and skips, both plain and through the deciphering wrapper.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/crypt_stream.h"
#include "core/streams.h"
#include "fuzz_scratch.h"

namespace {

void Exercise(InStream& in, std::size_t size) {
    // Runs while the stream moves forward: a failed file stream reports size + 1 and stays there.
    int32_t left = in.Remaining();
    for (std::size_t pass = 0; pass < size + 4 && left > 0; ++pass) {
        switch (pass % 6) {
            case 0: {
                std::string text;
                ReadStreamString(in, text);
                if (text.size() > static_cast<std::size_t>(STREAM_STRING_MAX)) std::abort();
                break;
            }
            case 1: {
                char small[8];
                ReadStreamString(in, small, sizeof small);
                if (!std::memchr(small, 0, sizeof small)) std::abort();
                break;
            }
            case 2: {
                char one[1];
                ReadStreamString(in, one, sizeof one);
                if (one[0] != '\0') std::abort();
                break;
            }
            case 3: ReadStreamString(in, nullptr, 0); break;
            case 4: {
                int32_t value = 0;
                in.Read(&value, sizeof value);
                break;
            }
            case 5: in.Skip(3); break;
        }
        int32_t now = in.Remaining();
        if (now >= left) break;
        left = now;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static FuzzScratch scratch("streams");
    const std::string path = scratch.Write("input.bin", data, size);
    {
        InFStream in(path.c_str());
        Exercise(in, size);
    }
    {
        InFStream file(path.c_str());
        InCryptStream in(file, SCORE_FILE_KEY);
        Exercise(in, size);
    }
    return 0;
}
