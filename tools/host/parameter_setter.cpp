#include "tools/host/parameter_setter.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "tools/host/meter_pair.h"
#include "tools/host/pevo_switches.h"

namespace {

/// Halvings of 0..1 in a search: beyond the resolution of a float near 1.
constexpr int kSearchSteps = 40;

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return "";
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool sameWords(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

/// A number at the start of `text`, and what follows it, trimmed.
bool leadingNumber(const std::string& text, double& number, std::string& rest) {
    const std::string clean = trimmed(text);
    errno = 0;
    char* end = nullptr;
    number = std::strtod(clean.c_str(), &end);
    if (errno != 0 || end == clean.c_str() || std::isnan(number)) {
        return false;
    }
    rest = trimmed(end);
    return true;
}

std::string numberText(double number) {
    char text[32];
    std::snprintf(text, sizeof(text), "%g", number);
    return text;
}

}  // namespace

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

bool ParameterSetter::resolve(VstInt32 index, const std::string& text, float& value,
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
    if (displayAt(index, 0.0f, number) && sign * number >= sign * target) {
        return 0.0f;
    }
    float low = 0.0f;
    float high = 1.0f;
    for (int step = 0; step < kSearchSteps && high - low > 0.0f; ++step) {
        const float middle = low + (high - low) * 0.5f;
        if (middle <= low || middle >= high) {
            break;
        }
        const bool reached = displayAt(index, middle, number) && sign * number >= sign * target;
        (reached ? high : low) = middle;
    }
    return high;
}

std::string ParameterSetter::listing() {
    std::string out =
        "Parameters: --set NAME=VALUE or INDEX=VALUE, VALUE from 0 to 1, in the unit or a word "
        "shown\n"
        "  index  name        value      in its unit\n";
    const bool meter = isMeterPlugin(plugin);
    char line[200];
    for (VstInt32 index = 0; index < plugin.record().numParams; ++index) {
        const float now = plugin.getParameter(index);
        const std::string name = plugin.parameterName(index);
        const std::string label = trimmed(plugin.parameterLabel(index));
        double low = 0.0;
        double high = 0.0;
        std::string range;
        if (meter && isMeterReading(index)) {
            range = "a reading the plug-in publishes (output): not set";
        } else if (meter && !PevoSwitches::choices(name).empty()) {
            range = "a switch: " + PevoSwitches::choices(name) + "; now " +
                    PevoSwitches::words(name, now);
        } else if (!label.empty() && displayAt(index, 0.0f, low) && displayAt(index, 1.0f, high)) {
            range = numberText(low) + " to " + numberText(high) + " " + label;
        }
        plugin.setParameter(index, now);
        std::snprintf(line, sizeof(line), "  %5d  %-10s  %-9.6f  %s\n", index, name.c_str(), now,
                      range.c_str());
        out += line;
    }
    const VstInt32 programs = plugin.record().numPrograms;
    out += programs > 0
               ? "Programs: --program N, N from 0 to " + std::to_string(programs - 1) + "\n"
               : "Programs: none\n";
    return out;
}
