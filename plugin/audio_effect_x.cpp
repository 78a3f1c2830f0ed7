#include "plugin/audio_effect_x.h"

namespace {

/// Float to integer, truncated; values no integer can hold (NaN included) give 0.
VstInt32 truncatedOrZero(float value) {
    if (!(value > -2147483648.0f && value < 2147483648.0f)) {
        return 0;
    }
    return static_cast<VstInt32>(value);
}

}  // namespace

AudioEffectX::AudioEffectX(audioMasterCallback audioMaster, VstInt32 numPrograms,
                           VstInt32 numParams)
    : AudioEffect(audioMaster, numPrograms, numParams) {}

AudioEffectX::~AudioEffectX() = default;

VstIntPtr AudioEffectX::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                   float opt) {
    const Request request{opcode, index, value, ptr, opt};
    if (opcode < effProcessEvents || opcode > effBeginLoadProgram) {
        return AudioEffect::dispatcher(opcode, index, value, ptr, opt);
    }
    if (opcode < effGetPlugCategory) {
        return dispatchProgramsAndPins(request);
    }
    if (opcode < effGetEffectName) {
        return dispatchOfflineAndSetup(request);
    }
    if (opcode < effEditKeyDown) {
        return dispatchIdentity(request);
    }
    if (opcode < effGetSpeakerArrangement) {
        return dispatchEditorAndMidi(request);
    }
    return dispatchArrangementAndProcess(request);
}

VstIntPtr AudioEffectX::dispatchProgramsAndPins(const Request& r) {
    char* text = static_cast<char*>(r.ptr);
    switch (r.opcode) {
        case effProcessEvents:
            return processEvents(static_cast<VstEvents*>(r.ptr));
        case effCanBeAutomated:
            return canParameterBeAutomated(r.index);
        case effString2Parameter:
            return text && string2parameter(r.index, text);
        case effGetNumProgramCategories:
            return getNumCategories();
        case effGetProgramNameIndexed:
            return text && getProgramNameIndexed(static_cast<VstInt32>(r.value), r.index, text);
        case effCopyProgram:
            return copyProgram(r.index);
        case effConnectInput:
            inputConnected(r.index, r.value != 0);
            return 1;
        case effConnectOutput:
            outputConnected(r.index, r.value != 0);
            return 1;
        case effGetInputProperties:
            return getInputProperties(r.index, static_cast<VstPinProperties*>(r.ptr));
        case effGetOutputProperties:
            return getOutputProperties(r.index, static_cast<VstPinProperties*>(r.ptr));
        default:
            return 0;
    }
}

VstIntPtr AudioEffectX::dispatchOfflineAndSetup(const Request& r) {
    switch (r.opcode) {
        case effGetPlugCategory:
            return getPlugCategory();
        case effGetCurrentPosition:
            return reportCurrentPosition();
        case effGetDestinationBuffer:
            return reinterpret_cast<VstIntPtr>(reportDestinationBuffer());
        case effOfflineNotify:
            return offlineNotify(static_cast<VstAudioFile*>(r.ptr), static_cast<VstInt32>(r.value),
                                 r.index != 0);
        case effOfflinePrepare:
            return offlinePrepare(static_cast<VstOfflineTask*>(r.ptr),
                                  static_cast<VstInt32>(r.value));
        case effOfflineRun:
            return offlineRun(static_cast<VstOfflineTask*>(r.ptr), static_cast<VstInt32>(r.value));
        case effProcessVarIo:
            return processVariableIo(static_cast<VstVariableIo*>(r.ptr));
        case effSetSpeakerArrangement:
            return setSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement*>(r.value),
                                         static_cast<VstSpeakerArrangement*>(r.ptr));
        case effSetBlockSizeAndSampleRate:
            setBlockSizeAndSampleRate(static_cast<VstInt32>(r.value), r.opt);
            return 1;
        case effSetBypass:
            return setBypass(r.value != 0);
        default:
            return 0;
    }
}

VstIntPtr AudioEffectX::dispatchIdentity(const Request& r) {
    char* text = static_cast<char*>(r.ptr);
    switch (r.opcode) {
        case effGetEffectName:
            return text && getEffectName(text);
        case effGetErrorText:
            return text && getErrorText(text);
        case effGetVendorString:
            return text && getVendorString(text);
        case effGetProductString:
            return text && getProductString(text);
        case effGetVendorVersion:
            return getVendorVersion();
        case effVendorSpecific:
            return vendorSpecific(r.index, r.value, r.ptr, r.opt);
        case effCanDo:
            return text ? canDo(text) : 0;
        case effGetTailSize:
            return getGetTailSize();
        case effIdle:
            return fxIdle();
        case effGetIcon:
            return reinterpret_cast<VstIntPtr>(getIcon());
        case effSetViewPosition:
            return setViewPosition(r.index, static_cast<VstInt32>(r.value));
        case effGetParameterProperties:
            return getParameterProperties(r.index, static_cast<VstParameterProperties*>(r.ptr));
        case effKeysRequired:
            return keysRequired() ? 0 : 1;
        case effGetVstVersion:
            return getVstVersion();
        default:
            return 0;
    }
}

