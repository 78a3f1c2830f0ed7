#include "engine/detector.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace {

constexpr float kRmsTime = 0.84f;
constexpr float kPeakFallTime = 2.3799999f;

Detector detectorWithHold(float holdTime, float sampleRate = 44100.0f) {
    Detector detector;
    detector.setup(kRmsTime, kRmsTime, kPeakFallTime, holdTime, sampleRate);
    return detector;
}

void measureConstant(Detector& detector, float value, std::uint32_t count) {
    const std::vector<float> samples(count, value);
    detector.measure(samples.data(), count);
}

TEST(DetectorTest, CoefficientsAndHoldWindowsOfTheEffectsTimes) {
    const Detector at44 = detectorWithHold(1.0f);
    EXPECT_NEAR(at44.rmsRiseBlockCoef, 0.0068886f, 5e-8f);
    EXPECT_EQ(at44.rmsFallBlockCoef, at44.rmsRiseBlockCoef);
    EXPECT_NEAR(at44.peakFallBlockCoef, 0.0024384f, 5e-8f);
    EXPECT_EQ(at44.holdBlocks, 345u);
    EXPECT_EQ(detectorWithHold(3.0f).holdBlocks, 1034u);
    EXPECT_EQ(detectorWithHold(0.0f).holdBlocks, 0u);
    EXPECT_EQ(detectorWithHold(1.0f, 48000.0f).holdBlocks, 375u);
    EXPECT_EQ(detectorWithHold(3.0f, 48000.0f).holdBlocks, 1125u);

    EXPECT_EQ(timeCoefficient(0.0f, 44100.0f), 1.0f);
    EXPECT_EQ(timeCoefficient(-1.0f, 44100.0f), 1.0f);
    EXPECT_EQ(timeCoefficient(std::nanf(""), 44100.0f), 1.0f);
}

TEST(DetectorTest, HoldRunsOutAfterItsWindowAndPeakDecays) {
    Detector detector = detectorWithHold(1.0f);
    measureConstant(detector, 1.0f, 128);
    const float keep = 1.0f - detector.peakFallBlockCoef;
    float expectedPeak = 1.0f;
    for (std::uint32_t block = 1; block < 345; ++block) {
        measureConstant(detector, 0.0f, 128);
        expectedPeak = keep * expectedPeak;
        ASSERT_EQ(detector.holdLevel, 1.0f) << "block " << block;
        ASSERT_EQ(detector.peakLevel, expectedPeak);
    }
    measureConstant(detector, 0.0f, 128);
    EXPECT_EQ(detector.holdLevel, 0.0f);

    // One long call gives the levels of the same blocks measured one by one; the 78 samples
    // it ends with wait for the next call to complete their block.
    Detector whole = detectorWithHold(1.0f);
    std::vector<float> samples(346 * 128 - 50, 0.0f);
    std::fill(samples.begin(), samples.begin() + 128, 1.0f);
    whole.measure(samples.data(), static_cast<std::uint32_t>(samples.size()));
    EXPECT_EQ(whole.holdLevel, 1.0f);
    whole.measure(samples.data() + 128, 50);
    EXPECT_EQ(whole.peakLevel, detector.peakLevel);
    EXPECT_EQ(whole.holdLevel, 0.0f);
    whole.measure(samples.data(), 345 * 128);
    EXPECT_EQ(whole.holdLevel, 1.0f);

    // The decays end at exactly zero instead of lingering as tiny numbers.
    for (int block = 0; block < 30000; ++block) {
        measureConstant(detector, 0.0f, 128);
    }
    EXPECT_EQ(detector.peakLevel, 0.0f);
    EXPECT_EQ(detector.rmsLevel, 0.0f);
}

TEST(DetectorTest, MeasurementBlocksRunOnAcrossCalls) {
    // 300 samples: two blocks of 128 at 0.1, then 44 at 1.0 that open the third block.
    std::vector<float> samples(384, 0.1f);
    std::fill(samples.begin() + 256, samples.end(), 1.0f);
    Detector split = detectorWithHold(0.0f);
    split.setTimes(0.0f, 0.0f, 0.0f, 0.0f);  // levels follow the latest block
    split.measure(samples.data(), 300);
    EXPECT_NEAR(split.rmsLevel, 0.1f, 1e-7f);
    EXPECT_EQ(split.peakLevel, 0.1f);
    split.measure(samples.data() + 300, 83);
    EXPECT_EQ(split.peakLevel, 0.1f);  // one sample short of the block
    split.measure(samples.data() + 383, 1);
    EXPECT_EQ(split.rmsLevel, 1.0f);
    EXPECT_EQ(split.peakLevel, 1.0f);
    EXPECT_EQ(split.holdLevel, 0.0f);

    split.measure(samples.data(), 100);
    split.clearLevels();  // a fresh block: the 100 samples are gone
    split.measure(samples.data() + 256, 128);
    EXPECT_EQ(split.rmsLevel, 1.0f);
}

TEST(DetectorTest, BadSamplesNeitherFreezeNorPoisonTheLevels) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (float bad : {nan, inf, -inf, 3e30f, -1e19f}) {
        Detector detector = detectorWithHold(1.0f);
        measureConstant(detector, 0.25f, 128);
        Detector whole = detector;
        std::vector<float> block(128, 0.25f);
        block[17] = bad;
        whole.measure(block.data(), 128);
        // Cut across three calls, the block with the bad sample gives the same levels.
        detector.measure(block.data(), 10);
        detector.measure(block.data() + 10, 100);
        detector.measure(block.data() + 110, 18);
        const float expectedPeak = std::isnan(bad) ? 0.25f : 1.0f;  // overflow reads full scale
        EXPECT_EQ(detector.peakLevel, expectedPeak) << bad;
        EXPECT_EQ(detector.holdLevel, expectedPeak) << bad;
        EXPECT_TRUE(std::isfinite(detector.rmsLevel)) << bad;
        EXPECT_EQ(detector.rmsLevel, whole.rmsLevel) << bad;

        for (int i = 0; i < 3000; ++i) {
            measureConstant(detector, 0.25f, 128);
        }
        EXPECT_NEAR(detector.rmsLevel, 0.25f, 1e-4f) << bad;
        EXPECT_EQ(detector.peakLevel, 0.25f) << bad;
    }
}

}  // namespace
