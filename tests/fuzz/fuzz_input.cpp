#include "tests/fuzz/fuzz_input.h"

#include <cstring>
#include <limits>

namespace {

float fromBits(std::uint32_t bits) {
    float value;
    std::memcpy(&value, &bits, sizeof(value));
    return value;
}

/// Values hosts are known to send, and the classes signals contain.
const float kSpecialFloats[] = {
    0.0f,
    -0.0f,
    1.0f,
    -1.0f,
    0.5f,
    0.3f,
    0.7f,
    0.29999998f,
    0.69999999f,
    1.5f,
    2.0f,
    -0.5f,
    std::numeric_limits<float>::quiet_NaN(),
    -std::numeric_limits<float>::quiet_NaN(),
    fromBits(0x7FA00000u),  // signalling NaN
    fromBits(0x7FC01234u),  // NaN with a payload
    std::numeric_limits<float>::infinity(),
    -std::numeric_limits<float>::infinity(),
    std::numeric_limits<float>::denorm_min(),
    -std::numeric_limits<float>::denorm_min(),
    fromBits(0x007FFFFFu),  // largest denormal
    std::numeric_limits<float>::min(),
    0x1p127f,
    -0x1p127f,
    std::numeric_limits<float>::max(),
    std::numeric_limits<float>::lowest(),
    1e-20f,
    1e20f,
    44100.0f,
    48000.0f,
    96000.0f,
    1536000.0f,
    1536000.1f,
    2147483648.0f,
};
constexpr std::uint32_t kSpecialCount = sizeof(kSpecialFloats) / sizeof(kSpecialFloats[0]);

/// A pointer-sized number from two 32-bit halves; the high half is dropped on 32-bit hosts.
VstIntPtr intPtrFromBits(std::uint32_t low, std::uint32_t high) {
    if (sizeof(VstIntPtr) == 8) {
        return static_cast<VstIntPtr>((static_cast<std::uint64_t>(high) << 32) | low);
    }
    return static_cast<VstIntPtr>(static_cast<std::int32_t>(low));
}

}  // namespace

std::uint8_t FuzzInput::byte() {
    return position < size ? data[position++] : 0;
}

std::uint16_t FuzzInput::u16() {
    const std::uint16_t low = byte();
    return static_cast<std::uint16_t>(low | (byte() << 8));
}

std::uint32_t FuzzInput::u32() {
    const std::uint32_t low = u16();
    return low | (static_cast<std::uint32_t>(u16()) << 16);
}

std::uint32_t FuzzInput::below(std::uint32_t count) {
    if (count == 0) {
        return 0;
    }
    return (count <= 256 ? byte() : count <= 65536 ? u16() : u32()) % count;
}

std::int32_t FuzzInput::index() {
    switch (below(8)) {
        case 0:
            return static_cast<std::int32_t>(u32());
        case 1:
            return -static_cast<std::int32_t>(below(4)) - 1;
        default:
            return static_cast<std::int32_t>(below(20));
    }
}

VstIntPtr FuzzInput::value() {
    switch (below(8)) {
        case 0: {
            const std::uint32_t low = u32();
            return intPtrFromBits(low, u32());
        }
        case 1:
            return static_cast<VstIntPtr>(index());
        default:
            return static_cast<VstIntPtr>(below(20));
    }
}

float FuzzInput::anyFloat() {
    switch (below(4)) {
        case 0:
            return fromBits(u32());
        case 1:
            return static_cast<float>(u16()) / 65535.0f * (oneIn(2) ? -1.0f : 1.0f);
        default:
            return special(below(kSpecialCount));
    }
}

float FuzzInput::parameter() {
    switch (below(4)) {
        case 0:
            return anyFloat();
        case 1:
            return static_cast<float>(byte()) / 255.0f;
        default:
            return static_cast<float>(below(3)) * 0.5f;
    }
}

float FuzzInput::special(std::uint32_t n) {
    return kSpecialFloats[n % kSpecialCount];
}

std::string FuzzInput::text(std::size_t longest) {
    std::string result(below(static_cast<std::uint32_t>(longest + 1)), 'x');
    for (char& c : result) {
        const std::uint8_t b = byte();
        c = static_cast<char>(b != 0 ? b : 'x');
    }
    return result;
}

std::uint32_t SignalSource::next() {
    // xorshift32: cheap, and the same on every platform.
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

float SignalSource::uniform() {
    return static_cast<float>(static_cast<std::int32_t>(next())) * 0x1p-31f;
}
