// pevo-loudness's command line, through CLI11: the options, their help text (from which the
// man page is made too) and the exit statuses of --help, --version and usage errors.
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
    CLI::App app;
    LoudnessOptions values;
    std::string format = "table";
    double target = 0.0;
};
