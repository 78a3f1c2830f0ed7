// The command line of pevo-host: what to load, what to meter, how to report it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/common/loudness_report.h"

/// pevo-host prints its readings in the formats pevo-loudness prints loudness in.
using ReportFormat = LoudnessReport::Format;

/// How often readings are printed: every so many blocks, or every so many seconds.
struct ReadingInterval {
    std::int64_t blocks = 0;  ///< used when not zero
    double seconds = 0.1;
};

/// One --set: a parameter's name or index, and the value as the user wrote it.
struct ParameterAssignment {
    std::string parameter;
    std::string value;
};

struct HostOptions {
    std::string pluginPath;
    std::vector<std::string> inputPaths;  ///< none for the demo signal; "-" is standard input
    std::string outputPath;
    bool infoOnly = false;
    bool listOnly = false;
    int blockFrames = 512;
    ReadingInterval every;
    ReportFormat format = ReportFormat::kTable;
    std::vector<ParameterAssignment> assignments;
    int program = -1;          ///< -1 keeps the plug-in's own
    bool loudness = false;     ///< also measure the loudness of the plug-in's output
    std::string snapshotPath;  ///< PNG of the plug-in's panel; empty for none
    double snapshotAt = -1.0;  ///< seconds into the input; below 0 for its end
};

/// What reading the command line came to.
enum class Parsed {
    kRun,         ///< the options are filled in
    kPrinted,     ///< --help or --version: the text to print is given
    kUsageError,  ///< the reason is given
};

class CommandLine {
  public:
    static constexpr int kMaxBlockFrames = 1 << 20;

    /// Fills `options` from the arguments; `text` is the help or version text, or the
    /// reason the arguments were refused.
    static Parsed parse(int argc, const char* const* argv, HostOptions& options, std::string& text);
    /// A time such as "100ms" or "2.5s"; false if `text` is none.
    static bool parseSeconds(const std::string& text, double& seconds);
};
