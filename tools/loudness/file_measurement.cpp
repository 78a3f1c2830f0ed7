#include "tools/loudness/file_measurement.h"

#include <algorithm>
#include <cmath>

#include "loudness/loudness_meter.h"
#include "tools/host/progress_bar.h"
#include "tools/loudness/audio_input.h"

void Measurement::readFrom(const LoudnessMeter& meter) {
    integrated = meter.integrated();
    range = meter.loudnessRange();
    maxMomentary = meter.maxMomentary();
    maxShortTerm = meter.maxShortTerm();
    truePeak = meter.truePeak();
    samplePeak = meter.samplePeak();
    channelTruePeaks.clear();
    for (int c = 0; c < meter.channels(); ++c) {
        channelTruePeaks.push_back(meter.truePeak(c));
    }
}

Measurement measure(AudioInput& input, const std::string& name, double every,
                    LoudnessMeter* together) {
    LoudnessMeter meter;
    meter.setup(input.sampleRate(), input.channels());
    Measurement result;
    result.name = name;
    ProgressBar progress(input.frames(), input.sampleRate());
    std::int64_t done = 0;
    // Each point at least a frame after the last.
    const auto pointAfter = [&](std::size_t points) {
        return std::max<std::int64_t>(
            done + 1, std::llround(static_cast<double>(points + 1) * every * input.sampleRate()));
    };
    std::int64_t nextPoint = every > 0 ? pointAfter(0) : -1;
    for (std::size_t got; (got = input.read()) > 0;) {
        const float* channels[LoudnessMeter::kMaxChannels] = {input.channel(0),
                                                              input.channel(input.channels() - 1)};
        if (together) {
            together->process(channels, got);
        }
        // Split at the points of the series, so that each is read at its time exactly.
        for (std::size_t at = 0; at < got;) {
            std::size_t length = got - at;
            if (nextPoint >= 0) {
                length = std::min<std::size_t>(length, static_cast<std::size_t>(nextPoint - done));
            }
            const float* part[] = {channels[0] + at, channels[1] + at};
            meter.process(part, length);
            at += length;
            done += static_cast<std::int64_t>(length);
            if (done == nextPoint) {
                result.series.push_back({static_cast<double>(done) / input.sampleRate(),
                                         meter.momentary(), meter.shortTerm(), meter.integrated()});
                nextPoint = pointAfter(result.series.size());
            }
        }
        progress.update(done);
    }
    progress.clear();
    result.seconds = static_cast<double>(done) / input.sampleRate();
    result.readFrom(meter);
    return result;
}
