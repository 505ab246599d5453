// The one clamp every volume level goes through.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "core/volume.h"

namespace {

TEST(ClampVolume, KeepsLevelsInsideZeroToOneAndMapsEverythingElseToAnEnd) {
    using L = std::numeric_limits<float>;
    struct Case {
        float in;
        float out;
    };
    const Case cases[] = {
        {0.0f, 0.0f},
        {1.0f, 1.0f},
        {0.5f, 0.5f},
        {L::denorm_min(), L::denorm_min()}, // the smallest level above silence stays
        {std::nextafter(1.0f, 0.0f), std::nextafter(1.0f, 0.0f)},
        {std::nextafter(1.0f, 2.0f), 1.0f},
        {-L::denorm_min(), 0.0f},
        {-0.0f, 0.0f},
        {-1.0f, 0.0f},
        {1e30f, 1.0f},
        {L::infinity(), 1.0f},
        {-L::infinity(), 0.0f},
        {L::quiet_NaN(), 0.0f},
        {-L::quiet_NaN(), 0.0f},
        {L::signaling_NaN(), 0.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.in);
        const float out = ClampVolume(c.in);
        EXPECT_EQ(out, c.out);
        EXPECT_FALSE(std::signbit(out)) << "a level is never negative, not even -0";
    }
}

} // namespace
