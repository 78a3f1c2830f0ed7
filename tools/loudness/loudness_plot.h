// A picture of a file's loudness over its whole duration, drawn with cairo into a PNG:
// momentary and short-term loudness, the integrated level, the target with its tolerance
// band, and the 100 ms steps whose true peak exceeds the ceiling, on labelled axes.
#pragma once

#include <optional>
#include <string>

#include "tools/common/measurement.h"

class LoudnessPlot {
  public:
    static constexpr int kWidth = 1200;
    static constexpr int kHeight = 480;

    /// What is drawn beside the readings: the target and its tolerance, if any, and the
    /// ceiling whose overs are marked.
    LoudnessPlot(std::optional<double> target, std::optional<double> tolerance, double ceiling)
        : target(target), tolerance(tolerance), ceiling(ceiling) {}

    /// Draws `input`, whose steps were kept, into the PNG `path`; false with the reason.
    bool draw(const Measurement& input, const std::string& path, std::string& error) const;
    /// Where the picture of `file` goes: `plot` itself for one file, `plot` as a folder (a
    /// PNG named after each file) for several. Empty with the reason.
    static std::string pathFor(const std::string& file, const std::string& plot, bool severalFiles,
                               std::string& error);

  private:
    std::optional<double> target, tolerance;
    double ceiling;
};
