#include "clap/parameter_bridge.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void copyText(char* to, std::size_t capacity, const std::string& text) {
    const std::size_t length = std::min(text.size(), capacity - 1);
    std::memcpy(to, text.data(), length);
    to[length] = '\0';
}

/// `text` without surrounding spaces, and without `label` at its end.
std::string bareText(const char* text, const char* label) {
    std::string bare(text);
    const auto trim = [&bare] {
        const std::size_t first = bare.find_first_not_of(' ');
        const std::size_t last = bare.find_last_not_of(' ');
        bare = first == std::string::npos ? std::string() : bare.substr(first, last - first + 1);
    };
    trim();
    const std::size_t labelLength = label ? std::strlen(label) : 0;
    if (labelLength > 0 && bare.size() > labelLength &&
        bare.compare(bare.size() - labelLength, labelLength, label) == 0) {
        bare.resize(bare.size() - labelLength);
        trim();
    }
    return bare;
}

}  // namespace

double ParameterBridge::plainOf(const ParameterInfo& entry, float value) {
    if (entry.kind == ParameterKind::choice) {
        return std::round(value * static_cast<float>(entry.positions - 1));
    }
    if (entry.plain) {
        return entry.plain(value);
    }
    return entry.minimum + static_cast<double>(value) * (entry.maximum - entry.minimum);
}

float ParameterBridge::valueOf(const ParameterInfo& entry, double plain) {
    float value = 0.0f;
    if (entry.kind == ParameterKind::choice) {
        value = entry.positions > 1 ? static_cast<float>(std::round(plain)) /
                                          static_cast<float>(entry.positions - 1)
                                    : 0.0f;
    } else if (entry.valueOf) {
        value = entry.valueOf(plain);
    } else if (entry.maximum > entry.minimum) {
        value = static_cast<float>((plain - entry.minimum) / (entry.maximum - entry.minimum));
    }
    return std::clamp(value, 0.0f, 1.0f);
}

double ParameterBridge::lowest(const ParameterInfo& entry) {
    return entry.kind == ParameterKind::choice ? 0.0 : entry.minimum;
}

double ParameterBridge::highest(const ParameterInfo& entry) {
    return entry.kind == ParameterKind::choice ? entry.positions - 1.0 : entry.maximum;
}

double ParameterBridge::plainWithin(const ParameterInfo& entry, float value) {
    const double plain = plainOf(entry, value);
    // A reading beyond its range (silence reads minus infinity) shows as the range's end.
    return std::isnan(plain) ? lowest(entry) : std::clamp(plain, lowest(entry), highest(entry));
}

bool ParameterBridge::info(std::uint32_t index, ClapParamInfo& info) const {
    const ParameterInfo* entry = table.find(static_cast<std::int32_t>(index));
    if (!entry) {
        return false;
    }
    std::memset(&info, 0, sizeof info);
    info.id = index;
    switch (entry->kind) {
        case ParameterKind::reading:
            info.flags = CLAP_PARAM_IS_READONLY;
            break;
        case ParameterKind::choice:
            info.flags = CLAP_PARAM_IS_STEPPED | CLAP_PARAM_IS_ENUM;
            break;
        case ParameterKind::trigger:
            info.flags = CLAP_PARAM_IS_STEPPED;
            break;
        case ParameterKind::continuous:
            break;
    }
    if (entry->automatable && entry->kind != ParameterKind::reading) {
        info.flags |= CLAP_PARAM_IS_AUTOMATABLE;
    }
    copyText(info.name, sizeof info.name, entry->name);
    info.minValue = lowest(*entry);
    info.maxValue = highest(*entry);
    info.defaultValue = plainWithin(*entry, entry->defaultValue);
    return true;
}

bool ParameterBridge::value(ClapId id, double& plain) const {
    const ParameterInfo* entry = table.find(static_cast<std::int32_t>(id));
    if (!entry || !effect) {
        return false;
    }
    plain = plainWithin(*entry, effectValue(static_cast<std::int32_t>(id)));
    return true;
}

bool ParameterBridge::text(ClapId id, double plain, char* text, std::uint32_t capacity) const {
    const ParameterInfo* entry = table.find(static_cast<std::int32_t>(id));
    if (!entry || !std::isfinite(plain)) {
        return false;
    }
    const ParameterContext given = context();
    char shown[kVstMaxLabelLen] = {};
    if (!entry->format) {
        return false;
    }
    entry->format(plain, given, shown);
    std::string whole = bareText(shown, nullptr);
    const char* label = entry->labelFor ? entry->labelFor(given) : entry->label;
    if (label && *label) {
        whole += ' ';
        whole += label;
    }
    copyText(text, capacity, whole);
    return true;
}

