#include "meter_loudness/meter_handover.h"

#include <thread>

#include "meter_loudness/meter_shelf.h"

MeterHandover::MeterHandover()
    : meters{std::make_unique<LoudnessMeter>(), std::make_unique<LoudnessMeter>()},
      activeMeter(meters[0].get()),
      spare(meters[1].get()) {}

MeterHandover::~MeterHandover() {
    if (MeterShelf* shelf = MeterShelf::shared()) {
        for (std::unique_ptr<LoudnessMeter>& meter : meters) {
            shelf->keep(std::move(meter));
        }
    }
}

bool MeterHandover::prepare(LoudnessMeter*& meter, double sampleRate) {
    if (meter->sampleRate() == sampleRate && meter->channels() == kChannels) {
        meter->reset();
        return true;
    }
    MeterShelf* shelf = MeterShelf::shared();
    if (std::unique_ptr<LoudnessMeter> kept =
            shelf ? shelf->take(sampleRate, kChannels) : nullptr) {
        for (std::unique_ptr<LoudnessMeter>& owned : meters) {
            if (owned.get() == meter) {
                shelf->keep(std::move(owned));
                owned = std::move(kept);
                meter = owned.get();
                return true;
            }
        }
    }
    return meter->setup(sampleRate, kChannels);
}

bool MeterHandover::post(double sampleRate) {
    const std::lock_guard<std::mutex> lock(controlMutex);
    if (sampleRate == postedRate) {
        return true;
    }
    // A meter still posted is taken back; otherwise the spare, which the audio thread hands
    // back right after it takes a posted meter, two stores apart.
    LoudnessMeter* meter = posted.exchange(nullptr, std::memory_order_acquire);
    while (!meter) {
        meter = spare.exchange(nullptr, std::memory_order_acquire);
        if (!meter) {
            std::this_thread::yield();
        }
    }
    bool ready = false;
    try {
        ready = prepare(meter, sampleRate);
    } catch (...) {
        ready = false;  // out of memory: the meter stays the spare, never to be taken
    }
    if (!ready) {
        spare.store(meter, std::memory_order_release);
        return false;
    }
    posted.store(meter, std::memory_order_release);
    postedRate = sampleRate;
    return true;
}

bool MeterHandover::swapInPosted() {
    LoudnessMeter* meter = posted.exchange(nullptr, std::memory_order_acquire);
    if (!meter) {
        return false;
    }
    spare.store(activeMeter, std::memory_order_release);
    activeMeter = meter;
    return true;
}
