// Programme loudness and true peak of one to eight channels, as an EBU Mode meter reads them:
// momentary (400 ms), short-term (3 s) and gated integrated loudness, Loudness Range, the
// maxima of momentary and short-term loudness, and sample and true peak per channel.
//
// All memory is sized by setup; process never allocates, locks or calls the system, however
// long it runs, so the audio thread of a plug-in may own an instance. One thread at a time.
//
// Each channel counts for loudness with the weight of its role in a ChannelLayout (an LFE
// not at all); its sample and true peak are measured whatever its role.
//
// A mono signal is measured as one channel (setup with 1). Where a host feeds the same
// signal to both channels of a stereo set-up, it reads 3 LU (10 log10 2) louder; peaks and
// Loudness Range are the same. Samples that are NaN, infinite or below 2^-100 are measured
// as silence, so they never stay in the filters or the readings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>

#include "loudness/channel_layout.h"

class LoudnessMeter {
  public:
    static constexpr int kMaxChannels = ChannelLayout::kMaxChannels;
    static constexpr double kMinSampleRate = 8000.0;
    static constexpr double kMaxSampleRate = 384000.0;
    /// What a reading returns while it is undefined (no audio yet, or only silence).
    static constexpr double kUndefined = -std::numeric_limits<double>::infinity();
    /// Gating steps in a second of audio, and the audio time of one.
    static constexpr double kStepsPerSecond = 10.0;
    static constexpr double kSecondsPerStep = 1.0 / kStepsPerSecond;

    LoudnessMeter();
    ~LoudnessMeter();
    LoudnessMeter(const LoudnessMeter&) = delete;
    LoudnessMeter& operator=(const LoudnessMeter&) = delete;

    /// Designs the filters and sizes every buffer for `channels` (1 to kMaxChannels) at
    /// `sampleRate`, every channel of weight 1, then resets. False, and the meter unchanged,
    /// for a rate or channel count it cannot measure. May allocate: not for the audio thread.
    bool setup(double sampleRate, int channels);
    /// As above, for the channels of `layout`, each of the weight of its role.
    bool setup(double sampleRate, const ChannelLayout& layout);
    /// Forgets everything measured; the set-up stays. Real-time safe.
    void reset();
    /// Measures `frames` frames; `channels[c]` holds channel c's samples. Any block length
    /// from 1 frame up gives the same readings as any other split of the same audio.
    void process(const float* const* channels, std::size_t frames);

    int channels() const;
    double sampleRate() const;

    /// Gating steps (100 ms, as the meter cuts them at its rate) completed since setup or
    /// reset: integrated loudness and Loudness Range change only when this does.
    std::uint64_t completedSteps() const;
    /// Frames still to measure before the next gating step completes (1 at least).
    std::size_t framesToNextStep() const;

    /// LUFS, or kUndefined.
    double momentary() const;
    double shortTerm() const;
    /// Gated loudness since setup or reset (absolute gate −70 LUFS, relative −10 LU).
    double integrated() const;
    double maxMomentary() const;
    double maxShortTerm() const;
    /// Loudness Range in LU since setup or reset; 0 until there is a range to measure.
    double loudnessRange() const;
    /// dBFS and dBTP of one channel, or of the larger over the channels; kUndefined for
    /// silence.
    double samplePeak(int channel) const;
    double samplePeak() const;
    double truePeak(int channel) const;
    double truePeak() const;

  private:
    struct State;
    bool setupWeighted(double sampleRate, int channels, const double* weights);

    /// Filters, windows and histograms, sized by setup.
    State* state = nullptr;
};
