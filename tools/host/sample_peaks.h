// The input's own sample peaks, which the meter's readings cannot give: the meter publishes
// a level once per block on a scale that ends at 0 dBFS, while a file's largest sample
// falls anywhere in a block and may lie above full scale.
#pragma once

#include <cstdint>

class SamplePeaks {
  public:
    /// The largest magnitude of one input channel, where it first came, and how many of
    /// its samples were at or above full scale.
    struct Channel {
        float peak = 0.0f;
        std::int64_t peakFrame = -1;
        std::int64_t overs = 0;
    };

    /// `channels` input channels (1 or 2); a sample of magnitude `fullScale` or more is at
    /// or above full scale.
    SamplePeaks(int channels, float fullScale) : count(channels), fullScale(fullScale) {}

    /// Takes `frames` frames from frame `start` on; a mono input gives `left` only.
    void add(const float* left, const float* right, int frames, std::int64_t start);
    int channels() const { return count; }
    const Channel& channel(int index) const { return peaks[index]; }
    /// Whether a sample of input channel `index` reached full scale since the last call
    /// for that channel (never for a channel the input lacks).
    bool takeOver(int index);

  private:
    void addChannel(int index, const float* samples, int frames, std::int64_t start);

    int count;
    float fullScale;
    Channel peaks[2];
    bool overSinceTaken[2] = {false, false};
};
