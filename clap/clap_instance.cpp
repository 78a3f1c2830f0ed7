#include "clap/clap_instance.h"

#include <algorithm>

#include "clap/extension_tables.h"

namespace {

/// The instance whose effect is being made: its record cannot lead back here yet.
thread_local ClapInstance* instanceInMaking = nullptr;

/// The VST 2 version the adapter answers as a host.
constexpr VstIntPtr kHostVersion = 2400;

}  // namespace

ClapInstance::ClapInstance(const Product& product, const ClapPluginDescriptor* descriptor,
                           const ClapHost* host)
    : product(product), host(host), bridge(product), panelHost(*this) {
    plugin = clapPluginRecord();
    plugin.desc = descriptor;
    plugin.pluginData = this;
}

ClapInstance::~ClapInstance() {
    panelHost.destroy();
    if (effect) {
        effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
    }
}

bool ClapInstance::init() {
    hostParams = static_cast<const ClapHostParams*>(host->getExtension(host, CLAP_EXT_PARAMS));
    hostLog = static_cast<const ClapHostLog*>(host->getExtension(host, CLAP_EXT_LOG));
    instanceInMaking = this;
    effect = product.create(&ClapInstance::answerEffect);
    instanceInMaking = nullptr;
    if (!effect) {
        log(CLAP_LOG_ERROR, "the effect could not be made");
        return false;
    }
    effect->user = this;
    effect->dispatcher(effect, effOpen, 0, 0, nullptr, 0.0f);
    bridge.attach(effect);
    panelHost.attach(
        effect, host,
        static_cast<const ClapHostTimerSupport*>(host->getExtension(host, CLAP_EXT_TIMER_SUPPORT)));
    return true;
}

bool ClapInstance::activate(double rate, std::uint32_t frames) {
    sampleRate = rate;
    maxFrames = frames;
    bridge.setSampleRate(static_cast<float>(rate));
    effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, static_cast<float>(rate));
    effect->dispatcher(effect, effSetBlockSize, 0, static_cast<VstIntPtr>(frames), nullptr, 0.0f);
    effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);
    active = true;
    return true;
}

void ClapInstance::deactivate() {
    effect->dispatcher(effect, effMainsChanged, 0, 0, nullptr, 0.0f);
    active = false;
}

bool ClapInstance::startProcessing() {
    effect->dispatcher(effect, effStartProcess, 0, 0, nullptr, 0.0f);
    return true;
}

void ClapInstance::stopProcessing() {
    effect->dispatcher(effect, effStopProcess, 0, 0, nullptr, 0.0f);
}

void ClapInstance::reset() {
    effect->dispatcher(effect, effMainsChanged, 0, 0, nullptr, 0.0f);
    effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);
}

std::int32_t ClapInstance::process(const ClapProcess& block) {
    const std::uint32_t frames = block.framesCount;
    if (block.audioInputsCount < 1 || block.audioOutputsCount < 1 || !block.audioInputs ||
        !block.audioOutputs || frames > maxFrames) {
        return CLAP_PROCESS_ERROR;
    }
    const ClapAudioBuffer& in = block.audioInputs[0];
    const ClapAudioBuffer& out = block.audioOutputs[0];
    if (in.channelCount < 2 || out.channelCount < 2 || !in.data32 || !out.data32 || !in.data32[0] ||
        !in.data32[1] || !out.data32[0] || !out.data32[1]) {
        return CLAP_PROCESS_ERROR;
    }
    float* inputs[2] = {in.data32[0], in.data32[1]};
    float* outputs[2] = {out.data32[0], out.data32[1]};
    if (block.transport) {
        followTransport(block.transport);
    }
    const std::uint32_t count = block.inEvents ? block.inEvents->size(block.inEvents) : 0;
    if (count == 0) {
        run(inputs, outputs, 0, frames);
    } else {
        runWithEvents(block, inputs, outputs, count);
    }
    hasTime = false;  // outside process, the effect is told no time
    if (block.outEvents && edits.pending()) {
        sendEdits(block.outEvents);
    }
    return CLAP_PROCESS_CONTINUE;
}

