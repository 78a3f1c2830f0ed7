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
    /// The readings at the end of one 100 ms step, and the step's own true peak.
    struct Step {
        double seconds, momentary, shortTerm, truePeak;
    };

    std::string name;
    double seconds = 0.0;
    /// Frames measured.
    std::int64_t frames = 0;
    /// LUFS, LU, dBTP and dBFS; −∞ where undefined.
    double integrated = 0.0, range = 0.0, maxMomentary = 0.0, maxShortTerm = 0.0;
    double truePeak = 0.0, samplePeak = 0.0;
    std::vector<double> channelTruePeaks;
    /// The layout measured, as ChannelLayout names it ("stereo", "5.1").
    std::string layout;
    /// Seconds from the start at which the maxima were first reached; −1 for none.
    double maxMomentaryTime = -1.0, maxShortTermTime = -1.0;
    /// Where a ceiling was given: the start of the first step whose true peak exceeds it
    /// (−1 for none), and how many steps do.
    double firstOverTime = -1.0;
    std::int64_t oversteps = 0;
    /// The file holds fewer frames than its header announces: the figures are of a part.
    bool cutShort = false;
    /// Where a delivery target was checked: "PASS" or "FAIL", and what failed.
    std::string verdict, reason;
    /// For a normalised file that was written: the input it was made from, the gain applied.
    std::string normalisedFrom;
    double appliedGain = 0.0;
    std::vector<Point> series;
    std::vector<Step> steps;
    /// The loudness of every 400 ms and 3 s block, in LUFS, where they were kept.
    std::vector<double> momentaryBlocks, shortTermBlocks;

    /// Reads the figures of loudness and peak from `meter`.
    void readFrom(const LoudnessMeter& meter);
    /// `lufs`, or undefined below the floor of the meter's scale (the absolute gate), where
    /// the filters' decay after the audio stops would read as figures like −800 LUFS.
    static double shown(double lufs);
    /// False with the reason in `error` when the loudness meter cannot measure `name` at
    /// `sampleRate`.
    static bool measurable(const std::string& name, double sampleRate, std::string& error);
};
