// The loudness meter as a whole: its filter design at every rate, independence from how the
// audio is split, the bounded histogram against the exact gating of every block, and what
// non-finite samples, mono and identical pairs read.
#include "loudness/loudness_meter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <new>
#include <random>
#include <vector>

#include "loudness/k_weighting.h"
#include "loudness/loudness_units.h"
#include "tests/loudness/allocation_counter.h"
#include "tests/loudness/gating_reference.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

/// Noise whose level jumps every half second over 60 dB, a 1 kHz tone on the right.
std::vector<std::vector<float>> programme(double rate, double seconds, unsigned seed) {
    std::mt19937 random(seed);
    std::normal_distribution<float> noise(0.0f, 1.0f);
    std::uniform_real_distribution<float> level(-65.0f, -5.0f);
    std::vector<std::vector<float>> channels(2);
    float gain = 0.0f;
    for (long i = 0; i < static_cast<long>(seconds * rate); ++i) {
        if (i % static_cast<long>(rate / 2) == 0) {
            gain = std::pow(10.0f, level(random) / 20.0f);
        }
        channels[0].push_back(gain * noise(random));
        channels[1].push_back(0.1f * static_cast<float>(std::sin(2 * kPi * 1000 * i / rate)));
    }
    return channels;
}

std::vector<double> readings(const LoudnessMeter& meter) {
    return {meter.momentary(),    meter.shortTerm(),     meter.integrated(),  meter.maxMomentary(),
            meter.maxShortTerm(), meter.loudnessRange(), meter.samplePeak(0), meter.samplePeak(1),
            meter.truePeak(0),    meter.truePeak(1)};
}

/// Feeds `channels` in blocks of the lengths `next` gives.
template <typename Lengths>
void feed(LoudnessMeter& meter, const std::vector<std::vector<float>>& channels, Lengths next) {
    for (std::size_t at = 0; at < channels[0].size();) {
        const std::size_t length = std::min<std::size_t>(next(), channels[0].size() - at);
        const float* in[2] = {};
        for (std::size_t c = 0; c < channels.size(); ++c) {
            in[c] = channels[c].data() + at;
        }
        meter.process(in, length);
        at += length;
    }
}

TEST(LoudnessMeterTest, KWeightingReproducesTheTabulatedCoefficientsAt48k) {
    const Biquad shelf = KWeighting::shelf(48000.0);
    const Biquad highPass = KWeighting::highPass(48000.0);
    const double expected[] = {1.53512485958697,  -2.69169618940638, 1.19839281085285,
                               -1.69065929318241, 0.73248077421585,  -1.99004745483398,
                               0.99007225036621};
    const double actual[] = {shelf.b0, shelf.b1,    shelf.b2,   shelf.a1,
                             shelf.a2, highPass.a1, highPass.a2};
    for (int i = 0; i < 7; ++i) {
        EXPECT_NEAR(actual[i], expected[i], 1e-11) << i;
    }
}

// One meter set up again at each rate: what it measured at the last rate is forgotten.
TEST(LoudnessMeterTest, EveryRateReadsATonesLoudnessAndPeak) {
    LoudnessMeter meter;
    for (const double rate : {8000.0, 11025.0, 22050.0, 32000.0, 44100.0, 48000.0, 88200.0, 96000.0,
                              176400.0, 192000.0, 352800.0, 384000.0}) {
        std::vector<float> tone(static_cast<std::size_t>(rate * 4));
        for (std::size_t i = 0; i < tone.size(); ++i) {
            const double fadeIn = std::min(1.0, i / (0.01 * rate));
            tone[i] = static_cast<float>(0.1 * fadeIn * std::sin(2 * kPi * 997 * i / rate + 0.3));
        }
        ASSERT_TRUE(meter.setup(rate, 2));
        feed(meter, {tone, tone}, [] { return 4096; });
        // The bilinear transform bends the curve by a few hundredths of a dB at 1 kHz.
        EXPECT_NEAR(meter.integrated(), -20.0, 0.05) << rate;
        EXPECT_NEAR(meter.maxShortTerm(), -20.0, 0.05) << rate;
        EXPECT_NEAR(meter.truePeak(), -20.0, 0.03) << rate;
        for (float& sample : tone) {
            sample *= 3.0f;
        }
        feed(meter, {tone, tone}, [] { return 4096; });
    }
}

