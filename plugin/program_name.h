// A program's name that one thread may rename while others read it: a reader gets the old
// name or the new one whole, never a mix of the two. Not for the audio thread: it locks.
#pragma once

#include <mutex>

#include "plugin/vst2.h"

class ProgramName {
  public:
    explicit ProgramName(const char* initial = "");
    ProgramName(const ProgramName&) = delete;
    ProgramName& operator=(const ProgramName&) = delete;

    /// Keeps kVstMaxProgNameLen - 1 characters of `text` at most.
    void set(const char* text);
    /// Copies the name, terminated, into `text` of kVstMaxProgNameLen characters.
    void get(char* text) const;

  private:
    mutable std::mutex guard;
    char name[kVstMaxProgNameLen] = {};
};
