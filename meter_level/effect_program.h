// One program of the effect: a value for every parameter, and a name.
#pragma once

#include <atomic>

#include "meter_level/level_parameters.h"
#include "plugin/program_name.h"
#include "plugin/vst2.h"

struct EffectProgram {
    static constexpr int kNumValues = kParameterCount;

    /// Written by the audio thread (meter outputs) and by control threads alike.
    std::atomic<float> values[kNumValues] = {};
    ProgramName name{"Init"};
};
