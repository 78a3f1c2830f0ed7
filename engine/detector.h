// Level detector of one signal: a smoothed RMS level, a decaying peak level and a held peak,
// all updated once per measurement block of 128 samples. Measurement blocks run on across
// calls, so the levels do not depend on how the signal is cut into calls.
#pragma once

#include <cmath>
#include <cstdint>

#include "engine/running_max.h"

/// Per-sample coefficient of a one-pole smoother with time constant `time` seconds; 1.0 for
/// a time that is not positive.
float timeCoefficient(float time, float sampleRate);

class Detector {
  public:
    Detector() = default;
    virtual ~Detector() = default;
    Detector(const Detector&) = default;
    Detector& operator=(const Detector&) = default;

    /// Stores the times and the rate, derives the coefficients and the hold window, and
    /// clears the three levels.
    void setup(float newRmsRiseTime, float newRmsFallTime, float newPeakFallTime, float newHoldTime,
               float newSampleRate);
    /// As setup at the stored rate, but keeps the levels; the hold history is lost.
    void setTimes(float newRmsRiseTime, float newRmsFallTime, float newPeakFallTime,
                  float newHoldTime);
    /// Measures `count` samples, continuing the measurement block that the previous call
    /// left open; the levels step once per block completed.
    void measure(const float* samples, std::uint32_t count);

    /// Clears the three levels, the hold history and the open measurement block; times and
    /// coefficients stay.
    void clearLevels();
    /// Makes later set-ups with hold windows up to `maxHoldTime` at up to `maxSampleRate`
    /// free of allocation.
    void reserveHoldWindow(float maxHoldTime, float maxSampleRate);

    /// What the samples of a measurement block gathered so far add up to.
    struct OpenBlock {
        /// The squares added in order from the block's first sample, bad samples read as
        /// sanitisedSumAndPeak reads them.
        float sum = 0.0f;
        float peak = 0.0f;
        std::uint32_t length = 0;
    };
    /// The block that later samples continue: its sums start every measurement.
    const OpenBlock& openBlock() const { return open; }
    /// Takes the open block's sums carried on over `added` more samples; when that completes
    /// the block, steps the levels with it and opens the next one.
    void extendOpenBlock(float sum, float peak, std::uint32_t added) {
        const std::uint32_t length = open.length + added;
        if (length < blockLength) {
            open = {sum, peak, length};
        } else {
            open = {};
            stepBlock(sum, peak);
        }
    }

    /// Most measurement blocks handed to `stepBlocks` at once.
    static constexpr std::uint32_t kMaxBatch = 32;
    /// Advances the levels by `blocks` (1 to kMaxBatch) complete measurement blocks, given each
    /// block's sum of squares and largest magnitude.
    void stepBlocks(const float* sums, const float* peaks, std::uint32_t blocks);
    /// stepBlocks for one block, inline for the host blocks that complete one at a time.
    void stepBlock(float sum, float peak) {
        float rms = rmsLevel;
        float peakNow = peakLevel;
        advance(sum, peak, rms, peakNow);
        rmsLevel = rms;
        peakLevel = peakNow;
        holdLevel = holdBlocks != 0 ? holdWindow.push(peak) : 0.0f;
    }

    float rmsRiseTime = 0.1f;
    float rmsFallTime = 0.2f;
    float peakFallTime = 1.0f;
    float holdTime = 1.0f;
    float rmsRiseSampleCoef = 0.0f;
    float rmsFallSampleCoef = 0.0f;
    float peakFallSampleCoef = 0.0f;
    float rmsRiseBlockCoef = 0.0f;
    float rmsFallBlockCoef = 0.0f;
    float peakFallBlockCoef = 0.0f;
    float rmsLevel = 0.0f;
    float peakLevel = 0.0f;
    float holdLevel = 0.0f;
    float sampleRate = 44100.0f;
    std::uint32_t blockLength = 128;
    std::uint32_t holdBlocks = 0;
    RunningMax<float> holdWindow;

  private:
    /// Levels below this are flushed to exactly zero, so decays end instead of going denormal.
    static constexpr float kLevelFloor = 1e-20f;

    void deriveCoefficients();

    /// Moves `rms` and `peakNow` on by one measurement block with sum of squares `sum` and
    /// largest magnitude `peak`.
    void advance(float sum, float peak, float& rms, float& peakNow) const {
        const float n = static_cast<float>(blockLength);
        // For a power of two the product with the exact reciprocal is the quotient, sooner.
        const float meanSquare =
            (blockLength & (blockLength - 1)) == 0 ? sum * (1.0f / n) : sum / n;
        const float blockRms = std::sqrt(meanSquare);
        // Indexed rather than branched: the comparison is a coin toss on noisy signals.
        const float coefs[2] = {rmsFallBlockCoef, rmsRiseBlockCoef};
        const float coef = coefs[blockRms > rms ? 1 : 0];
        rms = rms + (blockRms - rms) * coef;
        rms = rms < kLevelFloor ? 0.0f : rms;

        const float decayed = (1.0f - peakFallBlockCoef) * peakNow;
        const float floored = decayed < kLevelFloor ? 0.0f : decayed;
        peakNow = peak > decayed ? peak : floored;
    }

    OpenBlock open;
};

/// A block's sum of squares reaches this only when a sample is not a number, infinite or so
/// large that its square could overflow: no 128 samples below 2^56 add up to it.
constexpr float kBadBlockSum = 0x1p120f;

/// Carries `sum` (squares added in order) and `peak` (largest magnitude) on over `n` more
/// samples, reading samples that are not a number as silence and infinite or overflowing
/// samples as full scale: how samples are measured again once their plain sum came out bad.
/// Where no sample is bad, the sum and peak are the plain ones.
void sanitisedSumAndPeak(const float* x, std::uint32_t n, float& sum, float& peak);
