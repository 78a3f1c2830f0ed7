// The metering engine of the effect: two detectors, the meter-channel buffers and the delay
// lines that feed them. The audio thread owns all of it; set-up requests from other threads
// are posted through atomics and applied at the start of the next block, so a detector is
// never re-timed or cleared while it measures.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "engine/detector.h"

// The audio thread shares these with control threads and must never wait for a lock.
static_assert(std::atomic<float>::is_always_lock_free, "lock-free float atomics");
static_assert(std::atomic<std::uint32_t>::is_always_lock_free, "lock-free integer atomics");
static_assert(std::atomic<std::uint64_t>::is_always_lock_free, "lock-free 64-bit atomics");

class MeterEngine {
  public:
    static constexpr float kRmsTime = 0.84f;
    static constexpr float kPeakFallTime = 2.3799999f;
    static constexpr float kLongestHoldTime = 3.0f;
    /// Hold windows are reserved up to this rate; set-ups at higher rates allocate once.
    static constexpr float kReservedSampleRate = 384000.0f;
    /// Rates outside (0, kMaxSampleRate] would give unusable coefficients and are refused.
    static constexpr float kMaxSampleRate = 1536000.0f;
    /// Published meter values per block: RMS, peak and hold of both channels.
    static constexpr std::size_t kMeters = 6;

    static bool acceptsSampleRate(float sampleRate) {
        return sampleRate > 0.0f && sampleRate <= kMaxSampleRate;
    }
    /// The hold time "Resp" chooses: none, 1 s or 3 s (see meter_parameters.h).
    static float holdTimeFor(float response);

    MeterEngine() = default;
    MeterEngine(const MeterEngine&) = delete;
    MeterEngine& operator=(const MeterEngine&) = delete;

    /// Creates the two detectors with room for the longest hold window.
    void createDetectors();
    /// One second of meter buffer and two seconds of delay line at `sampleRate`.
    void sizeBuffers(float sampleRate);

    // Requests, from any one control thread at a time. Each is applied once, at the start of
    // the next block.
    /// Set-up for a new rate (an accepted one): clears the levels and the hold history, and
    /// times the detectors from "Resp".
    void requestSetup(float sampleRate);
    /// Stores "Resp" and asks for the detectors to be re-timed from it; keeps the levels.
    /// Safe from several threads at once: the hold time applied is always the one of the
    /// value stored last.
    void setResponse(float value);
    /// "Resp" as last stored.
    float response() const;
    /// Re-times the detectors from the stored "Resp".
    void requestTimes();
    /// Clears levels, hold history and delay lines.
    void requestClear();
    /// The meter delay: `value` (0..1 for 0..300 ms) at `sampleRate`.
    void setDelay(float value, float sampleRate);
    /// The delay in frames that setDelay sets for `value` at `sampleRate`.
    static std::int32_t delayFrames(float value, float sampleRate);

    // Audio thread.
    /// Carries out the requests posted since the last call. Inline: the usual block has
    /// none, and three plain loads tell it.
    void applyPending() {
        if (responseRequests(responseWord.load(std::memory_order_relaxed)) != appliedResponse ||
            pendingRate.load(std::memory_order_relaxed) != 0.0f ||
            pending.load(std::memory_order_relaxed) != 0) {
            applyRequests();
        }
    }
    /// Passes the inputs through and measures one block of `n` frames.
    void run(float* const* inputs, float* const* outputs, std::uint32_t n, float mode);
    /// The values published after a block, in publishing order: the RMS readings scaled by
    /// `rmsGain`, the peak and the hold readings, channel 0 then 1 of each. A value is
    /// computed again only when its reading changed since it was last computed. Without
    /// `bothChannels` only channel 1's values are filled in.
    void meterValues(float rmsGain, float values[], bool bothChannels);

    std::atomic<std::int32_t> delaySamples{0};
    std::uint32_t channelCount = 2;
    std::uint32_t delayWritePos = 0;
    /// The rate for which the detectors were last set up (control thread).
    float meterSampleRate = 0.0f;
    std::vector<Detector> detectors;
    std::vector<float> meterInput0;
    std::vector<float> meterInput1;
    std::vector<float> delayLine0;
    std::vector<float> delayLine1;

  private:
    /// applyPending's work once something is pending.
    void applyRequests();
    /// Works out meter `meter`'s value again when its reading changed.
    void updateValue(std::size_t meter, float reading);
    /// Measures one block of `n` frames of the inputs, mixed and delayed as set.
    void meter(const float* const* inputs, std::uint32_t n, float mode);
    enum Request : std::uint32_t { kClear = 1 };
    /// One "Resp" request in the high half of the response word; the value in the low half.
    static constexpr std::uint64_t kResponseRequest = std::uint64_t(1) << 32;
    static constexpr std::uint64_t kResponseBits = kResponseRequest - 1;
    static std::uint32_t responseRequests(std::uint64_t word) {
        return static_cast<std::uint32_t>(word >> 32);
    }
    static float responseValue(std::uint64_t word);

    void post(Request request) { pending.fetch_or(request, std::memory_order_release); }
    bool growMeterInputs(std::uint32_t n);
    bool growDelayLines(std::size_t length);
    void mix(const float* left, const float* right, std::uint32_t n, float mode);
    void delay(std::uint32_t n, std::uint32_t delay);
    void measureBoth(const float* x0, const float* x1, std::uint32_t n);

    void retime(float response);

    std::atomic<std::uint32_t> pending{0};
    /// The rate of a set-up request, 0 for none: taken whole, so each request counts once.
    std::atomic<float> pendingRate{0.0f};
    /// "Resp"'s bits in the low half and a count of its requests in the high half: the value
    /// and the request that goes with it are read in one load.
    std::atomic<std::uint64_t> responseWord{0};
    /// The request count of the response word last applied (audio thread).
    std::uint32_t appliedResponse = 0;
    float lastReadings[kMeters] = {-1.0f, -1.0f, -1.0f, -1.0f, -1.0f, -1.0f};
    float lastValues[kMeters] = {};
};