void ClapInstance::runWithEvents(const ClapProcess& block, float* const* inputs,
                                 float* const* outputs, std::uint32_t count) {
    // Each of the host's changes takes effect at its frame: the block is run in pieces.
    const std::uint32_t frames = block.framesCount;
    std::uint32_t done = 0;
    for (std::uint32_t k = 0; k < count; ++k) {
        const ClapEventHeader* event = block.inEvents->get(block.inEvents, k);
        if (!event) {
            continue;
        }
        const std::uint32_t at = std::min(std::max(event->time, done), frames);
        run(inputs, outputs, done, at - done);
        done = at;
        if (event->spaceId == CLAP_CORE_EVENT_SPACE_ID && event->type == CLAP_EVENT_TRANSPORT &&
            event->size >= sizeof(ClapEventTransport)) {
            followTransport(reinterpret_cast<const ClapEventTransport*>(event));
        } else {
            bridge.apply(*event);
        }
    }
    run(inputs, outputs, done, frames - done);
}

void ClapInstance::followTransport(const ClapEventTransport* transport) {
    hasTime = transport != nullptr;
    if (!transport) {
        return;
    }
    timeInfo = {};
    timeInfo.sampleRate = sampleRate;
    if (transport->flags & CLAP_TRANSPORT_HAS_SECONDS_TIMELINE) {
        timeInfo.samplePos =
            static_cast<double>(transport->songPosSeconds) / CLAP_TIME_FACTOR * sampleRate;
    }
    if (transport->flags & CLAP_TRANSPORT_HAS_TEMPO) {
        timeInfo.tempo = transport->tempo;
    }
    timeInfo.flags = (transport->flags & CLAP_TRANSPORT_IS_PLAYING) ? kVstTransportPlaying : 0;
}

void ClapInstance::run(float* const* inputs, float* const* outputs, std::uint32_t offset,
                       std::uint32_t frames) {
    if (frames == 0) {
        return;
    }
    float* in[2] = {inputs[0] + offset, inputs[1] + offset};
    float* out[2] = {outputs[0] + offset, outputs[1] + offset};
    effect->processReplacing(effect, in, out, static_cast<VstInt32>(frames));
}

void ClapInstance::flush(const ClapInputEvents* in, const ClapOutputEvents* out) {
    const std::uint32_t count = in ? in->size(in) : 0;
    for (std::uint32_t k = 0; k < count; ++k) {
        if (const ClapEventHeader* event = in->get(in, k)) {
            bridge.apply(*event);
        }
    }
    sendEdits(out);
}

void ClapInstance::sendEdits(const ClapOutputEvents* out) {
    EditQueue::Edit edit{};
    while (out && edits.peek(edit)) {
        if (!bridge.tell(edit, *out)) {
            return;  // the host's list is full: the rest goes out with the next block
        }
        edits.pop(edit);
    }
}

const void* ClapInstance::extension(const char* id) const {
    return clapExtension(id, product.identity.hasPanel);
}

void ClapInstance::log(std::int32_t severity, const char* message) const {
    if (hostLog) {
        hostLog->log(host, severity, message);
    }
}

void ClapInstance::valuesChanged() const {
    if (hostParams) {
        hostParams->rescan(host, CLAP_PARAM_RESCAN_VALUES);
    }
}

void ClapInstance::queueEdit(EditQueue::Kind kind, VstInt32 index, float value) {
    if (!bridge.isSetting(index) || !edits.push({kind, index, value})) {
        return;
    }
    if (hostParams) {
        hostParams->requestFlush(host);
    } else {
        host->requestProcess(host);
    }
}

VstIntPtr ClapInstance::answerEffect(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr,
                                     void*, float opt) {
    ClapInstance* instance =
        effect && effect->user ? static_cast<ClapInstance*>(effect->user) : instanceInMaking;
    if (!instance) {
        return opcode == audioMasterVersion ? kHostVersion : 0;
    }
    return instance->answer(opcode, index, opt);
}

VstIntPtr ClapInstance::answer(VstInt32 opcode, VstInt32 index, float opt) {
    switch (opcode) {
        case audioMasterVersion:
            return kHostVersion;
        case audioMasterGetSampleRate:
            return static_cast<VstIntPtr>(sampleRate);
        case audioMasterGetBlockSize:
            return static_cast<VstIntPtr>(maxFrames);
        case audioMasterGetTime:
            return hasTime ? reinterpret_cast<VstIntPtr>(&timeInfo) : 0;
        case audioMasterBeginEdit:
            queueEdit(EditQueue::Kind::begin, index, 0.0f);
            return 1;
        case audioMasterAutomate:
            queueEdit(EditQueue::Kind::value, index, opt);
            return 1;
        case audioMasterEndEdit:
            queueEdit(EditQueue::Kind::end, index, 0.0f);
            return 1;
        default:
            return 0;  // the panel keeps its size
    }
}
