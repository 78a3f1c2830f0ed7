// Turns the user's --set and --program requests into parameter values of a loaded plug-in:
// a parameter by name or index; for the level meter a value from 0 to 1, a switch position
// or a number in the unit of the parameter's label, for any other plug-in a word or a number
// as the plug-in shows it (see ShownParameter). Both are found through the plug-in's own
// display text.
#pragma once

#include <string>

#include "tools/host/hosted_plugin.h"

class ParameterSetter {
  public:
    explicit ParameterSetter(HostedPlugin& plugin) : plugin(plugin) {}

    /// The index of the parameter named `parameter` (any case) or numbered so; -1 with the
    /// reason in `error` when there is none.
    VstInt32 find(const std::string& parameter, std::string& error);
    /// Whether parameter `index` is a reading the plug-in publishes, which is not set.
    bool isReading(VstInt32 index);
    /// The value to set for `text`. False with the reason in `error`, a reading's too.
    /// Leaves the parameter as it was.
    bool resolve(VstInt32 index, const std::string& text, float& value, std::string& error);
    /// False with the reason in `error` when `program` is not one of the plug-in's.
    bool checkProgram(int program, std::string& error);
    /// What can be set, with the range each parameter covers in its unit.
    std::string listing();

  private:
    /// The level meter's value for `text`: a number from 0 to 1, or a number followed by
    /// the parameter's label ("4410samples", "-6 dB").
    bool resolveNumber(VstInt32 index, const std::string& text, float& value, std::string& error);
    /// The display text of parameter `index` at `value`, as a number; false if it is none.
    bool displayAt(VstInt32 index, float value, double& number);
    /// The smallest value whose display reaches `target`, displays rising with the value
    /// (`rising`) or falling.
    float search(VstInt32 index, double target, bool rising);

    HostedPlugin& plugin;
};
