#include "tools/host/demo_signal.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr float kPinkGain = 0.05f;   // about -20 dBFS RMS
constexpr float kBurstGain = 0.08f;  // peaks near -6 dBFS

}  // namespace

std::string DemoSignal::describe() const {
    return "3 s at 44100 Hz, stereo:\n"
           "  0-1 s  left: 1 kHz sine at -6 dBFS;  right: pink-ish noise\n"
           "  1-2 s  left: the sine;               right: noise bursts, four a second\n"
           "  2-3 s  mono: 440 Hz sine at -12 dBFS on both";
}

float DemoSignal::pinkNoise() {
    // White noise from a linear congruential generator, coloured by three one-pole
    // filters whose sum falls at roughly 3 dB per octave.
    noiseState = noiseState * 1664525u + 1013904223u;
    const float white = static_cast<float>(noiseState >> 8) / 8388608.0f - 1.0f;
    pole0 = 0.99765f * pole0 + white * 0.0990460f;
    pole1 = 0.96300f * pole1 + white * 0.2965164f;
    pole2 = 0.57000f * pole2 + white * 1.0526913f;
    return (pole0 + pole1 + pole2 + white * 0.1848f) * kPinkGain;
}

int DemoSignal::read(float* left, float* right, int count) {
    const int frames = static_cast<int>(std::min<std::int64_t>(count, this->frames() - sample));
    for (int i = 0; i < frames; ++i, ++sample) {
        const double t = static_cast<double>(sample) / kSampleRate;
        const float noise = pinkNoise();
        if (t < 2.0) {
            left[i] = static_cast<float>(0.5 * std::sin(kTwoPi * 1000.0 * t));
            const bool inBurst = std::fmod(t, 0.25) < 0.05;
            right[i] = t < 1.0 ? noise : (inBurst ? noise * kBurstGain / kPinkGain : 0.0f);
        } else {
            left[i] = static_cast<float>(0.25 * std::sin(kTwoPi * 440.0 * t));
            right[i] = left[i];
        }
    }
    return frames;
}
