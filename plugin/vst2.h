// The VST 2 binary interface as this plug-in speaks it (version 2.3): the effect
// record, the function types that cross the boundary, opcodes, flags and the small
// records exchanged with the host. Layouts are checked below for 32- and 64-bit targets.
#pragma once

#include <cstddef>
#include <cstdint>

using VstInt32 = std::int32_t;
using VstIntPtr = std::intptr_t;

struct AEffect;

/// Host callback and effect dispatcher share this shape.
using audioMasterCallback = VstIntPtr (*)(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                          VstIntPtr value, void* ptr, float opt);
using AEffectDispatcherProc = VstIntPtr (*)(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                            VstIntPtr value, void* ptr, float opt);
using AEffectProcessProc = void (*)(AEffect* effect, float** inputs, float** outputs,
                                    VstInt32 sampleFrames);
using AEffectSetParameterProc = void (*)(AEffect* effect, VstInt32 index, float value);
using AEffectGetParameterProc = float (*)(AEffect* effect, VstInt32 index);
/// The exported entry point (`main`, `VSTPluginMain`).
using VstPluginMainProc = AEffect* (*)(audioMasterCallback host);

/// Four-character code with the first character in the most significant byte.
constexpr VstInt32 fourCharCode(char a, char b, char c, char d) {
    return static_cast<VstInt32>((static_cast<std::uint32_t>(static_cast<unsigned char>(a)) << 24) |
                                 (static_cast<std::uint32_t>(static_cast<unsigned char>(b)) << 16) |
                                 (static_cast<std::uint32_t>(static_cast<unsigned char>(c)) << 8) |
                                 static_cast<std::uint32_t>(static_cast<unsigned char>(d)));
}

constexpr VstInt32 kEffectMagic = fourCharCode('V', 's', 't', 'P');
constexpr VstInt32 kEffectIdentify = fourCharCode('N', 'v', 'E', 'f');
constexpr VstInt32 kDefaultUniqueId = fourCharCode('N', 'o', 'E', 'f');

struct AEffect {
    VstInt32 magic;
    AEffectDispatcherProc dispatcher;
    AEffectProcessProc process;  ///< accumulating process
    AEffectSetParameterProc setParameter;
    AEffectGetParameterProc getParameter;
    VstInt32 numPrograms;
    VstInt32 numParams;
    VstInt32 numInputs;
    VstInt32 numOutputs;
    VstInt32 flags;
    VstIntPtr resvd1;
    VstIntPtr resvd2;
    VstInt32 initialDelay;
    VstInt32 realQualities;
    VstInt32 offQualities;
    float ioRatio;
    void* object;  ///< the effect object behind the record
    void* user;
    VstInt32 uniqueID;
    VstInt32 version;
    AEffectProcessProc processReplacing;
    char future[60];  ///< reserved, zero
};

constexpr bool kPointers32 = sizeof(void*) == 4;
static_assert(sizeof(VstIntPtr) == sizeof(void*), "intptr must be pointer-sized");
static_assert(offsetof(AEffect, dispatcher) == (kPointers32 ? 4 : 8), "AEffect layout");
static_assert(offsetof(AEffect, process) == (kPointers32 ? 8 : 16), "AEffect layout");
static_assert(offsetof(AEffect, setParameter) == (kPointers32 ? 12 : 24), "AEffect layout");
static_assert(offsetof(AEffect, getParameter) == (kPointers32 ? 16 : 32), "AEffect layout");
static_assert(offsetof(AEffect, numPrograms) == (kPointers32 ? 20 : 40), "AEffect layout");
static_assert(offsetof(AEffect, numParams) == (kPointers32 ? 24 : 44), "AEffect layout");
static_assert(offsetof(AEffect, numInputs) == (kPointers32 ? 28 : 48), "AEffect layout");
static_assert(offsetof(AEffect, numOutputs) == (kPointers32 ? 32 : 52), "AEffect layout");
static_assert(offsetof(AEffect, flags) == (kPointers32 ? 36 : 56), "AEffect layout");
static_assert(offsetof(AEffect, resvd1) == (kPointers32 ? 40 : 64), "AEffect layout");
static_assert(offsetof(AEffect, resvd2) == (kPointers32 ? 44 : 72), "AEffect layout");
static_assert(offsetof(AEffect, initialDelay) == (kPointers32 ? 48 : 80), "AEffect layout");
static_assert(offsetof(AEffect, realQualities) == (kPointers32 ? 52 : 84), "AEffect layout");
static_assert(offsetof(AEffect, offQualities) == (kPointers32 ? 56 : 88), "AEffect layout");
static_assert(offsetof(AEffect, ioRatio) == (kPointers32 ? 60 : 92), "AEffect layout");
static_assert(offsetof(AEffect, object) == (kPointers32 ? 64 : 96), "AEffect layout");
static_assert(offsetof(AEffect, user) == (kPointers32 ? 68 : 104), "AEffect layout");
static_assert(offsetof(AEffect, uniqueID) == (kPointers32 ? 72 : 112), "AEffect layout");
static_assert(offsetof(AEffect, version) == (kPointers32 ? 76 : 116), "AEffect layout");
static_assert(offsetof(AEffect, processReplacing) == (kPointers32 ? 80 : 120), "AEffect layout");
static_assert(offsetof(AEffect, future) == (kPointers32 ? 84 : 128), "AEffect layout");
static_assert(sizeof(AEffect) == (kPointers32 ? 144 : 192), "AEffect size");