VstIntPtr AudioEffectX::dispatchEditorAndMidi(const Request& r) {
    switch (r.opcode) {
        case effEditKeyDown:
        case effEditKeyUp:
            return dispatchEditorKey(r.opcode, r.index, r.value, r.opt);
        case effSetEditKnobMode:
            return editor ? editor->setKnobMode(static_cast<VstInt32>(r.value)) : 0;
        case effGetMidiProgramName:
            return getMidiProgramName(r.index, static_cast<MidiProgramName*>(r.ptr));
        case effGetCurrentMidiProgram:
            return getCurrentMidiProgram(r.index, static_cast<MidiProgramName*>(r.ptr));
        case effGetMidiProgramCategory:
            return getMidiProgramCategory(r.index, static_cast<MidiProgramCategory*>(r.ptr));
        case effHasMidiProgramsChanged:
            return hasMidiProgramsChanged(r.index);
        case effGetMidiKeyName:
            return getMidiKeyName(r.index, static_cast<MidiKeyName*>(r.ptr));
        case effBeginSetProgram:
            return beginSetProgram();
        case effEndSetProgram:
            return endSetProgram();
        default:
            return 0;
    }
}

VstIntPtr AudioEffectX::dispatchArrangementAndProcess(const Request& r) {
    char* text = static_cast<char*>(r.ptr);
    switch (r.opcode) {
        case effGetSpeakerArrangement:
            return getSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement**>(r.value),
                                         static_cast<VstSpeakerArrangement**>(r.ptr));
        case effShellGetNextPlugin:
            return text ? getNextShellPlugin(text) : 0;
        case effStartProcess:
            return startProcess();
        case effStopProcess:
            return stopProcess();
        case effSetTotalSampleToProcess:
            return setTotalSampleToProcess(static_cast<VstInt32>(r.value));
        case effSetPanLaw:
            return setPanLaw(static_cast<VstInt32>(r.value), r.opt);
        case effBeginLoadBank:
            return beginLoadBank(static_cast<VstPatchChunkInfo*>(r.ptr));
        case effBeginLoadProgram:
            return beginLoadProgram(static_cast<VstPatchChunkInfo*>(r.ptr));
        default:
            return 0;
    }
}

VstIntPtr AudioEffectX::dispatchEditorKey(VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                          float opt) {
    if (!editor) {
        return 0;
    }
    VstKeyCode key{};
    key.character = index;
    key.virt = static_cast<unsigned char>(value & 0xff);
    // A host's option may be any float; one no integer can hold counts as no modifier.
    key.modifier = static_cast<unsigned char>(truncatedOrZero(opt) & 0xff);
    return opcode == effEditKeyDown ? editor->keyDown(key) : editor->keyUp(key);
}

// Effect-side operations this effect leaves at their fixed answers.

AEffEditor* AudioEffectX::getEditor() {
    return editor;
}
VstInt32 AudioEffectX::processEvents(VstEvents*) {
    return 0;
}
bool AudioEffectX::canParameterBeAutomated(VstInt32) {
    return true;
}
bool AudioEffectX::string2parameter(VstInt32, char*) {
    return false;
}
float AudioEffectX::getChannelParameter(VstInt32, VstInt32) {
    return 0.0f;
}
VstInt32 AudioEffectX::getNumCategories() {
    return 1;
}
bool AudioEffectX::getProgramNameIndexed(VstInt32, VstInt32, char*) {
    return false;
}
bool AudioEffectX::copyProgram(VstInt32) {
    return false;
}
void AudioEffectX::inputConnected(VstInt32, bool) {}
void AudioEffectX::outputConnected(VstInt32, bool) {}
bool AudioEffectX::getInputProperties(VstInt32, VstPinProperties*) {
    return false;
}
bool AudioEffectX::getOutputProperties(VstInt32, VstPinProperties*) {
    return false;
}
VstInt32 AudioEffectX::getPlugCategory() {
    return kPlugCategUnknown;
}
void AudioEffectX::wantAsyncOperation(bool state) {
    setFlag(effFlagsExtIsAsync, state);
}
void AudioEffectX::hasExternalBuffer(bool state) {
    setFlag(effFlagsExtHasBuffer, state);
}
VstInt32 AudioEffectX::reportCurrentPosition() {
    return 0;
}
float* AudioEffectX::reportDestinationBuffer() {
    return nullptr;
}
bool AudioEffectX::offlineNotify(VstAudioFile*, VstInt32, bool) {
    return false;
}
bool AudioEffectX::offlinePrepare(VstOfflineTask*, VstInt32) {
    return false;
}
bool AudioEffectX::offlineRun(VstOfflineTask*, VstInt32) {
    return false;
}
VstInt32 AudioEffectX::offlineGetNumPasses() {
    return 0;
}
VstInt32 AudioEffectX::offlineGetNumMetaPasses() {
    return 0;
}
void AudioEffectX::isSynth(bool state) {
    setFlag(effFlagsIsSynth, state);
}
void AudioEffectX::noTail(bool state) {
    setFlag(effFlagsNoSoundInStop, state);
}
bool AudioEffectX::processVariableIo(VstVariableIo*) {
    return false;
}
bool AudioEffectX::setSpeakerArrangement(VstSpeakerArrangement*, VstSpeakerArrangement*) {
    return false;
}

