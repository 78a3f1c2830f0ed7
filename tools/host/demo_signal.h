// The bundled host's test signal: three one-second passages of stereo audio.
//   0-1 s  left: 1 kHz sine at -6 dBFS; right: pink-ish noise around -20 dBFS RMS
//   1-2 s  left: the sine; right: 50 ms noise bursts peaking near -6 dBFS, four a second
//   2-3 s  mono: a 440 Hz sine at -12 dBFS on both channels
#pragma once

#include <cstdint>

class DemoSignal {
  public:
    static constexpr double kSeconds = 3.0;

    explicit DemoSignal(double sampleRate) : sampleRate(sampleRate) {}

    /// Writes the next `frames` samples of each channel.
    void next(float* left, float* right, int frames);
    /// Samples written so far.
    std::int64_t position() const { return sample; }

  private:
    float pinkNoise();

    double sampleRate;
    std::int64_t sample = 0;
    std::uint32_t noiseState = 22222;
    float pole0 = 0.0f;
    float pole1 = 0.0f;
    float pole2 = 0.0f;
};
