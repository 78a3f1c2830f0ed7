#include "tests/fuzz/host_block.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kSignalKinds = 8;

std::size_t frameCountOf(std::int32_t frames) {
    return frames > 0 ? static_cast<std::size_t>(frames) : 0;
}

bool sameSamples(const float* a, const float* b, std::size_t count) {
    return count == 0 || std::memcmp(a, b, count * sizeof(float)) == 0;
}

}  // namespace

HostBlock::HostBlock(FuzzInput& in, std::int32_t frames)
    : layout(static_cast<Layout>(in.below(kMissingChannel + 1))),
      frameCount(frames),
      count(frameCountOf(frames)),
      buffers{GuardedBuffer(count * sizeof(float)), GuardedBuffer(count * sizeof(float)),
              GuardedBuffer(count * sizeof(float)), GuardedBuffer(count * sizeof(float))} {
    // Mostly separate buffers, as most hosts give them.
    if (in.oneIn(2)) {
        layout = kSeparate;
    }
    SignalSource source(in.u32());
    for (int channel = 0; channel < 2; ++channel) {
        const int kind = static_cast<int>(in.below(kSignalKinds));
        fill(buffers[channel].floats(), kind, in.anyFloat(), source);
    }
    bind();
    if (layout == kMissingChannel) {
        const std::uint32_t which = in.below(4);
        (which < 2 ? inputPointers : outputPointers)[which % 2] = nullptr;
    }
}

HostBlock::HostBlock(Layout layout, std::int32_t frames, SignalSource& source)
    : layout(layout),
      frameCount(frames),
      count(frameCountOf(frames)),
      buffers{GuardedBuffer(count * sizeof(float)), GuardedBuffer(count * sizeof(float)),
              GuardedBuffer(count * sizeof(float)), GuardedBuffer(count * sizeof(float))} {
    for (int channel = 0; channel < 2; ++channel) {
        fill(buffers[channel].floats(), static_cast<int>(source.next() % kSignalKinds),
             source.uniform(), source);
    }
    bind();
    if (layout == kMissingChannel) {
        outputPointers[1] = nullptr;
    }
}

void HostBlock::bind() {
    for (int channel = 0; channel < 2; ++channel) {
        original[channel].assign(buffers[channel].floats(), buffers[channel].floats() + count);
        inputPointers[channel] = buffers[channel].floats();
        outputPointers[channel] = buffers[2 + channel].floats();
    }
    if (layout == kInPlace) {
        outputPointers[0] = inputPointers[0];
        outputPointers[1] = inputPointers[1];
    } else if (layout == kSharedInput) {
        inputPointers[1] = inputPointers[0];
    }
    inputArray = layout == kNoInputs ? nullptr : inputPointers;
    outputArray = layout == kNoOutputs ? nullptr : outputPointers;
}

void HostBlock::fill(float* samples, int kind, float level, SignalSource& source) {
    for (std::size_t i = 0; i < count; ++i) {
        float x = 0.0f;
        switch (kind) {
            case 1:
                x = level;
                break;
            case 2:
                x = source.uniform() * level;
                break;
            case 3:
                x = FuzzInput::special(source.next());
                break;
            case 4: {
                const std::uint32_t bits = source.next();
                std::memcpy(&x, &bits, sizeof(x));
                break;
            }
            case 5:
                x = source.next() % 997 == 0 ? level : 0.0f;
                break;
            case 6:
                x = (i / 64) % 2 == 0 ? level : -level;
                break;
            case 7:
                x = source.next() % 61 == 0 ? FuzzInput::special(source.next()) : source.uniform();
                break;
            default:
                break;
        }
        samples[i] = x;
    }
}

void HostBlock::setConstant(int channel, float value) {
    std::fill(buffers[channel].floats(), buffers[channel].floats() + count, value);
    original[channel].assign(count, value);
}

bool HostBlock::processable() const {
    if (frameCount < 0) {
        return false;
    }
    if (frameCount == 0) {
        return true;
    }
    return inputArray && outputArray && inputPointers[0] && inputPointers[1] && outputPointers[0] &&
           outputPointers[1];
}

std::string HostBlock::check() {
    for (GuardedBuffer& buffer : buffers) {
        if (!buffer.guardsIntact()) {
            return "an audio buffer's guard bytes changed";
        }
    }
    // In place, the output is the input buffer: passed through, it stays as it was too.
    for (int channel = 0; channel < 2; ++channel) {
        if (!sameSamples(buffers[channel].floats(), original[channel].data(), count)) {
            return "input buffer " + std::to_string(channel) + " changed";
        }
    }
    if (layout == kInPlace) {
        return {};
    }
    const bool processed = processable();
    for (int channel = 0; channel < 2; ++channel) {
        const std::vector<float>& source = original[layout == kSharedInput ? 0 : channel];
        GuardedBuffer& output = buffers[2 + channel];
        if (processed ? !sameSamples(output.floats(), source.data(), count) : !output.untouched()) {
            return "output " + std::to_string(channel) +
                   (processed ? " is not its input passed through" : " written, not processed");
        }
    }
    return {};
}
