// Normalised copies of files: one gain over the whole file (no dynamics) that brings its
// integrated loudness to a target, unless its true peak would then exceed a ceiling; then
// the largest gain the ceiling allows, or the target's gain all the same when the user lets
// the peaks exceed it. Written in the input's format, dithered when its samples are integers.
#pragma once

#include <string>

#include "tools/common/measurement.h"

class SoundFileInput;

class Normaliser {
  public:
    /// The gain for one file, and whether the ceiling lowered it.
    struct Gain {
        double decibels = 0.0;
        bool limited = false;
    };

    Normaliser(double target, double ceiling, bool exceedCeiling)
        : target(target), ceiling(ceiling), exceedCeiling(exceedCeiling) {}

    /// The gain for `input`, as it measured, to be written in steps of `step` of full scale
    /// (0 for floats): a gain the ceiling limits leaves room for the rounding and dither of
    /// those steps. False with the reason for silence.
    bool gainFor(const Measurement& input, double step, Gain& gain, std::string& error) const;
    /// What the user should know about `gain`: the ceiling it stopped at and the loudness it
    /// reaches, or the peak it pushes above the ceiling. Empty for nothing.
    std::string note(const Measurement& input, const Gain& gain) const;
    /// Writes `input`, from its first frame, at `decibels` of gain to `path`, whole or not at
    /// all; `warning` tells of samples an integer encoding clipped. False with the reason.
    static bool write(SoundFileInput& input, const std::string& path, double decibels,
                      std::string& warning, std::string& error);
    /// Where the normalised copy of `file` goes: `output` itself for one file, `output` as a
    /// folder for several (or when it is one). Empty with the reason when there is no name.
    static std::string outputFor(const std::string& file, const std::string& output,
                                 bool severalFiles, std::string& error);

  private:
    double target;
    double ceiling;
    bool exceedCeiling;
};
