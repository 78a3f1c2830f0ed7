// The signal of Tech 3341 cases 20 to 23, which the engine's and the plug-in's tests share.
#pragma once

#include <cmath>
#include <vector>

/// fs/6 at 0.5 holding one period of fs/4 at 1.0, made at 4 fs, low-passed at fs/2 and
/// decimated from `offset` (0 to 3): 1.2 s at fs.
inline std::vector<float> truePeakBurst(int offset) {
    constexpr double kPi = 3.14159265358979323846;
    const int length = 4 * 4800;
    std::vector<double> fine;
    double phase = 0.0;
    for (int i = 0; i < length; ++i) {
        const bool held = i >= length / 2 && i < length / 2 + 16;  // one period of fs/4
        fine.push_back((held ? 1.0 : 0.5) * std::sin(phase));
        phase += 2 * kPi / (held ? 16.0 : 24.0);
    }
    const int half = 128;
    std::vector<float> samples;
    for (int i = half + offset; i + half < length; i += 4) {
        double sum = 0.0;
        for (int k = -half; k <= half; ++k) {
            const double x = kPi * k / 4.0;
            const double window = 0.5 + 0.5 * std::cos(kPi * k / (half + 1));
            sum += fine[i - k] * (k == 0 ? 1.0 : std::sin(x) / x) * window / 4.0;
        }
        samples.push_back(static_cast<float>(sum));
    }
    return samples;
}
