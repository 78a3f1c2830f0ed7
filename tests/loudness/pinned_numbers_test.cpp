// The numbers that define the meter, each pinned by a signal whose reading moves by more than
// its tolerance when the number moves by one unit: the gates, the Loudness Range
// percentiles, the window lengths and the true-peak oversampling at each band of rates.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "loudness/loudness_meter.h"
#include "loudness/true_peak.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kSilence = -1000.0;

/// A 1 kHz tone whose peak level moves from `fromDb` to `toDb` evenly in dB (a constant
/// level when they are the same), or silence.
struct Part {
    double seconds;
    double fromDb;
    double toDb = fromDb;
};

std::vector<float> tones(double rate, const std::vector<Part>& parts) {
    std::vector<float> samples;
    for (const Part& part : parts) {
        const auto count = static_cast<std::size_t>(std::lround(part.seconds * rate));
        for (std::size_t i = 0; i < count; ++i) {
            const double db = part.fromDb + (part.toDb - part.fromDb) * i / count;
            const double amplitude = part.fromDb <= kSilence ? 0.0 : std::pow(10.0, db / 20.0);
            samples.push_back(static_cast<float>(amplitude * std::sin(2 * kPi * 1000 * i / rate)));
        }
    }
    return samples;
}

/// The loudness of equally long parts at these levels, all counted.
double meanOf(std::initializer_list<double> levels) {
    double sum = 0.0;
    for (const double level : levels) {
        sum += std::pow(10.0, level / 10.0);
    }
    return 10.0 * std::log10(sum / static_cast<double>(levels.size()));
}

using Reading = std::function<double(const LoudnessMeter&)>;
const Reading kMomentary = &LoudnessMeter::momentary;
const Reading kShortTerm = &LoudnessMeter::shortTerm;
const Reading kIntegrated = &LoudnessMeter::integrated;
const Reading kRange = &LoudnessMeter::loudnessRange;

struct Pin {
    const char* number;  ///< what the case pins, and what one unit's move reads instead
    std::vector<Part> parts;
    Reading reading;
    double expected;
    double tolerance;
};

/// The same tone on both channels reads its peak level in LUFS.
const Pin kLoudnessPins[] = {
    {"absolute gate -70 LUFS (-69: undefined; -71: -69.96)",
     {{10, -69.5}, {10, -70.5}},
     kIntegrated,
     -69.5,
     0.1},
    {"relative gate -10 LU (-9: -20.0; -11: -24.47)",
     {{10, -20}, {10, -34}, {10, -35}},
     kIntegrated,
     meanOf({-20, -34}),
     0.1},
    {"Loudness Range gate -20 LU, 0.5 LU either side of -43 (-19: < 21; -21: 23.5)",
     {{20, -20}, {10, -42.5}, {10, -43.5}},
     kRange,
     22.5,
     0.1},
    // Short-term values rising evenly by 0.2 LU per 100 ms step over 97 s: each percentile
    // point moves the range by 0.194 LU.
    {"Loudness Range percentiles 10 and 95", {{100, -40, -20}}, kRange, 0.2 * 97 * 0.85, 0.05},
    {"momentary window 400 ms (500: -22.22; 300: -24.77)",
     {{0.4, -20}, {0.2, kSilence}},
     kMomentary,
     -20 + meanOf({0, kSilence}),
     0.05},
    {"short-term window 3 s (3.1: -22.87; 2.9: -23.16)",
     {{3, -20}, {1.5, kSilence}},
     kShortTerm,
     -20 + meanOf({0, kSilence}),
     0.05},
};

TEST(PinnedNumbersTest, EachGateAndWindowMovesItsReading) {
    for (const double rate : {44100.0, 48000.0}) {
        for (const Pin& pin : kLoudnessPins) {
            const std::vector<float> signal = tones(rate, pin.parts);
            LoudnessMeter meter;
            ASSERT_TRUE(meter.setup(rate, 2));
            const float* channels[] = {signal.data(), signal.data()};
            meter.process(channels, signal.size());
            EXPECT_NEAR(pin.reading(meter), pin.expected, pin.tolerance)
                << pin.number << ", " << rate;
        }
    }
}

/// A sine at a quarter of the rate, peak 0.5 (-6.02 dBFS), faded in and out over 10 ms,
/// whose peaks lie `offset` of a sample period after a sample.
std::vector<float> quarterRateTone(double rate, double offset) {
    const auto count = static_cast<std::size_t>(rate / 4);
    const double fade = 0.01 * rate;
    std::vector<float> samples(count);
    for (std::size_t i = 0; i < count; ++i) {
        const double gain = std::min({1.0, i / fade, (count - 1 - i) / fade});
        samples[i] = static_cast<float>(0.5 * gain * std::cos(kPi / 2 * (i - offset)));
    }
    return samples;
}

TEST(PinnedNumbersTest, TruePeakOversamplingReachesAtLeast192kHzAtEveryRate) {
    // A peak a quarter of a sample period from the samples reads 0.69 dB low at 2x; half a
    // period from them, 3 dB low without oversampling.
    const struct {
        double rate;
        int factor;
    } bands[] = {{44100, 4},  {48000, 4},  {88200, 4}, {96000, 2},
                 {176400, 2}, {192000, 2}, {384000, 1}};
    for (const auto& band : bands) {
        EXPECT_EQ(TruePeak::oversampling(band.rate), band.factor) << band.rate;
        const std::vector<float> signal = quarterRateTone(band.rate, 1.0 / band.factor);
        LoudnessMeter meter;
        ASSERT_TRUE(meter.setup(band.rate, 1));
        const float* channels[] = {signal.data()};
        meter.process(channels, signal.size());
        EXPECT_NEAR(meter.truePeak(), -6.02, 0.03) << band.rate;
    }
}

}  // namespace
