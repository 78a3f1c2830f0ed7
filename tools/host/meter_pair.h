// Both meter channels of a meter plug-in, read as any host can read them. A host that polls
// the meter parameters after a block sees channel 1 only: the plug-in publishes channel 0
// first and overwrites it at once. A second instance with the same settings is fed inputs
// transformed so that its channel 1 is, bit for bit, the first instance's channel 0:
//   L/R   inputs swapped:        its channel 1 is L
//   M/S   right input negated:   its side (L - (-R)) x 0.5 is the mid (L + R) x 0.5
//   mono  not needed: both channels carry the same mix
#pragma once

#include <vector>

#include "tools/host/hosted_plugin.h"
#include "tools/host/stereo_processor.h"

enum class MeterMode { kLeftRight, kMidSide, kMono };

/// The meter channels a "Mode" value selects.
MeterMode meterModeOf(float modeValue);
const char* modeName(MeterMode mode);
/// "left", "right", "mid", "side" or "mono".
const char* channelName(MeterMode mode, int channel);

/// How the meter plug-in is set: the channels it meters, whether its held peak is switched
/// off, and whether its RMS is sine-referenced (a sine reads its peak level).
struct MeterSettings {
    MeterMode mode;
    bool holdOff;
    bool sineRms;
};

/// One meter channel's readings in dBFS; -40 is the floor, standing for -40 dB or below.
struct ChannelReadings {
    float rms;
    float peak;
    float hold;
};

/// Whether the plug-in publishes readings the way the meter does: "RMS level", "Peak level"
/// and "Hold level" as parameters 1 to 3, and its channel mode as parameter 5, "Mode".
bool isMeterPlugin(HostedPlugin& plugin);
/// Whether parameter `index` of a meter plug-in is one of its readings, which it publishes
/// and a host does not set.
bool isMeterReading(VstInt32 index);

class MeterPair : public StereoProcessor {
  public:
    /// `main` and `mirror` have the same settings and are switched on; blocks run up to
    /// `maxFrames` frames.
    MeterPair(HostedPlugin& main, HostedPlugin& mirror, int maxFrames);

    const MeterSettings& settings() const { return meterSettings; }
    /// Runs one block through both instances; the outputs are the main instance's.
    void process(float* left, float* right, float* outLeft, float* outRight, int frames) override;
    /// Both channels' readings after the last block.
    void readings(ChannelReadings channels[2]);

  private:
    static ChannelReadings channelOne(HostedPlugin& plugin);

    HostedPlugin& main;
    HostedPlugin& mirror;
    MeterSettings meterSettings;
    std::vector<float> negated;
    std::vector<float> scratchLeft;
    std::vector<float> scratchRight;
};
