// pevo-host: loads a VST 2 plug-in through its entry point, prints what it says about itself,
// and meters an audio file (or the demo signal) through it, both meter channels, in blocks
// as a host sends them. See CommandLine::usage for the options.
#include <sys/stat.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "tools/host/command_line.h"
#include "tools/host/demo_signal.h"
#include "tools/host/hosted_plugin.h"
#include "tools/host/meter_pair.h"
#include "tools/host/meter_report.h"
#include "tools/host/metering_session.h"
#include "tools/host/panel_camera.h"
#include "tools/host/parameter_setter.h"
#include "tools/host/plugin_description.h"
#include "tools/host/progress_bar.h"
#include "tools/host/readings_session.h"
#include "tools/host/sound_file_reader.h"
#include "tools/host/sound_file_writer.h"

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

/// Streams the source through the two prepared instances and reports; the exit status.
int meter(const HostOptions& options, AudioSource& source, const SoundFileReader* file,
          HostedPlugin& main, HostedPlugin& mirror) {
    std::string error;
    std::unique_ptr<SoundFileWriter> writer;
    if (!options.outputPath.empty()) {
        writer = SoundFileWriter::create(options.outputPath, file->format(), error);
        if (!writer) {
            return fail(error);
        }
    }
    catchStopSignals();
    main.switchOn(true);
    mirror.switchOn(true);
    MeterPair pair(main, mirror, options.blockFrames);
    MeterReport report(options.format, pair.mode(), stdout, stderr);
    report.begin(source.describe(), options.blockFrames, intervalText(options.every));
    MeteringSession session(source, pair, report, options.blockFrames, options.every);
    session.writeTo(writer.get());
    std::unique_ptr<PanelCamera> camera;
    if (!options.snapshotPath.empty()) {
        camera = std::make_unique<PanelCamera>(main, options.snapshotPath, options.snapshotAt);
        if (!camera->prepare(error)) {
            return fail(error);
        }
        session.photograph(camera.get());
    }
    ProgressBar progress(source.frames(), source.sampleRate());
    const bool complete = session.run(stopSignal, progress, error);
    main.switchOn(false);
    mirror.switchOn(false);
    if (!complete) {
        return fail(error, stopSignal ? 128 + stopSignal : kFailure);
    }
    if (writer && !writer->commit(error)) {
        return fail(error);
    }
    PassThrough passThrough = session.passThrough();
    passThrough.outputPath = options.outputPath;
    report.finish(passThrough);
    return 0;
}

/// Streams the source through a plug-in that publishes readings of its own and prints
/// them at the end; the exit status.
int showReadings(const HostOptions& options, AudioSource& source, HostedPlugin& plugin) {
    std::string error;
    catchStopSignals();
    plugin.switchOn(true);
    ReadingsSession session(source, plugin, options.blockFrames);
    std::unique_ptr<PanelCamera> camera;
    if (!options.snapshotPath.empty()) {
        camera = std::make_unique<PanelCamera>(plugin, options.snapshotPath, options.snapshotAt);
        if (!camera->prepare(error)) {
            return fail(error);
        }
        session.photograph(camera.get());
    }
    ProgressBar progress(source.frames(), source.sampleRate());
    const bool complete = session.run(stopSignal, progress, error);
    plugin.switchOn(false);
    if (!complete) {
        return fail(error, stopSignal ? 128 + stopSignal : kFailure);
    }
    std::printf("%s\n", source.describe().c_str());
    session.summarise(stdout);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    HostOptions options;
    std::string error;
    if (!CommandLine::parse(argc, argv, options, error)) {
        std::fprintf(stderr, "pevo-host: %s\n%s", error.c_str(), CommandLine::usage());
        return kUsage;
    }
    if (options.help) {
        std::fputs(CommandLine::usage(), stdout);
        return 0;
    }
    std::unique_ptr<SoundFileReader> file;
    std::unique_ptr<AudioSource> demo;
    if (!options.inputPath.empty()) {
        file = SoundFileReader::open(options.inputPath, error);
        if (!file) {
            return fail(error);
        }
        if (!options.outputPath.empty() && !distinctFiles(options.inputPath, options.outputPath)) {
            return fail("the output " + options.outputPath + " is the input file", kUsage);
        }
    } else {
        demo = std::make_unique<DemoSignal>();
    }
    AudioSource& source = file ? static_cast<AudioSource&>(*file) : *demo;

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

    const AEffect& record = plugin->record();
    if (record.numInputs != 2 || record.numOutputs != 2) {
        return fail(options.pluginPath + " has " + std::to_string(record.numInputs) +
                    " inputs and " + std::to_string(record.numOutputs) +
                    " outputs; pevo-host feeds plug-ins of two inputs and two outputs");
    }
    if (!isMeterPlugin(*plugin) && !ReadingsSession::readingsOf(*plugin).empty()) {
        if (!applySettings(options, *plugin, nullptr, error)) {
            return fail(error, kUsage);
        }
        return showReadings(options, source, *plugin);
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
    if (options.format == ReportFormat::kTable) {
        std::fputs((describeIdentity(*plugin, options.pluginPath) + describeParameters(*plugin) +
                    describePrograms(*plugin))
                       .c_str(),
                   stdout);
    }
    return meter(options, source, file.get(), *plugin, *mirror);
}
