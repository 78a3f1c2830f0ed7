// One setting of a hosted plug-in as the plug-in itself shows it, learnt through its record
// alone: the display text swept over the values 0 to 1 tells a switch (a few texts, each
// over one run of values) from a level that reads as a number in the parameter's unit. A
// text the user writes is then found among the texts the plug-in shows, so a setting is
// exactly what the plug-in will display, whatever product it is.
#pragma once

#include <string>
#include <vector>

#include "tools/host/hosted_plugin.h"

class ShownParameter {
  public:
    /// Halvings of a span of values in a search: beyond the resolution of a float near 1.
    static constexpr int kSearchSteps = 40;

    /// The smallest value from `low` to `high` that `reached` holds for, halving the span:
    /// `reached` holds for `high` and not for `low`, and once it holds it holds above too.
    template <typename Reached>
    static float firstReached(float low, float high, Reached reached) {
        for (int step = 0; step < kSearchSteps; ++step) {
            const float middle = low + (high - low) * 0.5f;
            if (middle <= low || middle >= high) {
                break;
            }
            (reached(middle) ? high : low) = middle;
        }
        return high;
    }

    /// Sweeps parameter `index` of `plugin` and sets it back as it was.
    ShownParameter(HostedPlugin& plugin, VstInt32 index);

    /// The value that shows `text`: a switch's position (any case, the unit allowed after
    /// it) or a value from 0 to 1; a number, with or without the unit, for a level, which
    /// takes the nearest value the plug-in shows. False with the reason in `error`. Leaves
    /// the parameter as it was.
    bool resolve(const std::string& text, float& value, std::string& error);
    /// What `resolve` takes, and the text shown now: "a switch: LUFS, LU; now LUFS" or
    /// "-40 to 0 LUFS; now -18.0". Empty when it takes only values from 0 to 1.
    std::string choices();

  private:
    /// A switch position: its text and the value that selects it, in the middle of the
    /// values that show it (0 and 1 for the first and the last).
    struct Position {
        std::string text;
        float value;
    };

    std::string shownAt(float value);
    /// The display at `value` as a number: "-inf" and "-oo" as minus infinity. False when
    /// it is not a number.
    bool numberAt(float value, double& number);
    /// Finds the positions when the texts make a switch.
    void sweep();
    /// The smallest value above `low` that does not show `text`, `low` showing it and
    /// `high` not.
    float endOfText(const std::string& text, float low, float high);
    /// The smallest value in 0..1 whose number is at or beyond `target` in the direction
    /// the display runs; 2 when none is.
    float reaching(double target);
    /// The positions' texts, separated by commas.
    std::string positionList() const;
    bool resolveLevel(double number, const std::string& text, float& value, std::string& error);
    bool resolvePosition(const std::string& text, float& value, std::string& error);

    HostedPlugin& plugin;
    VstInt32 index;
    std::string name;
    std::string label;
    std::vector<Position> positions;
    /// The numbers shown at 0 and 1, for a level.
    bool level = false;
    double lowest = 0.0;
    double highest = 0.0;
};