/// Flag bits of `AEffect::flags`.
enum VstAEffectFlags : VstInt32 {
    effFlagsHasEditor = 1,
    effFlagsHasClip = 2,
    effFlagsHasVu = 4,
    effFlagsCanMono = 8,
    effFlagsCanReplacing = 16,
    effFlagsProgramChunks = 32,
    effFlagsIsSynth = 256,
    effFlagsNoSoundInStop = 512,
    effFlagsExtIsAsync = 1024,
    effFlagsExtHasBuffer = 2048,
};

/// Requests from the host to the effect.
enum AEffectOpcodes : VstInt32 {
    effOpen = 0,
    effClose,
    effSetProgram,
    effGetProgram,
    effSetProgramName,
    effGetProgramName,
    effGetParamLabel,
    effGetParamDisplay,
    effGetParamName,
    effGetVu,
    effSetSampleRate,
    effSetBlockSize,
    effMainsChanged,
    effEditGetRect,
    effEditOpen,
    effEditClose,
    effEditDraw,
    effEditMouse,
    effEditKey,
    effEditIdle,
    effEditTop,
    effEditSleep,
    effIdentify,
    effGetChunk,
    effSetChunk,
    effProcessEvents,  // 25
    effCanBeAutomated,
    effString2Parameter,
    effGetNumProgramCategories,
    effGetProgramNameIndexed,
    effCopyProgram,  // 30
    effConnectInput,
    effConnectOutput,
    effGetInputProperties,
    effGetOutputProperties,
    effGetPlugCategory,  // 35
    effGetCurrentPosition,
    effGetDestinationBuffer,
    effOfflineNotify,
    effOfflinePrepare,
    effOfflineRun,  // 40
    effProcessVarIo,
    effSetSpeakerArrangement,
    effSetBlockSizeAndSampleRate,
    effSetBypass,
    effGetEffectName,  // 45
    effGetErrorText,
    effGetVendorString,
    effGetProductString,
    effGetVendorVersion,
    effVendorSpecific,  // 50
    effCanDo,
    effGetTailSize,
    effIdle,
    effGetIcon,
    effSetViewPosition,  // 55
    effGetParameterProperties,
    effKeysRequired,
    effGetVstVersion,
    effEditKeyDown,
    effEditKeyUp,  // 60
    effSetEditKnobMode,
    effGetMidiProgramName,
    effGetCurrentMidiProgram,
    effGetMidiProgramCategory,
    effHasMidiProgramsChanged,  // 65
    effGetMidiKeyName,
    effBeginSetProgram,
    effEndSetProgram,
    effGetSpeakerArrangement,
    effShellGetNextPlugin,  // 70
    effStartProcess,
    effStopProcess,
    effSetTotalSampleToProcess,
    effSetPanLaw,
    effBeginLoadBank,  // 75
    effBeginLoadProgram,
};

