// pevo-loudness's command line, through CLI11: the options, their help text (from which the
// man page is made too), the checks of their values and the exit statuses of --help,
// --version and usage errors.
#pragma once

#include <CLI/CLI.hpp>
#include <optional>
#include <string>
#include <vector>

#include "tools/common/loudness_report.h"

struct LoudnessOptions {
    LoudnessReport::Format format = LoudnessReport::Format::kTable;
    /// Seconds between the points of the time series; 0 for none.
    double every = 0.0;
    std::optional<double> target;
    /// Channel roles as the user states them ("L,R,C,LFE,Ls,Rs"); empty for the file's.
    std::string channels;
    bool dualMono = false;
    /// A delivery's loudness, tolerance and true-peak ceiling to check each file against.
    std::optional<double> checkLoudness, tolerance, maxTruePeak;
    /// Normalising: the loudness to bring each file to, the true-peak ceiling to keep
    /// under unless `exceedCeiling`, and the file (or folder, for several) to write.
    std::optional<double> normalise;
    double ceiling = -1.0;
    bool exceedCeiling = false;
    std::string output;
    /// The picture of the loudness over time: a PNG, or a folder for several files.
    std::string plot;
    std::vector<std::string> files;
};

class LoudnessCommandLine {
  public:
    static constexpr int kUsageError = 2;

    LoudnessCommandLine();
    /// Parses the arguments; the exit status when the program should stop here (0 after
    /// --help or --version, kUsageError after a message), or nothing to go on measuring.
    std::optional<int> parse(int argc, char** argv);
    const LoudnessOptions& options() const { return values; }

  private:
    /// The checks of values and of options together; false with the reason.
    bool check(std::string& error);

    CLI::App app;
    LoudnessOptions values;
    std::string format = "table";
    std::string preset;
    double target = 0.0, tolerance = 0.0, maxTruePeak = 0.0, normalise = 0.0;
};
