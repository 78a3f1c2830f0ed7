// The CLAP binary interface as the adapter speaks it (rules of version 1.2.10, loadable by
// every 1.x host): the records, function slots, IDs and flags it uses, with their layouts
// checked below for 32- and 64-bit targets.
#pragma once

#include <cstddef>
#include <cstdint>

/// Every slot in either direction uses the C calling convention, which is the compilers'
/// default on every target built here (cdecl on 32-bit Windows).
#define CLAP_ABI

extern "C" {

using ClapId = std::uint32_t;
constexpr ClapId CLAP_INVALID_ID = UINT32_MAX;
constexpr std::size_t CLAP_NAME_SIZE = 256;
constexpr std::size_t CLAP_PATH_SIZE = 1024;

struct ClapVersion {
    std::uint32_t major;
    std::uint32_t minor;
    std::uint32_t revision;
};
constexpr ClapVersion CLAP_VERSION = {1, 2, 10};

struct ClapPluginEntry {
    ClapVersion clapVersion;
    bool(CLAP_ABI* init)(const char* pluginPath);
    void(CLAP_ABI* deinit)();
    const void*(CLAP_ABI* getFactory)(const char* factoryId);
};

struct ClapPluginDescriptor {
    ClapVersion clapVersion;
    const char* id;
    const char* name;
    const char* vendor;
    const char* url;
    const char* manualUrl;
    const char* supportUrl;
    const char* version;
    const char* description;
    const char* const* features;
};

struct ClapHost {
    ClapVersion clapVersion;
    void* hostData;
    const char* name;
    const char* vendor;
    const char* url;
    const char* version;
    const void*(CLAP_ABI* getExtension)(const ClapHost* host, const char* extensionId);
    void(CLAP_ABI* requestRestart)(const ClapHost* host);
    void(CLAP_ABI* requestProcess)(const ClapHost* host);
    void(CLAP_ABI* requestCallback)(const ClapHost* host);
};

struct ClapProcess;

struct ClapPlugin {
    const ClapPluginDescriptor* desc;
    void* pluginData;
    bool(CLAP_ABI* init)(const ClapPlugin* plugin);
    void(CLAP_ABI* destroy)(const ClapPlugin* plugin);
    bool(CLAP_ABI* activate)(const ClapPlugin* plugin, double sampleRate, std::uint32_t minFrames,
                             std::uint32_t maxFrames);
    void(CLAP_ABI* deactivate)(const ClapPlugin* plugin);
    bool(CLAP_ABI* startProcessing)(const ClapPlugin* plugin);
    void(CLAP_ABI* stopProcessing)(const ClapPlugin* plugin);
    void(CLAP_ABI* reset)(const ClapPlugin* plugin);
    std::int32_t(CLAP_ABI* process)(const ClapPlugin* plugin, const ClapProcess* process);
    const void*(CLAP_ABI* getExtension)(const ClapPlugin* plugin, const char* id);
    void(CLAP_ABI* onMainThread)(const ClapPlugin* plugin);
};

struct ClapPluginFactory {
    std::uint32_t(CLAP_ABI* getPluginCount)(const ClapPluginFactory* factory);
    const ClapPluginDescriptor*(CLAP_ABI* getPluginDescriptor)(const ClapPluginFactory* factory,
                                                               std::uint32_t index);
    const ClapPlugin*(CLAP_ABI* createPlugin)(const ClapPluginFactory* factory,
                                              const ClapHost* host, const char* pluginId);
};

// Events.
struct ClapEventHeader {
    std::uint32_t size;
    std::uint32_t time;
    std::uint16_t spaceId;
    std::uint16_t type;
    std::uint32_t flags;
};
constexpr std::uint16_t CLAP_CORE_EVENT_SPACE_ID = 0;
constexpr std::uint16_t CLAP_EVENT_PARAM_VALUE = 5;
constexpr std::uint16_t CLAP_EVENT_PARAM_GESTURE_BEGIN = 7;
constexpr std::uint16_t CLAP_EVENT_PARAM_GESTURE_END = 8;
constexpr std::uint16_t CLAP_EVENT_TRANSPORT = 9;
constexpr std::uint32_t CLAP_EVENT_IS_LIVE = 1;
constexpr std::uint32_t CLAP_EVENT_DONT_RECORD = 2;

struct ClapEventParamValue {
    ClapEventHeader header;
    ClapId paramId;
    void* cookie;
    std::int32_t noteId;
    std::int16_t portIndex;
    std::int16_t channel;
    std::int16_t key;
    double value;
};

struct ClapEventParamGesture {
    ClapEventHeader header;
    ClapId paramId;
};

// The host's transport: its state at the block's first frame, or from an event's frame on.
constexpr std::uint32_t CLAP_TRANSPORT_HAS_TEMPO = 1;
constexpr std::uint32_t CLAP_TRANSPORT_HAS_SECONDS_TIMELINE = 4;
constexpr std::uint32_t CLAP_TRANSPORT_IS_PLAYING = 16;
/// Beat and second positions count in units of 2^-31.
constexpr double CLAP_TIME_FACTOR = 2147483648.0;

struct ClapEventTransport {
    ClapEventHeader header;
    std::uint32_t flags;
    std::int64_t songPosBeats;
    std::int64_t songPosSeconds;
    double tempo;
    double tempoInc;
    std::int64_t loopStartBeats;
    std::int64_t loopEndBeats;
    std::int64_t loopStartSeconds;
    std::int64_t loopEndSeconds;
    std::int64_t barStart;
    std::int32_t barNumber;
    std::uint16_t timeSignatureNumerator;
    std::uint16_t timeSignatureDenominator;
};
static_assert(offsetof(ClapEventTransport, timeSignatureDenominator) + 2 == 104 ||
                  offsetof(ClapEventTransport, timeSignatureDenominator) + 2 == 100,
              "clap_event_transport's layout");

struct ClapInputEvents {
    void* ctx;
    std::uint32_t(CLAP_ABI* size)(const ClapInputEvents* list);
    const ClapEventHeader*(CLAP_ABI* get)(const ClapInputEvents* list, std::uint32_t index);
};

struct ClapOutputEvents {
    void* ctx;
    bool(CLAP_ABI* tryPush)(const ClapOutputEvents* list, const ClapEventHeader* event);
};

// Processing.
struct ClapAudioBuffer {
    float** data32;
    double** data64;
    std::uint32_t channelCount;
    std::uint32_t latency;
    std::uint64_t constantMask;
};

struct ClapProcess {
    std::int64_t steadyTime;
    std::uint32_t framesCount;
    const ClapEventTransport* transport;
    const ClapAudioBuffer* audioInputs;
    ClapAudioBuffer* audioOutputs;
    std::uint32_t audioInputsCount;
    std::uint32_t audioOutputsCount;
    const ClapInputEvents* inEvents;
    const ClapOutputEvents* outEvents;
};
constexpr std::int32_t CLAP_PROCESS_ERROR = 0;
constexpr std::int32_t CLAP_PROCESS_CONTINUE = 1;

// Extension IDs.
constexpr const char* CLAP_PLUGIN_FACTORY_ID = "clap.plugin-factory";
constexpr const char* CLAP_EXT_AUDIO_PORTS = "clap.audio-ports";
constexpr const char* CLAP_EXT_PARAMS = "clap.params";
constexpr const char* CLAP_EXT_STATE = "clap.state";
constexpr const char* CLAP_EXT_GUI = "clap.gui";
constexpr const char* CLAP_EXT_TIMER_SUPPORT = "clap.timer-support";
constexpr const char* CLAP_EXT_LOG = "clap.log";
constexpr const char* CLAP_WINDOW_API_X11 = "x11";
constexpr const char* CLAP_WINDOW_API_WIN32 = "win32";

// audio-ports
constexpr std::uint32_t CLAP_AUDIO_PORT_IS_MAIN = 1;
constexpr const char* CLAP_PORT_STEREO = "stereo";

struct ClapAudioPortInfo {
    ClapId id;
    char name[CLAP_NAME_SIZE];
    std::uint32_t flags;
    std::uint32_t channelCount;
    const char* portType;
    ClapId inPlacePair;
};

struct ClapPluginAudioPorts {
    std::uint32_t(CLAP_ABI* count)(const ClapPlugin* plugin, bool isInput);
    bool(CLAP_ABI* get)(const ClapPlugin* plugin, std::uint32_t index, bool isInput,
                        ClapAudioPortInfo* info);
};

// params
constexpr std::uint32_t CLAP_PARAM_IS_STEPPED = 0x1;
constexpr std::uint32_t CLAP_PARAM_IS_READONLY = 0x8;
constexpr std::uint32_t CLAP_PARAM_IS_AUTOMATABLE = 0x20;
constexpr std::uint32_t CLAP_PARAM_IS_ENUM = 0x10000;
constexpr std::uint32_t CLAP_PARAM_RESCAN_VALUES = 1;

struct ClapParamInfo {
    ClapId id;
    std::uint32_t flags;
    void* cookie;
    char name[CLAP_NAME_SIZE];
    char module[CLAP_PATH_SIZE];
    double minValue;
    double maxValue;
    double defaultValue;
};

struct ClapPluginParams {
    std::uint32_t(CLAP_ABI* count)(const ClapPlugin* plugin);
    bool(CLAP_ABI* getInfo)(const ClapPlugin* plugin, std::uint32_t index, ClapParamInfo* info);
    bool(CLAP_ABI* getValue)(const ClapPlugin* plugin, ClapId id, double* value);
    bool(CLAP_ABI* valueToText)(const ClapPlugin* plugin, ClapId id, double value, char* text,
                                std::uint32_t capacity);
    bool(CLAP_ABI* textToValue)(const ClapPlugin* plugin, ClapId id, const char* text,
                                double* value);
    void(CLAP_ABI* flush)(const ClapPlugin* plugin, const ClapInputEvents* in,
                          const ClapOutputEvents* out);
};

struct ClapHostParams {
    void(CLAP_ABI* rescan)(const ClapHost* host, std::uint32_t flags);
    void(CLAP_ABI* clear)(const ClapHost* host, ClapId id, std::uint32_t flags);
    void(CLAP_ABI* requestFlush)(const ClapHost* host);
};

// state
struct ClapIstream {
    void* ctx;
    std::int64_t(CLAP_ABI* read)(const ClapIstream* stream, void* buffer, std::uint64_t size);
};
struct ClapOstream {
    void* ctx;
    std::int64_t(CLAP_ABI* write)(const ClapOstream* stream, const void* buffer,
                                  std::uint64_t size);
};
struct ClapPluginState {
    bool(CLAP_ABI* save)(const ClapPlugin* plugin, const ClapOstream* stream);
    bool(CLAP_ABI* load)(const ClapPlugin* plugin, const ClapIstream* stream);
};

// log
constexpr std::int32_t CLAP_LOG_WARNING = 2;
constexpr std::int32_t CLAP_LOG_ERROR = 3;
struct ClapHostLog {
    void(CLAP_ABI* log)(const ClapHost* host, std::int32_t severity, const char* message);
};

// gui and timer-support
struct ClapWindow {
    const char* api;
    union {
        void* cocoa;
        unsigned long x11;
        void* win32;
        void* ptr;
    };
};

struct ClapGuiResizeHints {
    bool canResizeHorizontally;
    bool canResizeVertically;
    bool preserveAspectRatio;
    std::uint32_t aspectRatioWidth;
    std::uint32_t aspectRatioHeight;
};

struct ClapPluginGui {
    bool(CLAP_ABI* isApiSupported)(const ClapPlugin* plugin, const char* api, bool isFloating);
    bool(CLAP_ABI* getPreferredApi)(const ClapPlugin* plugin, const char** api, bool* isFloating);
    bool(CLAP_ABI* create)(const ClapPlugin* plugin, const char* api, bool isFloating);
    void(CLAP_ABI* destroy)(const ClapPlugin* plugin);
    bool(CLAP_ABI* setScale)(const ClapPlugin* plugin, double scale);
    bool(CLAP_ABI* getSize)(const ClapPlugin* plugin, std::uint32_t* width, std::uint32_t* height);
    bool(CLAP_ABI* canResize)(const ClapPlugin* plugin);
    bool(CLAP_ABI* getResizeHints)(const ClapPlugin* plugin, ClapGuiResizeHints* hints);
    bool(CLAP_ABI* adjustSize)(const ClapPlugin* plugin, std::uint32_t* width,
                               std::uint32_t* height);
    bool(CLAP_ABI* setSize)(const ClapPlugin* plugin, std::uint32_t width, std::uint32_t height);
    bool(CLAP_ABI* setParent)(const ClapPlugin* plugin, const ClapWindow* window);
    bool(CLAP_ABI* setTransient)(const ClapPlugin* plugin, const ClapWindow* window);
    void(CLAP_ABI* suggestTitle)(const ClapPlugin* plugin, const char* title);
    bool(CLAP_ABI* show)(const ClapPlugin* plugin);
    bool(CLAP_ABI* hide)(const ClapPlugin* plugin);
};

struct ClapPluginTimerSupport {
    void(CLAP_ABI* onTimer)(const ClapPlugin* plugin, ClapId timerId);
};
struct ClapHostTimerSupport {
    bool(CLAP_ABI* registerTimer)(const ClapHost* host, std::uint32_t periodMs, ClapId* id);
    bool(CLAP_ABI* unregisterTimer)(const ClapHost* host, ClapId id);
};

}  // extern "C"

