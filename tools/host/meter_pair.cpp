#include "tools/host/meter_pair.h"

#include "engine/meter_parameters.h"
#include "meter_level/level_parameters.h"
#include "tools/host/pevo_switches.h"

namespace {

/// A published meter value's level in dBFS.
float decibelsOf(float meterValue) {
    return decodeMeter(meterValue).level * -kMeterFloorDecibels + kMeterFloorDecibels;
}

/// The position of the switch `index`, if the plug-in has it under `name`; else -1.
int switchPosition(HostedPlugin& plugin, VstInt32 index, const char* name) {
    return plugin.record().numParams > index && plugin.parameterName(index) == name
               ? PevoSwitches::position(name, plugin.getParameter(index))
               : -1;
}

MeterSettings settingsOf(HostedPlugin& plugin) {
    return {meterModeOf(plugin.getParameter(kMode)),
            switchPosition(plugin, kResp, "Resp") == PevoSwitches::kHoldOff,
            switchPosition(plugin, kRmsMode, "RMS Mode") == PevoSwitches::kSineRms};
}

}  // namespace

MeterMode meterModeOf(float modeValue) {
    switch (PevoSwitches::position("Mode", modeValue)) {
        case PevoSwitches::kLeftRight:
            return MeterMode::kLeftRight;
        case PevoSwitches::kMidSide:
            return MeterMode::kMidSide;
        default:
            return MeterMode::kMono;
    }
}

bool isMeterReading(VstInt32 index) {
    return index >= kRmsLevel && index <= kHoldLevel;
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
      meterSettings(settingsOf(main)),
      negated(maxFrames),
      scratchLeft(maxFrames),
      scratchRight(maxFrames) {}

void MeterPair::process(float* left, float* right, float* outLeft, float* outRight, int frames) {
    float* inputs[2] = {left, right};
    float* outputs[2] = {outLeft, outRight};
    main.process(inputs, outputs, frames);

    float* mirrorOutputs[2] = {scratchLeft.data(), scratchRight.data()};
    if (meterSettings.mode == MeterMode::kLeftRight) {
        float* swapped[2] = {right, left};
        mirror.process(swapped, mirrorOutputs, frames);
    } else if (meterSettings.mode == MeterMode::kMidSide) {
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
    channels[0] = meterSettings.mode == MeterMode::kMono ? channels[1] : channelOne(mirror);
}
