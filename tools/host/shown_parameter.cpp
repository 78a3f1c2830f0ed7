#include "tools/host/shown_parameter.h"

#include <cmath>
#include <limits>

#include "tools/host/setting_text.h"

using setting_text::leadingNumber;
using setting_text::numberText;
using setting_text::sameWords;
using setting_text::trimmed;

namespace {

/// Values the display is read at: k / kSweepSteps, a power of two so each is exact.
constexpr int kSweepSteps = 1024;
/// At most this many texts make a switch; a level shows more.
constexpr std::size_t kMostPositions = 16;

bool isInfinity(const std::string& text, double& number) {
    if (text == "-inf" || text == "-oo") {
        number = -std::numeric_limits<double>::infinity();
        return true;
    }
    if (text == "+inf" || text == "inf") {
        number = std::numeric_limits<double>::infinity();
        return true;
    }
    return false;
}

/// `text` as a number, the unit `label` allowed after it; false when it is not one.
bool numberIn(const std::string& text, const std::string& label, double& number) {
    const std::string clean = trimmed(text);
    std::string rest;
    if (isInfinity(clean, number)) {
        return true;
    }
    return leadingNumber(clean, number, rest) && (rest.empty() || sameWords(rest, label));
}

}  // namespace

ShownParameter::ShownParameter(HostedPlugin& plugin, VstInt32 index)
    : plugin(plugin),
      index(index),
      name(trimmed(plugin.parameterName(index))),
      label(trimmed(plugin.parameterLabel(index))) {
    const float before = plugin.getParameter(index);
    sweep();
    level = positions.empty() && numberAt(0.0f, lowest) && numberAt(1.0f, highest);
    plugin.setParameter(index, before);
}

std::string ShownParameter::shownAt(float value) {
    plugin.setParameter(index, value);
    return trimmed(plugin.parameterDisplay(index));
}

bool ShownParameter::numberAt(float value, double& number) {
    const std::string text = shownAt(value);
    std::string rest;
    return isInfinity(text, number) || (leadingNumber(text, number, rest) && rest.empty());
}

void ShownParameter::sweep() {
    std::vector<std::pair<std::string, int>> runs;  // text and the step its run ends at
    for (int step = 0; step <= kSweepSteps; ++step) {
        const std::string text = shownAt(static_cast<float>(step) / kSweepSteps);
        if (runs.empty() || runs.back().first != text) {
            for (const auto& run : runs) {
                if (run.first == text) {
                    return;  // a text that comes back is no switch position
                }
            }
            if (runs.size() == kMostPositions) {
                return;
            }
            runs.push_back({text, step});
        }
        runs.back().second = step;
    }
    float start = 0.0f;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const bool last = i + 1 == runs.size();
        const float end =
            last ? 1.0f
                 : endOfText(runs[i].first, static_cast<float>(runs[i].second) / kSweepSteps,
                             static_cast<float>(runs[i].second + 1) / kSweepSteps);
        positions.push_back({runs[i].first, i == 0 ? 0.0f : last ? 1.0f : (start + end) / 2});
        start = end;
    }
}

float ShownParameter::endOfText(const std::string& text, float low, float high) {
    return firstReached(low, high, [&](float value) { return shownAt(value) != text; });
}

float ShownParameter::reaching(double target) {
    const double sign = highest >= lowest ? 1.0 : -1.0;
    double number = 0.0;
    const auto reached = [&](float value) {
        return numberAt(value, number) && sign * number >= sign * target;
    };
    if (reached(0.0f)) {
        return 0.0f;
    }
    return reached(1.0f) ? firstReached(0.0f, 1.0f, reached) : 2.0f;
}

std::string ShownParameter::positionList() const {
    std::string all;
    for (const Position& position : positions) {
        all += (all.empty() ? "" : ", ") + position.text;
    }
    return all;
}

bool ShownParameter::resolve(const std::string& text, float& value, std::string& error) {
    const float before = plugin.getParameter(index);
    double number = 0.0;
    bool resolved = false;
    if (!positions.empty()) {
        resolved = resolvePosition(text, value, error);
    } else if (level && numberIn(text, label, number)) {
        resolved = resolveLevel(number, text, value, error);
    } else if (level) {
        error = "'" + text + "' is not a value for " + name + ": give a number" +
                (label.empty() ? "" : " in " + label);
    } else if (numberIn(text, "", number) && number >= 0.0 && number <= 1.0) {
        value = static_cast<float>(number);
        resolved = true;
    } else {
        error = "'" + text + "' is not a value for " + name + ": give a value from 0 to 1";
    }
    plugin.setParameter(index, before);
    return resolved;
}

bool ShownParameter::resolvePosition(const std::string& text, float& value, std::string& error) {
    const std::string words = trimmed(text);
    double number = 0.0;
    double shown = 0.0;
    const bool isNumber = numberIn(words, label, number);
    for (const Position& position : positions) {
        if (sameWords(words, position.text) ||
            (isNumber && numberIn(position.text, "", shown) && shown == number)) {
            value = position.value;
            return true;
        }
    }
    if (isNumber && numberIn(words, "", number) && number >= 0.0 && number <= 1.0) {
        value = static_cast<float>(number);
        return true;
    }
    error = "'" + text + "' is not a position of " + name + ": " + positionList() +
            " (or a value from 0 to 1)";
    return false;
}

bool ShownParameter::resolveLevel(double number, const std::string& text, float& value,
                                  std::string& error) {
    if (!(number >= std::fmin(lowest, highest) && number <= std::fmax(lowest, highest))) {
        error = "value " + text + " for " + name + " is out of range: it runs from " +
                numberText(lowest) + " to " + numberText(highest) +
                (label.empty() ? "" : " " + label);
        return false;
    }
    // The shown number nearest to the one asked for, and the values that show it.
    const float above = reaching(number);
    double shownAbove = 0.0;
    double shownBelow = 0.0;
    numberAt(above, shownAbove);
    const bool belowNearer = above > 0.0f && numberAt(std::nextafter(above, 0.0f), shownBelow) &&
                             std::fabs(shownBelow - number) < std::fabs(shownAbove - number);
    const double shown = belowNearer ? shownBelow : shownAbove;
    const float start = belowNearer ? reaching(shownBelow) : above;
    const double direction = highest >= lowest ? HUGE_VAL : -HUGE_VAL;
    const float end = reaching(std::nextafter(shown, direction));
    value = start == 0.0f ? 0.0f : end > 1.0f ? 1.0f : (start + end) / 2;
    return true;
}

std::string ShownParameter::choices() {
    const std::string shown = trimmed(plugin.parameterDisplay(index));
    if (!positions.empty()) {
        return "a switch: " + positionList() + "; now " + shown;
    }
    if (level) {
        return numberText(lowest) + " to " + numberText(highest) +
               (label.empty() ? "" : " " + label) + "; now " + shown;
    }
    return "";
}
