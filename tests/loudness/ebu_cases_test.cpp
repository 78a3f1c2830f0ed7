// The minimum-requirement tests of EBU Tech 3341 and 3342 that can be synthesised, at
// 48 kHz and 44.1 kHz, stereo with the same signal on both channels.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "loudness/loudness_meter.h"
#include "tests/loudness/true_peak_burst.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kSilence = -1000.0;

struct Segment {
    double seconds;
    double dbfs;  ///< peak level of the 1 kHz tone, or kSilence
};

std::vector<float> tones(double rate, const std::vector<Segment>& segments) {
    std::vector<float> samples;
    for (const Segment& segment : segments) {
        const double amplitude = std::pow(10.0, segment.dbfs / 20.0);
        const auto count = static_cast<std::size_t>(std::lround(segment.seconds * rate));
        for (std::size_t i = 0; i < count; ++i) {
            samples.push_back(static_cast<float>(amplitude * std::sin(2 * kPi * 1000 * i / rate)));
        }
    }
    return samples;
}

std::vector<float> repeat(const std::vector<float>& period, int times) {
    std::vector<float> samples;
    for (int i = 0; i < times; ++i) {
        samples.insert(samples.end(), period.begin(), period.end());
    }
    return samples;
}

using Reading = std::function<double(const LoudnessMeter&)>;
const Reading kMomentary = &LoudnessMeter::momentary;
const Reading kShortTerm = &LoudnessMeter::shortTerm;
const Reading kIntegrated = &LoudnessMeter::integrated;
const Reading kRange = &LoudnessMeter::loudnessRange;
const Reading kMaxMomentary = &LoudnessMeter::maxMomentary;
const Reading kMaxShortTerm = &LoudnessMeter::maxShortTerm;
const Reading kTruePeak = [](const LoudnessMeter& meter) { return meter.truePeak(); };

struct Case {
    std::string name;
    std::vector<float> signal;
    Reading reading;
    double expected, below, above;
    /// Checked every 100 ms from this time on; at the end only when negative.
    double from = -1.0;
};

/// Feeds `signal` to both channels in 100 ms blocks, checking as `what` says.
void check(double rate, const Case& what) {
    LoudnessMeter meter;
    ASSERT_TRUE(meter.setup(rate, 2));
    const auto step = static_cast<std::size_t>(rate / 10);
    for (std::size_t at = 0; at < what.signal.size(); at += step) {
        const float* data = what.signal.data() + at;
        const float* channels[] = {data, data};
        meter.process(channels, std::min(step, what.signal.size() - at));
        if (what.from >= 0 && at + step >= what.from * rate) {
            ASSERT_GE(what.reading(meter), what.expected - what.below) << what.name << " " << at;
            ASSERT_LE(what.reading(meter), what.expected + what.above) << what.name << " " << at;
        }
    }
    EXPECT_GE(what.reading(meter), what.expected - what.below) << what.name;
    EXPECT_LE(what.reading(meter), what.expected + what.above) << what.name;
}

/// A sine of `cycles` per sample, faded in and out over 10 ms.
std::vector<float> peakTone(double rate, double cycles, double amplitude, double degrees) {
    const auto count = static_cast<std::size_t>(rate);
    const double fade = 0.01 * rate;
    std::vector<float> samples(count);
    for (std::size_t i = 0; i < count; ++i) {
        const double gain = std::min({1.0, i / fade, (count - 1 - i) / fade});
        samples[i] = static_cast<float>(gain * amplitude *
                                        std::sin(2 * kPi * cycles * i + degrees * kPi / 180));
    }
    return samples;
}

