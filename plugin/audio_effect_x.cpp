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
    char* text = static_cast<char*>(ptr);
    auto arrangement = [](VstIntPtr address) {
        return reinterpret_cast<VstSpeakerArrangement**>(address);
    };
    switch (opcode) {
        case effProcessEvents:
            return processEvents(static_cast<VstEvents*>(ptr));
        case effCanBeAutomated:
            return canParameterBeAutomated(index);
        case effString2Parameter:
            return text && string2parameter(index, text);
        case effGetNumProgramCategories:
            return getNumCategories();
        case effGetProgramNameIndexed:
            return text && getProgramNameIndexed(static_cast<VstInt32>(value), index, text);
        case effCopyProgram:
            return copyProgram(index);
        case effConnectInput:
            inputConnected(index, value != 0);
            return 1;
        case effConnectOutput:
            outputConnected(index, value != 0);
            return 1;
        case effGetInputProperties:
            return getInputProperties(index, static_cast<VstPinProperties*>(ptr));
        case effGetOutputProperties:
            return getOutputProperties(index, static_cast<VstPinProperties*>(ptr));
        case effGetPlugCategory:
            return getPlugCategory();
        case effGetCurrentPosition:
            return reportCurrentPosition();
        case effGetDestinationBuffer:
            return reinterpret_cast<VstIntPtr>(reportDestinationBuffer());
        case effOfflineNotify:
            return offlineNotify(static_cast<VstAudioFile*>(ptr), static_cast<VstInt32>(value),
                                 index != 0);
        case effOfflinePrepare:
            return offlinePrepare(static_cast<VstOfflineTask*>(ptr), static_cast<VstInt32>(value));
        case effOfflineRun:
            return offlineRun(static_cast<VstOfflineTask*>(ptr), static_cast<VstInt32>(value));
        case effProcessVarIo:
            return processVariableIo(static_cast<VstVariableIo*>(ptr));
        case effSetSpeakerArrangement:
            return setSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement*>(value),
                                         static_cast<VstSpeakerArrangement*>(ptr));
        case effSetBlockSizeAndSampleRate:
            setBlockSizeAndSampleRate(static_cast<VstInt32>(value), opt);
            return 1;
        case effSetBypass:
            return setBypass(value != 0);
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
            return vendorSpecific(index, value, ptr, opt);
        case effCanDo:
            return text ? canDo(text) : 0;
        case effGetTailSize:
            return getGetTailSize();
        case effIdle:
            return fxIdle();
        case effGetIcon:
            return reinterpret_cast<VstIntPtr>(getIcon());
        case effSetViewPosition:
            return setViewPosition(index, static_cast<VstInt32>(value));
        case effGetParameterProperties:
            return getParameterProperties(index, static_cast<VstParameterProperties*>(ptr));
        case effKeysRequired:
            return keysRequired() ? 0 : 1;
        case effGetVstVersion:
            return getVstVersion();
        case effEditKeyDown:
        case effEditKeyUp:
            return dispatchEditorKey(opcode, index, value, opt);
        case effSetEditKnobMode:
            return editor ? editor->setKnobMode(static_cast<VstInt32>(value)) : 0;
        case effGetMidiProgramName:
            return getMidiProgramName(index, static_cast<MidiProgramName*>(ptr));
        case effGetCurrentMidiProgram:
            return getCurrentMidiProgram(index, static_cast<MidiProgramName*>(ptr));
        case effGetMidiProgramCategory:
            return getMidiProgramCategory(index, static_cast<MidiProgramCategory*>(ptr));
        case effHasMidiProgramsChanged:
            return hasMidiProgramsChanged(index);
        case effGetMidiKeyName:
            return getMidiKeyName(index, static_cast<MidiKeyName*>(ptr));
        case effBeginSetProgram:
            return beginSetProgram();
        case effEndSetProgram:
            return endSetProgram();
        case effGetSpeakerArrangement:
            return getSpeakerArrangement(arrangement(value),
                                         static_cast<VstSpeakerArrangement**>(ptr));
        case effShellGetNextPlugin:
            return text ? getNextShellPlugin(text) : 0;
        case effStartProcess:
            return startProcess();
        case effStopProcess:
            return stopProcess();
        case effSetTotalSampleToProcess:
            return setTotalSampleToProcess(static_cast<VstInt32>(value));
        case effSetPanLaw:
            return setPanLaw(static_cast<VstInt32>(value), opt);
        case effBeginLoadBank:
            return beginLoadBank(static_cast<VstPatchChunkInfo*>(ptr));
        case effBeginLoadProgram:
            return beginLoadProgram(static_cast<VstPatchChunkInfo*>(ptr));
        default:
            return AudioEffect::dispatcher(opcode, index, value, ptr, opt);
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
