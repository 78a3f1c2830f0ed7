// A file's figures against what a delivery asks for: its integrated loudness within a
// tolerance of a target, its true peak at most a ceiling.
#pragma once

#include <optional>

#include "tools/common/measurement.h"

class DeliveryCheck {
  public:
    /// Checks the loudness when `loudness` and `tolerance` are given, the true peak when
    /// `maxTruePeak` is.
    DeliveryCheck(std::optional<double> loudness, std::optional<double> tolerance,
                  std::optional<double> maxTruePeak)
        : loudness(loudness), tolerance(tolerance), maxTruePeak(maxTruePeak) {}

    /// Whether anything is checked at all.
    bool active() const { return loudness.has_value() || maxTruePeak.has_value(); }
    /// Sets the verdict of `input`, PASS or FAIL, and for a FAIL every reason: a file cut
    /// short fails whatever its figures.
    void judge(Measurement& input) const;

  private:
    std::optional<double> loudness, tolerance, maxTruePeak;
};
