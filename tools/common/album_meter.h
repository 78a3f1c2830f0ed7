// One programme loudness over several files, whatever their rates and layouts: the gating
// blocks of all of them (each file's momentary loudness at every 100 ms step, its short-term
// loudness for the range) gated together, as if the files were played one after the other.
#pragma once

#include "loudness/power_histogram.h"
#include "tools/common/measurement.h"

class AlbumMeter {
  public:
    AlbumMeter();
    /// The blocks of one programme, kept as it was measured.
    void add(const Measurement& programme);

    /// Gated as integrated loudness is; undefined with no block above the gates.
    double integrated() const;
    /// Loudness Range in LU; undefined with no block above the gates.
    double range() const;

  private:
    PowerHistogram momentary;
    PowerHistogram shortTerm;
    bool anyShortTerm = false;
};
