#include "tools/host/sample_peaks.h"

#include <cmath>

void SamplePeaks::add(const float* left, const float* right, int frames, std::int64_t start) {
    addChannel(0, left, frames, start);
    if (count == 2) {
        addChannel(1, right, frames, start);
    }
}

bool SamplePeaks::takeOver(int index) {
    const bool over = overSinceTaken[index];
    overSinceTaken[index] = false;
    return over;
}

void SamplePeaks::addChannel(int index, const float* samples, int frames, std::int64_t start) {
    Channel& channel = peaks[index];
    float peak = channel.peak;
    std::int64_t peakFrame = channel.peakFrame;
    std::int64_t overs = 0;
    for (int i = 0; i < frames; ++i) {
        const float magnitude = std::fabs(samples[i]);
        if (magnitude > peak || peakFrame < 0) {
            peak = magnitude;
            peakFrame = start + i;
        }
        overs += magnitude >= fullScale ? 1 : 0;
    }
    channel.peak = peak;
    channel.peakFrame = peakFrame;
    channel.overs += overs;
    overSinceTaken[index] = overSinceTaken[index] || overs > 0;
}
