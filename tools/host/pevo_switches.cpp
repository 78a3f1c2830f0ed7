#include "tools/host/pevo_switches.h"

#include <strings.h>

#include <cstdio>

#include "engine/meter_parameters.h"

namespace {

struct Switch {
    const char* name;
    const char* words[3];
    /// Other names people give the positions, such as the panel's; empty for none.
    const char* otherWords[3];
    float values[3];  ///< a value that selects each position
    int positions;
    /// The position of a value, as the effect takes it (a value at a bound takes the upper
    /// position of a three-way switch).
    int (*positionOf)(float value);
};

int modePosition(float value) {
    return value < kMidSideFrom ? 0 : (value < kMonoFrom ? 1 : 2);
}

int holdPosition(float value) {
    return value < kOneSecondHoldFrom ? 0 : (value < kThreeSecondHoldFrom ? 1 : 2);
}

int rmsPosition(float value) {
    return value > kSquareRmsAbove ? 1 : 0;
}

constexpr Switch kSwitches[] = {
    {"Mode",
     {"L/R", "M/S", "mono"},
     {"Left/Right", "Mid/Side", ""},
     {0.0f, 0.5f, 1.0f},
     3,
     modePosition},
    {"Resp", {"off", "1 s", "3 s"}, {"", "1s", "3s"}, {0.0f, 0.5f, 1.0f}, 3, holdPosition},
    {"RMS Mode", {"sine", "square", ""}, {"", "", ""}, {0.0f, 1.0f, 0.0f}, 2, rmsPosition},
};

const Switch* find(const std::string& name) {
    for (const Switch& candidate : kSwitches) {
        if (name == candidate.name) {
            return &candidate;
        }
    }
    return nullptr;
}

}  // namespace

int PevoSwitches::position(const std::string& name, float value) {
    const Switch* found = find(name);
    return found ? found->positionOf(value) : -1;
}

std::string PevoSwitches::words(const std::string& name, float value) {
    const Switch* found = find(name);
    return found ? found->words[found->positionOf(value)] : "";
}

bool PevoSwitches::valueOf(const std::string& name, const std::string& words, float& value) {
    const Switch* found = find(name);
    for (int i = 0; found && i < found->positions; ++i) {
        if (strcasecmp(words.c_str(), found->words[i]) == 0 ||
            (*found->otherWords[i] && strcasecmp(words.c_str(), found->otherWords[i]) == 0)) {
            value = found->values[i];
            return true;
        }
    }
    return false;
}

std::string PevoSwitches::choices(const std::string& name) {
    const Switch* found = find(name);
    std::string text;
    for (int i = 0; found && i < found->positions; ++i) {
        char choice[32];
        std::snprintf(choice, sizeof(choice), "%s%s %g", i == 0 ? "" : ", ", found->words[i],
                      static_cast<double>(found->values[i]));
        text += choice;
    }
    return text;
}
