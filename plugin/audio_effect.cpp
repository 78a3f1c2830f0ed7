#include "plugin/audio_effect.h"

#include <cstdint>
#include <cstring>

#include "plugin/value_text.h"

namespace {

// The record's functions. Nothing may be thrown across the host boundary, so each one
// answers "nothing" when the effect fails with an exception.

AudioEffect* effectOf(AEffect* record) {
    return static_cast<AudioEffect*>(record->object);
}

VstIntPtr dispatchEffect(AEffect* record, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                         void* ptr, float opt) {
    AudioEffect* effect = effectOf(record);
    VstIntPtr result = 0;
    try {
        result = effect->dispatcher(opcode, index, value, ptr, opt);
    } catch (...) {
        result = 0;
    }
    if (opcode == effClose) {
        delete effect;  // the record lives inside the effect and goes with it
        return 1;
    }
    return result;
}

void processEffect(AEffect* record, float** inputs, float** outputs, VstInt32 sampleFrames) {
    try {
        effectOf(record)->process(inputs, outputs, sampleFrames);
    } catch (...) {
    }
}

void processEffectReplacing(AEffect* record, float** inputs, float** outputs,
                            VstInt32 sampleFrames) {
    try {
        effectOf(record)->processReplacing(inputs, outputs, sampleFrames);
    } catch (...) {
    }
}

void setEffectParameter(AEffect* record, VstInt32 index, float value) {
    try {
        effectOf(record)->setParameter(index, value);
    } catch (...) {
    }
}

float getEffectParameter(AEffect* record, VstInt32 index) {
    try {
        return effectOf(record)->getParameter(index);
    } catch (...) {
        return 0.0f;
    }
}

/// Float to integer, truncated; values no integer can hold (NaN included) give 0.
VstIntPtr truncatedOrZero(double value) {
    if (!(value > -2147483648.0 && value < 2147483648.0)) {
        return 0;
    }
    return static_cast<VstIntPtr>(static_cast<VstInt32>(value));
}

}  // namespace

AudioEffect::AudioEffect(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams)
    : audioMaster(audioMaster), numPrograms(numPrograms), numParams(numParams) {
    std::memset(&cEffect, 0, sizeof(cEffect));
    cEffect.magic = kEffectMagic;
    cEffect.dispatcher = dispatchEffect;
    cEffect.process = processEffect;
    cEffect.setParameter = setEffectParameter;
    cEffect.getParameter = getEffectParameter;
    cEffect.numPrograms = numPrograms;
    cEffect.numParams = numParams;
    cEffect.numInputs = 1;
    cEffect.numOutputs = 2;
    cEffect.ioRatio = 1.0f;
    cEffect.object = this;
    cEffect.uniqueID = kDefaultUniqueId;
    cEffect.version = 1;
    cEffect.processReplacing = processEffectReplacing;
}

AudioEffect::~AudioEffect() {
    AEffEditor* owned = editor;
    editor = nullptr;
    delete owned;
}

void AudioEffect::setParameter(VstInt32, float) {}
float AudioEffect::getParameter(VstInt32) {
    return 0.0f;
}

void AudioEffect::setParameterAutomated(VstInt32 index, float value) {
    setParameter(index, value);
    callHost(audioMasterAutomate, index, 0, nullptr, value);
}

void AudioEffect::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
    process(inputs, outputs, sampleFrames);
}

VstIntPtr AudioEffect::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                  float opt) {
    // Unsigned, so that negative opcodes fall outside as well.
    if (static_cast<std::uint32_t>(opcode) > static_cast<std::uint32_t>(effSetChunk)) {
        return 0;
    }
    char* text = static_cast<char*>(ptr);
    switch (opcode) {
        case effOpen:
            open();
            break;
        case effClose:
            close();
            break;
        case effSetProgram:
            // A negative number would index before the first program.
            if (value >= 0 && value < numPrograms) {
                setProgram(static_cast<VstInt32>(value));
            }
            break;
        case effGetProgram:
            return getProgram();
        case effSetProgramName:
            if (text) {
                setProgramName(text);
            }
            break;
        case effGetProgramName:
            if (text) {
                getProgramName(text);
            }
            break;
        case effGetParamLabel:
            if (text) {
                getParameterLabel(index, text);
            }
            break;
        case effGetParamDisplay:
            if (text) {
                getParameterDisplay(index, text);
            }
            break;
        case effGetParamName:
            if (text) {
                getParameterName(index, text);
            }
            break;
        case effGetVu:
            return truncatedOrZero(getVu() * 32767.0);
        case effSetSampleRate:
            setSampleRate(opt);
            break;
        case effSetBlockSize:
            setBlockSize(static_cast<VstInt32>(value));
            break;
        case effMainsChanged:
            if (value == 0) {
                suspend();
            } else {
                resume();
            }
            break;
        case effEditGetRect:
        case effEditOpen:
        case effEditClose:
        case effEditIdle:
            return dispatchEditor(opcode, ptr);
        case effIdentify:
            return kEffectIdentify;
        case effGetChunk:
            return getChunk(static_cast<void**>(ptr), index != 0);
        case effSetChunk:
            return setChunk(ptr, static_cast<VstInt32>(value), index != 0);
        default:
            break;
    }
    return 0;
}

