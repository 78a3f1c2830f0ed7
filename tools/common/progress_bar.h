// A progress bar on standard error for long inputs, drawn only when standard error is a
// terminal, so that logs and pipes never see it.
#pragma once

#include <cstdint>

class ProgressBar {
  public:
    /// Inputs shorter than this finish before a bar would help.
    static constexpr double kMinSeconds = 5.0;

    ProgressBar(std::int64_t totalFrames, double sampleRate);
    ~ProgressBar() { clear(); }
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    /// Redraws the bar when what it shows has changed.
    void update(std::int64_t frames);
    /// Takes the bar off the screen.
    void clear();
    /// Takes the bar off the screen if standard output shares it, before a line of output.
    void makeRoom();

  private:
    bool active;
    bool sharesScreen;  ///< standard output is a terminal too
    std::int64_t totalFrames;
    double sampleRate;
    int shownPermille = -1;  ///< -1 when the bar is not on the screen
};
