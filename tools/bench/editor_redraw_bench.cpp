// Cost of the editor's share of one audio block: the six meter readings the block
// publishes, and the idle redraw after them with both strips dirty (both bars repainted
// whole, all four marks moved), on the software surface of the headless platform. The
// readings alone are measured beside it, so the redraw is the difference.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "gui/native/soft/headless_platform.h"
#include "meter_level/adelay_edit.h"

namespace {

VstIntPtr benchHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    if (opcode == audioMasterVersion) {
        return 2400;
    }
    return opcode == audioMasterGetSampleRate ? 44100 : 0;
}

/// RMS, peak and hold levels of both channels, for two blocks that differ everywhere.
constexpr float kLevels[2][3][2] = {
    {{0.50f, 0.45f}, {0.70f, 0.65f}, {0.80f, 0.75f}},
    {{0.55f, 0.40f}, {0.75f, 0.60f}, {0.85f, 0.70f}},
};

/// The delivered effect with its editor open in a headless window, painted once.
class OpenEditor {
  public:
    OpenEditor() : effect(benchHost), record(effect.getAeffect()) {
        record->dispatcher(record, effEditOpen, 0, 0, &parent, 0.0f);
        if (CHeadlessWindow* window = platform.lastWindow()) {
            window->paintAll();
        }
        idle();
    }
    ~OpenEditor() { record->dispatcher(record, effEditClose, 0, 0, nullptr, 0.0f); }

    /// The six readings of one block, in the engine's order, as meter values.
    void publishBlock(int block) {
        const auto& levels = kLevels[block % 2];
        for (int meter = 0; meter < 3; ++meter) {
            for (int channel = 0; channel < 2; ++channel) {
                const float value = static_cast<float>(channel) + 0.5f * levels[meter][channel];
                record->setParameter(record, meter + 1, value);
            }
        }
    }
    void idle() { record->dispatcher(record, effEditIdle, 0, 0, nullptr, 0.0f); }

  private:
    CHeadlessPlatform platform;  // installed before the editor exists
    ADelayEdit effect;
    AEffect* record;
    int parent = 0;
};

void BlockReadingsAndIdleRedraw(benchmark::State& state) {
    OpenEditor editor;
    int block = 0;
    for (auto _ : state) {
        editor.publishBlock(++block);
        editor.idle();
    }
}

void BlockReadingsOnly(benchmark::State& state) {
    OpenEditor editor;
    int block = 0;
    for (auto _ : state) {
        editor.publishBlock(++block);
    }
}

double fastest(const std::vector<double>& runs) {
    return *std::min_element(runs.begin(), runs.end());
}

// The least disturbed of repeated runs is the best estimate on a busy machine.
BENCHMARK(BlockReadingsAndIdleRedraw)->ComputeStatistics("min", fastest);
BENCHMARK(BlockReadingsOnly)->ComputeStatistics("min", fastest);

}  // namespace
