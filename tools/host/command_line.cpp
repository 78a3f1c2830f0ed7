#include "tools/host/command_line.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace {

using Apply = bool (*)(HostOptions& options, const std::string& value, std::string& error);

/// One option: its names, whether it takes a value, and what it does with it.
struct Option {
    const char* name;
    char letter;  ///< 0 for none
    bool takesValue;
    Apply apply;
};

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

bool setOutput(HostOptions& options, const std::string& value, std::string& error) {
    if (value.empty()) {
        error = "-o takes a file name";
        return false;
    }
    options.outputPath = value;
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

bool setSnapshot(HostOptions& options, const std::string& value, std::string& error) {
    if (value.empty()) {
        error = "--snapshot takes a file name";
        return false;
    }
    options.snapshotPath = value;
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

constexpr Option kOptions[] = {
    {"help", 'h', false,
     [](HostOptions& o, const std::string&, std::string&) { return o.help = true; }},
    {"info", 0, false,
     [](HostOptions& o, const std::string&, std::string&) { return o.infoOnly = true; }},
    {"list", 0, false,
     [](HostOptions& o, const std::string&, std::string&) { return o.listOnly = true; }},
    {"block", 0, true, setBlock},
    {"every", 0, true, setEvery},
    {"format", 0, true, setFormat},
    {"output", 'o', true, setOutput},
    {"set", 0, true, addAssignment},
    {"program", 0, true, setProgram},
    {"snapshot", 0, true, setSnapshot},
    {"snapshot-at", 0, true, setSnapshotAt},
};

/// The option `argument` names; `inlineValue` is set for the --name=value form.
const Option* findOption(const std::string& argument, bool& hasInline, std::string& inlineValue) {
    for (const Option& option : kOptions) {
        const std::string longName = std::string("--") + option.name;
        const bool byLetter = option.letter && argument == std::string("-") + option.letter;
        if (argument == longName || byLetter) {
            return &option;
        }
        if (option.takesValue && argument.rfind(longName + "=", 0) == 0) {
            hasInline = true;
            inlineValue = argument.substr(longName.size() + 1);
            return &option;
        }
    }
    return nullptr;
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

bool CommandLine::parse(int argc, const char* const* argv, HostOptions& options,
                        std::string& error) {
    std::vector<std::string> positional;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            positional.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        bool hasInline = false;
        std::string value;
        const Option* option = findOption(argument, hasInline, value);
        if (!option) {
            error = "unknown option '" + argument + "'";
            return false;
        }
        if (option->takesValue && !hasInline) {
            if (i + 1 >= argc) {
                error = argument + " needs a value";
                return false;
            }
            value = argv[++i];
        }
        if (!option->apply(options, value, error)) {
            return false;
        }
    }
    if (options.help) {
        return true;
    }
    if (positional.empty() || positional.size() > 2) {
        error = positional.empty() ? "no plug-in given" : "too many arguments";
        return false;
    }
    options.pluginPath = positional[0];
    options.inputPath = positional.size() > 1 ? positional[1] : "";
    if (options.snapshotAt >= 0.0 && options.snapshotPath.empty()) {
        error = "--snapshot-at needs --snapshot";
        return false;
    }
    if (options.inputPath.empty() && !options.outputPath.empty()) {
        error = "-o needs an input file: the demo signal is not written out";
        return false;
    }
    return true;
}

const char* CommandLine::usage() {
    return "usage: pevo-host [options] PLUGIN [INPUT]\n"
           "Loads a VST 2 plug-in, prints what it says about itself and meters INPUT (WAV,\n"
           "FLAC, AIFF, Ogg...) through it; without INPUT, a 3 s demo signal.\n"
           "  --info            print identity, parameters and programs, then stop\n"
           "  --list            print what --set and --program accept, then stop\n"
           "  --block N         frames per processing block (default 512)\n"
           "  --every T         readings every T: 100ms (default), 2s, or N blocks\n"
           "  --format F        table (default), csv or json (one object per line)\n"
           "  -o, --output OUT  write the processed audio to OUT in the input's format\n"
           "  --set NAME=VALUE  set a parameter (name or index) before processing; VALUE is\n"
           "                    0..1, or a number in the parameter's unit (Delay=4410samples)\n"
           "  --program N       select program N before the --set values\n"
           "  --snapshot PNG    draw the plug-in's panel into PNG at the end of the input\n"
           "                    (Pevo only: no display needed)\n"
           "  --snapshot-at T   ... at time T instead (2.5s, 800ms)\n"
           "  -h, --help        this text\n";
}
