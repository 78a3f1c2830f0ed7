// pevo-host: loads a VST 2 plug-in through its entry point, prints what it says about itself,
// and meters an audio file (or the demo signal) through it, both meter channels, in blocks
// as a host sends them, and measures the loudness of its output when asked. See CommandLine
// for the options.
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "tools/common/measurement.h"
#include "tools/common/programme_meter.h"
#include "tools/common/progress_bar.h"
#include "tools/common/sound_file_writer.h"
#include "tools/common/sound_format.h"
#include "tools/host/command_line.h"
#include "tools/host/demo_signal.h"
#include "tools/host/hosted_plugin.h"
#include "tools/host/meter_pair.h"
#include "tools/host/meter_report.h"
#include "tools/host/metering_session.h"
#include "tools/host/panel_camera.h"
#include "tools/host/parameter_setter.h"
#include "tools/host/plugin_description.h"
#include "tools/host/published_report.h"
#include "tools/host/sound_file_reader.h"

namespace {

constexpr int kFailure = 1;
constexpr int kUsage = 2;

volatile std::sig_atomic_t stopSignal = 0;

void onStopSignal(int signal) {
    stopSignal = signal;
}

int fail(const std::string& message, int status = kFailure) {
    std::fflush(stdout);
    std::fprintf(stderr, "pevo-host: %s\n", message.c_str());
    return status;
}

/// Says `message` about `name` on standard error, if there is one.
void warn(const std::string& name, const std::string& message) {
    if (!message.empty()) {
        std::fflush(stdout);
        std::fprintf(stderr, "pevo-host: warning: %s: %s\n", name.c_str(), message.c_str());
    }
}

std::unique_ptr<HostedPlugin> loadInstance(const std::shared_ptr<PluginLibrary>& library,
                                           const std::string& path, std::string& error) {
    auto instance = HostedPlugin::load(library, error);
    if (!instance) {
        error = path + ": " + error;
    }
    return instance;
}

std::shared_ptr<PluginLibrary> openLibrary(const std::string& path, std::string& error) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) {
        error = "cannot open " + path + ": " + std::strerror(errno);
        return nullptr;
    }
    std::string reason;
    std::shared_ptr<PluginLibrary> library = PluginLibrary::open(path, &reason);
    if (!library) {
        error = path + " is not a plug-in library this system can load: " + reason;
    }
    return library;
}

/// The --program and --set requests, on every instance alike. False with the reason.
bool applySettings(const HostOptions& options, HostedPlugin& main, HostedPlugin* mirror,
                   std::string& error) {
    ParameterSetter setter(main);
    if (options.program >= 0) {
        if (!setter.checkProgram(options.program, error)) {
            return false;
        }
        for (HostedPlugin* instance : {&main, mirror}) {
            if (instance) {
                instance->dispatch(effSetProgram, 0, options.program);
            }
        }
    }
    for (const ParameterAssignment& assignment : options.assignments) {
        const VstInt32 index = setter.find(assignment.parameter, error);
        float value = 0.0f;
        if (index < 0 || !setter.resolve(index, assignment.value, value, error)) {
            return false;
        }
        for (HostedPlugin* instance : {&main, mirror}) {
            if (instance) {
                instance->setParameter(index, value);
            }
        }
    }
    return true;
}

std::string intervalText(const ReadingInterval& every) {
    if (every.blocks > 0) {
        return std::to_string(every.blocks) + (every.blocks == 1 ? " block" : " blocks");
    }
    char text[32];
    std::snprintf(text, sizeof(text), "%g ms", every.seconds * 1000.0);
    return text;
}

/// False when `output` names the same file as `input`, which it would replace as it is read.
bool distinctFiles(const std::string& input, const std::string& output) {
    struct stat in {};
    struct stat out {};
    return stat(output.c_str(), &out) != 0 || stat(input.c_str(), &in) != 0 ||
           in.st_dev != out.st_dev || in.st_ino != out.st_ino;
}

