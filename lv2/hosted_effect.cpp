#include "lv2/hosted_effect.h"

#include "plugin/panel_data.h"

namespace {

/// The VST version this host answers to the effect's version query.
constexpr VstIntPtr kHostVersion = 2400;

}  // namespace

HostedEffect::HostedEffect(Create create, float sampleRate, VstInt32 blockSize)
    : sampleRate(sampleRate), blockSize(blockSize) {
    AEffect* made = create(&HostedEffect::answerEffect);
    if (!made || made->magic != kEffectMagic || !made->processReplacing || made->numInputs != 2 ||
        made->numOutputs != 2) {
        if (made) {
            made->dispatcher(made, effClose, 0, 0, nullptr, 0.0f);
        }
        return;
    }
    effect = made;
    // The host's field of the record leads the effect's requests back to this host.
    effect->resvd1 = reinterpret_cast<VstIntPtr>(this);
    dispatch(effOpen);
    dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate);
    dispatch(effSetBlockSize, 0, blockSize);
}

HostedEffect::~HostedEffect() {
    if (effect) {
        switchOn(false);
        dispatch(effClose);
    }
}

void HostedEffect::switchOn(bool on) {
    if (on != running) {
        running = on;
        dispatch(effMainsChanged, 0, on ? 1 : 0);
    }
}

void HostedEffect::process(float** inputs, float** outputs, std::uint32_t frames) {
    effect->processReplacing(effect, inputs, outputs, static_cast<VstInt32>(frames));
}

void HostedEffect::setParameter(VstInt32 index, float value) {
    effect->setParameter(effect, index, value);
}

float HostedEffect::getParameter(VstInt32 index) {
    return effect->getParameter(effect, index);
}

bool HostedEffect::panelData(PanelDataPiece& piece) {
    return dispatch(effVendorSpecific, kPanelSnapshotIndex, kPanelDataValue, &piece) == 1;
}

VstIntPtr HostedEffect::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                 float opt) {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

VstIntPtr HostedEffect::answerEffect(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                     VstIntPtr value, void* ptr, float opt) {
    (void)index;
    (void)value;
    (void)ptr;
    (void)opt;
    // Null while the effect is being made: its record is not yet this host's.
    const auto* host = effect ? reinterpret_cast<const HostedEffect*>(effect->resvd1) : nullptr;
    switch (opcode) {
        case audioMasterVersion:
            return kHostVersion;
        case audioMasterGetSampleRate:
            return host ? static_cast<VstIntPtr>(host->sampleRate) : 0;
        case audioMasterGetBlockSize:
            return host ? host->blockSize : 0;
        case audioMasterGetTime:
            return host ? reinterpret_cast<VstIntPtr>(host->timeInfo) : 0;
        default:
            // Automation of settings goes through the LV2 control ports, which the host owns;
            // the process level is unknown, as LV2 does not tell which thread calls.
            return 0;
    }
}
