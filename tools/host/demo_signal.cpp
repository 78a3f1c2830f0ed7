#include "tools/host/demo_signal.h"

#include <cmath>

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr float kPinkGain = 0.05f;   // about -20 dBFS RMS
constexpr float kBurstGain = 0.08f;  // peaks near -6 dBFS

}  // namespace

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

void DemoSignal::next(float* left, float* right, int frames) {
    for (int i = 0; i < frames; ++i, ++sample) {
        const double t = static_cast<double>(sample) / sampleRate;
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
}
