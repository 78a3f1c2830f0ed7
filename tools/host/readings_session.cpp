#include "tools/host/readings_session.h"

#include <algorithm>

std::vector<VstInt32> ReadingsSession::readingsOf(HostedPlugin& plugin) {
    std::vector<VstInt32> readings;
    for (VstInt32 index = 0; index < plugin.record().numParams; ++index) {
        if (plugin.dispatch(effCanBeAutomated, index) == 0) {
            readings.push_back(index);
        }
    }
    return readings;
}

ReadingsSession::ReadingsSession(AudioSource& source, HostedPlugin& plugin, int blockFrames)
    : source(source),
      plugin(plugin),
      blockFrames(blockFrames),
      left(blockFrames),
      right(blockFrames),
      outLeft(blockFrames),
      outRight(blockFrames) {}

bool ReadingsSession::run(const volatile std::sig_atomic_t& stop, ProgressBar& progress,
                          std::string& error) {
    for (;;) {
        if (stop) {
            error = "interrupted";
            return false;
        }
        const int read = source.read(left.data(), right.data(), blockFrames);
        if (read < 0) {
            error = source.error();
            return false;
        }
        if (read == 0) {
            break;
        }
        float* inputs[] = {left.data(), right.data()};
        float* outputs[] = {outLeft.data(), outRight.data()};
        plugin.process(inputs, outputs, read);
        frames += read;
        if (camera &&
            !camera->afterBlock(static_cast<double>(frames) / source.sampleRate(), error)) {
            return false;
        }
        progress.update(frames);
    }
    progress.clear();
    return !camera || camera->finish(error);
}

void ReadingsSession::summarise(std::FILE* out) {
    const std::vector<VstInt32> readings = readingsOf(plugin);
    std::size_t width = 0;
    for (VstInt32 index : readings) {
        width = std::max(width, plugin.parameterName(index).size());
    }
    std::fprintf(out, "Readings after %.1f s:\n",
                 static_cast<double>(frames) / source.sampleRate());
    for (VstInt32 index : readings) {
        std::fprintf(out, "  %-*s  %8s %s\n", static_cast<int>(width),
                     plugin.parameterName(index).c_str(), plugin.parameterDisplay(index).c_str(),
                     plugin.parameterLabel(index).c_str());
    }
}
