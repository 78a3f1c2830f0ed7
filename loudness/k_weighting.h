// The K-weighting of BS.1770 for up to eight channels: a high shelf and a high-pass, designed
// for the sample rate, run in double precision, and the weighted sum of squares of what
// comes out.
#pragma once

#include <cstddef>

#include "loudness/channel_layout.h"

/// One second-order section, a0 = 1.
struct Biquad {
    double b0, b1, b2, a1, a2;
};

class KWeighting {
  public:
    static constexpr int kMaxChannels = ChannelLayout::kMaxChannels;

    /// The head's acoustic effect, a +4 dB shelf above about 1.7 kHz.
    static Biquad shelf(double sampleRate);
    /// The revised low-frequency B-curve: a high-pass at about 38 Hz.
    static Biquad highPass(double sampleRate);

    /// `channels` channels (0 to kMaxChannels), channel c's squares counted `weights[c]`
    /// times, or once each without weights.
    void setup(double sampleRate, int channels, const double* weights = nullptr);
    void reset();
    /// Filters `count` samples of each channel and adds the squares of the filtered samples
    /// to a running sum per channel, sample by sample, so that the sums do not depend on how
    /// the audio was split into calls.
    void process(const float* const* channels, std::size_t count);
    /// The running sums, weighted, added over the channels; starts them again from zero.
    double takeSumOfSquares();
    /// Sets history too small to matter to zero, so that silence never reaches denormals.
    /// Called at points fixed in the stream, so that no reading depends on how the audio
    /// was split into calls.
    void flushTinyHistory();

  private:
    /// Filter history of every channel, channel index innermost so both run side by side.
    struct History {
        double in1[kMaxChannels], in2[kMaxChannels];    ///< shelf inputs
        double mid1[kMaxChannels], mid2[kMaxChannels];  ///< shelf outputs, high-pass inputs
        double out1[kMaxChannels], out2[kMaxChannels];  ///< high-pass outputs
    };
    /// The filter loop for each channel count, in the encodings each processor offers.
    friend struct KWeightingLoops;
    template <int kChannels>
    void run(const float* const* channels, std::size_t count);

    Biquad shelfStage{};
    Biquad highPassStage{};
    int channelCount = 1;
    /// The processor has AVX, whose encodings spare the loops copies of their operands.
    bool hasAvx = false;
    double channelWeights[kMaxChannels] = {};
    History history{};
    double sums[kMaxChannels] = {};
};
