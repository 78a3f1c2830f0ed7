// What the loudness panel shows, and from what: the readings in their units, the values of
// the settings, and the short-term history. The effect is one; a panel drawn where the
// effect runs elsewhere (a plug-in format's UI) reads a stand-in that the host keeps up to
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
    /// Short-term loudness over the last minutes.
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
};
