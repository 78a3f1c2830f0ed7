// The first broken expectation of a session, with enough context to find it again.
#pragma once

#include <sstream>
#include <string>

class FaultLog {
  public:
    /// Records `what` unless an earlier fault is recorded already; answers `ok`.
    bool check(bool ok, const std::string& what) {
        if (!ok && first.empty()) {
            std::ostringstream text;
            text << "call " << calls << ": " << what;
            first = text.str();
        }
        return ok;
    }
    /// Counts one call made through a record, for the messages.
    void nextCall() { ++calls; }
    bool any() const { return !first.empty(); }
    const std::string& message() const { return first; }

  private:
    std::string first;
    long calls = 0;
};
