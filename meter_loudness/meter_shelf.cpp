#include "meter_loudness/meter_shelf.h"

MeterShelf& MeterShelf::shared() {
    // Never destroyed: an effect may still hand its meters back while the process ends.
    static MeterShelf* const shelf = new MeterShelf;
    return *shelf;
}

std::unique_ptr<LoudnessMeter> MeterShelf::take(double sampleRate, int channels) {
    const std::lock_guard<std::mutex> lock(mutex);
    for (auto kept = meters.begin(); kept != meters.end(); ++kept) {
        if ((*kept)->sampleRate() == sampleRate && (*kept)->channels() == channels) {
            std::unique_ptr<LoudnessMeter> meter = std::move(*kept);
            meters.erase(kept);
            meter->reset();
            return meter;
        }
    }
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
