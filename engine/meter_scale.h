// The meters' display scale: a reading in decibels relative to full scale, mapped from
// kMeterFloorDecibels..0 dB to a level of 0..1. Every published meter value goes through
// `meterValue`.
#pragma once

#include "engine/meter_parameters.h"

/// 20 log10 of `x`, with a tiny addend so that 0 gives -400 dB. The addend is added and the
/// logarithm taken in double precision, each result rounded to float.
float toDecibels(float x);
/// `value` mapped linearly from low..high to 0..1 and clamped; 0 for not-a-number.
float toUnitRange(float value, float low, float high);
/// `toUnitRange(toDecibels(reading), kMeterFloorDecibels, 0)`, bit for bit, but mostly
/// without the library's logarithm: its cost is taken once per block for each changed
/// reading.
float meterLevel(float reading);
/// A reading encoded for publishing: its level on the meters' scale, with its channel.
inline float meterValue(int channel, float reading) {
    return encodeMeter(channel, meterLevel(reading));
}
