// A LoudnessMeter as the tools use it over a whole programme: the audio split at every
// 100 ms step of the meter and at the points of a time series, so that each reading is taken
// at its time exactly; the times of the maxima; the steps whose true peak exceeds a ceiling;
// each step's readings for a plot; and the blocks that an album's figures are gated from.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "loudness/channel_layout.h"
#include "loudness/loudness_meter.h"
#include "loudness/true_peak.h"
#include "tools/common/measurement.h"

class ProgrammeMeter {
  public:
    /// What the meter reads: its layout, the ceiling whose overs are counted, the seconds
    /// between points of the series (0 for none), whether each step is kept for a plot,
    /// and whether the gating blocks are kept for an album.
    struct Settings {
        std::string layoutName;
        std::optional<double> ceiling;
        double every = 0.0;
        bool keepSteps = false;
        bool keepBlocks = false;
    };

    /// False for a rate or layout the meter cannot measure.
    bool setup(double sampleRate, const ChannelLayout& layout, Settings settings);
    /// Measures `frames` frames; `channels[c]` holds channel c's samples.
    void process(const float* const* channels, std::size_t frames);
    /// Every figure, the series and the steps kept, under `name`.
    Measurement measurement(const std::string& name) const;
    const LoudnessMeter& meter() const { return loudness; }

  private:
    void endStep();
    void takePoint();
    std::int64_t frameOfStep(std::int64_t step) const;

    LoudnessMeter loudness;
    std::array<TruePeak, LoudnessMeter::kMaxChannels> stepPeaks;
    std::array<float, TruePeak::kMaxBlock> clean{};
    Settings settings;
    double rate = 0.0;
    int channels = 0;
    std::int64_t done = 0;
    std::int64_t steps = 0;
    std::int64_t nextStep = 0;
    std::int64_t nextPoint = -1;
    Measurement result;
};
