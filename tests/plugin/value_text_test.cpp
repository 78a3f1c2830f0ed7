// The value-to-text operations of the effect base class.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <string>

#include "tests/plugin/test_effect.h"

namespace {

constexpr char kCanary = 0x5A;
constexpr std::size_t kDisplaySize = 9;

class ValueText : public ::testing::Test {
  protected:
    /// Runs `write` on a buffer with canary bytes behind the 9-byte display text, checks
    /// that nothing lands behind it and returns the text.
    template <typename Write>
    std::string written(Write write) {
        char buffer[kDisplaySize + 8];
        std::memset(buffer, kCanary, sizeof(buffer));
        write(buffer);
        for (std::size_t i = kDisplaySize; i < sizeof(buffer); ++i) {
            EXPECT_EQ(buffer[i], kCanary) << "byte " << i << " overwritten";
        }
        EXPECT_NE(std::memchr(buffer, '\0', kDisplaySize), nullptr) << "no terminator";
        return std::string(buffer, std::find(buffer, buffer + kDisplaySize, '\0'));
    }
    std::string floatText(float value) {
        return written([&](char* text) { effect.float2string(value, text); });
    }
    std::string decibelText(float value) {
        return written([&](char* text) { effect.dB2string(value, text); });
    }
    std::string longText(VstInt32 value) {
        return written([&](char* text) { effect.long2string(value, text); });
    }

    TestEffect effect{nullptr};
};

TEST_F(ValueText, FixedPointDigitsAreTruncated) {
    EXPECT_EQ(floatText(0.0f), "0.000000");
    EXPECT_EQ(floatText(-0.0f), "0.000000");
    EXPECT_EQ(floatText(0.5f), "0.500000");
    EXPECT_EQ(floatText(1.0f), "1.000000");
    EXPECT_EQ(floatText(1.25f), "1.250000");
    EXPECT_EQ(floatText(0.42474f), "0.424739");
    EXPECT_EQ(floatText(12.5f), "12.50000");
    EXPECT_EQ(floatText(123.456f), "123.4560");
    EXPECT_EQ(floatText(-3.0f), "-3.00000");
    EXPECT_EQ(floatText(1.5f), "1.500000");
    EXPECT_EQ(floatText(1234567.0f), "1234567.");
    EXPECT_EQ(floatText(-123456.0f), "-123456.");
}

TEST_F(ValueText, NumbersTooLongForThePointLoseItRatherThanADigit) {
    EXPECT_EQ(floatText(12345678.0f), "12345678");
    EXPECT_EQ(floatText(10000000.0f), "10000000");
    EXPECT_EQ(floatText(99999992.0f), "99999992");
    EXPECT_EQ(floatText(-1234567.0f), "-1234567");
    EXPECT_EQ(floatText(-9999999.0f), "-9999999");
    EXPECT_EQ(floatText(-1000000.5f), "-1000000");
}

TEST_F(ValueText, OutOfRangeAndNonNumbersGetWords) {
    const float infinity = std::numeric_limits<float>::infinity();
    EXPECT_EQ(floatText(100000000.0f), "Huge!");
    EXPECT_EQ(floatText(-10000000.0f), "Huge!");
    EXPECT_EQ(floatText(std::numeric_limits<float>::max()), "Huge!");
    EXPECT_EQ(floatText(infinity), "Huge!");
    EXPECT_EQ(floatText(-infinity), "Huge!");
    EXPECT_EQ(floatText(std::numeric_limits<float>::quiet_NaN()), "NaN");
    EXPECT_EQ(floatText(std::numeric_limits<float>::denorm_min()), "0.000000");
}

TEST_F(ValueText, Decibels) {
    EXPECT_EQ(decibelText(1.0f), "0.000000");
    EXPECT_EQ(decibelText(0.5f), "-6.02060");
    EXPECT_EQ(decibelText(0.1f), "-20.0000");
    EXPECT_EQ(decibelText(2.0f), "6.020600");
    EXPECT_EQ(decibelText(0.0f), "-oo");
    EXPECT_EQ(decibelText(-1.0f), "-oo");
    EXPECT_EQ(decibelText(std::numeric_limits<float>::infinity()), "Huge!");
}

TEST_F(ValueText, Integers) {
    EXPECT_EQ(longText(0), "      0");
    EXPECT_EQ(longText(13230), "  13230");
    EXPECT_EQ(longText(7200), "   7200");
    EXPECT_EQ(longText(-5), "     -5");
    EXPECT_EQ(longText(99999999), "99999999");
    EXPECT_EQ(longText(100000000), "Huge!");
    EXPECT_EQ(longText(-9999999), "-9999999");
    EXPECT_EQ(longText(-10000000), "Huge!");
    EXPECT_EQ(longText(std::numeric_limits<VstInt32>::min()), "Huge!");
}

TEST_F(ValueText, RatesAndTimesFromSampleCounts) {
    EXPECT_EQ(written([&](char* t) { effect.Hz2string(441.0f, t); }), "100.0000");
    EXPECT_EQ(written([&](char* t) { effect.Hz2string(0.0f, t); }), "0.000000");
    EXPECT_EQ(written([&](char* t) { effect.ms2string(4410.0f, t); }), "100.0000");
}

}  // namespace