VstIntPtr AudioEffect::dispatchEditor(VstInt32 opcode, void* ptr) {
    if (!editor) {
        return 0;
    }
    switch (opcode) {
        case effEditGetRect:
            return ptr ? editor->getRect(static_cast<ERect**>(ptr)) : 0;
        case effEditOpen:
            return editor->open(ptr);
        case effEditClose:
            editor->close();
            return 0;
        case effEditIdle:
            editor->idle();
            return 0;
        default:
            return 0;
    }
}

void AudioEffect::open() {}
void AudioEffect::close() {}

VstInt32 AudioEffect::getProgram() {
    return curProgram.load(std::memory_order_relaxed);
}
void AudioEffect::setProgram(VstInt32 program) {
    curProgram.store(program, std::memory_order_relaxed);
}
void AudioEffect::setProgramName(char*) {}
void AudioEffect::getProgramName(char* name) {
    name[0] = '\0';
}

void AudioEffect::getParameterLabel(VstInt32, char* label) {
    label[0] = '\0';
}
void AudioEffect::getParameterDisplay(VstInt32, char* text) {
    text[0] = '\0';
}
void AudioEffect::getParameterName(VstInt32, char* text) {
    text[0] = '\0';
}

float AudioEffect::getVu() {
    return 0.0f;
}
VstInt32 AudioEffect::getChunk(void**, bool) {
    return 0;
}
VstInt32 AudioEffect::setChunk(void*, VstInt32, bool) {
    return 0;
}

void AudioEffect::setSampleRate(float newSampleRate) {
    sampleRate = newSampleRate;
}
void AudioEffect::setBlockSize(VstInt32 newBlockSize) {
    blockSize = newBlockSize;
}
void AudioEffect::suspend() {}
void AudioEffect::resume() {}

void AudioEffect::setUniqueID(VstInt32 id) {
    cEffect.uniqueID = id;
}
void AudioEffect::setNumInputs(VstInt32 inputs) {
    cEffect.numInputs = inputs;
}
void AudioEffect::setNumOutputs(VstInt32 outputs) {
    cEffect.numOutputs = outputs;
}
void AudioEffect::hasVu(bool state) {
    setFlag(effFlagsHasVu, state);
}
void AudioEffect::hasClip(bool state) {
    setFlag(effFlagsHasClip, state);
}
void AudioEffect::canMono(bool state) {
    setFlag(effFlagsCanMono, state);
}
void AudioEffect::canProcessReplacing(bool state) {
    setFlag(effFlagsCanReplacing, state);
}
void AudioEffect::programsAreChunks(bool state) {
    setFlag(effFlagsProgramChunks, state);
}
void AudioEffect::setRealtimeQualities(VstInt32 qualities) {
    cEffect.realQualities = qualities;
}
void AudioEffect::setOfflineQualities(VstInt32 qualities) {
    cEffect.offQualities = qualities;
}
void AudioEffect::setInitialDelay(VstInt32 delay) {
    cEffect.initialDelay = delay;
}

float AudioEffect::getSampleRate() {
    return sampleRate;
}
VstInt32 AudioEffect::getBlockSize() {
    return blockSize;
}

VstInt32 AudioEffect::getMasterVersion() {
    const VstIntPtr version = callHost(audioMasterVersion);
    return version != 0 ? static_cast<VstInt32>(version) : 1;
}

VstInt32 AudioEffect::getCurrentUniqueId() {
    return static_cast<VstInt32>(callHost(audioMasterCurrentId));
}

void AudioEffect::masterIdle() {
    callHost(audioMasterIdle);
}

// The host answers 0 for a connected pin.
bool AudioEffect::isInputConnected(VstInt32 input) {
    return callHost(audioMasterPinConnected, input, 0) == 0;
}
bool AudioEffect::isOutputConnected(VstInt32 output) {
    return callHost(audioMasterPinConnected, output, 1) == 0;
}

void AudioEffect::setEditor(AEffEditor* newEditor) {
    editor = newEditor;
    setFlag(effFlagsHasEditor, newEditor != nullptr);
}

void AudioEffect::forgetEditor(AEffEditor* gone) {
    if (editor == gone) {
        setEditor(nullptr);
    }
}

VstIntPtr AudioEffect::callHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                float opt) {
    if (!audioMaster) {
        return 0;
    }
    return audioMaster(&cEffect, opcode, index, value, ptr, opt);
}

void AudioEffect::setFlag(VstInt32 flag, bool state) {
    if (state) {
        cEffect.flags |= flag;
    } else {
        cEffect.flags &= ~flag;
    }
}

void AudioEffect::copyText(char* text, const char* source, std::size_t size) {
    copyBounded(text, source, size);
}
