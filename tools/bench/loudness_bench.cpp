// Cost per stereo frame of the loudness meter (every reading, true peak included), beside
// libebur128 measuring the same: momentary, short-term, integrated, Loudness Range, sample
// and true peak. Both take the same noise in blocks of the same length; the meter takes
// separate channels, libebur128 interleaved frames.
#include <benchmark/benchmark.h>
#include <ebur128.h>

#include <random>
#include <vector>

#include "loudness/loudness_meter.h"

namespace {

constexpr std::size_t kSignalFrames = 1 << 16;  // cycled through, so blocks see varied data

/// Noise at about −20 dBFS: separate channels and the same frames interleaved.
struct Noise {
    Noise() : left(kSignalFrames), right(kSignalFrames), interleaved(2 * kSignalFrames) {
        std::mt19937 random(42);
        std::normal_distribution<float> noise(0.0f, 0.1f);
        for (std::size_t i = 0; i < kSignalFrames; ++i) {
            left[i] = interleaved[2 * i] = noise(random);
            right[i] = interleaved[2 * i + 1] = noise(random);
        }
    }
    std::vector<float> left, right, interleaved;
};

const Noise& noise() {
    static const Noise signal;
    return signal;
}

/// Arguments: sample rate, block length in frames.
void BM_LoudnessMeter(benchmark::State& state) {
    const auto block = static_cast<std::size_t>(state.range(1));
    LoudnessMeter meter;
    meter.setup(static_cast<double>(state.range(0)), 2);
    std::size_t at = 0;
    for (auto _ : state) {
        const float* channels[] = {noise().left.data() + at, noise().right.data() + at};
        meter.process(channels, block);
        at = at + 2 * block > kSignalFrames ? 0 : at + block;
    }
    benchmark::DoNotOptimize(meter.truePeak());
    state.SetItemsProcessed(state.iterations() * state.range(1));
}
BENCHMARK(BM_LoudnessMeter)
    ->Args({48000, 512})
    ->Args({48000, 64})
    ->Args({44100, 4096})
    ->Args({96000, 512})
    ->Args({192000, 512})
    ->Args({384000, 512});

void BM_Libebur128(benchmark::State& state) {
    const auto block = static_cast<std::size_t>(state.range(1));
    ebur128_state* meter =
        ebur128_init(2, static_cast<unsigned>(state.range(0)),
                     EBUR128_MODE_M | EBUR128_MODE_S | EBUR128_MODE_I | EBUR128_MODE_LRA |
                         EBUR128_MODE_SAMPLE_PEAK | EBUR128_MODE_TRUE_PEAK);
    std::size_t at = 0;
    for (auto _ : state) {
        ebur128_add_frames_float(meter, noise().interleaved.data() + 2 * at, block);
        at = at + 2 * block > kSignalFrames ? 0 : at + block;
    }
    double peak = 0.0;
    ebur128_true_peak(meter, 0, &peak);
    benchmark::DoNotOptimize(peak);
    ebur128_destroy(&meter);
    state.SetItemsProcessed(state.iterations() * state.range(1));
}
BENCHMARK(BM_Libebur128)
    ->Args({48000, 512})
    ->Args({48000, 64})
    ->Args({44100, 4096})
    ->Args({96000, 512})
    ->Args({192000, 512})
    ->Args({384000, 512});

}  // namespace
