#include "engine/meter_engine.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <exception>

#include "engine/meter_parameters.h"
#include "engine/meter_scale.h"

namespace {

/// Seconds of delay per unit of "Delay": the float nearest 0.3.
constexpr float kDelayRange = static_cast<float>(kLongestDelayMilliseconds) / 1000.0f;

/// Carries both channels' sums and peaks on over `n` samples in one pass: the two addition
/// chains run side by side, each adding its squares in order. Four samples per step, with a
/// running peak per position, let the compiler square and compare four samples at once: half
/// the instructions of a plain loop, so more of the block's fixed work overlaps the addition
/// chains. A not-a-number sample can reach a peak, but it also makes the sum one, and such
/// samples are measured again by sanitisedSumAndPeak.
void sumAndPeakPair(const float* x0, const float* x1, std::uint32_t n, float sum[2],
                    float peak[2]) {
    float s0 = sum[0];
    float s1 = sum[1];
    float peaks[2][4] = {};
    const std::size_t length = n;
    std::size_t i = 0;
    for (; i + 4 <= length; i += 4) {
        const float* const a = x0 + i;
        const float* const b = x1 + i;
        for (int k = 0; k < 4; ++k) {
            const float magnitude = std::fabs(a[k]);
            peaks[0][k] = peaks[0][k] > magnitude ? peaks[0][k] : magnitude;
        }
        for (int k = 0; k < 4; ++k) {
            const float magnitude = std::fabs(b[k]);
            peaks[1][k] = peaks[1][k] > magnitude ? peaks[1][k] : magnitude;
        }
        for (int k = 0; k < 4; ++k) {
            s0 = s0 + a[k] * a[k];
            s1 = s1 + b[k] * b[k];
        }
    }
    float p0 = peak[0];
    float p1 = peak[1];
    for (int k = 0; k < 4; ++k) {
        p0 = p0 > peaks[0][k] ? p0 : peaks[0][k];
        p1 = p1 > peaks[1][k] ? p1 : peaks[1][k];
    }
    for (; i < length; ++i) {
        const float a = x0[i];
        const float b = x1[i];
        s0 = s0 + a * a;
        s1 = s1 + b * b;
        p0 = p0 > std::fabs(a) ? p0 : std::fabs(a);
        p1 = p1 > std::fabs(b) ? p1 : std::fabs(b);
    }
    sum[0] = s0;
    sum[1] = s1;
    peak[0] = p0;
    peak[1] = p1;
}

/// sumAndPeakPair, with a channel whose samples include bad ones measured again from the sums
/// it started with.
void measurePair(const float* x0, const float* x1, std::uint32_t n, float sum[2], float peak[2]) {
    const float startSum[2] = {sum[0], sum[1]};
    const float startPeak[2] = {peak[0], peak[1]};
    sumAndPeakPair(x0, x1, n, sum, peak);
    const float* const channels[2] = {x0, x1};
    for (int c = 0; c < 2; ++c) {
        if (!(sum[c] < kBadBlockSum)) {
            sum[c] = startSum[c];
            peak[c] = startPeak[c];
            sanitisedSumAndPeak(channels[c], n, sum[c], peak[c]);
        }
    }
}

}  // namespace

void MeterEngine::createDetectors() {
    channelCount = 2;
    const Detector prototype;
    detectors.assign(channelCount, prototype);
    for (Detector& detector : detectors) {
        detector.reserveHoldWindow(kLongestHoldTime, kReservedSampleRate);
    }
}

void MeterEngine::sizeBuffers(float sampleRate) {
    // Longer blocks and delays grow the buffers later; an absurd rate must not size them.
    const float rate = sampleRate > 0.0f ? std::min(sampleRate, kMaxSampleRate) : 0.0f;
    const std::size_t frames = static_cast<std::size_t>(rate);
    meterInput0.assign(frames, 0.0f);
    meterInput1.assign(frames, 0.0f);
    delayLine0.assign(2 * frames, 0.0f);
    delayLine1.assign(2 * frames, 0.0f);
}

float MeterEngine::holdTimeFor(float response) {
    return response < kOneSecondHoldFrom ? 0.0f : (response < kThreeSecondHoldFrom ? 1.0f : 3.0f);
}

void MeterEngine::requestSetup(float sampleRate) {
    if (acceptsSampleRate(sampleRate)) {
        pendingRate.store(sampleRate, std::memory_order_release);
    }
}

void MeterEngine::setResponse(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof(bits));
    std::uint64_t word = responseWord.load(std::memory_order_relaxed);
    while (
        !responseWord.compare_exchange_weak(word, (word & ~kResponseBits) + kResponseRequest + bits,
                                            std::memory_order_release, std::memory_order_relaxed)) {
    }
}

