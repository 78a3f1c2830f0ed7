#include "tools/host/pevo_switches.h"

#include <strings.h>

#include <cstdio>

namespace {

struct Switch {
    const char* name;
    const char* words[3];
    float values[3];  ///< a value that selects each position
    int positions;
    /// The position of a value: three-way switches change at 0.3 and 0.7 (a value at a
    /// bound takes the upper position), the two-way one above 0.5.
    int (*positionOf)(float value);
};

int threeWay(float value) {
    return value < 0.3f ? 0 : (value < 0.7f ? 1 : 2);
}

int twoWay(float value) {
    return value > 0.5f ? 1 : 0;
}

constexpr Switch kSwitches[] = {
    {"Mode", {"L/R", "M/S", "mono"}, {0.0f, 0.5f, 1.0f}, 3, threeWay},
    {"Resp", {"off", "1 s", "3 s"}, {0.0f, 0.5f, 1.0f}, 3, threeWay},
    {"RMS Mode", {"sine", "square", ""}, {0.0f, 1.0f, 0.0f}, 2, twoWay},
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
        if (strcasecmp(words.c_str(), found->words[i]) == 0) {
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
