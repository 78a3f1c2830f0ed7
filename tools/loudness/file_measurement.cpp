#include "tools/loudness/file_measurement.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "loudness/loudness_meter.h"
#include "tools/common/progress_bar.h"
#include "tools/common/sound_file_input.h"

namespace {

/// Frames one read returns at most.
constexpr int kBlockFrames = 8192;

}  // namespace

bool measure(SoundFileInput& input, double every, LoudnessMeter* together, Measurement& result,
             std::string& error) {
    const int channels = input.channels();
    const double rate = input.sampleRate();
    LoudnessMeter meter;
    meter.setup(rate, channels);
    result.name = input.name();
    std::vector<float> interleaved(static_cast<std::size_t>(kBlockFrames * channels));
    std::vector<std::vector<float>> planar(static_cast<std::size_t>(channels),
                                           std::vector<float>(kBlockFrames));
    ProgressBar progress(input.frames(), rate);
    std::int64_t done = 0;
    // Each point at least a frame after the last.
    const auto pointAfter = [&](std::size_t points) {
        return std::max<std::int64_t>(done + 1,
                                      std::llround(static_cast<double>(points + 1) * every * rate));
    };
    std::int64_t nextPoint = every > 0 ? pointAfter(0) : -1;
    for (int got; (got = input.read(interleaved.data(), kBlockFrames)) != 0;) {
        if (got < 0) {
            error = input.error();
            return false;
        }
        std::vector<const float*> block;
        for (int c = 0; c < channels; ++c) {
            for (int i = 0; i < got; ++i) {
                planar[c][i] = interleaved[static_cast<std::size_t>(i * channels + c)];
            }
            block.push_back(planar[c].data());
        }
        if (together) {
            together->process(block.data(), static_cast<std::size_t>(got));
        }
        // Split at the points of the series, so that each is read at its time exactly.
        for (std::size_t at = 0; at < static_cast<std::size_t>(got);) {
            std::size_t length = static_cast<std::size_t>(got) - at;
            if (nextPoint >= 0) {
                length = std::min<std::size_t>(length, static_cast<std::size_t>(nextPoint - done));
            }
            std::vector<const float*> part(block);
            for (const float*& start : part) {
                start += at;
            }
            meter.process(part.data(), length);
            at += length;
            done += static_cast<std::int64_t>(length);
            if (done == nextPoint) {
                result.series.push_back({static_cast<double>(done) / rate,
                                         Measurement::shown(meter.momentary()),
                                         Measurement::shown(meter.shortTerm()),
                                         Measurement::shown(meter.integrated())});
                nextPoint = pointAfter(result.series.size());
            }
        }
        progress.update(done);
    }
    progress.clear();
    result.seconds = static_cast<double>(done) / rate;
    result.frames = done;
    result.readFrom(meter);
    return true;
}
