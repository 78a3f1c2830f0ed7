#include "tools/common/progress_bar.h"

#include <unistd.h>

#include <cstdio>
#include <string>

namespace {

constexpr int kWidth = 30;

std::string clockText(double seconds) {
    const long whole = static_cast<long>(seconds);
    char text[32];
    if (whole >= 3600) {
        std::snprintf(text, sizeof(text), "%ld:%02ld:%02ld", whole / 3600, whole / 60 % 60,
                      whole % 60);
    } else {
        std::snprintf(text, sizeof(text), "%ld:%02ld", whole / 60, whole % 60);
    }
    return text;
}

}  // namespace

ProgressBar::ProgressBar(std::int64_t totalFrames, double sampleRate)
    : active(isatty(STDERR_FILENO) && totalFrames > 0 &&
             static_cast<double>(totalFrames) >= kMinSeconds * sampleRate),
      sharesScreen(isatty(STDOUT_FILENO)),
      totalFrames(totalFrames),
      sampleRate(sampleRate) {}

void ProgressBar::update(std::int64_t frames) {
    if (!active) {
        return;
    }
    const int permille = static_cast<int>(frames * 1000 / totalFrames);
    if (permille == shownPermille) {
        return;
    }
    shownPermille = permille;
    const int filled = permille * kWidth / 1000;
    const std::string bar = std::string(filled, '#') + std::string(kWidth - filled, '.');
    std::fprintf(stderr, "\r[%s] %5.1f%%  %s of %s ", bar.c_str(), permille / 10.0,
                 clockText(static_cast<double>(frames) / sampleRate).c_str(),
                 clockText(static_cast<double>(totalFrames) / sampleRate).c_str());
    std::fflush(stderr);
}

void ProgressBar::clear() {
    if (active && shownPermille >= 0) {
        std::fprintf(stderr, "\r\033[K");
        std::fflush(stderr);
        shownPermille = -1;
    }
}

void ProgressBar::makeRoom() {
    if (sharesScreen) {
        clear();
    }
}
