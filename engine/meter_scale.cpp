#include "engine/meter_scale.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

constexpr float kDecibelAddend = 1e-20f;
/// Readings at or below this fall to -40 dB or less: level 0 without a logarithm.
constexpr float kFloorReading = 0.01f;

constexpr double kLn10 = 2.302585092994045684017991454684;
constexpr double kLn2 = 0.693147180559945309417232121458;

// A reading x has log10 x = log10 c + log10(1 + r), where c is the centre of the table
// interval holding x and r = x / c - 1. The intervals are the runs of 2^17 float bit patterns
// from the one holding 0.01 to the one ending at 1: 64 to a power of two, so |r| <= 2^-7.
constexpr int kIntervalShift = 17;
constexpr std::uint32_t kIntervalWidth = 1u << kIntervalShift;
constexpr std::uint32_t kFirstInterval = 0x3c23d70au >> kIntervalShift;  // holds 0.01
constexpr std::uint32_t kLastInterval = (0x3f800000u >> kIntervalShift) - 1;
constexpr std::uint32_t kIntervals = kLastInterval - kFirstInterval + 1;

struct LogEntry {
    /// 1 / c, with at most 29 significant bits: x / c is then an exact product.
    double inverseCentre;
    /// log10 c, to a few units in the last place.
    double log10Centre;
};

/// The value of a positive normal float's bit pattern.
constexpr double valueOfBits(std::uint32_t bits) {
    double value = static_cast<double>((bits & 0x7fffffu) | 0x800000u) * 0x1p-23;
    for (std::uint32_t e = bits >> 23; e < 127; ++e) {
        value *= 0.5;
    }
    for (std::uint32_t e = bits >> 23; e > 127; --e) {
        value *= 2.0;
    }
    return value;
}

/// ln v: v = 2^k w with w from 0.7 to 1.4, ln w = 2 atanh((w - 1) / (w + 1)) by its series.
constexpr double naturalLog(double v) {
    double scaled = 0.0;
    for (; v > 1.4142135623730951; v *= 0.5) {
        scaled += kLn2;
    }
    for (; v < 0.7071067811865476; v *= 2.0) {
        scaled -= kLn2;
    }
    const double s = (v - 1.0) / (v + 1.0);
    double sum = 0.0;
    for (int j = 41; j >= 1; j -= 2) {
        sum = sum * (s * s) + 1.0 / j;
    }
    return scaled + 2.0 * s * sum;
}

/// `v` rounded to 29 significant bits (Veltkamp's split).
constexpr double toShortMantissa(double v) {
    const double scaled = v * 0x1.000001p24;
    return scaled - (scaled - v);
}

constexpr std::array<LogEntry, kIntervals> makeLogTable() {
    std::array<LogEntry, kIntervals> table{};
    for (std::uint32_t i = 0; i < kIntervals; ++i) {
        const std::uint32_t low = (kFirstInterval + i) << kIntervalShift;
        const double centre = 0.5 * (valueOfBits(low) + valueOfBits(low + kIntervalWidth));
        // The last interval, up to 1, takes c = 1: readings just below 1, whose logarithms
        // are tiny, then come from the series alone, with no cancellation against log10 c.
        const double inverse =
            kFirstInterval + i == kLastInterval ? 1.0 : toShortMantissa(1.0 / centre);
        table[i] = {inverse, -naturalLog(inverse) / kLn10};
    }
    return table;
}

constexpr std::array<LogEntry, kIntervals> kLogTable = makeLogTable();

// log10(1 + r) = r (a1 + a2 r + ... + a6 r^5) + O(r^7); |r| <= 2^-7 leaves under 2^-53.
constexpr double kA1 = 1.0 / kLn10;
constexpr double kA2 = -1.0 / (2.0 * kLn10);
constexpr double kA3 = 1.0 / (3.0 * kLn10);
constexpr double kA4 = -1.0 / (4.0 * kLn10);
constexpr double kA5 = 1.0 / (5.0 * kLn10);
constexpr double kA6 = -1.0 / (6.0 * kLn10);

/// log10 of a reading from 0.01 up to 1, in double precision and pure IEEE arithmetic: every
/// platform gets the same bits. r is exact and the table good to a few units in the last
/// place; |log10 c| is at most three times |log10 x|, and |log10 x| is at least 2^-9 but in
/// the last interval, where the series alone is within 2^-44 of its value. So the result is
/// within 2^-43 of its own magnitude: under 2^10 units in its last place.
double approximateLog10(float x) {
    std::uint32_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    const LogEntry& entry = kLogTable[(bits >> kIntervalShift) - kFirstInterval];
    const double r = static_cast<double>(x) * entry.inverseCentre - 1.0;
    const double r2 = r * r;
    const double high = kA3 + kA4 * r + r2 * (kA5 + kA6 * r);
    const double series = kA1 + kA2 * r + r2 * high;
    return entry.log10Centre + r * series;
}

/// Distance, in units in the last place of a double, below which rounding to float is left
/// to the library: far beyond the error of approximateLog10 and of the library's log10, and
/// met by one conversion in 4096.
constexpr std::uint64_t kRoundingMargin = 1u << 16;

/// Whether `value` lies more than kRoundingMargin units from halfway between two floats: the
/// 29 bits that rounding to float drops are then far from their midpoint 2^28.
bool roundsSafely(double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const std::uint64_t dropped = bits & 0x1fffffffu;
    // Unsigned: far below the midpoint the difference wraps to a huge number.
    return dropped + kRoundingMargin - 0x10000000u > 2 * kRoundingMargin;
}

}  // namespace

float toDecibels(float x) {
    const float shifted = static_cast<float>(static_cast<double>(x) + kDecibelAddend);
    const float log = static_cast<float>(std::log10(static_cast<double>(shifted)));
    return 20.0f * log;
}

float toUnitRange(float value, float low, float high) {
    if (!(value > low)) {
        return 0.0f;
    }
    if (value >= high) {
        return 1.0f;
    }
    return (value - low) / (high - low);
}

float meterLevel(float reading) {
    if (reading >= 1.0f) {
        return 1.0f;
    }
    if (!(reading > kFloorReading)) {
        return 0.0f;  // also not-a-number
    }
    // From 0.01 up the addend is below half a unit of the double sum, which stays the reading.
    const double log = approximateLog10(reading);
    if (!roundsSafely(log)) {
        return toUnitRange(toDecibels(reading), kMeterFloorDecibels, 0.0f);
    }
    return toUnitRange(20.0f * static_cast<float>(log), kMeterFloorDecibels, 0.0f);
}