float MeterEngine::response() const {
    return responseValue(responseWord.load(std::memory_order_relaxed));
}

float MeterEngine::responseValue(std::uint64_t word) {
    const auto bits = static_cast<std::uint32_t>(word);
    float value;
    std::memcpy(&value, &bits, sizeof(value));
    return value;
}

void MeterEngine::requestTimes() {
    responseWord.fetch_add(kResponseRequest, std::memory_order_release);
}

void MeterEngine::requestClear() {
    post(kClear);
}

void MeterEngine::setDelay(float value, float sampleRate) {
    delaySamples.store(delayFrames(value, sampleRate), std::memory_order_relaxed);
}

std::int32_t MeterEngine::delayFrames(float value, float sampleRate) {
    // Values outside 0..1, and rates no host uses, would ask for negative or unbounded delays.
    const float clamped = value > 0.0f ? std::min(value, 1.0f) : 0.0f;
    const float rate = std::min(sampleRate, kMaxSampleRate);
    const double samples = static_cast<double>(rate) *
                           (static_cast<double>(clamped) * static_cast<double>(kDelayRange));
    return samples >= 1.0 ? static_cast<std::int32_t>(samples) : 0;
}

void MeterEngine::applyRequests() {
    // Taking the rate and the requests empties them: one posted from now on waits for the
    // next block instead of being applied twice. "Resp" and its requests are read in one
    // word, so the hold time applied is that of the value stored with the last request.
    const float rate = pendingRate.exchange(0.0f, std::memory_order_acquire);
    const std::uint32_t requests = pending.exchange(0, std::memory_order_acquire);
    const std::uint64_t response = responseWord.load(std::memory_order_acquire);
    const bool retimed = responseRequests(response) != appliedResponse;
    if (rate > 0.0f) {
        for (Detector& detector : detectors) {
            detector.setup(1.0f, 1.0f, 1.0f, 1.0f, rate);
        }
    }
    if (rate > 0.0f || retimed) {
        appliedResponse = responseRequests(response);
        retime(responseValue(response));
    }
    if (requests & kClear) {
        for (std::uint32_t i = 0; i < channelCount && i < detectors.size(); ++i) {
            detectors[i].clearLevels();
        }
        delayWritePos = 0;
        std::fill(delayLine0.begin(), delayLine0.end(), 0.0f);
        std::fill(delayLine1.begin(), delayLine1.end(), 0.0f);
    }
}

void MeterEngine::retime(float response) {
    const float holdTime = holdTimeFor(response);
    for (Detector& detector : detectors) {
        detector.setTimes(kRmsTime, kRmsTime, kPeakFallTime, holdTime);
    }
}

void MeterEngine::run(float* const* inputs, float* const* outputs, std::uint32_t n, float mode) {
    for (std::uint32_t c = 0; c < channelCount; ++c) {
        if (inputs[c] != outputs[c]) {
            std::memmove(outputs[c], inputs[c], n * sizeof(float));
        }
    }
    meter(inputs, n, mode);
}

void MeterEngine::meter(const float* const* inputs, std::uint32_t n, float mode) {
    const std::int32_t delay = delaySamples.load(std::memory_order_relaxed);
    if (mode < kMidSideFrom && delay == 0) {
        // Left and right undelayed: the meter channels are the inputs themselves.
        measureBoth(inputs[0], inputs[1], n);
        return;
    }
    if (!growMeterInputs(n)) {
        return;
    }
    mix(inputs[0], inputs[1], n, mode);
    if (delay != 0) {
        if (!growDelayLines(static_cast<std::size_t>(delay) + n)) {
            return;
        }
        this->delay(n, static_cast<std::uint32_t>(delay));
    }
    measureBoth(meterInput0.data(), meterInput1.data(), n);
}

void MeterEngine::meterValues(float rmsGain, float values[], bool bothChannels) {
    if (bothChannels) {
        const Detector& first = detectors[0];
        updateValue(0, first.rmsLevel * rmsGain);
        updateValue(2, first.peakLevel);
        updateValue(4, first.holdLevel);
    }
    const Detector& second = detectors[1];
    updateValue(1, second.rmsLevel * rmsGain);
    updateValue(3, second.peakLevel);
    updateValue(5, second.holdLevel);
    std::memcpy(values, lastValues, sizeof lastValues);
}

void MeterEngine::updateValue(std::size_t meter, float reading) {
    if (!(reading == lastReadings[meter])) {
        lastReadings[meter] = reading;
        lastValues[meter] = meterValue(static_cast<int>(meter % 2), reading);
    }
}

