// One program of the effect: the eight parameter values and a name.
#pragma once

#include <atomic>

#include "plugin/program_name.h"
#include "plugin/vst2.h"

struct EffectProgram {
    static constexpr int kNumValues = 8;

    /// Written by the audio thread (meter outputs) and by control threads alike.
    std::atomic<float> values[kNumValues] = {};
    ProgramName name{"Init"};
};
