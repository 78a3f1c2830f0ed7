#include "meter_loudness/meter_handover.h"

#include <thread>

MeterHandover::MeterHandover()
    : meters{std::make_unique<LoudnessMeter>(), std::make_unique<LoudnessMeter>()},
      activeMeter(meters[0].get()),
      spare(meters[1].get()) {}

MeterHandover::~MeterHandover() = default;

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
        ready = meter->setup(sampleRate, kChannels);
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