std::vector<Case> cases(double rate) {
    const auto t = [rate](std::vector<Segment> s) { return tones(rate, s); };
    std::vector<Case> all = {
        {"3341-1 M", t({{20, -23}}), kMomentary, -23, 0.1, 0.1},
        {"3341-1 S", t({{20, -23}}), kShortTerm, -23, 0.1, 0.1},
        {"3341-1 I", t({{20, -23}}), kIntegrated, -23, 0.1, 0.1},
        {"3341-2 M", t({{20, -33}}), kMomentary, -33, 0.1, 0.1},
        {"3341-2 S", t({{20, -33}}), kShortTerm, -33, 0.1, 0.1},
        {"3341-2 I", t({{20, -33}}), kIntegrated, -33, 0.1, 0.1},
        {"3341-3", t({{10, -36}, {60, -23}, {10, -36}}), kIntegrated, -23, 0.1, 0.1},
        {"3341-4", t({{10, -72}, {10, -36}, {60, -23}, {10, -36}, {10, -72}}), kIntegrated, -23,
         0.1, 0.1},
        {"3341-5", t({{20, -26}, {20.1, -20}, {20, -26}}), kIntegrated, -23, 0.1, 0.1},
        {"3341-9", repeat(t({{1.34, -20}, {1.66, -30}}), 5), kShortTerm, -23, 0.1, 0.1, 3.0},
        {"3341-12", repeat(t({{0.18, -20}, {0.22, -30}}), 25), kMomentary, -23, 0.1, 0.1, 1.0},
        {"3342-1", t({{20, -20}, {20, -30}}), kRange, 10, 1, 1},
        {"3342-2", t({{20, -20}, {20, -15}}), kRange, 5, 1, 1},
        {"3342-3", t({{20, -40}, {20, -20}}), kRange, 20, 1, 1},
        {"3342-4", t({{20, -50}, {20, -35}, {20, -20}, {20, -35}, {20, -50}}), kRange, 15, 1, 1},
        {"3341-15", peakTone(rate, 0.25, 0.5, 0), kTruePeak, -6, 0.4, 0.2},
        {"3341-16", peakTone(rate, 0.25, 0.5, 45), kTruePeak, -6, 0.4, 0.2},
        {"3341-17", peakTone(rate, 1 / 6.0, 0.5, 60), kTruePeak, -6, 0.4, 0.2},
        {"3341-18", peakTone(rate, 0.125, 0.5, 67.5), kTruePeak, -6, 0.4, 0.2},
        {"3341-19", peakTone(rate, 0.25, 1.41, 45), kTruePeak, 3, 0.4, 0.2},
    };
    for (int i = 0; i < 20; ++i) {
        all.push_back({"3341-10 #" + std::to_string(i),
                       t({{i * 0.15, kSilence}, {3, -23}, {1, kSilence}}), kMaxShortTerm, -23, 0.1,
                       0.1});
        all.push_back({"3341-13 #" + std::to_string(i),
                       t({{i * 0.02, kSilence}, {0.4, -23}, {1, kSilence}}), kMaxMomentary, -23,
                       0.1, 0.1});
    }
    for (int offset = 0; offset < 4; ++offset) {
        all.push_back(
            {"3341-" + std::to_string(20 + offset), truePeakBurst(offset), kTruePeak, 0, 0.4, 0.2});
    }
    return all;
}

class EbuCases : public testing::TestWithParam<double> {};

TEST_P(EbuCases, EachReadingWithinItsTolerance) {
    for (const Case& what : cases(GetParam())) {
        check(GetParam(), what);
    }
}

/// Tech 3341 tests 11 and 14: twenty tones of rising level in one pass; after each, the
/// maximum is that tone's loudness.
TEST_P(EbuCases, LiveMaximaFollowEachTone) {
    const double rate = GetParam();
    for (const bool shortTerm : {true, false}) {
        const double tone = shortTerm ? 3.0 : 0.4;
        const double shift = shortTerm ? 0.15 : 0.02;
        LoudnessMeter meter;
        ASSERT_TRUE(meter.setup(rate, 2));
        for (int i = 0; i < 20; ++i) {
            const std::vector<float> part = tones(
                rate, {{i * shift, kSilence}, {tone, -38.0 + i}, {tone - i * shift, kSilence}});
            const float* channels[] = {part.data(), part.data()};
            meter.process(channels, part.size());
            const double max = shortTerm ? meter.maxShortTerm() : meter.maxMomentary();
            EXPECT_NEAR(max, -38.0 + i, 0.1) << (shortTerm ? "3341-11 #" : "3341-14 #") << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Rates, EbuCases, testing::Values(48000.0, 44100.0));

}  // namespace
