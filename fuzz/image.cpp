// Feeds arbitrary bytes to the picture readers (every format is chosen by content), then checks that
// a success is consistent and that what was decoded survives filtering and a BMP round trip.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/image/image.h"
#include "platform/image/image_write.h"
#include "platform/image/resample.h"

namespace {

// Pictures above this many pixels are only read up to their header, so that one input costs at
// most a few megabytes and milliseconds (the readers themselves accept up to 8192 x 8192).
constexpr long long FUZZ_MAX_PIXELS = 1 << 20;

void Check(bool condition) {
    if (!condition) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    plat::ImageInfo info;
    std::string error;
    const bool headerOk = plat::GetImageInfoFromMemory(data, size, info, &error);
    Check(headerOk || !error.empty());
    if (headerOk) {
        Check(info.width >= 1 && info.width <= plat::IMAGE_MAX_SIDE);
        Check(info.height >= 1 && info.height <= plat::IMAGE_MAX_SIDE);
        if (static_cast<long long>(info.width) * info.height > FUZZ_MAX_PIXELS) return 0;
    }

    plat::Image image;
    plat::ImageInfo decoded;
    error.clear();
    if (!plat::DecodeImage(data, size, image, &decoded, &error)) {
        Check(!error.empty() && image.Empty() && image.pixels.empty());
        return 0;
    }
    Check(headerOk);
    Check(decoded.width == info.width && decoded.height == info.height && decoded.format == info.format &&
          decoded.hasAlpha == info.hasAlpha);
    Check(image.width == info.width && image.height == info.height);
    Check(image.pixels.size() == static_cast<std::size_t>(image.width) * image.height * 4);
    if (!info.hasAlpha)
        for (std::size_t i = 3; i < image.pixels.size(); i += 4) Check(image.pixels[i] == 255);

    if (image.width <= 64 && image.height <= 64) {
        std::vector<plat::Image> chain(1, image);
        Check(plat::BuildMipChain(chain));
        Check(static_cast<int>(chain.size()) == plat::MipLevelCount(image.width, image.height));
        Check(chain.back().width == 1 && chain.back().height == 1);

        std::string bmp;
        Check(plat::EncodeBmp(image, bmp));
        plat::Image again;
        Check(plat::DecodeImage(bmp.data(), bmp.size(), again));
        Check(again.width == image.width && again.height == image.height);
        for (std::size_t i = 0; i < image.pixels.size(); ++i)
            Check(again.pixels[i] == (i % 4 == 3 ? 255 : image.pixels[i]));
    }
    return 0;
}
