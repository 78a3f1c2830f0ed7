#include "tools/host/parameter_setter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "tools/host/meter_pair.h"
#include "tools/host/pevo_switches.h"
#include "tools/host/setting_text.h"
#include "tools/host/shown_parameter.h"

using setting_text::leadingNumber;
using setting_text::numberText;
using setting_text::sameWords;
using setting_text::trimmed;

VstInt32 ParameterSetter::find(const std::string& parameter, std::string& error) {
    const VstInt32 count = plugin.record().numParams;
    std::string names;
    for (VstInt32 index = 0; index < count; ++index) {
        const std::string name = trimmed(plugin.parameterName(index));
        if (sameWords(name, trimmed(parameter)) || parameter == std::to_string(index)) {
            return index;
        }
        names += (index == 0 ? "" : ", ") + name;
    }
    error = "unknown parameter '" + parameter + "'; the plug-in has " + names +
            " (or their indices 0 to " + std::to_string(count - 1) + ")";
    return -1;
}

bool ParameterSetter::isReading(VstInt32 index) {
    return isMeterPlugin(plugin) ? isMeterReading(index)
                                 : plugin.dispatch(effCanBeAutomated, index) == 0;
}

bool ParameterSetter::resolve(VstInt32 index, const std::string& text, float& value,
                              std::string& error) {
    const std::string name = trimmed(plugin.parameterName(index));
    if (isReading(index)) {
        error = name + " is a reading the plug-in publishes, not a setting";
        return false;
    }
    if (!isMeterPlugin(plugin)) {
        return ShownParameter(plugin, index).resolve(text, value, error);
    }
    return PevoSwitches::valueOf(name, text, value) || resolveNumber(index, text, value, error);
}

bool ParameterSetter::resolveNumber(VstInt32 index, const std::string& text, float& value,
                                    std::string& error) {
    const std::string name = trimmed(plugin.parameterName(index));
    double number = 0.0;
    std::string unit;
    if (!leadingNumber(text, number, unit)) {
        error = "'" + text + "' is not a value for " + name;
        return false;
    }
    if (unit.empty()) {
        if (!(number >= 0.0 && number <= 1.0)) {
            error = "value " + text + " for " + name + " is out of range: values run from 0 to 1";
            return false;
        }
        value = static_cast<float>(number);
        return true;
    }
    const std::string label = trimmed(plugin.parameterLabel(index));
    if (label.empty() || !sameWords(unit, label)) {
        error = "'" + unit + "' is not the unit of " + name +
                (label.empty() ? " (it has none: give a value from 0 to 1)" : " (" + label + ")");
        return false;
    }
    const float before = plugin.getParameter(index);
    double low = 0.0;
    double high = 0.0;
    if (!displayAt(index, 0.0f, low) || !displayAt(index, 1.0f, high)) {
        plugin.setParameter(index, before);
        error = "the display of " + name + " is not a number: give a value from 0 to 1";
        return false;
    }
    const bool rising = high >= low;
    if (number < std::fmin(low, high) || number > std::fmax(low, high)) {
        plugin.setParameter(index, before);
        error = "value " + text + " for " + name + " is out of range: it runs from " +
                numberText(low) + " to " + numberText(high) + " " + label;
        return false;
    }
    value = search(index, number, rising);
    plugin.setParameter(index, before);
    return true;
}

bool ParameterSetter::checkProgram(int program, std::string& error) {
    const VstInt32 count = plugin.record().numPrograms;
    if (program >= 0 && program < count) {
        return true;
    }
    error = "program " + std::to_string(program) + " is out of range: the plug-in has " +
            (count > 0 ? "programs 0 to " + std::to_string(count - 1) : "no programs");
    return false;
}

bool ParameterSetter::displayAt(VstInt32 index, float value, double& number) {
    plugin.setParameter(index, value);
    const std::string display = trimmed(plugin.parameterDisplay(index));
    if (display == "-oo" || display == "-inf") {
        number = -std::numeric_limits<double>::infinity();
        return true;
    }
    std::string rest;
    return leadingNumber(display, number, rest) && rest.empty();
}

float ParameterSetter::search(VstInt32 index, double target, bool rising) {
    const double sign = rising ? 1.0 : -1.0;
    double number = 0.0;
    const auto reached = [&](float value) {
        return displayAt(index, value, number) && sign * number >= sign * target;
    };
    return reached(0.0f) ? 0.0f : ShownParameter::firstReached(0.0f, 1.0f, reached);
}

std::string ParameterSetter::listing() {
    const bool meter = isMeterPlugin(plugin);
    std::string out = meter ? "Parameters: --set NAME=VALUE or INDEX=VALUE, VALUE from 0 to 1, "
                              "in the unit or a word shown\n"
                            : "Parameters: --set NAME=VALUE or INDEX=VALUE, VALUE a number in "
                              "the unit or a word shown\n";
    std::size_t width = 10;
    for (VstInt32 index = 0; index < plugin.record().numParams; ++index) {
        width = std::max(width, plugin.parameterName(index).size());
    }
    char line[400];
    std::snprintf(line, sizeof(line), "  index  %-*s  value      in its unit\n",
                  static_cast<int>(width), "name");
    out += line;
    for (VstInt32 index = 0; index < plugin.record().numParams; ++index) {
        const float now = plugin.getParameter(index);
        const std::string name = plugin.parameterName(index);
        const std::string label = trimmed(plugin.parameterLabel(index));
        double low = 0.0;
        double high = 0.0;
        std::string range;
        if (isReading(index)) {
            range = "a reading the plug-in publishes (output): not set";
        } else if (!meter) {
            range = ShownParameter(plugin, index).choices();
        } else if (meter && !PevoSwitches::choices(name).empty()) {
            range = "a switch: " + PevoSwitches::choices(name) + "; now " +
                    PevoSwitches::words(name, now);
        } else if (!label.empty() && displayAt(index, 0.0f, low) && displayAt(index, 1.0f, high)) {
            range = numberText(low) + " to " + numberText(high) + " " + label;
        }
        plugin.setParameter(index, now);
        std::snprintf(line, sizeof(line), "  %5d  %-*s  %-9.6f  %s\n", index,
                      static_cast<int>(width), name.c_str(), now, range.c_str());
        out += line;
    }
    const VstInt32 programs = plugin.record().numPrograms;
    out += programs > 0
               ? "Programs: --program N, N from 0 to " + std::to_string(programs - 1) + "\n"
               : "Programs: none\n";
    return out;
}
