#include "clap/extension_tables.h"

#include <cstring>

#include "clap/clap_instance.h"
#include "clap/state_blob.h"

namespace {

ClapInstance& instance(const ClapPlugin* plugin) {
    return ClapInstance::of(plugin);
}

// The plug-in record.
bool CLAP_ABI init(const ClapPlugin* plugin) {
    return instance(plugin).init();
}
void CLAP_ABI destroy(const ClapPlugin* plugin) {
    delete &instance(plugin);
}
bool CLAP_ABI activate(const ClapPlugin* plugin, double sampleRate, std::uint32_t,
                       std::uint32_t maxFrames) {
    return instance(plugin).activate(sampleRate, maxFrames);
}
void CLAP_ABI deactivate(const ClapPlugin* plugin) {
    instance(plugin).deactivate();
}
bool CLAP_ABI startProcessing(const ClapPlugin* plugin) {
    return instance(plugin).startProcessing();
}
void CLAP_ABI stopProcessing(const ClapPlugin* plugin) {
    instance(plugin).stopProcessing();
}
void CLAP_ABI reset(const ClapPlugin* plugin) {
    instance(plugin).reset();
}
std::int32_t CLAP_ABI process(const ClapPlugin* plugin, const ClapProcess* block) {
    return block ? instance(plugin).process(*block) : CLAP_PROCESS_ERROR;
}
const void* CLAP_ABI extension(const ClapPlugin* plugin, const char* id) {
    return id ? instance(plugin).extension(id) : nullptr;
}
void CLAP_ABI onMainThread(const ClapPlugin*) {}

// audio-ports: one main stereo input and one main stereo output, which may share buffers.
std::uint32_t CLAP_ABI portCount(const ClapPlugin*, bool) {
    return 1;
}
bool CLAP_ABI portInfo(const ClapPlugin*, std::uint32_t index, bool isInput,
                       ClapAudioPortInfo* info) {
    if (index != 0 || !info) {
        return false;
    }
    std::memset(info, 0, sizeof *info);
    info->id = 0;
    std::strncpy(info->name, isInput ? "Input" : "Output", sizeof info->name - 1);
    info->flags = CLAP_AUDIO_PORT_IS_MAIN;
    info->channelCount = 2;
    info->portType = CLAP_PORT_STEREO;
    info->inPlacePair = 0;
    return true;
}
constexpr ClapPluginAudioPorts kAudioPorts = {portCount, portInfo};

// params
std::uint32_t CLAP_ABI paramCount(const ClapPlugin* plugin) {
    return instance(plugin).parameters().count();
}
bool CLAP_ABI paramInfo(const ClapPlugin* plugin, std::uint32_t index, ClapParamInfo* info) {
    return info && instance(plugin).parameters().info(index, *info);
}
bool CLAP_ABI paramValue(const ClapPlugin* plugin, ClapId id, double* value) {
    return value && instance(plugin).parameters().value(id, *value);
}
bool CLAP_ABI valueToText(const ClapPlugin* plugin, ClapId id, double value, char* text,
                          std::uint32_t capacity) {
    return text && capacity > 0 && instance(plugin).parameters().text(id, value, text, capacity);
}
bool CLAP_ABI textToValue(const ClapPlugin* plugin, ClapId id, const char* text, double* value) {
    return text && value && instance(plugin).parameters().parse(id, text, *value);
}
void CLAP_ABI flush(const ClapPlugin* plugin, const ClapInputEvents* in,
                    const ClapOutputEvents* out) {
    instance(plugin).flush(in, out);
}
constexpr ClapPluginParams kParams = {paramCount,  paramInfo,   paramValue,
                                      valueToText, textToValue, flush};

// state
bool CLAP_ABI saveState(const ClapPlugin* plugin, const ClapOstream* stream) {
    return stream && StateBlob::save(instance(plugin), *stream);
}
bool CLAP_ABI loadState(const ClapPlugin* plugin, const ClapIstream* stream) {
    return stream && StateBlob::load(instance(plugin), *stream);
}
constexpr ClapPluginState kState = {saveState, loadState};

// gui and its timer
bool CLAP_ABI apiSupported(const ClapPlugin*, const char* api, bool isFloating) {
    return PanelHost::supports(api, isFloating);
}
bool CLAP_ABI preferredApi(const ClapPlugin*, const char** api, bool* isFloating) {
    if (!api || !isFloating) {
        return false;
    }
    *api = PanelHost::windowApi();
    *isFloating = false;
    return true;
}
bool CLAP_ABI createPanel(const ClapPlugin* plugin, const char* api, bool isFloating) {
    return instance(plugin).panel().create(api, isFloating);
}
void CLAP_ABI destroyPanel(const ClapPlugin* plugin) {
    instance(plugin).panel().destroy();
}
bool CLAP_ABI setScale(const ClapPlugin*, double) {
    return false;  // sizes are physical pixels at the system's own scale
}
bool CLAP_ABI panelSize(const ClapPlugin* plugin, std::uint32_t* width, std::uint32_t* height) {
    return width && height && instance(plugin).panel().size(*width, *height);
}
bool CLAP_ABI canResize(const ClapPlugin*) {
    return false;
}
bool CLAP_ABI resizeHints(const ClapPlugin*, ClapGuiResizeHints* hints) {
    if (!hints) {
        return false;
    }
    *hints = {false, false, false, 0, 0};  // the panel keeps its size
    return true;
}
bool CLAP_ABI adjustSize(const ClapPlugin* plugin, std::uint32_t* width, std::uint32_t* height) {
    return width && height && instance(plugin).panel().size(*width, *height);
}
bool CLAP_ABI setSize(const ClapPlugin* plugin, std::uint32_t width, std::uint32_t height) {
    std::uint32_t fixedWidth = 0;
    std::uint32_t fixedHeight = 0;
    return instance(plugin).panel().size(fixedWidth, fixedHeight) && width == fixedWidth &&
           height == fixedHeight;
}
bool CLAP_ABI setParent(const ClapPlugin* plugin, const ClapWindow* window) {
    return window && instance(plugin).panel().setParent(window->ptr);
}
bool CLAP_ABI setTransient(const ClapPlugin*, const ClapWindow*) {
    return false;
}
void CLAP_ABI suggestTitle(const ClapPlugin*, const char*) {}
bool CLAP_ABI show(const ClapPlugin* plugin) {
    return instance(plugin).panel().show();
}
bool CLAP_ABI hide(const ClapPlugin* plugin) {
    return instance(plugin).panel().hide();
}
constexpr ClapPluginGui kGui = {apiSupported, preferredApi, createPanel,  destroyPanel, setScale,
                                panelSize,    canResize,    resizeHints,  adjustSize,   setSize,
                                setParent,    setTransient, suggestTitle, show,         hide};

void CLAP_ABI onTimer(const ClapPlugin* plugin, ClapId timer) {
    instance(plugin).panel().tick(timer);
}
constexpr ClapPluginTimerSupport kTimerSupport = {onTimer};

}  // namespace

ClapPlugin clapPluginRecord() {
    return {nullptr,         nullptr,        init,  destroy, activate,  deactivate,
            startProcessing, stopProcessing, reset, process, extension, onMainThread};
}

const void* clapExtension(const char* id, bool withPanel) {
    if (std::strcmp(id, CLAP_EXT_AUDIO_PORTS) == 0) {
        return &kAudioPorts;
    }
    if (std::strcmp(id, CLAP_EXT_PARAMS) == 0) {
        return &kParams;
    }
    if (std::strcmp(id, CLAP_EXT_STATE) == 0) {
        return &kState;
    }
    if (withPanel && std::strcmp(id, CLAP_EXT_GUI) == 0) {
        return &kGui;
    }
    if (withPanel && std::strcmp(id, CLAP_EXT_TIMER_SUPPORT) == 0) {
        return &kTimerSupport;
    }
    return nullptr;
}
