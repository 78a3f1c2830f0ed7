// One block of audio as hosts hand it over: guarded input and output buffers in one of the
// layouts hosts use (separate, in place, one input for both channels, or with buffers
// missing), filled with samples of any class.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/fuzz/fuzz_input.h"
#include "tests/fuzz/guarded_buffer.h"

class HostBlock {
  public:
    enum Layout { kSeparate, kInPlace, kSharedInput, kNoInputs, kNoOutputs, kMissingChannel };

    /// A block of `frames` (any count, negative ones included) in a layout and with a
    /// signal read from `in`.
    HostBlock(FuzzInput& in, std::int32_t frames);
    /// The same with a chosen layout and the signal from `source`.
    HostBlock(Layout layout, std::int32_t frames, SignalSource& source);
    HostBlock(const HostBlock&) = delete;
    HostBlock& operator=(const HostBlock&) = delete;

    /// Makes input `channel` the constant `value`.
    void setConstant(int channel, float value);

    float** inputs() { return inputArray; }
    float** outputs() { return outputArray; }
    std::int32_t frames() const { return frameCount; }
    /// Whether a plug-in must process the block: a count of 0 or more, and every buffer
    /// given unless the count is 0.
    bool processable() const;
    /// After the call: what went wrong, or nothing. The guards must be intact, the inputs
    /// unchanged (unless processed in place), and the outputs equal to the inputs bit for
    /// bit when processed, else untouched.
    std::string check();

  private:
    void bind();
    void fill(float* samples, int kind, float level, SignalSource& source);

    Layout layout;
    std::int32_t frameCount;
    std::size_t count;
    GuardedBuffer buffers[4];  ///< input 0, input 1, output 0, output 1
    std::vector<float> original[2];
    float* inputPointers[2] = {};
    float* outputPointers[2] = {};
    float** inputArray = nullptr;
    float** outputArray = nullptr;
};
