// Cost per stereo frame of the loudness meter (every reading, true peak included), beside
// libebur128 measuring the same: momentary, short-term, integrated, Loudness Range, sample
// and true peak. Both take the same noise in blocks of the same length; the meter takes
// separate channels, libebur128 interleaved frames.
//
// `pevo-loudness-bench --libebur128 FILE` instead measures a file with libebur128 as
// pevo-loudness does with the meter (read through libsndfile in blocks of 8192 frames), to
// time the two on the same file from outside.
#include <benchmark/benchmark.h>
#include <ebur128.h>

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <utility>
#include <vector>

#include "loudness/loudness_meter.h"

namespace {

constexpr std::size_t kSignalFrames = 1 << 16;  // cycled through, so blocks see varied data
constexpr int kEbur128Modes = EBUR128_MODE_M | EBUR128_MODE_S | EBUR128_MODE_I | EBUR128_MODE_LRA |
                              EBUR128_MODE_SAMPLE_PEAK | EBUR128_MODE_TRUE_PEAK;

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

/// Where the block after the one at `at` starts: back at the start before the noise runs out.
std::size_t nextStart(std::size_t at, std::size_t block) {
    return at + 2 * block > kSignalFrames ? 0 : at + block;
}

/// The sample rates and block lengths both meters are measured at.
void meterCases(benchmark::internal::Benchmark* bench) {
    for (const auto& [rate, block] :
         {std::pair{48000, 512}, std::pair{48000, 64}, std::pair{44100, 4096},
          std::pair{96000, 512}, std::pair{192000, 512}, std::pair{384000, 512}}) {
        bench->Args({rate, block});
    }
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
        at = nextStart(at, block);
    }
    benchmark::DoNotOptimize(meter.truePeak());
    state.SetItemsProcessed(state.iterations() * state.range(1));
}
BENCHMARK(BM_LoudnessMeter)->Apply(meterCases);

/// Arguments: channels in their standard layout (5.0, 5.1, 7.1), at 48 kHz in blocks of
/// 512 frames; the time is per frame of all channels.
void BM_LoudnessMeterSurround(benchmark::State& state) {
    constexpr std::size_t kBlock = 512;
    const auto channels = static_cast<int>(state.range(0));
    LoudnessMeter meter;
    meter.setup(48000.0, *ChannelLayout::standard(channels));
    std::size_t at = 0;
    for (auto _ : state) {
        const float* in[LoudnessMeter::kMaxChannels] = {};
        for (int c = 0; c < channels; ++c) {
            in[c] = (c % 2 ? noise().right.data() : noise().left.data()) + at;
        }
        meter.process(in, kBlock);
        at = nextStart(at, kBlock);
    }
    benchmark::DoNotOptimize(meter.truePeak());
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kBlock));
}
BENCHMARK(BM_LoudnessMeterSurround)->Arg(5)->Arg(6)->Arg(8);

void BM_Libebur128(benchmark::State& state) {
    const auto block = static_cast<std::size_t>(state.range(1));
    ebur128_state* meter = ebur128_init(2, static_cast<unsigned>(state.range(0)), kEbur128Modes);
    std::size_t at = 0;
    for (auto _ : state) {
        ebur128_add_frames_float(meter, noise().interleaved.data() + 2 * at, block);
        at = nextStart(at, block);
    }
    double peak = 0.0;
    ebur128_true_peak(meter, 0, &peak);
    benchmark::DoNotOptimize(peak);
    ebur128_destroy(&meter);
    state.SetItemsProcessed(state.iterations() * state.range(1));
}
BENCHMARK(BM_Libebur128)->Apply(meterCases);

/// Integrated loudness, Loudness Range and true peak of a file by libebur128.
int measureWithLibebur128(const char* path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path, SFM_READ, &info);
    if (!file) {
        std::fprintf(stderr, "cannot read %s: %s\n", path, sf_strerror(nullptr));
        return 1;
    }
    ebur128_state* meter = ebur128_init(static_cast<unsigned>(info.channels),
                                        static_cast<unsigned long>(info.samplerate), kEbur128Modes);
    std::vector<float> frames(8192 * static_cast<std::size_t>(info.channels));
    for (sf_count_t got; (got = sf_readf_float(file, frames.data(), 8192)) > 0;) {
        ebur128_add_frames_float(meter, frames.data(), static_cast<std::size_t>(got));
    }
    double integrated = 0.0, range = 0.0, peak = 0.0;
    ebur128_loudness_global(meter, &integrated);
    ebur128_loudness_range(meter, &range);
    for (unsigned c = 0; c < static_cast<unsigned>(info.channels); ++c) {
        double channelPeak = 0.0;
        ebur128_true_peak(meter, c, &channelPeak);
        peak = std::max(peak, channelPeak);
    }
    std::printf("%s: %.2f LUFS, %.2f LU, %.2f dBTP\n", path, integrated, range,
                20.0 * std::log10(peak));
    ebur128_destroy(&meter);
    sf_close(file);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--libebur128") == 0) {
        return measureWithLibebur128(argv[2]);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
