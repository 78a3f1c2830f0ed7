// What the loudness panel shows, and from what: the readings in their units, the values of
// the settings, and the short-term history of the programme. The effect is one; a panel drawn where
// the effect runs elsewhere (a plug-in format's UI) reads a stand-in that the host keeps up to
// date. Any thread.
#pragma once

#include "meter_loudness/loudness_history.h"
#include "meter_loudness/loudness_parameters.h"

class LoudnessReadout {
  public:
    virtual ~LoudnessReadout() = default;

    /// Reading `index` as last published: LUFS, LU or dBTP, LoudnessMeter::kUndefined while
    /// undefined.
    virtual double reading(VstInt32 index) const = 0;
    /// Setting `index`'s value from 0 to 1.
    virtual float settingValue(VstInt32 index) const = 0;
    /// Short-term loudness of the whole programme since the last reset.
    virtual const LoudnessHistory& history() const = 0;

    /// The loudness the settings aim at, in LUFS.
    double target() const {
        return loudness::targetLoudness(settingValue(loudness::kTarget),
                                        settingValue(loudness::kCustomTarget));
    }
    double ceiling() const {
        using namespace loudness;
        return levelOf(settingValue(kCeiling), kCeilingLowest, kCeilingHighest);
    }
    int scaleChoice() const {
        return loudness::choiceOf(settingValue(loudness::kScale), loudness::kScaleChoices);
    }
    int unitChoice() const {
        return loudness::choiceOf(settingValue(loudness::kUnit), loudness::kUnitChoices);
    }
    /// The position of choice setting `index`; 0 for any other parameter.
    int choice(VstInt32 index) const {
        const ParameterInfo* info = loudnessMeterParameters().find(index);
        return info && info->kind == ParameterKind::choice
                   ? loudness::choiceOf(settingValue(index), info->positions)
                   : 0;
    }
    /// Whether the last block gathered integrated loudness, range, maxima and true peak.
    bool integrating() const { return reading(loudness::kIntegrating) >= 0.5; }
    /// The audio time gathered since the last reset, in seconds.
    double integrationSeconds() const { return reading(loudness::kIntegrationTime); }
};
