#include "plugin/product_effect.h"

#include <cstring>

#include "plugin/parameter_text.h"

namespace {

float readEffect(void* source, std::int32_t index) {
    return static_cast<ProductEffect*>(source)->getParameter(index);
}

}  // namespace

ProductEffect::ProductEffect(audioMasterCallback audioMaster, const ProductIdentity& identity,
                             const ParameterTable& parameters)
    : AudioEffectX(audioMaster, identity.programs, parameters.vst2Count()),
      identity(identity),
      parameterTable(parameters) {
    setNumInputs(identity.inputs);
    setNumOutputs(identity.outputs);
}

void ProductEffect::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
    process(inputs, outputs, sampleFrames);
}

void ProductEffect::setProgramName(char* name) {
    if (name) {
        programName(curProgram.load(std::memory_order_relaxed)).set(name);
    }
}

void ProductEffect::getProgramName(char* name) {
    if (name) {
        programName(curProgram.load(std::memory_order_relaxed)).get(name);
    }
}

bool ProductEffect::getProgramNameIndexed(VstInt32, VstInt32 index, char* text) {
    if (index < 0 || index >= numPrograms || !text) {
        return false;
    }
    programName(index).get(text);
    return true;
}

void ProductEffect::getParameterName(VstInt32 index, char* text) {
    const ParameterInfo* info = offered(index);
    if (info && text) {
        copyText(text, info->name, kVstMaxParamNameLen);
    }
}

void ProductEffect::getParameterLabel(VstInt32 index, char* label) {
    const ParameterInfo* info = offered(index);
    if (info && label) {
        copyText(label, labelText(*info, textContext()), kVstMaxLabelLen);
    }
}

void ProductEffect::getParameterDisplay(VstInt32 index, char* text) {
    const ParameterInfo* info = offered(index);
    if (info && text) {
        info->format(displayPlain(index), textContext(), text);
    }
}

bool ProductEffect::canParameterBeAutomated(VstInt32 index) {
    const ParameterInfo* info = offered(index);
    return info && info->automatable;
}

const ParameterInfo* ProductEffect::offered(VstInt32 index) const {
    return index < numParams ? parameterTable.find(index) : nullptr;
}

double ProductEffect::displayPlain(VstInt32 index) {
    return plainValue(parameterTable.entries[index], getParameter(index));
}

ParameterContext ProductEffect::textContext() {
    return {getSampleRate(), &readEffect, this};
}

bool ProductEffect::getEffectName(char* name) {
    if (!name) {
        return false;
    }
    copyText(name, identity.effectName, kVstMaxEffectNameLen);
    return true;
}

bool ProductEffect::getVendorString(char* text) {
    if (!text) {
        return false;
    }
    copyText(text, identity.vendor, kVstMaxVendorStrLen);
    return true;
}

bool ProductEffect::getProductString(char* text) {
    if (!text) {
        return false;
    }
    copyText(text, identity.productString, kVstMaxProductStrLen);
    return true;
}

VstInt32 ProductEffect::getVendorVersion() {
    return identity.vendorVersion;
}

VstInt32 ProductEffect::getPlugCategory() {
    return identity.vst2Category;
}

VstIntPtr ProductEffect::vendorSpecific(VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    if (index == kPanelSnapshotIndex && value == kPanelDataValue && ptr) {
        return panelData(*static_cast<PanelDataPiece*>(ptr)) ? 1 : 0;
    }
    if (index != kPanelSnapshotIndex || value != kPanelSnapshotValue || !ptr || !editor) {
        return AudioEffectX::vendorSpecific(index, value, ptr, opt);
    }
    return editor->snapshot(*static_cast<PanelSnapshot*>(ptr)) ? 1 : 0;
}

bool ProductEffect::panelData(PanelDataPiece&) {
    return false;
}

bool ProductEffect::acceptsBlock(float* const* inputs, float* const* outputs,
                                 VstInt32 frames) const {
    if (frames < 0) {
        return false;
    }
    if (frames == 0) {
        return true;
    }
    if (!inputs || !outputs) {
        return false;
    }
    for (std::int32_t c = 0; c < identity.inputs; ++c) {
        if (!inputs[c]) {
            return false;
        }
    }
    for (std::int32_t c = 0; c < identity.outputs; ++c) {
        if (!outputs[c]) {
            return false;
        }
    }
    return true;
}

void ProductEffect::passThrough(float* const* inputs, float* const* outputs,
                                std::uint32_t frames) const {
    for (std::int32_t c = 0; c < identity.outputs && c < identity.inputs; ++c) {
        if (inputs[c] != outputs[c]) {
            std::memmove(outputs[c], inputs[c], frames * sizeof(float));
        }
    }
}
