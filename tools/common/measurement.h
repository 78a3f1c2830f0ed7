// The loudness figures of one programme as a LoudnessMeter read them, and the check that a
// programme can be measured at all.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class LoudnessMeter;

struct Measurement {
    /// The readings at one time of the series.
    struct Point {
        double seconds, momentary, shortTerm, integrated;
    };

    std::string name;
    double seconds = 0.0;
    /// Frames measured.
    std::int64_t frames = 0;
    /// LUFS, LU, dBTP and dBFS; −∞ where undefined.
    double integrated = 0.0, range = 0.0, maxMomentary = 0.0, maxShortTerm = 0.0;
    double truePeak = 0.0, samplePeak = 0.0;
    std::vector<double> channelTruePeaks;
    std::vector<Point> series;

    /// Reads every figure but the name, the duration and the series from `meter`.
    void readFrom(const LoudnessMeter& meter);
    /// `lufs`, or undefined below the floor of the meter's scale (the absolute gate), where
    /// the filters' decay after the audio stops would read as figures like −800 LUFS.
    static double shown(double lufs);
    /// False with the reason in `error` when the loudness meter cannot measure `name`, of
    /// `channels` channels at `sampleRate`.
    static bool measurable(const std::string& name, int channels, double sampleRate,
                           std::string& error);
};
