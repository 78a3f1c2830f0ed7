#include "engine/meter_scale.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>

namespace {

std::uint32_t bitsOf(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

float floatOf(std::uint32_t bits) {
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

/// The level as the library's logarithm gives it.
float referenceLevel(float reading) {
    return toUnitRange(toDecibels(reading), -40.0f, 0.0f);
}

TEST(MeterScale, EveryReadingThatNeedsALogarithmGivesTheLibrarysLevel) {
    // From below 0.01 (-40 dB) to 1 (0 dB) inclusive: every float whose level lies inside the
    // scale, with a margin of readings that clamp. About a second, sanitisers included.
    const std::uint32_t first = bitsOf(0.0099f);
    const std::uint32_t last = bitsOf(1.0f);
    std::uint64_t mismatches = 0;
    for (std::uint32_t bits = first; bits <= last; ++bits) {
        const float reading = floatOf(bits);
        const float expected = referenceLevel(reading);
        const float level = meterLevel(reading);
        if (bitsOf(level) != bitsOf(expected) && ++mismatches <= 5) {
            ADD_FAILURE() << "reading " << std::hexfloat << reading << " gives " << level
                          << ", the library " << expected;
        }
    }
    EXPECT_EQ(mismatches, 0u);
}

TEST(MeterScale, ReadingsOutsideTheScaleClampAsTheLibraryDoes) {
    const float infinity = std::numeric_limits<float>::infinity();
    const float readings[] = {0.0f,
                              -0.0f,
                              std::numeric_limits<float>::denorm_min(),
                              1e-20f,
                              0.01f,
                              -0.5f,
                              -infinity,
                              std::numeric_limits<float>::quiet_NaN(),
                              1.0f,
                              1.0000001f,
                              4.0f,
                              std::numeric_limits<float>::max(),
                              infinity};
    for (const float reading : readings) {
        const float level = meterLevel(reading);
        EXPECT_EQ(bitsOf(level), bitsOf(referenceLevel(reading))) << reading;
        EXPECT_TRUE(level == 0.0f || level == 1.0f) << reading;
        EXPECT_EQ(meterValue(1, reading), 1.0f + 0.5f * level) << reading;
    }
    EXPECT_EQ(meterValue(0, 0.5f), 0.5f * (toDecibels(0.5f) + 40.0f) / 40.0f);
}

}  // namespace