// The layouts, as hosts lay them out.
constexpr bool kClap64 = sizeof(void*) == 8;
static_assert(sizeof(ClapVersion) == 12, "ClapVersion");
static_assert(sizeof(ClapPluginEntry) == (kClap64 ? 40 : 24), "ClapPluginEntry");
static_assert(offsetof(ClapPluginEntry, getFactory) == (kClap64 ? 32 : 20), "entry");
static_assert(sizeof(ClapPluginFactory) == (kClap64 ? 24 : 12), "ClapPluginFactory");
static_assert(sizeof(ClapPluginDescriptor) == (kClap64 ? 88 : 48), "descriptor");
static_assert(offsetof(ClapPluginDescriptor, features) == (kClap64 ? 80 : 44), "descriptor");
static_assert(sizeof(ClapHost) == (kClap64 ? 88 : 48), "ClapHost");
static_assert(offsetof(ClapHost, getExtension) == (kClap64 ? 56 : 32), "ClapHost");
static_assert(sizeof(ClapPlugin) == (kClap64 ? 96 : 48), "ClapPlugin");
static_assert(sizeof(ClapProcess) == (kClap64 ? 64 : 40), "ClapProcess");
static_assert(offsetof(ClapProcess, inEvents) == (kClap64 ? 48 : 32), "ClapProcess");
static_assert(sizeof(ClapAudioBuffer) == (kClap64 ? 32 : 24), "ClapAudioBuffer");
static_assert(sizeof(ClapEventHeader) == 16, "ClapEventHeader");
static_assert(sizeof(ClapEventParamGesture) == 20, "ClapEventParamGesture");
static_assert(offsetof(ClapEventParamValue, noteId) == (kClap64 ? 32 : 24), "param value");
static_assert(sizeof(ClapEventParamValue) == (kClap64 ? 56 : 48), "param value");
static_assert(sizeof(ClapParamInfo) == 1320, "param info");
static_assert(sizeof(ClapInputEvents) == (kClap64 ? 24 : 12), "ClapInputEvents");
static_assert(sizeof(ClapOutputEvents) == (kClap64 ? 16 : 8), "ClapOutputEvents");
static_assert(sizeof(ClapIstream) == (kClap64 ? 16 : 8), "ClapIstream");
static_assert(sizeof(ClapAudioPortInfo) == (kClap64 ? 288 : 276), "port info");
static_assert(sizeof(ClapWindow) == (kClap64 ? 16 : 8), "ClapWindow");
static_assert(sizeof(ClapGuiResizeHints) == 12, "ClapGuiResizeHints");
static_assert(sizeof(ClapPluginGui) == (kClap64 ? 120 : 60), "ClapPluginGui");
static_assert(sizeof(ClapHostParams) == (kClap64 ? 24 : 12), "ClapHostParams");
static_assert(sizeof(ClapPluginParams) == (kClap64 ? 48 : 24), "ClapPluginParams");
