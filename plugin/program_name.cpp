#include "plugin/program_name.h"

#include <cstdio>

ProgramName::ProgramName(const char* initial) {
    set(initial);
}

void ProgramName::set(const char* text) {
    const std::lock_guard<std::mutex> hold(guard);
    // The precision bounds the read: a host's text need not be terminated within the limit.
    std::snprintf(name, sizeof name, "%.*s", static_cast<int>(sizeof name - 1), text);
}

void ProgramName::get(char* text) const {
    const std::lock_guard<std::mutex> hold(guard);
    std::snprintf(text, kVstMaxProgNameLen, "%s", name);
}
