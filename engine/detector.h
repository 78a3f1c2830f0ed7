// Level detector of one signal: a smoothed RMS level, a decaying peak level and a held peak,
// all updated once per measurement block of 128 samples.
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
    void measure(const float* samples, std::uint32_t count);

    /// Clears the three levels and the hold history; times and coefficients stay.
    void clearLevels();
    /// Makes later set-ups with hold windows up to `maxHoldTime` at up to `maxSampleRate`
    /// free of allocation.
    void reserveHoldWindow(float maxHoldTime, float maxSampleRate);

    /// Most measurement blocks handed to `stepBlocks` at once.
    static constexpr std::uint32_t kMaxBatch = 32;
    /// Advances the levels by `blocks` (1 to kMaxBatch) consecutive measurement blocks, given
    /// each block's sum of squares and largest magnitude. All blocks are full but the last,
    /// which has `lastLength` samples.
    void stepBlocks(const float* sums, const float* peaks, std::uint32_t blocks,
                    std::uint32_t lastLength);
    /// stepBlocks for one block of `length` (1 to blockLength) samples: the step of every
    /// host block shorter than a measurement block, kept inline for them.
    void stepBlock(float sum, float peak, std::uint32_t length) {
        float rms = rmsLevel;
        float peakNow = peakLevel;
        advance(sum, peak, length, rms, peakNow);
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

    /// Moves `rms` and `peakNow` on by one block of `length` samples with sum of squares `sum`
    /// and largest magnitude `peak`.
    void advance(float sum, float peak, std::uint32_t length, float& rms, float& peakNow) const {
        const float n = static_cast<float>(length);
        // For a power of two the product with the exact reciprocal is the quotient, sooner.
        const float meanSquare = (length & (length - 1)) == 0 ? sum * (1.0f / n) : sum / n;
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
};

/// A block's sum of squares reaches this only when a sample is not a number, infinite or so
/// large that its square could overflow: no 128 samples below 2^56 add up to it.
constexpr float kBadBlockSum = 0x1p120f;

/// Measures a block again with samples that are not a number read as silence and infinite or
/// overflowing samples read as full scale.
void sanitisedSumAndPeak(const float* x, std::uint32_t n, float& sum, float& peak);
