// The loudness figures of one input, measured at its own rate, and the time series of its
// readings when asked for.
#pragma once

#include <string>
#include <vector>

class AudioInput;
class LoudnessMeter;

struct Measurement {
    /// The readings at one time of the series.
    struct Point {
        double seconds, momentary, shortTerm, integrated;
    };

    std::string name;
    double seconds = 0.0;
    /// LUFS, LU, dBTP and dBFS; −∞ where undefined.
    double integrated = 0.0, range = 0.0, maxMomentary = 0.0, maxShortTerm = 0.0;
    double truePeak = 0.0, samplePeak = 0.0;
    std::vector<double> channelTruePeaks;
    std::vector<Point> series;

    /// Reads every figure but the name, the duration and the series from `meter`.
    void readFrom(const LoudnessMeter& meter);
};

/// Measures the whole of `input`, taking a point of the series every `every` seconds (none
/// for 0). `together`, if given, is fed the same audio, so that it measures several inputs
/// as one programme. Draws a progress bar on a terminal for long inputs.
Measurement measure(AudioInput& input, const std::string& name, double every,
                    LoudnessMeter* together);
