// Meters set up before, kept for the next effect: setting a meter up fills its histograms,
// hundreds of kilobytes, while resetting one that was set up, or setting it up again at
// another rate, clears only what it measured. Hosts that scan or open and close effects often meet
// the same rates again. Control threads only; a few meters at most.
#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

#include "loudness/loudness_meter.h"

class MeterShelf {
  public:
    /// The library's one shelf; null once the library is being unloaded.
    static MeterShelf* shared();

    /// A meter set up for `channels` at `sampleRate`, reset: one kept for them if there is
    /// one, else another set up again; null when none is kept or none can be set up.
    std::unique_ptr<LoudnessMeter> take(double sampleRate, int channels);
    /// Keeps a meter that was set up; drops it when the shelf is full or it was not.
    void keep(std::unique_ptr<LoudnessMeter> meter);

  private:
    static constexpr std::size_t kCapacity = 6;

    std::mutex mutex;
    std::vector<std::unique_ptr<LoudnessMeter>> meters;
};
