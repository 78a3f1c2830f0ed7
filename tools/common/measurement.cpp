#include "tools/common/measurement.h"

#include <cmath>

#include "loudness/loudness_meter.h"
#include "loudness/power_histogram.h"

void Measurement::readFrom(const LoudnessMeter& meter) {
    integrated = shown(meter.integrated());
    // No range without a programme loud enough to have one.
    range = std::isfinite(integrated) ? meter.loudnessRange() : LoudnessMeter::kUndefined;
    maxMomentary = shown(meter.maxMomentary());
    maxShortTerm = shown(meter.maxShortTerm());
    truePeak = meter.truePeak();
    samplePeak = meter.samplePeak();
    channelTruePeaks.clear();
    for (int c = 0; c < meter.channels(); ++c) {
        channelTruePeaks.push_back(meter.truePeak(c));
    }
}

bool Measurement::measurable(const std::string& name, double sampleRate, std::string& error) {
    if (sampleRate < LoudnessMeter::kMinSampleRate || sampleRate > LoudnessMeter::kMaxSampleRate) {
        error = name + " has a sample rate of " + std::to_string(std::lround(sampleRate)) +
                " Hz; rates from 8000 to 384000 Hz can be measured";
        return false;
    }
    return true;
}

double Measurement::shown(double lufs) {
    return lufs < PowerHistogram::kAbsoluteGate ? LoudnessMeter::kUndefined : lufs;
}