bool ParameterBridge::parse(ClapId id, const char* text, double& plain) const {
    const ParameterInfo* entry = table.find(static_cast<std::int32_t>(id));
    if (!entry) {
        return false;
    }
    const ParameterContext given = context();
    const std::string bare =
        bareText(text, entry->labelFor ? entry->labelFor(given) : entry->label);
    // A position by its name, or by the text shown for it.
    for (std::int32_t k = 0; k < entry->positions && entry->positionNames; ++k) {
        char shown[kVstMaxLabelLen] = {};
        if (entry->format) {
            entry->format(k, given, shown);
        }
        if (bare == entry->positionNames[k] || bare == bareText(shown, nullptr)) {
            plain = k;
            return true;
        }
    }
    char* end = nullptr;
    const double number = std::strtod(bare.c_str(), &end);
    const bool isNumber = !bare.empty() && *end == '\0' && std::isfinite(number);
    float value = 0.0f;
    if (entry->parse && entry->parse(bare.c_str(), given, &value)) {
        // A number the effect reads as that same value keeps its digits: the host gets
        // what was typed, not its nearest value 0..1.
        const bool typedPlain = isNumber && valueOf(*entry, number) == value;
        plain = typedPlain ? std::clamp(number, lowest(*entry), highest(*entry))
                           : plainWithin(*entry, value);
        return true;
    }
    if (!isNumber) {
        return false;
    }
    const double within = std::clamp(number, lowest(*entry), highest(*entry));
    plain = entry->kind == ParameterKind::choice ? std::round(within) : within;
    return true;
}

void ParameterBridge::apply(const ClapEventHeader& event) {
    if (event.spaceId != CLAP_CORE_EVENT_SPACE_ID || event.type != CLAP_EVENT_PARAM_VALUE ||
        event.size < sizeof(ClapEventParamValue)) {
        return;
    }
    const auto& change = reinterpret_cast<const ClapEventParamValue&>(event);
    const auto index = static_cast<std::int32_t>(change.paramId);
    if (isSetting(index) && std::isfinite(change.value)) {
        setEffectValue(index, valueOf(*table.find(index), change.value));
    }
}

bool ParameterBridge::tell(const EditQueue::Edit& edit, const ClapOutputEvents& out) const {
    const auto id = static_cast<ClapId>(edit.index);
    if (edit.kind == EditQueue::Kind::value) {
        ClapEventParamValue change{};
        change.header = {sizeof change, 0, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_PARAM_VALUE, 0};
        change.paramId = id;
        change.noteId = -1;
        change.portIndex = -1;
        change.channel = -1;
        change.key = -1;
        change.value = plainOf(*table.find(edit.index), edit.value);
        return out.tryPush(&out, &change.header);
    }
    ClapEventParamGesture gesture{};
    const std::uint16_t type = edit.kind == EditQueue::Kind::begin ? CLAP_EVENT_PARAM_GESTURE_BEGIN
                                                                   : CLAP_EVENT_PARAM_GESTURE_END;
    gesture.header = {sizeof gesture, 0, CLAP_CORE_EVENT_SPACE_ID, type, 0};
    gesture.paramId = id;
    return out.tryPush(&out, &gesture.header);
}

bool ParameterBridge::isSetting(std::int32_t index) const {
    const ParameterInfo* entry = table.find(index);
    return entry && entry->kind != ParameterKind::reading;
}

bool ParameterBridge::isStored(std::int32_t index) const {
    const ParameterInfo* entry = table.find(index);
    return entry && entry->stored;
}

float ParameterBridge::effectValue(std::int32_t index) const {
    return effect->getParameter(effect, index);
}

void ParameterBridge::setEffectValue(std::int32_t index, float value) {
    effect->setParameter(effect, index, value);
}

ParameterContext ParameterBridge::context() const {
    return {sampleRate, &ParameterBridge::readEffect, effect};
}

float ParameterBridge::readEffect(void* source, std::int32_t index) {
    auto* hosted = static_cast<AEffect*>(source);
    return hosted ? hosted->getParameter(hosted, index) : 0.0f;
}