bool MeterEngine::growMeterInputs(std::uint32_t n) {
    if (meterInput0.size() >= n && meterInput1.size() >= n) {
        return true;
    }
    // Only a block longer than any before gets here; a failure skips the metering of it.
    try {
        meterInput0.resize(n, 0.0f);
        meterInput1.resize(n, 0.0f);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool MeterEngine::growDelayLines(std::size_t length) {
    if (delayLine0.size() >= length && delayLine1.size() == delayLine0.size()) {
        return true;
    }
    try {
        // Both lines keep one length: the ring positions are shared.
        const std::size_t size = std::max(length, delayLine0.size());
        delayLine0.resize(size, 0.0f);
        delayLine1.resize(size, 0.0f);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void MeterEngine::mix(const float* left, const float* right, std::uint32_t n, float mode) {
    float* const out0 = meterInput0.data();
    float* const out1 = meterInput1.data();
    if (mode < kMidSideFrom) {
        std::memcpy(out0, left, n * sizeof(float));
        std::memcpy(out1, right, n * sizeof(float));
    } else if (mode < kMonoFrom) {
        for (std::uint32_t i = 0; i < n; ++i) {
            const float l = left[i];
            const float r = right[i];
            out0[i] = (l + r) * 0.5f;
            out1[i] = (l - r) * 0.5f;
        }
    } else {
        for (std::uint32_t i = 0; i < n; ++i) {
            out0[i] = (left[i] + right[i]) * 0.5f;
        }
        std::memcpy(out1, out0, n * sizeof(float));
    }
}

void MeterEngine::delay(std::uint32_t n, std::uint32_t delay) {
    const std::size_t size = delayLine0.size();
    const std::size_t write = delayWritePos;
    const std::size_t read = delay <= write ? write - delay : write + size - delay;
    float* const lines[2] = {delayLine0.data(), delayLine1.data()};
    float* const meters[2] = {meterInput0.data(), meterInput1.data()};
    for (int c = 0; c < 2; ++c) {
        const std::size_t toEnd = std::min<std::size_t>(size - write, n);
        std::memcpy(lines[c] + write, meters[c], toEnd * sizeof(float));
        std::memcpy(lines[c], meters[c] + toEnd, (n - toEnd) * sizeof(float));
        const std::size_t fromEnd = std::min<std::size_t>(size - read, n);
        std::memcpy(meters[c], lines[c] + read, fromEnd * sizeof(float));
        std::memcpy(meters[c] + fromEnd, lines[c], (n - fromEnd) * sizeof(float));
    }
    const std::size_t next = write + n;
    delayWritePos = static_cast<std::uint32_t>(next >= size ? next - size : next);
}

void MeterEngine::measureBoth(const float* x0, const float* x1, std::uint32_t n) {
    Detector& first = detectors[0];
    Detector& second = detectors[1];
    const std::uint32_t blockLength = first.blockLength;
    float sum[2];
    float peak[2];
    std::uint32_t start = 0;
    // Both detectors always take the same samples, so their open blocks have one length.
    const std::uint32_t openLength = first.openBlock().length;
    if (openLength != 0 || n <= blockLength) {
        // The open block goes on first; a short host block does nothing else.
        start = std::min(blockLength - openLength, n);
        sum[0] = first.openBlock().sum;
        sum[1] = second.openBlock().sum;
        peak[0] = first.openBlock().peak;
        peak[1] = second.openBlock().peak;
        measurePair(x0, x1, start, sum, peak);
        first.extendOpenBlock(sum[0], peak[0], start);
        second.extendOpenBlock(sum[1], peak[1], start);
    }
    float sums[2][Detector::kMaxBatch];
    float peaks[2][Detector::kMaxBatch];
    while (n - start >= blockLength) {
        std::uint32_t blocks = 0;
        for (; blocks < Detector::kMaxBatch && n - start >= blockLength;
             ++blocks, start += blockLength) {
            sum[0] = sum[1] = peak[0] = peak[1] = 0.0f;
            measurePair(x0 + start, x1 + start, blockLength, sum, peak);
            for (int c = 0; c < 2; ++c) {
                sums[c][blocks] = sum[c];
                peaks[c][blocks] = peak[c];
            }
        }
        first.stepBlocks(sums[0], peaks[0], blocks);
        second.stepBlocks(sums[1], peaks[1], blocks);
    }
    if (start < n) {
        // The rest opens a block for the next call.
        sum[0] = sum[1] = peak[0] = peak[1] = 0.0f;
        measurePair(x0 + start, x1 + start, n - start, sum, peak);
        first.extendOpenBlock(sum[0], peak[0], n - start);
        second.extendOpenBlock(sum[1], peak[1], n - start);
    }
}
