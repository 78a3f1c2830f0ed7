#include "tools/host/meter_pair.h"

#include "engine/meter_parameters.h"

namespace {

/// A published meter value's level in dBFS.
float decibelsOf(float meterValue) {
    return decodeMeter(meterValue).level * -kMeterFloorDecibels + kMeterFloorDecibels;
}

}  // namespace

MeterMode meterModeOf(float modeValue) {
    if (modeValue < kMidSideFrom) {
        return MeterMode::kLeftRight;
    }
    return modeValue < kMonoFrom ? MeterMode::kMidSide : MeterMode::kMono;
}

const char* modeName(MeterMode mode) {
    switch (mode) {
        case MeterMode::kLeftRight:
            return "L/R";
        case MeterMode::kMidSide:
            return "M/S";
        default:
            return "mono";
    }
}

const char* channelName(MeterMode mode, int channel) {
    switch (mode) {
        case MeterMode::kLeftRight:
            return channel == 0 ? "left" : "right";
        case MeterMode::kMidSide:
            return channel == 0 ? "mid" : "side";
        default:
            return "mono";
    }
}

bool isMeterPlugin(HostedPlugin& plugin) {
    return plugin.record().numParams > kMode && plugin.parameterName(kRmsLevel) == "RMS level" &&
           plugin.parameterName(kPeakLevel) == "Peak level" &&
           plugin.parameterName(kHoldLevel) == "Hold level" &&
           plugin.parameterName(kMode) == "Mode";
}

MeterPair::MeterPair(HostedPlugin& main, HostedPlugin& mirror, int maxFrames)
    : main(main),
      mirror(mirror),
      meterMode(meterModeOf(main.getParameter(kMode))),
      negated(maxFrames),
      scratchLeft(maxFrames),
      scratchRight(maxFrames) {}

void MeterPair::process(float* left, float* right, float* outLeft, float* outRight, int frames) {
    float* inputs[2] = {left, right};
    float* outputs[2] = {outLeft, outRight};
    main.process(inputs, outputs, frames);

    float* mirrorOutputs[2] = {scratchLeft.data(), scratchRight.data()};
    if (meterMode == MeterMode::kLeftRight) {
        float* swapped[2] = {right, left};
        mirror.process(swapped, mirrorOutputs, frames);
    } else if (meterMode == MeterMode::kMidSide) {
        // Negation is exact, and x - (-y) is x + y in IEEE arithmetic.
        for (int i = 0; i < frames; ++i) {
            negated[i] = -right[i];
        }
        float* flipped[2] = {left, negated.data()};
        mirror.process(flipped, mirrorOutputs, frames);
    }
}

ChannelReadings MeterPair::channelOne(HostedPlugin& plugin) {
    return {decibelsOf(plugin.getParameter(kRmsLevel)), decibelsOf(plugin.getParameter(kPeakLevel)),
            decibelsOf(plugin.getParameter(kHoldLevel))};
}

void MeterPair::readings(ChannelReadings channels[2]) {
    channels[1] = channelOne(main);
    channels[0] = meterMode == MeterMode::kMono ? channels[1] : channelOne(mirror);
}
