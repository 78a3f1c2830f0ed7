// Sample peak and true peak of one channel. The true peak is read from the signal
// oversampled by a windowed-sinc polyphase interpolator (BS.1770 Annex 2): 4× below 96 kHz,
// 2× up to 192 kHz, none above. The interpolated points between samples are computed; the
// points on the samples are the samples themselves.
#pragma once

#include <array>
#include <cstddef>

class TruePeak {
  public:
    /// Input samples each interpolated point is made from.
    static constexpr int kTaps = 12;
    static constexpr int kMaxFactor = 4;
    /// Most samples one call of process takes.
    static constexpr std::size_t kMaxBlock = 1024;

    /// Points per input sample for a sample rate: 4, 2 or 1.
    static int oversampling(double sampleRate);

    void setup(double sampleRate);
    void reset();
    /// Measures `count` (up to kMaxBlock) finite samples.
    void process(const float* samples, std::size_t count);

    /// Largest magnitudes since reset, linear.
    float samplePeak() const { return samplePeakLevel; }
    float truePeak() const { return truePeakLevel; }
    /// Tap `tap` of the interpolator for the point `phase`/factor of a sample period after
    /// a sample (phase 1 to factor - 1).
    float coefficient(int phase, int tap) const { return phases[phase - 1][tap]; }

  private:
    template <int kPhases>
    float interpolatedPeak(std::size_t count) const;

    int factor = 1;
    /// No interpolated point exceeds this times the largest magnitude among its taps' samples
    /// (the largest sum of a phase's tap magnitudes, with room for rounding).
    float interpolationGain = 0.0f;
    /// The same bound split: the two taps nearest the point, and all others.
    float centreGain = 0.0f;
    float outerGain = 0.0f;
    /// The taps of each interpolated phase, newest sample's tap first.
    std::array<std::array<float, kTaps>, kMaxFactor - 1> phases{};
    /// The last kTaps - 1 samples of the previous call, then this call's samples, then
    /// room that the search for points to compute reads in whole groups of sixteen.
    std::array<float, kTaps - 1 + kMaxBlock + 16> window{};
    float samplePeakLevel = 0.0f;
    float truePeakLevel = 0.0f;
};
