#include "tests/host/test_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "tools/hostsupport/plugin_library.h"

TestHost* TestHost::active = nullptr;

TestHost::TestHost() {
    active = this;
}
TestHost::~TestHost() {
    active = nullptr;
}

VstPluginMainProc TestHost::entry(const char* symbol) {
    // Loaded once per test process and kept until it ends.
    static const std::unique_ptr<PluginLibrary> library = [] {
        // Without PEVO_PLUGIN the bare file name is tried: Windows looks next to the program
        // first, so the program and the plug-in can be copied to a machine together.
        const char* path = std::getenv("PEVO_PLUGIN");
        return PluginLibrary::open(path ? path : PEVO_PLUGIN_FILE_NAME);
    }();
    return library ? library->entry(symbol) : nullptr;
}

VstIntPtr TestHost::callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                             void*, float opt) {
    if (!active) {
        return 0;
    }
    active->calls.push_back({effect, opcode, index, value, opt});
    if (active->onCall) {
        active->onCall(active->calls.back());
    }
    switch (opcode) {
        case audioMasterVersion:
            return active->versionAnswer;
        case audioMasterGetSampleRate:
            return active->sampleRateAnswer;
        case audioMasterGetTime:
            return reinterpret_cast<VstIntPtr>(active->timeAnswer);
        case audioMasterGetCurrentProcessLevel:
            return active->processLevelAnswer;
        default:
            return 0;
    }
}

int TestHost::count(VstInt32 opcode) const {
    return static_cast<int>(std::count_if(calls.begin(), calls.end(),
                                          [&](const Call& call) { return call.opcode == opcode; }));
}

StereoBlock::StereoBlock(int frames) : frames(frames) {
    for (int channel = 0; channel < 2; ++channel) {
        input[channel].assign(static_cast<std::size_t>(frames), 0.0f);
        output[channel].assign(static_cast<std::size_t>(frames), -1.0f);
    }
    bind();
}

StereoBlock::StereoBlock(const StereoBlock& other)
    : frames(other.frames),
      input{other.input[0], other.input[1]},
      output{other.output[0], other.output[1]} {
    bind();
}

void StereoBlock::bind() {
    for (int channel = 0; channel < 2; ++channel) {
        inputs[channel] = input[channel].data();
        outputs[channel] = output[channel].data();
    }
}

void StereoBlock::fill(float left, float right) {
    std::fill(input[0].begin(), input[0].end(), left);
    std::fill(input[1].begin(), input[1].end(), right);
}

std::unique_ptr<PluginInstance> PluginInstance::create(const char* symbol) {
    VstPluginMainProc entry = TestHost::entry(symbol);
    if (!entry) {
        ADD_FAILURE() << "no entry point " << symbol << " in $PEVO_PLUGIN";
        return nullptr;
    }
    AEffect* record = entry(TestHost::callback);
    return record ? std::unique_ptr<PluginInstance>(new PluginInstance(record)) : nullptr;
}

PluginInstance::~PluginInstance() {
    if (record) {
        close();
    }
}

VstIntPtr PluginInstance::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                   float opt) {
    return record->dispatcher(record, opcode, index, value, ptr, opt);
}

std::string PluginInstance::text(VstInt32 opcode, VstInt32 index, std::size_t size,
                                 VstIntPtr value) {
    constexpr char kGuard = 0x5A;
    std::vector<char> buffer(size + 32, kGuard);
    dispatch(opcode, index, value, buffer.data());
    for (std::size_t i = size; i < buffer.size(); ++i) {
        if (buffer[i] != kGuard) {
            ADD_FAILURE() << "opcode " << opcode << " index " << index << " wrote byte " << i
                          << " of a " << size << "-byte buffer";
            break;
        }
    }
    const auto limit = buffer.begin() + static_cast<std::ptrdiff_t>(size);
    const auto end = std::find(buffer.begin(), limit, '\0');
    if (end == limit) {
        if (std::all_of(buffer.begin(), limit, [](char c) { return c == kGuard; })) {
            return kUntouched;
        }
        ADD_FAILURE() << "opcode " << opcode << " left its text unterminated";
    }
    return std::string(buffer.begin(), end);
}

void PluginInstance::setParameter(VstInt32 index, float value) {
    record->setParameter(record, index, value);
}

float PluginInstance::getParameter(VstInt32 index) {
    return record->getParameter(record, index);
}

void PluginInstance::process(StereoBlock& block, bool accumulating) {
    AEffectProcessProc run = accumulating ? record->process : record->processReplacing;
    run(record, block.inputs, block.outputs, block.frames);
}

VstIntPtr PluginInstance::close() {
    const VstIntPtr result = dispatch(effClose);
    record = nullptr;
    return result;
}
