// pevo-host: loads a VST 2 plug-in, shows what it reports about itself, then meters a test
// signal through it and prints the published meter values every 100 ms.
//   usage: pevo-host [plug-in library]   (default: the Pevo plug-in of this build)
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "tools/host/demo_signal.h"
#include "tools/host/hosted_plugin.h"

namespace {

constexpr int kBlockFrames = 512;
constexpr int kReportFrames = 4410;  // 100 ms

std::string dbText(float dBFS) {
    char text[16];
    if (dBFS <= -40.0f) {
        return " <-40";
    }
    // No "-0.0" for readings a hair below full scale.
    std::snprintf(text, sizeof(text), "%5.1f", dBFS > -0.05f ? 0.0f : dBFS);
    return text;
}

/// The three meters of `plugin` as a host that polls them sees them after a block.
std::string meterColumns(HostedPlugin& plugin) {
    std::string columns;
    for (VstInt32 index = 1; index <= 3; ++index) {
        columns += " " + dbText(decodeMeter(plugin.getParameter(index)).dBFS);
    }
    return columns;
}

void meterDemoSignal(HostedPlugin& plugin, HostedPlugin& swapped) {
    std::printf(
        "\nMetering %.0f s of test signal in %d-frame blocks at %.0f Hz, hold time 1 s,\n"
        "RMS scaled by the square root of 2 (a sine reads its peak):\n"
        "  0-1 s  left: 1 kHz sine at -6 dBFS;  right: pink-ish noise\n"
        "  1-2 s  left: the sine;               right: noise bursts, four a second\n"
        "  2-3 s  mono: 440 Hz sine at -12 dBFS on both\n"
        "A host polling parameters 1 to 3 after each block sees meter channel 1 (here the\n"
        "right input). The left column comes from a second instance fed with the inputs\n"
        "swapped, so that the left input is its channel 1.\n\n"
        "  time   left:  RMS  peak  hold   right:  RMS  peak  hold   (dBFS)\n",
        DemoSignal::kSeconds, kBlockFrames, HostedPlugin::kSampleRate);

    DemoSignal signal(HostedPlugin::kSampleRate);
    std::vector<float> left(kBlockFrames), right(kBlockFrames);
    std::vector<float> outLeft(kBlockFrames), outRight(kBlockFrames);
    const auto total = static_cast<std::int64_t>(DemoSignal::kSeconds * HostedPlugin::kSampleRate);
    std::int64_t nextReport = kReportFrames;
    while (signal.position() < total) {
        const int frames =
            static_cast<int>(std::min<std::int64_t>(kBlockFrames, total - signal.position()));
        signal.next(left.data(), right.data(), frames);
        float* inputs[2] = {left.data(), right.data()};
        float* swappedInputs[2] = {right.data(), left.data()};
        float* outputs[2] = {outLeft.data(), outRight.data()};
        plugin.process(inputs, outputs, frames);
        swapped.process(swappedInputs, outputs, frames);
        if (signal.position() >= nextReport) {
            std::printf("  %4.1f s      %s          %s\n",
                        static_cast<double>(nextReport) / HostedPlugin::kSampleRate,
                        meterColumns(swapped).c_str(), meterColumns(plugin).c_str());
            nextReport += kReportFrames;
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::string path = argc > 1 ? argv[1] : PEVO_DEFAULT_PLUGIN;
    std::shared_ptr<PluginLibrary> library = PluginLibrary::open(path);
    if (!library) {
        std::fprintf(stderr, "pevo-host: cannot load %s\n", path.c_str());
        return 1;
    }
    auto plugin = HostedPlugin::load(library);
    auto swapped = HostedPlugin::load(library);
    if (!plugin || !swapped) {
        return 1;
    }
    std::printf("Loaded %s\n%s", path.c_str(), plugin->describe().c_str());

    for (HostedPlugin* instance : {plugin.get(), swapped.get()}) {
        instance->dispatch(effSetSampleRate, 0, 0, nullptr, HostedPlugin::kSampleRate);
        instance->dispatch(effSetBlockSize, 0, kBlockFrames);
        instance->setParameter(6, 0.5f);  // "Resp": 1 s hold
        instance->dispatch(effMainsChanged, 0, 1);
    }
    meterDemoSignal(*plugin, *swapped);
    return 0;
}
