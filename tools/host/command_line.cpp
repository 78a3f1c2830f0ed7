#include "tools/host/command_line.h"

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace {

using Apply = bool (*)(HostOptions& options, const std::string& value, std::string& error);

bool parseWhole(const std::string& text, long long low, long long high, long long& number) {
    if (text.empty()) {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    number = std::strtoll(text.c_str(), &end, 10);
    return errno == 0 && *end == '\0' && number >= low && number <= high;
}

bool setBlock(HostOptions& options, const std::string& value, std::string& error) {
    long long frames = 0;
    if (!parseWhole(value, 1, CommandLine::kMaxBlockFrames, frames)) {
        error = "--block takes a number of frames from 1 to " +
                std::to_string(CommandLine::kMaxBlockFrames) + ", not '" + value + "'";
        return false;
    }
    options.blockFrames = static_cast<int>(frames);
    return true;
}

bool setEvery(HostOptions& options, const std::string& value, std::string& error) {
    long long blocks = 0;
    double seconds = 0.0;
    if (parseWhole(value, 1, 1LL << 40, blocks)) {
        options.every = {blocks, 0.0};
        return true;
    }
    if (CommandLine::parseSeconds(value, seconds) && seconds > 0.0) {
        options.every = {0, seconds};
        return true;
    }
    error = "--every takes a time such as 100ms or 2s, or a number of blocks, not '" + value + "'";
    return false;
}

bool setFormat(HostOptions& options, const std::string& value, std::string& error) {
    if (value == "table") {
        options.format = ReportFormat::kTable;
    } else if (value == "csv") {
        options.format = ReportFormat::kCsv;
    } else if (value == "json") {
        options.format = ReportFormat::kJson;
    } else {
        error = "--format takes table, csv or json, not '" + value + "'";
        return false;
    }
    return true;
}

bool addAssignment(HostOptions& options, const std::string& value, std::string& error) {
    const std::size_t equals = value.find('=');
    if (equals == std::string::npos || equals == 0 || equals + 1 == value.size()) {
        error = "--set takes NAME=VALUE, not '" + value + "'";
        return false;
    }
    options.assignments.push_back({value.substr(0, equals), value.substr(equals + 1)});
    return true;
}

bool setProgram(HostOptions& options, const std::string& value, std::string& error) {
    long long program = 0;
    if (!parseWhole(value, 0, 1 << 30, program)) {
        error = "--program takes a program number, not '" + value + "'";
        return false;
    }
    options.program = static_cast<int>(program);
    return true;
}

bool setSnapshotAt(HostOptions& options, const std::string& value, std::string& error) {
    double seconds = 0.0;
    if (!CommandLine::parseSeconds(value, seconds) || seconds < 0.0) {
        error = "--snapshot-at takes a time such as 2.5s or 800ms, not '" + value + "'";
        return false;
    }
    options.snapshotAt = seconds;
    return true;
}

/// An option that takes a value, checked by `apply` once the whole line is read.
struct ValueOption {
    const char* names;
    const char* valueName;
    const char* help;
    Apply apply;
};

const ValueOption kValueOptions[] = {
    {"--block", "N", "frames per processing block (default 512)", setBlock},
    {"--every", "T", "readings every T: 100ms (default), 2s, or N blocks", setEvery},
    {"--format", "F", "table (default), csv or json (one object per line)", setFormat},
    {"--program", "N", "select program N before the --set values", setProgram},
    {"--snapshot-at", "T", "with --snapshot: the panel at time T into the input (2.5s, 800ms)",
     setSnapshotAt},
};

constexpr const char* kDescription =
    "Loads a VST 2 plug-in, prints what it says about itself and meters each INPUT (WAV,\n"
    "FLAC, AIFF, Ogg...; - for standard input) through it; without INPUT, a 3 s demo signal.";

constexpr const char* kFooter =
    "Pevo's readings are in dBFS, other plug-ins' as they show them. Pevo's RMS is\n"
    "sine-referenced unless its RMS Mode is set: a sine reads its peak level, 3.01 dB\n"
    "above the plain RMS that sox and ffmpeg print; --set \"RMS Mode=1\" gives the plain RMS.\n"
    "\n"
    "Exit status: 0 when every input was metered, 1 when a file or the plug-in failed\n"
    "(a file cut short is metered all the same), 2 for a mistake on the command line,\n"
    "128 + the signal when interrupted.";

/// The parser, its options bound to `options` or to the texts checked after reading.
void describe(CLI::App& app, HostOptions& options, std::vector<std::string>& values,
              std::vector<std::string>& assignments) {
    app.description(kDescription);
    app.footer(kFooter);
    app.allow_extras();
    // An option given twice takes its last value, as shell aliases rely on.
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.get_formatter()->column_width(22);
    app.get_formatter()->label("OPTIONS", "options");
    app.get_formatter()->label("REQUIRED", "");
    app.set_version_flag("--version", "pevo-host " PEVO_VERSION, "print the version, then stop");
    app.set_help_flag("-h,--help", "print this text, then stop");
    app.add_flag("--info", options.infoOnly, "print identity, parameters and programs, then stop");
    app.add_flag("--list", options.listOnly, "print what --set and --program accept, then stop");
    values.resize(std::size(kValueOptions));
    for (std::size_t i = 0; i < std::size(kValueOptions); ++i) {
        const ValueOption& option = kValueOptions[i];
        app.add_option(option.names, values[i], option.help)->type_name(option.valueName);
    }
    app.add_flag("--loudness", options.loudness,
                 "also measure the plug-in's output as pevo-loudness does:\n"
                 "integrated loudness, range, maximum momentary and\n"
                 "short-term loudness, true peak and sample peak (in CSV:\n"
                 "a second table, after an empty line)");
    app.add_option("-o,--output", options.outputPath,
                   "write the processed audio to OUT in the format its extension names")
        ->type_name("OUT");
    app.add_option("--set", assignments,
                   "set a parameter (name or index) before processing; VALUE is\n"
                   "a switch position or a number in the parameter's unit, as\n"
                   "--list shows them (Unit=LU, \"Custom target=-18\", Mode=M/S,\n"
                   "Delay=4410samples), or 0..1 (Pevo's parameters, switches)")
        ->type_name("NAME=VALUE")
        ->allow_extra_args(false)
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    app.add_option("--snapshot", options.snapshotPath,
                   "draw the plug-in's panel into PNG at the end of the input\n"
                   "(Pevo only: no display needed)")
        ->type_name("PNG");
    app.add_option("PLUGIN", options.pluginPath, "the plug-in library (.so)")
        ->type_name("")
        ->required();
    app.add_option("INPUT", options.inputPaths, "audio files to meter, one after the other")
        ->type_name("")
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
}

/// The checks that span several options. False with the reason.
bool consistent(const HostOptions& options, std::string& error) {
    if (options.snapshotAt >= 0.0 && options.snapshotPath.empty()) {
        error = "--snapshot-at needs --snapshot";
    } else if (options.inputPaths.empty() && !options.outputPath.empty()) {
        error = "-o needs an input file: the demo signal is not written out";
    } else if (options.inputPaths.size() > 1 &&
               !(options.outputPath.empty() && options.snapshotPath.empty())) {
        error = "-o and --snapshot take a single INPUT";
    }
    return error.empty();
}

}  // namespace

bool CommandLine::parseSeconds(const std::string& text, double& seconds) {
    errno = 0;
    char* end = nullptr;
    const double number = std::strtod(text.c_str(), &end);
    if (errno != 0 || end == text.c_str() || !std::isfinite(number)) {
        return false;
    }
    const std::string unit = end;
    if (unit == "s") {
        seconds = number;
    } else if (unit == "ms") {
        seconds = number / 1000.0;
    } else {
        return false;
    }
    return true;
}

Parsed CommandLine::parse(int argc, const char* const* argv, HostOptions& options,
                          std::string& text) {
    CLI::App app("", "pevo-host");
    std::vector<std::string> values;
    std::vector<std::string> assignments;
    describe(app, options, values, assignments);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        text = app.help();
        return Parsed::kPrinted;
    } catch (const CLI::CallForVersion& version) {
        text = std::string(version.what()) + "\n";
        return Parsed::kPrinted;
    } catch (const CLI::ParseError& refusal) {
        text = refusal.what();
        return Parsed::kUsageError;
    }
    for (const std::string& extra : app.remaining()) {
        if (extra.size() > 1 && extra[0] == '-' && extra != "--") {  // "--" ends the options
            text = "unknown option '" + extra + "'";
            return Parsed::kUsageError;
        }
    }
    for (std::size_t i = 0; i < std::size(kValueOptions); ++i) {
        if (app.count(kValueOptions[i].names) > 0 &&
            !kValueOptions[i].apply(options, values[i], text)) {
            return Parsed::kUsageError;
        }
    }
    for (const std::string& assignment : assignments) {
        if (!addAssignment(options, assignment, text)) {
            return Parsed::kUsageError;
        }
    }
    return consistent(options, text) ? Parsed::kRun : Parsed::kUsageError;
}
