// One input measured whole at its own rate, with the time series of its readings when
// asked for.
#pragma once

#include <string>

#include "tools/common/measurement.h"

class SoundFileInput;
class LoudnessMeter;

/// Measures the whole of `input` into `result`, taking a point of the series every `every`
/// seconds (none for 0). `together`, if given, is fed the same audio, so that it measures
/// several inputs as one programme. Draws a progress bar on a terminal for long inputs.
/// False with the reason in `error` when the decoder fails part-way.
bool measure(SoundFileInput& input, double every, LoudnessMeter* together, Measurement& result,
             std::string& error);
