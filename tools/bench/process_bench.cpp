// Cost of the effect's process per stereo frame, beside three floors measured on the same
// buffers: a bare copy of both channels; a bare loop of the arithmetic every sample needs
// (the copy, the in-order sum of squares and the largest magnitude per 128-sample block);
// and that loop followed by what each reading then waits on (the block's RMS, the smoothing
// and the conversion of the changed readings), the least a block can cost with these readings.
// As in the effect, the 128-sample blocks run on across host blocks.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "engine/meter_parameters.h"
#include "engine/meter_scale.h"
#include "meter_level/adelay_edit.h"
#include "meter_level/level_parameters.h"

namespace {

constexpr std::size_t kSignalFrames = 65536;  // cycled through, so blocks see varied data
constexpr float kSampleRate = 44100.0f;

enum Signal { kSilence, kNoise, kSine };

VstIntPtr benchHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    if (opcode == audioMasterVersion) {
        return 2400;
    }
    return opcode == audioMasterGetSampleRate ? static_cast<VstIntPtr>(kSampleRate) : 0;
}

/// A stereo test signal and output buffers for blocks of one size.
class Buffers {
  public:
    Buffers(Signal signal, std::size_t blockFrames)
        : left(kSignalFrames), right(kSignalFrames), outLeft(blockFrames), outRight(blockFrames) {
        std::mt19937 random(42);
        std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
        for (std::size_t i = 0; i < kSignalFrames; ++i) {
            if (signal == kNoise) {
                left[i] = noise(random);
                right[i] = noise(random);
            } else if (signal == kSine) {
                const double phase = 2.0 * M_PI * 1000.0 * static_cast<double>(i) / kSampleRate;
                left[i] = static_cast<float>(0.5 * std::sin(phase));
                right[i] = static_cast<float>(0.5 * std::cos(phase));
            }
        }
    }

    /// Points `inputs` at the next block of the signal, wrapping at its end.
    void nextBlock(std::size_t blockFrames, float* inputs[2], float* outputs[2]) {
        if (position + blockFrames > kSignalFrames) {
            position = 0;
        }
        inputs[0] = left.data() + position;
        inputs[1] = right.data() + position;
        outputs[0] = outLeft.data();
        outputs[1] = outRight.data();
        position += blockFrames;
    }

  private:
    std::vector<float> left, right, outLeft, outRight;
    std::size_t position = 0;
};

