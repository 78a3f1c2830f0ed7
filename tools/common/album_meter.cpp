#include "tools/common/album_meter.h"

#include <cmath>

#include "loudness/loudness_meter.h"
#include "loudness/loudness_units.h"

AlbumMeter::AlbumMeter() {
    momentary.setup();
    shortTerm.setup();
}

void AlbumMeter::add(const Measurement& programme) {
    for (const double lufs : programme.momentaryBlocks) {
        if (std::isfinite(lufs)) {
            momentary.add(powerOf(lufs));
        }
    }
    for (const double lufs : programme.shortTermBlocks) {
        if (std::isfinite(lufs)) {
            shortTerm.add(powerOf(lufs));
            anyShortTerm = true;
        }
    }
}

double AlbumMeter::integrated() const {
    return momentary.gatedLoudness(kIntegratedGate);
}

double AlbumMeter::range() const {
    return std::isfinite(integrated()) && anyShortTerm
               ? shortTerm.range(kRangeGate, kRangeLower, kRangeUpper)
               : LoudnessMeter::kUndefined;
}
