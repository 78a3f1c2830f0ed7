#include "tests/host/vst2_peer.h"

#include <algorithm>
#include <sstream>

#include "tools/hostsupport/plugin_library.h"

namespace {

/// The rate the peer's effect is made at, read back when it asks.
thread_local double makingRate = 44100.0;

VstIntPtr answer(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    switch (opcode) {
        case audioMasterVersion:
            return 2400;
        case audioMasterGetSampleRate:
            return static_cast<VstIntPtr>(makingRate);
        default:
            return 0;
    }
}

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    const std::size_t last = text.find_last_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

}  // namespace

Vst2Peer::Vst2Peer(const std::string& path, double rate, std::int32_t maxFrames) {
    library = PluginLibrary::open(path);
    const VstPluginMainProc main = library ? library->entry("VSTPluginMain") : nullptr;
    makingRate = rate;
    effect = main ? main(answer) : nullptr;
    if (!effect) {
        return;
    }
    effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
    effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, static_cast<float>(rate));
    effect->dispatcher(effect, effSetBlockSize, 0, maxFrames, nullptr, 0.0f);
    effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);
    effect->dispatcher(effect, effStartProcess, 0, 0, nullptr, 0.0f);
}

std::unique_ptr<Vst2Peer> Vst2Peer::withUniqueId(const std::string& paths, VstInt32 uniqueId,
                                                 double rate) {
    std::istringstream list(paths);
    for (std::string path; std::getline(list, path, ':');) {
        auto peer = std::make_unique<Vst2Peer>(path, rate);
        if (peer->ready() && peer->effect->uniqueID == uniqueId) {
            return peer;
        }
    }
    return nullptr;
}

void Vst2Peer::restart(double rate) {
    effect->dispatcher(effect, effStopProcess, 0, 0, nullptr, 0.0f);
    effect->dispatcher(effect, effMainsChanged, 0, 0, nullptr, 0.0f);
    effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, static_cast<float>(rate));
    effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);
    effect->dispatcher(effect, effStartProcess, 0, 0, nullptr, 0.0f);
}

Vst2Peer::~Vst2Peer() {
    if (effect) {
        effect->dispatcher(effect, effMainsChanged, 0, 0, nullptr, 0.0f);
        effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    }
}

void Vst2Peer::process(const float* left, const float* right, std::int32_t frames) {
    std::vector<float> in[2] = {{left, left + frames}, {right, right + frames}};
    std::vector<float> out[2] = {std::vector<float>(std::size_t(frames)),
                                 std::vector<float>(std::size_t(frames))};
    float* inputs[2] = {in[0].data(), in[1].data()};
    float* outputs[2] = {out[0].data(), out[1].data()};
    effect->processReplacing(effect, inputs, outputs, frames);
}

void Vst2Peer::play(const std::vector<float>& samples, std::int32_t frames) {
    for (std::size_t start = 0; start < samples.size(); start += std::size_t(frames)) {
        const auto length =
            static_cast<std::int32_t>(std::min(std::size_t(frames), samples.size() - start));
        process(samples.data() + start, samples.data() + start, length);
    }
}

float Vst2Peer::get(std::int32_t index) const {
    return effect->getParameter(effect, index);
}

void Vst2Peer::set(std::int32_t index, float value) {
    effect->setParameter(effect, index, value);
}

std::string Vst2Peer::request(VstInt32 opcode, std::int32_t index) const {
    char text[256] = {};
    effect->dispatcher(effect, opcode, index, 0, text, 0.0f);
    return trimmed(text);
}

std::string Vst2Peer::text(std::int32_t index) const {
    const std::string label = request(effGetParamLabel, index);
    const std::string display = request(effGetParamDisplay, index);
    return label.empty() ? display : display + " " + label;
}

std::string Vst2Peer::name(std::int32_t index) const {
    return request(effGetParamName, index);
}
