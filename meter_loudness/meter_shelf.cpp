#include "meter_loudness/meter_shelf.h"

#include <algorithm>

MeterShelf& MeterShelf::shared() {
    // Never destroyed: an effect may still hand its meters back while the process ends.
    static MeterShelf* const shelf = new MeterShelf;
    return *shelf;
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
