// The loudness meter effect: passes two channels through unchanged and measures them
// with the loudness engine, publishing seven readings as parameters after every block.
// Six settings choose the target, the scale and unit the panel shows, the true-peak
// ceiling, and clear the measurements; four programs hold settings for delivery targets.
//
// The audio thread owns the meter. Sample-rate changes and resets from other threads are
// posted and applied at the start of the next block; process never allocates, locks or
// calls the system.
#pragma once

#include <atomic>
#include <cstdint>

#include "meter_loudness/loudness_history.h"
#include "meter_loudness/loudness_parameters.h"
#include "meter_loudness/loudness_readout.h"
#include "meter_loudness/meter_handover.h"
#include "plugin/product_effect.h"
#include "plugin/program_name.h"

// The audio thread publishes through these and must never wait for a lock.
static_assert(std::atomic<double>::is_always_lock_free, "lock-free double atomics");

class LoudnessEffect : public ProductEffect, public LoudnessReadout {
  public:
    static constexpr VstInt32 kNumChannels = 2;
    /// The rate of a host that answers none the meter accepts.
    static constexpr float kDefaultSampleRate = 48000.0f;

    /// Creates its panel. Throws std::bad_alloc when the meter cannot be set up.
    explicit LoudnessEffect(audioMasterCallback audioMaster);
    ~LoudnessEffect() override;

    /// Settings only, clamped to 0 .. 1 (NaN changes nothing): a reading stays as measured.
    void setParameter(VstInt32 index, float value) override;
    float getParameter(VstInt32 index) override;
    void process(float** inputs, float** outputs, VstInt32 sampleFrames) override;

    void setProgram(VstInt32 program) override;

    /// Sets a new meter up and hands it to the audio thread at its next block; the rate
    /// measured at already, or one the meter refuses, changes nothing: hosts announce the
    /// same rate again before playing, and the measurement goes on.
    void setSampleRate(float newSampleRate) override;
    /// Stores the block size, and the rate as setSampleRate does.
    void setBlockSizeAndSampleRate(VstInt32 newBlockSize, float newSampleRate) override;

    double reading(VstInt32 index) const override;
    float settingValue(VstInt32 index) const override { return setting(index); }
    const LoudnessHistory& history() const override { return shortTermHistory; }

  protected:
    ProgramName& programName(VstInt32 program) override;
    /// A reading is shown as measured, in double precision, so that its text rounds as the
    /// engine's own figures do.
    double displayPlain(VstInt32 index) override;
    /// The history, through HistoryStream.
    bool panelData(PanelDataPiece& piece) override;

  private:
    /// The settings one program holds, in parameter order from kTarget.
    static constexpr VstInt32 kNumSettings = loudness::kNumParams - loudness::kTarget;
    struct Program {
        std::atomic<float> values[kNumSettings] = {};
        ProgramName name;
    };

    float setting(VstInt32 index) const {
        return parameters[index - loudness::kTarget].load(std::memory_order_relaxed);
    }
    /// The requests posted since the last block: a new meter, a reset.
    void applyRequests();
    /// Whether this block gathers, after the transport and the settings; restarts the
    /// programme where playback starts and "Integrate" asks for it. Asks the host's time at
    /// most once.
    bool decideIntegration();
    /// Whether the host plays or renders offline; true for a host without time info.
    bool transportPlaying();
    /// Forgets what was gathered: integrated loudness, range, maxima, peak and history.
    void resetProgramme();
    /// Measures the programme while it `gathers`, the live readings otherwise, in pieces that
    /// end where the meter's gating steps do, recording the programme's history.
    void measure(float* const* inputs, std::uint32_t frames, bool gathers);
    /// Integrated loudness and range only after a gating step: they change at no other time,
    /// and cost a walk through the meter's histograms. Range is undefined while integrated
    /// loudness is.
    void publishReadings();

    /// Frames of silence that stand in for the right channel in mono.
    static constexpr std::uint32_t kSilenceFrames = 512;

    /// The programme's meter, fed while integration runs, and the live one, fed while it
    /// does not.
    MeterHandover meters;
    MeterHandover liveMeters;
    const float silence[kSilenceFrames] = {};
    LoudnessHistory shortTermHistory;
    /// The readings in their units, as published after the last block: in double precision,
    /// so that their texts round as the engine's own figures do.
    std::atomic<double> readings[loudness::kNumReadings] = {};
    std::atomic<float> parameters[kNumSettings] = {};
    Program programs[loudness::kNumPrograms];
    /// Resets asked for; the audio thread applies them when this moves past appliedResets.
    std::atomic<std::uint32_t> resetRequests{0};
    std::uint32_t appliedResets = 0;
    /// The meter's completed gating steps when integrated loudness and range were last
    /// published; kNeverPublished after a new meter or a reset.
    static constexpr std::uint64_t kNeverPublished = ~std::uint64_t{0};
    std::uint64_t publishedSteps = kNeverPublished;
    /// Whether the transport played (or "Integrate" is Always) in the last block.
    bool wasPlaying = false;
    /// Whether the last block gathered: the live readings come from the programme's meter.
    bool gathered = true;
};
