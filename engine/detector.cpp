#include "engine/detector.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace {

/// Samples at or above this magnitude could overflow a block's sum of squares.
constexpr float kOverflowingSample = 0x1p60f;
/// About twelve hours of 128-sample blocks at 48 kHz: far beyond any hold time in use.
constexpr double kMaxHoldBlocks = 16777216.0;

float blockCoefficient(float sampleCoef, std::uint32_t blockLength) {
    const float keep = 1.0f - sampleCoef;
    const float keepPerBlock =
        static_cast<float>(std::pow(static_cast<double>(keep), static_cast<double>(blockLength)));
    return 1.0f - keepPerBlock;
}

std::uint32_t blocksForTime(float time, float sampleRate, std::uint32_t blockLength) {
    const double blocks =
        static_cast<double>(time) * static_cast<double>(sampleRate) / blockLength + 0.5;
    if (!(blocks >= 1.0)) {
        return 0;  // also a negative or not-a-number time
    }
    return static_cast<std::uint32_t>(blocks < kMaxHoldBlocks ? blocks : kMaxHoldBlocks);
}

/// Carries `sum` and `peak` on over `n` samples, as sanitisedSumAndPeak does for samples that
/// are not bad, and measures them again with it when some are.
void continueSumAndPeak(const float* x, std::uint32_t n, float& sum, float& peak) {
    float s = sum;
    float p = peak;
    for (std::uint32_t i = 0; i < n; ++i) {
        const float v = x[i];
        s = s + v * v;
        const float a = std::fabs(v);
        p = a > p ? a : p;
    }
    if (!(s < kBadBlockSum)) {
        sanitisedSumAndPeak(x, n, sum, peak);
        return;
    }
    sum = s;
    peak = p;
}

}  // namespace

float timeCoefficient(float time, float sampleRate) {
    if (time > 0.0f) {
        const float exponent = -1.0f / (time * sampleRate);
        const float decay = static_cast<float>(std::exp(static_cast<double>(exponent)));
        return 1.0f - decay;
    }
    return 1.0f;
}

void sanitisedSumAndPeak(const float* x, std::uint32_t n, float& sum, float& peak) {
    float s = sum;
    float p = peak;
    for (std::uint32_t i = 0; i < n; ++i) {
        float a = std::fabs(x[i]);
        if (std::isnan(a)) {
            a = 0.0f;
        } else if (a >= kOverflowingSample) {
            a = 1.0f;
        }
        s = s + a * a;
        if (a > p) {
            p = a;
        }
    }
    sum = s;
    peak = p;
}

void Detector::setup(float newRmsRiseTime, float newRmsFallTime, float newPeakFallTime,
                     float newHoldTime, float newSampleRate) {
    rmsRiseTime = newRmsRiseTime;
    rmsFallTime = newRmsFallTime;
    peakFallTime = newPeakFallTime;
    holdTime = newHoldTime;
    sampleRate = newSampleRate;
    deriveCoefficients();
    clearLevels();
}

void Detector::setTimes(float newRmsRiseTime, float newRmsFallTime, float newPeakFallTime,
                        float newHoldTime) {
    rmsRiseTime = newRmsRiseTime;
    rmsFallTime = newRmsFallTime;
    peakFallTime = newPeakFallTime;
    holdTime = newHoldTime;
    deriveCoefficients();
}

void Detector::deriveCoefficients() {
    // A one-pole time constant of half the time given.
    rmsFallSampleCoef = timeCoefficient(0.5f * rmsFallTime, sampleRate);
    rmsFallBlockCoef = blockCoefficient(rmsFallSampleCoef, blockLength);
    peakFallSampleCoef = timeCoefficient(0.5f * peakFallTime, sampleRate);
    peakFallBlockCoef = blockCoefficient(peakFallSampleCoef, blockLength);
    rmsRiseSampleCoef = timeCoefficient(0.5f * rmsRiseTime, sampleRate);
    rmsRiseBlockCoef = blockCoefficient(rmsRiseSampleCoef, blockLength);

    holdBlocks = blocksForTime(holdTime, sampleRate, blockLength);
    holdWindow.length = holdBlocks;
    holdWindow.initialValue = 0.0f;
    try {
        holdWindow.reset();
    } catch (const std::bad_alloc&) {
        // Only a window longer than the reserved one allocates; without memory, hold nothing.
        holdBlocks = 0;
        holdWindow.length = 0;
        holdWindow.reset();
    }
}

void Detector::clearLevels() {
    open = {};
    holdLevel = 0.0f;
    peakLevel = 0.0f;
    rmsLevel = 0.0f;
    holdWindow.reset();
}

void Detector::reserveHoldWindow(float maxHoldTime, float maxSampleRate) {
    holdWindow.reserve(blocksForTime(maxHoldTime, maxSampleRate, blockLength));
}

void Detector::measure(const float* samples, std::uint32_t count) {
    std::uint32_t start = 0;
    if (open.length != 0) {
        start = std::min(count, blockLength - open.length);
        float sum = open.sum;
        float peak = open.peak;
        continueSumAndPeak(samples, start, sum, peak);
        extendOpenBlock(sum, peak, start);
    }
    float sums[kMaxBatch];
    float peaks[kMaxBatch];
    while (count - start >= blockLength) {
        std::uint32_t blocks = 0;
        for (; blocks < kMaxBatch && count - start >= blockLength; ++blocks, start += blockLength) {
            sums[blocks] = 0.0f;
            peaks[blocks] = 0.0f;
            continueSumAndPeak(samples + start, blockLength, sums[blocks], peaks[blocks]);
        }
        stepBlocks(sums, peaks, blocks);
    }
    if (start < count) {
        float sum = 0.0f;
        float peak = 0.0f;
        continueSumAndPeak(samples + start, count - start, sum, peak);
        extendOpenBlock(sum, peak, count - start);
    }
}

void Detector::stepBlocks(const float* sums, const float* peaks, std::uint32_t blocks) {
    float rms = rmsLevel;
    float peakNow = peakLevel;
    for (std::uint32_t b = 0; b < blocks; ++b) {
        advance(sums[b], peaks[b], rms, peakNow);
    }
    rmsLevel = rms;
    peakLevel = peakNow;
    holdLevel = holdBlocks != 0 ? holdWindow.pushMany(peaks, blocks) : 0.0f;
}
