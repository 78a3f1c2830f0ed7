// One input measured whole at its own rate, with the time series of its readings when
// asked for.
#pragma once

#include <string>

#include "tools/loudness/measurement.h"

class AudioInput;
class LoudnessMeter;

/// Measures the whole of `input`, taking a point of the series every `every` seconds (none
/// for 0). `together`, if given, is fed the same audio, so that it measures several inputs
/// as one programme. Draws a progress bar on a terminal for long inputs.
Measurement measure(AudioInput& input, const std::string& name, double every,
                    LoudnessMeter* together);
