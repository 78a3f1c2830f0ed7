// Two loudness meters and the hand-over between them: the audio thread measures with one
// while a control thread sets the other up for a new sample rate (which allocates); the
// audio thread takes the new one at the start of its next block, without waiting.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>

#include "loudness/loudness_meter.h"

class MeterHandover {
  public:
    /// The plug-in measures a stereo pair.
    static constexpr int kChannels = 2;

    MeterHandover();
    ~MeterHandover();
    MeterHandover(const MeterHandover&) = delete;
    MeterHandover& operator=(const MeterHandover&) = delete;

    /// Control threads: sets the spare meter up for two channels at `sampleRate` and posts
    /// it; a meter posted before and not yet taken is set up again instead. The rate of the
    /// meter posted last again posts nothing: what it measured stays. False, and nothing
    /// posted, for a rate the meter refuses.
    bool post(double sampleRate);

    /// Audio thread: takes the meter posted last, if any; true when it did. The meter it
    /// replaces becomes the spare.
    bool takePosted() {
        if (!posted.load(std::memory_order_relaxed)) {
            return false;  // the usual block: one plain load
        }
        return swapInPosted();
    }
    /// Audio thread: the meter to measure with.
    LoudnessMeter& active() { return *activeMeter; }
    const LoudnessMeter& active() const { return *activeMeter; }

  private:
    bool swapInPosted();
    /// Makes `meter` ready for `sampleRate`: reset when set up for it already, exchanged for
    /// one set up for it that the shelf keeps, or set up (which allocates).
    bool prepare(LoudnessMeter*& meter, double sampleRate);

    std::unique_ptr<LoudnessMeter> meters[2];
    LoudnessMeter* activeMeter;
    /// Set up and waiting for the audio thread; null when none is.
    std::atomic<LoudnessMeter*> posted{nullptr};
    /// Handed back by the audio thread; null while a control thread has it, or for the
    /// moment between the audio thread's taking a meter and handing its old one back.
    std::atomic<LoudnessMeter*> spare;
    /// Serialises control threads; the audio thread never takes it.
    std::mutex controlMutex;
    /// The rate of the meter posted last (guarded by controlMutex); 0 before the first.
    double postedRate = 0.0;
};