void catchStopSignals() {
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

/// The writer of the -o file in the format its extension names, with a warning when that
/// loses anything; null with the exit status in `status`.
std::unique_ptr<SoundFileWriter> makeWriter(const std::string& path, const SoundFileReader& file,
                                            WrittenFile& written, int& status) {
    std::string error;
    SF_INFO format = file.format();
    format.format =
        SoundFormat::forOutput(path, format.format, format.channels, format.samplerate, error);
    if (format.format == 0) {
        status = fail(error, kUsage);
        return nullptr;
    }
    std::unique_ptr<SoundFileWriter> writer =
        SoundFileWriter::create(path, format, file.channelMap(), error);
    if (!writer) {
        status = fail(error);
        return nullptr;
    }
    written = {path, SoundFormat::name(format.format), {}};
    warn(path, SoundFormat::loss(file.format().format, format.format));
    return writer;
}

/// One input and what becomes of it.
struct Input {
    AudioSource& source;
    SoundFileReader* file;                    ///< null for the demo signal
    std::unique_ptr<SoundFileWriter> writer;  ///< of -o, if given
    WrittenFile written;
};

/// Streams the input through `plugin`, which is switched on, and reports on it as `report`;
/// `main` is the instance whose panel is pictured. The exit status.
int meter(const HostOptions& options, Input& input, HostedPlugin& main, StereoProcessor& plugin,
          SessionReport& report) {
    std::string error;
    AudioSource& source = input.source;
    SoundFileWriter* writer = input.writer.get();
    std::unique_ptr<PanelCamera> camera;
    if (!options.snapshotPath.empty()) {
        camera = std::make_unique<PanelCamera>(main, options.snapshotPath, options.snapshotAt);
        if (!camera->prepare(error)) {
            return fail(error);
        }
    }
    catchStopSignals();
    report.begin(source, options.blockFrames, intervalText(options.every));
    MeteringSession session(source, plugin, report, options.blockFrames, options.every);
    session.writeTo(writer);
    session.photograph(camera.get());
    ProgrammeMeter loudness;
    if (options.loudness) {
        const ChannelLayout layout = *ChannelLayout::standard(source.channels());
        loudness.setup(source.sampleRate(), layout,
                       {layout.name(), std::nullopt, 0.0, false, false});
        session.measureLoudness(&loudness);
    }
    ProgressBar progress(source.frames(), source.sampleRate());
    if (!session.run(stopSignal, progress, error)) {
        return fail(error, stopSignal ? 128 + stopSignal : kFailure);
    }
    const std::string shortfall = source.shortfall(session.passThrough().frames);
    warn(source.name(), shortfall);
    WrittenFile& written = input.written;
    if (writer && (!writer->commit(error) ||
                   !input.file->compareWith(written.path, written.comparison, error))) {
        return fail(error);
    }
    const Measurement output = loudness.measurement(source.name());
    report.finish(session.passThrough(), session.samplePeaks(), written,
                  options.loudness ? &output : nullptr);
    // Reported all the same, but the readings are of a part: the run fails.
    return shortfall.empty() && source.warning().empty() ? 0 : kFailure;
}

/// Meters through the level meter, both channels through a second instance; the exit status.
int meterBoth(const HostOptions& options, Input& input, HostedPlugin& main, HostedPlugin& mirror) {
    main.switchOn(true);
    mirror.switchOn(true);
    MeterPair pair(main, mirror, options.blockFrames);
    MeterReport report(options.format, pair, stdout, stderr);
    return meter(options, input, main, pair, report);
}

/// Meters through a plug-in that publishes readings of its own; the exit status.
int meterPublished(const HostOptions& options, Input& input, HostedPlugin& plugin) {
    plugin.switchOn(true);
    PublishedReport report(options.format, plugin, stdout, stderr);
    return meter(options, input, plugin, plugin, report);
}

/// The plug-in's identity, parameters and programs, before the first input's table only.
void describe(const HostOptions& options, HostedPlugin& plugin, bool first) {
    if (first && options.format == ReportFormat::kTable) {
        std::fputs((describeIdentity(plugin, options.pluginPath) + describeParameters(plugin) +
                    describePrograms(plugin))
                       .c_str(),
                   stdout);
    }
}

/// Loads, sets up and runs the plug-in on one source; the exit status. The plug-in's own
/// description is printed before the first input's table only.
int run(const HostOptions& options, Input& input, bool describePlugin) {
    std::string error;
    const AudioSource& source = input.source;
    const auto rate = static_cast<float>(source.sampleRate());
    HostedPlugin::setHostTiming(rate, options.blockFrames);
    std::shared_ptr<PluginLibrary> library = openLibrary(options.pluginPath, error);
    std::unique_ptr<HostedPlugin> plugin;
    if (!library || !(plugin = loadInstance(library, options.pluginPath, error))) {
        return fail(error);
    }
    plugin->prepare(rate, options.blockFrames);
    if (options.infoOnly || options.listOnly) {
        if (!applySettings(options, *plugin, nullptr, error)) {
            return fail(error, kUsage);
        }
        std::fputs(options.listOnly ? ParameterSetter(*plugin).listing().c_str()
                                    : (describeIdentity(*plugin, options.pluginPath) +
                                       describeParameters(*plugin) + describePrograms(*plugin))
                                          .c_str(),
                   stdout);
        return 0;
    }
    if (options.loudness && !Measurement::measurable(source.name(), source.sampleRate(), error)) {
        return fail("--loudness: " + error);
    }
    warn(source.name(), source.warning());
    const AEffect& record = plugin->record();
    if (record.numInputs != 2 || record.numOutputs != 2) {
        return fail(options.pluginPath + " has " + std::to_string(record.numInputs) +
                    " inputs and " + std::to_string(record.numOutputs) +
                    " outputs; pevo-host feeds plug-ins of two inputs and two outputs");
    }
    if (!isMeterPlugin(*plugin) && !PublishedReport::readingsOf(*plugin).empty()) {
        if (!applySettings(options, *plugin, nullptr, error)) {
            return fail(error, kUsage);
        }
        describe(options, *plugin, describePlugin);
        return meterPublished(options, input, *plugin);
    }
    if (!isMeterPlugin(*plugin)) {
        return fail(options.pluginPath +
                    " publishes no meter readings (\"RMS level\", \"Peak level\" and \"Hold "
                    "level\" as parameters 1 to 3, \"Mode\" as 5)");
    }
    std::unique_ptr<HostedPlugin> mirror = loadInstance(library, options.pluginPath, error);
    if (!mirror) {
        return fail(error);
    }
    mirror->prepare(rate, options.blockFrames);
    if (!applySettings(options, *plugin, mirror.get(), error)) {
        return fail(error, kUsage);
    }
    describe(options, *plugin, describePlugin);
    return meterBoth(options, input, *plugin, *mirror);
}

/// Meters one input file; the exit status.
int runInput(const HostOptions& options, const std::string& path, bool first) {
    std::string error;
    std::unique_ptr<SoundFileReader> file = SoundFileReader::open(path, error);
    if (!file) {
        return fail(error);
    }
    if (!options.outputPath.empty() && !distinctFiles(path, options.outputPath)) {
        return fail("the output " + options.outputPath + " is the input file", kUsage);
    }
    Input input{*file, file.get(), nullptr, {}};
    int status = kFailure;
    if (!options.outputPath.empty() &&
        !(input.writer = makeWriter(options.outputPath, *file, input.written, status))) {
        return status;
    }
    if (!options.snapshotPath.empty() && !PanelCamera::canWrite(options.snapshotPath, error)) {
        return fail(error);
    }
    return run(options, input, first);
}

}  // namespace

int main(int argc, char** argv) {
    HostOptions options;
    std::string text;
    switch (CommandLine::parse(argc, argv, options, text)) {
        case Parsed::kPrinted:
            std::fputs(text.c_str(), stdout);
            return 0;
        case Parsed::kUsageError:
            return fail(text + "\n(pevo-host --help lists the options)", kUsage);
        case Parsed::kRun:
            break;
    }
    if (options.inputPaths.empty()) {
        DemoSignal demo;
        Input input{demo, nullptr, nullptr, {}};
        if (!options.snapshotPath.empty() && !PanelCamera::canWrite(options.snapshotPath, text)) {
            return fail(text);
        }
        return run(options, input, true);
    }
    int status = 0;
    for (std::size_t i = 0; i < options.inputPaths.size() && !stopSignal; ++i) {
        status = std::max(status, runInput(options, options.inputPaths[i], i == 0));
        if (options.infoOnly || options.listOnly) {
            break;
        }
    }
    return status;
}
