// The bundled host's demo signal: three one-second passages of stereo audio at 44.1 kHz.
//   0-1 s  left: 1 kHz sine at -6 dBFS; right: pink-ish noise around -20 dBFS RMS
//   1-2 s  left: the sine; right: 50 ms noise bursts peaking near -6 dBFS, four a second
//   2-3 s  mono: a 440 Hz sine at -12 dBFS on both channels
#pragma once

#include <cstdint>

#include "tools/host/audio_source.h"

class DemoSignal : public AudioSource {
  public:
    static constexpr double kSeconds = 3.0;
    static constexpr double kSampleRate = 44100.0;

    double sampleRate() const override { return kSampleRate; }
    int channels() const override { return 2; }
    std::int64_t frames() const override {
        return static_cast<std::int64_t>(kSeconds * kSampleRate);
    }
    std::string name() const override { return "the demo signal"; }
    std::string describe() const override;
    int read(float* left, float* right, int count) override;

  private:
    float pinkNoise();

    std::int64_t sample = 0;
    std::uint32_t noiseState = 22222;
    float pole0 = 0.0f;
    float pole1 = 0.0f;
    float pole2 = 0.0f;
};
