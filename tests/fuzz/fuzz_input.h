// A fuzzer's bytes read as a host's choices: numbers in ranges, floats of every class, texts.
// Past the end every read gives zero, so any byte string is a whole, reproducible session.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "plugin/vst2.h"

class FuzzInput {
  public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data(data), size(size) {}

    bool empty() const { return position >= size; }
    std::uint8_t byte();
    std::uint16_t u16();
    std::uint32_t u32();
    /// 0 to `count` - 1; 0 when `count` is 0.
    std::uint32_t below(std::uint32_t count);
    /// True about once in `odds` reads.
    bool oneIn(std::uint32_t odds) { return below(odds) == 0; }
    /// Mostly small, sometimes any 32-bit number, negative ones included.
    std::int32_t index();
    /// Mostly small, sometimes any pointer-sized number.
    VstIntPtr value();
    /// Any float a host or a signal may bring: zeros, ordinary values, denormals, NaNs,
    /// infinities, +-2^127, the extremes, or raw bits.
    float anyFloat();
    /// A parameter value: mostly 0 to 1, sometimes anyFloat.
    float parameter();
    /// Up to `longest` bytes of any value but 0.
    std::string text(std::size_t longest);
    /// One of the special values anyFloat draws from, picked by `n`.
    static float special(std::uint32_t n);

  private:
    const std::uint8_t* data;
    std::size_t size;
    std::size_t position = 0;
};

/// The host's own noise source for long blocks, seeded from the input so runs repeat.
class SignalSource {
  public:
    explicit SignalSource(std::uint32_t seed) : state(seed | 1u) {}
    std::uint32_t next();
    /// A float uniformly in -1 to 1.
    float uniform();

  private:
    std::uint32_t state;
};