/// Requests from the effect to the host.
enum AudioMasterOpcodes : VstInt32 {
    audioMasterAutomate = 0,
    audioMasterVersion = 1,
    audioMasterCurrentId = 2,
    audioMasterIdle = 3,
    audioMasterPinConnected = 4,
    audioMasterWantMidi = 6,
    audioMasterGetTime = 7,
    audioMasterTempoAt = 10,
    audioMasterGetNumAutomatableParameters = 11,
    audioMasterGetParameterQuantization = 12,
    audioMasterIOChanged = 13,
    audioMasterNeedIdle = 14,
    audioMasterSizeWindow = 15,
    audioMasterGetSampleRate = 16,
    audioMasterGetBlockSize = 17,
    audioMasterGetInputLatency = 18,
    audioMasterGetOutputLatency = 19,
    audioMasterGetPreviousPlug = 20,
    audioMasterGetNextPlug = 21,
    audioMasterWillReplaceOrAccumulate = 22,
    audioMasterGetCurrentProcessLevel = 23,
    audioMasterGetAutomationState = 24,
    audioMasterOfflineStart = 25,
    audioMasterOfflineRead = 26,
    audioMasterOfflineWrite = 27,
    audioMasterOfflineGetCurrentPass = 28,
    audioMasterOfflineGetCurrentMetaPass = 29,
    audioMasterSetOutputSampleRate = 30,
    audioMasterGetOutputSpeakerArrangement = 31,
    audioMasterGetVendorString = 32,
    audioMasterGetProductString = 33,
    audioMasterGetVendorVersion = 34,
    audioMasterVendorSpecific = 35,
    audioMasterCanDo = 37,
    audioMasterGetLanguage = 38,
    audioMasterOpenWindow = 39,
    audioMasterCloseWindow = 40,
    audioMasterGetDirectory = 41,
    audioMasterUpdateDisplay = 42,
    audioMasterBeginEdit = 43,
    audioMasterEndEdit = 44,
    audioMasterOpenFileSelector = 45,
    audioMasterCloseFileSelector = 46,
    audioMasterGetInputSpeakerArrangement = 49,
};

enum VstPlugCategory : VstInt32 {
    kPlugCategUnknown = 0,
    kPlugCategEffect = 1,
};

/// Editor size handed to the host by `effEditGetRect`.
struct ERect {
    std::int16_t top;
    std::int16_t left;
    std::int16_t bottom;
    std::int16_t right;
};
static_assert(sizeof(ERect) == 8, "ERect layout");

/// Key record built from `effEditKeyDown` / `effEditKeyUp`.
struct VstKeyCode {
    VstInt32 character;
    unsigned char virt;      ///< one of VstVirtualKey
    unsigned char modifier;  ///< bits of VstModifierKey
};
static_assert(sizeof(VstKeyCode) == 8, "VstKeyCode layout");

enum VstVirtualKey : unsigned char {
    VKEY_BACK = 1,
    VKEY_TAB,
    VKEY_CLEAR,
    VKEY_RETURN,
    VKEY_PAUSE,
    VKEY_ESCAPE,
    VKEY_SPACE,
    VKEY_NEXT,
    VKEY_END,
    VKEY_HOME,
    VKEY_LEFT,
    VKEY_UP,
    VKEY_RIGHT,
    VKEY_DOWN,
    VKEY_PAGEUP,
    VKEY_PAGEDOWN,
};

enum VstModifierKey : unsigned char {
    MODIFIER_SHIFT = 1,
    MODIFIER_ALTERNATE = 2,
    MODIFIER_COMMAND = 4,
    MODIFIER_CONTROL = 8,
};

/// Host text buffer sizes, terminator included.
constexpr std::size_t kVstMaxLabelLen = 9;       ///< parameter label and display text
constexpr std::size_t kVstMaxParamNameLen = 32;  ///< what hosts actually provide for names
constexpr std::size_t kVstMaxProgNameLen = 24;
constexpr std::size_t kVstMaxEffectNameLen = 32;
constexpr std::size_t kVstMaxVendorStrLen = 64;
constexpr std::size_t kVstMaxProductStrLen = 64;

/// The host's time record, the answer to audioMasterGetTime; the host owns it, valid only
/// until the effect's call returns.
struct VstTimeInfo {
    double samplePos;
    double sampleRate;
    double nanoSeconds;
    double ppqPos;
    double tempo;
    double barStartPos;
    double cycleStartPos;
    double cycleEndPos;
    VstInt32 timeSigNumerator;
    VstInt32 timeSigDenominator;
    VstInt32 smpteOffset;
    VstInt32 smpteFrameRate;
    VstInt32 samplesToNextClock;
    VstInt32 flags;
};
static_assert(sizeof(VstTimeInfo) == 88, "the time record's layout");

enum VstTimeInfoFlags : VstInt32 {
    kVstTransportChanged = 1,
    kVstTransportPlaying = 2,
    kVstTransportCycleActive = 4,
    kVstTransportRecording = 8,
};

/// What audioMasterGetCurrentProcessLevel answers.
enum VstProcessLevels : VstInt32 {
    kVstProcessLevelUnknown = 0,
    kVstProcessLevelUser = 1,
    kVstProcessLevelRealtime = 2,
    kVstProcessLevelPrefetch = 3,
    kVstProcessLevelOffline = 4,
};