bool AudioEffectX::getSpeakerArrangement(VstSpeakerArrangement** pluginInput,
                                         VstSpeakerArrangement** pluginOutput) {
    if (pluginInput) {
        *pluginInput = nullptr;
    }
    if (pluginOutput) {
        *pluginOutput = nullptr;
    }
    return false;
}

void AudioEffectX::setBlockSizeAndSampleRate(VstInt32 newBlockSize, float newSampleRate) {
    blockSize = newBlockSize;
    sampleRate = newSampleRate;
}

bool AudioEffectX::setBypass(bool) {
    return false;
}
bool AudioEffectX::getEffectName(char*) {
    return false;
}
bool AudioEffectX::getErrorText(char*) {
    return false;
}
bool AudioEffectX::getVendorString(char*) {
    return false;
}
bool AudioEffectX::getProductString(char*) {
    return false;
}
VstInt32 AudioEffectX::getVendorVersion() {
    return 0;
}
VstIntPtr AudioEffectX::vendorSpecific(VstInt32, VstIntPtr, void*, float) {
    return 0;
}
VstInt32 AudioEffectX::canDo(char*) {
    return 0;
}
void* AudioEffectX::getIcon() {
    return nullptr;
}
bool AudioEffectX::setViewPosition(VstInt32, VstInt32) {
    return false;
}
VstInt32 AudioEffectX::getGetTailSize() {
    return 0;
}
VstInt32 AudioEffectX::fxIdle() {
    return 0;
}
bool AudioEffectX::getParameterProperties(VstInt32, VstParameterProperties*) {
    return false;
}
bool AudioEffectX::keysRequired() {
    return false;
}
VstInt32 AudioEffectX::getVstVersion() {
    return kVstVersion;
}
VstInt32 AudioEffectX::getMidiProgramName(VstInt32, MidiProgramName*) {
    return 0;
}
VstInt32 AudioEffectX::getCurrentMidiProgram(VstInt32, MidiProgramName*) {
    return -1;
}
VstInt32 AudioEffectX::getMidiProgramCategory(VstInt32, MidiProgramCategory*) {
    return 0;
}
bool AudioEffectX::hasMidiProgramsChanged(VstInt32) {
    return false;
}
bool AudioEffectX::getMidiKeyName(VstInt32, MidiKeyName*) {
    return false;
}
bool AudioEffectX::beginSetProgram() {
    return false;
}
bool AudioEffectX::endSetProgram() {
    return false;
}
VstInt32 AudioEffectX::setTotalSampleToProcess(VstInt32 value) {
    return value;
}
VstInt32 AudioEffectX::getNextShellPlugin(char*) {
    return 0;
}
VstInt32 AudioEffectX::startProcess() {
    return 0;
}
VstInt32 AudioEffectX::stopProcess() {
    return 0;
}
bool AudioEffectX::setPanLaw(VstInt32, float) {
    return false;
}
VstInt32 AudioEffectX::beginLoadBank(VstPatchChunkInfo*) {
    return 0;
}
VstInt32 AudioEffectX::beginLoadProgram(VstPatchChunkInfo*) {
    return 0;
}
bool AudioEffectX::allocateArrangement(VstSpeakerArrangement**, VstInt32) {
    return false;
}
bool AudioEffectX::deallocateArrangement(VstSpeakerArrangement**) {
    return false;
}
bool AudioEffectX::copySpeaker(VstSpeakerProperties*, VstSpeakerProperties*) {
    return false;
}
bool AudioEffectX::matchArrangement(VstSpeakerArrangement**, VstSpeakerArrangement*) {
    return false;
}
