// Pevo's switches, "Mode", "Resp" and "RMS Mode": the plug-in displays their values as
// plain numbers, so their positions in words, and the values that select them, are kept
// here, the one place pevo-host knows them.
#pragma once

#include <string>

class PevoSwitches {
  public:
    /// The position of the switch `name` that `value` selects, from 0; -1 when `name` is
    /// none of the switches.
    static int position(const std::string& name, float value);
    /// The words for that position, such as "M/S" or "1 s"; empty for no switch.
    static std::string words(const std::string& name, float value);
    /// The value that selects the position `words` names (in any case, "Mid/Side" for "M/S"
    /// too) on the switch `name`; false when it names none.
    static bool valueOf(const std::string& name, const std::string& words, float& value);
    /// Every position of the switch `name` with the value that selects it, such as
    /// "L/R 0, M/S 0.5, mono 1"; empty for no switch.
    static std::string choices(const std::string& name);

    /// Positions of "Mode", "Resp" and "RMS Mode".
    enum ModePosition { kLeftRight, kMidSide, kMono };
    enum HoldPosition { kHoldOff, kHoldOneSecond, kHoldThreeSeconds };
    enum RmsPosition { kSineRms, kPlainRms };
};