/// The loop of every benchmark here: per iteration one block of the signal and size chosen
/// by the arguments, handed to `process` as (inputs, outputs, frames); reported per frame.
template <typename Process>
void timeBlocks(benchmark::State& state, Process&& process) {
    const auto blockFrames = static_cast<std::size_t>(state.range(0));
    Buffers buffers(static_cast<Signal>(state.range(1)), blockFrames);
    float* inputs[2];
    float* outputs[2];
    for (auto _ : state) {
        buffers.nextBlock(blockFrames, inputs, outputs);
        process(inputs, outputs, blockFrames);
        benchmark::ClobberMemory();
    }
    state.counters["per_frame"] = benchmark::Counter(
        static_cast<double>(blockFrames),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void Process(benchmark::State& state) {
    ADelayEdit effect(benchHost);
    effect.setParameter(kResp, 1.0f);  // the longest hold window
    timeBlocks(state, [&](float** inputs, float** outputs, std::size_t frames) {
        effect.processReplacing(inputs, outputs, static_cast<VstInt32>(frames));
    });
}

/// The pass-through every floor includes: both channels copied to the outputs.
void copyThrough(float* const inputs[2], float* const outputs[2], std::size_t frames) {
    std::memcpy(outputs[0], inputs[0], frames * sizeof(float));
    std::memcpy(outputs[1], inputs[1], frames * sizeof(float));
}

void CopyFloor(benchmark::State& state) {
    timeBlocks(state, copyThrough);
}

struct ChunkLevels {
    float sum[2];
    float peak[2];
};

/// The arithmetic every sample needs, over frames `start` .. `end` of both channels: the sums
/// of squares, added in order, and the largest magnitudes.
inline ChunkLevels measureChunk(float* const inputs[2], std::size_t start, std::size_t end) {
    float s0 = 0.0f, s1 = 0.0f, p0 = 0.0f, p1 = 0.0f;
    for (std::size_t i = start; i < end; ++i) {
        const float a = inputs[0][i];
        const float b = inputs[1][i];
        s0 = s0 + a * a;
        s1 = s1 + b * b;
        p0 = std::fabs(a) > p0 ? std::fabs(a) : p0;
        p1 = std::fabs(b) > p1 ? std::fabs(b) : p1;
    }
    return {{s0, s1}, {p0, p1}};
}

/// The detectors' measurement block.
constexpr std::size_t kChunkFrames = 128;

/// Frames 0 .. `frames` of both channels measured in pieces cut at the ends of measurement
/// blocks, which run on across host blocks: `open` carries the samples of the block left
/// open. `use` gets each piece's levels and whether the piece completes a block.
template <typename Use>
void measureChunks(float* const inputs[2], std::size_t frames, std::size_t& open, Use&& use) {
    for (std::size_t start = 0; start < frames;) {
        const std::size_t end = std::min(frames, start + kChunkFrames - open);
        open = (open + end - start) % kChunkFrames;
        use(measureChunk(inputs, start, end), open == 0);
        start = end;
    }
}

void ArithmeticFloor(benchmark::State& state) {
    std::size_t open = 0;
    timeBlocks(state, [&](float** inputs, float** outputs, std::size_t frames) {
        copyThrough(inputs, outputs, frames);
        measureChunks(inputs, frames, open,
                      [](ChunkLevels levels, bool) { benchmark::DoNotOptimize(levels); });
    });
}

/// The detector's step for one measurement block: the smoothed RMS and the decaying peak.
void stepLevels(float sum, float peak, float& rms, float& peakLevel) {
    const float coefs[2] = {0.0016f, 0.0033f};
    const float blockRms = std::sqrt(sum * (1.0f / static_cast<float>(kChunkFrames)));
    rms = rms + (blockRms - rms) * coefs[blockRms > rms ? 1 : 0];
    const float decayed = 0.994f * peakLevel;
    peakLevel = peak > decayed ? peak : decayed;
}

void ReadingFloor(benchmark::State& state) {
    float rms[2] = {};
    float peaks[2] = {};
    std::size_t open = 0;
    timeBlocks(state, [&](float** inputs, float** outputs, std::size_t frames) {
        copyThrough(inputs, outputs, frames);
        measureChunks(inputs, frames, open, [&](const ChunkLevels& levels, bool completes) {
            if (completes) {
                stepLevels(levels.sum[0], levels.peak[0], rms[0], peaks[0]);
                stepLevels(levels.sum[1], levels.peak[1], rms[1], peaks[1]);
            }
        });
        // What a host reads after the block: channel 1's RMS and peak values.
        float rmsValue = meterValue(1, rms[1] * 1.41421356f);
        float peakValue = meterValue(1, peaks[1]);
        benchmark::DoNotOptimize(rmsValue);
        benchmark::DoNotOptimize(peakValue);
    });
}

double fastest(const std::vector<double>& runs) {
    return *std::min_element(runs.begin(), runs.end());
}

void blockSizesAndSignals(benchmark::internal::Benchmark* bench) {
    // The least disturbed of repeated runs is the best estimate on a busy machine.
    bench->ComputeStatistics("min", fastest);
    bench->ArgNames({"frames", "signal"});
    for (int signal : {kSilence, kNoise, kSine}) {
        for (int frames : {64, 512, 4096}) {
            bench->Args({frames, signal});
        }
    }
}

BENCHMARK(Process)->Apply(blockSizesAndSignals);
BENCHMARK(CopyFloor)->Apply(blockSizesAndSignals);
BENCHMARK(ArithmeticFloor)->Apply(blockSizesAndSignals);
BENCHMARK(ReadingFloor)->Apply(blockSizesAndSignals);

}  // namespace