TEST(LoudnessMeterTest, SetUpRefusesWhatItCannotMeasureAndKeepsTheOldSetUp) {
    LoudnessMeter meter;
    ASSERT_TRUE(meter.setup(44100.0, 1));
    for (const auto& [rate, channels] : std::vector<std::pair<double, int>>{
             {7999.0, 1}, {384001.0, 2}, {NAN, 2}, {48000.0, 0}, {48000.0, 9}}) {
        EXPECT_FALSE(meter.setup(rate, channels)) << rate << " " << channels;
    }
    EXPECT_EQ(meter.sampleRate(), 44100.0);
    EXPECT_EQ(meter.channels(), 1);
}

// Set-up failing at each of its allocations in turn: the old set-up stays, nothing leaks.
TEST(LoudnessMeterTest, SetUpThatRunsOutOfMemoryKeepsTheOldSetUpAndLeaksNothing) {
    LoudnessMeter meter;
    ASSERT_TRUE(meter.setup(44100.0, 2));
    int failures = 0;
    for (int nth = 0;; ++nth) {
        const int live = allocationsSoFar() - releasesSoFar();
        refuseAllocationsFrom(allocationsSoFar() + nth);
        bool thrown = false;
        try {
            meter.setup(96000.0, 1);
        } catch (const std::bad_alloc&) {
            thrown = true;
        }
        refuseAllocationsFrom(-1);
        if (!thrown) {
            break;
        }
        failures += allocationsSoFar() - releasesSoFar() != live || meter.sampleRate() != 44100.0;
    }
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(meter.sampleRate(), 96000.0);
}

TEST(LoudnessMeterTest, AnySplitIntoBlocksGivesTheSameReadings) {
    const auto channels = programme(44100.0, 12.0, 1);
    std::vector<std::vector<double>> results;
    std::mt19937 random(7);
    std::uniform_int_distribution<std::size_t> length(1, 5000);
    for (const std::size_t fixed : {1, 7, 64, 512, 4096, 0}) {
        LoudnessMeter meter;
        ASSERT_TRUE(meter.setup(44100.0, 2));
        feed(meter, channels, [&] { return fixed ? fixed : length(random); });
        results.push_back(readings(meter));
        EXPECT_EQ(results.back(), results.front()) << "blocks of " << fixed;
    }
}

/// The mean powers of every window of `steps` 100 ms steps.
std::vector<double> windowPowers(const std::vector<double>& stepSums, std::size_t steps,
                                 double stepLength) {
    std::vector<double> powers;
    for (std::size_t end = steps; end <= stepSums.size(); ++end) {
        double sum = 0.0;
        for (std::size_t s = end - steps; s < end; ++s) {
            sum += stepSums[s];
        }
        powers.push_back(sum / (steps * stepLength));
    }
    return powers;
}

TEST(LoudnessMeterTest, HistogramGatingMatchesTheExactComputationOverEveryBlock) {
    const double rate = 8000.0;
    const auto channels = programme(rate, 1800.0, 3);
    LoudnessMeter meter;
    ASSERT_TRUE(meter.setup(rate, 2));
    feed(meter, channels, [] { return 1000; });

    KWeighting weighting;
    weighting.setup(rate, 2);
    std::vector<double> stepSums;
    for (std::size_t at = 0; at < channels[0].size(); at += 800) {
        const float* in[] = {channels[0].data() + at, channels[1].data() + at};
        weighting.process(in, 800);
        stepSums.push_back(weighting.takeSumOfSquares());
    }
    const double integrated = meanLoudness(gatedPowers(windowPowers(stepSums, 4, 800), -10));
    const double range = loudnessRangeOf(windowPowers(stepSums, 30, 800));
    EXPECT_NEAR(meter.integrated(), integrated, 0.01);
    EXPECT_NEAR(meter.loudnessRange(), range, 0.01);
    EXPECT_GT(range, 10.0);
}

