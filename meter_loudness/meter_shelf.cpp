#include "meter_loudness/meter_shelf.h"

#include <algorithm>

namespace {

/// Set when the shelf is destroyed with the library; a bool outlives every destructor, so
/// an effect a host deletes later still reads it.
bool shelfGone = false;

/// Destroyed when the host unloads the library or the process ends, freeing the meters it
/// keeps: a host that loads and unloads the library again and again loses nothing.
struct LibraryShelf {
    MeterShelf shelf;
    ~LibraryShelf() { shelfGone = true; }
} libraryShelf;

}  // namespace

MeterShelf* MeterShelf::shared() {
    return shelfGone ? nullptr : &libraryShelf.shelf;
}

std::unique_ptr<LoudnessMeter> MeterShelf::take(double sampleRate, int channels) {
    std::unique_ptr<LoudnessMeter> meter;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        if (meters.empty()) {
            return nullptr;
        }
        auto chosen = std::find_if(meters.begin(), meters.end(), [&](const auto& kept) {
            return kept->sampleRate() == sampleRate && kept->channels() == channels;
        });
        if (chosen == meters.end()) {
            chosen = meters.end() - 1;
        }
        meter = std::move(*chosen);
        meters.erase(chosen);
    }
    if (meter->sampleRate() == sampleRate && meter->channels() == channels) {
        meter->reset();
        return meter;
    }
    // Set up again for the new rate, it keeps its histograms.
    if (meter->setup(sampleRate, channels)) {
        return meter;
    }
    keep(std::move(meter));
    return nullptr;
}

void MeterShelf::keep(std::unique_ptr<LoudnessMeter> meter) {
    if (!meter || meter->sampleRate() == 0.0) {
        return;
    }
    const std::lock_guard<std::mutex> lock(mutex);
    if (meters.size() < kCapacity) {
        meters.reserve(kCapacity);
        meters.push_back(std::move(meter));
    }
}