TEST(LoudnessMeterTest, NonFiniteSamplesReadAsSilenceAndOverflowsEndAtReset) {
    auto clean = programme(48000.0, 5.0, 5);
    auto dirty = clean;
    const float faults[] = {NAN, INFINITY, -INFINITY, 1e-38f};
    for (std::size_t i = 48000; i < 96000; ++i) {
        clean[0][i] = clean[1][i] = 0.0f;
        dirty[0][i] = dirty[1][i] = faults[i % 4];
    }
    LoudnessMeter cleanMeter, dirtyMeter;
    ASSERT_TRUE(cleanMeter.setup(48000.0, 2));
    ASSERT_TRUE(dirtyMeter.setup(48000.0, 2));
    feed(cleanMeter, clean, [] { return 512; });
    feed(dirtyMeter, dirty, [] { return 512; });
    EXPECT_EQ(readings(dirtyMeter), readings(cleanMeter));

    // The largest floats overflow the interpolator's sums: held until reset, then gone.
    feed(dirtyMeter, {std::vector<float>(9600, FLT_MAX), std::vector<float>(9600, -FLT_MAX)},
         [] { return 512; });
    for (const double reading : readings(dirtyMeter)) {
        EXPECT_FALSE(std::isnan(reading));
    }
    dirtyMeter.reset();
    cleanMeter.reset();
    feed(cleanMeter, clean, [] { return 512; });
    feed(dirtyMeter, clean, [] { return 512; });
    EXPECT_EQ(readings(dirtyMeter), readings(cleanMeter));
}

TEST(LoudnessMeterTest, ProcessReadingsAndResetNeverAllocate) {
    const auto channels = programme(48000.0, 40.0, 13);
    LoudnessMeter meter;
    ASSERT_TRUE(meter.setup(48000.0, 2));
    std::mt19937 random(5);
    std::uniform_int_distribution<std::size_t> length(1, 3000);
    const int before = allocationsSoFar();
    double read = 0.0;
    for (int pass = 0; pass < 2; ++pass) {
        for (std::size_t at = 0; at < channels[0].size();) {
            const std::size_t frames = std::min(length(random), channels[0].size() - at);
            const float* in[] = {channels[0].data() + at, channels[1].data() + at};
            meter.process(in, frames);
            at += frames;
            read += meter.integrated() + meter.loudnessRange() + meter.truePeak();
        }
        meter.reset();
    }
    EXPECT_EQ(allocationsSoFar(), before);
    EXPECT_FALSE(std::isnan(read));
}

TEST(LoudnessMeterTest, AnIdenticalPairReadsThreeLuAboveMono) {
    const auto channels = programme(48000.0, 6.0, 9);
    LoudnessMeter mono, pair;
    ASSERT_TRUE(mono.setup(48000.0, 1));
    ASSERT_TRUE(pair.setup(48000.0, 2));
    feed(mono, {channels[0]}, [] { return 333; });
    feed(pair, {channels[0], channels[0]}, [] { return 333; });
    const double doubled = 10.0 * std::log10(2.0);
    EXPECT_NEAR(pair.integrated(), mono.integrated() + doubled, 1e-9);
    EXPECT_NEAR(pair.maxMomentary(), mono.maxMomentary() + doubled, 1e-9);
    EXPECT_NEAR(pair.loudnessRange(), mono.loudnessRange(), 1e-9);
    EXPECT_EQ(pair.truePeak(), mono.truePeak());
    EXPECT_EQ(mono.samplePeak(1), LoudnessMeter::kUndefined);
}

}  // namespace
