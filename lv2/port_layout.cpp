#include "lv2/port_layout.h"

#include <cctype>
#include <cmath>

#include "plugin/product.h"

namespace {

double plainOf(const ParameterInfo& info, float value) {
    return info.plain ? info.plain(value)
                      : info.minimum + static_cast<double>(value) * (info.maximum - info.minimum);
}

float valueOfPlain(const ParameterInfo& info, double plain) {
    if (info.valueOf) {
        return info.valueOf(plain);
    }
    const double span = info.maximum - info.minimum;
    return span != 0.0 ? static_cast<float>((plain - info.minimum) / span) : 0.0f;
}

float clampedUnit(float value) {
    return value > 0.0f ? (value < 1.0f ? value : 1.0f) : 0.0f;  // not-a-number: 0
}

ControlPort portOf(std::int32_t index, const ParameterInfo& info) {
    ControlPort port{index,
                     info.kind == ParameterKind::reading,
                     "",
                     info.name,
                     info.unit ? info.unit : "",
                     info.minimum,
                     info.maximum,
                     0.0,
                     {},
                     info.kind == ParameterKind::trigger,
                     nullptr};
    if (info.kind == ParameterKind::choice && info.positions > 1) {
        for (std::int32_t k = 0; k < info.positions; ++k) {
            port.positions.emplace_back(info.positionNames[k]);
        }
        port.minimum = 0.0;
        port.maximum = static_cast<double>(info.positions - 1);
        port.defaultValue = std::round(info.defaultValue * port.maximum);
    } else if (port.trigger) {
        port.minimum = 0.0;
        port.maximum = 1.0;
    } else {
        port.defaultValue = plainOf(info, info.defaultValue);
    }
    port.info = &info;
    return port;
}

}  // namespace

float ControlPort::effectValue(float portValue) const {
    if (!positions.empty()) {
        const float last = static_cast<float>(positions.size() - 1);
        return clampedUnit(std::round(portValue) / last);
    }
    if (trigger) {
        return portValue >= 0.5f ? 1.0f : 0.0f;
    }
    // A reading's value may go beyond 1 (the level meter's carry their channel); a setting's
    // may not.
    const float value = valueOfPlain(*info, portValue);
    return output ? value : clampedUnit(value);
}

float ControlPort::portValue(float effectValue) const {
    if (!positions.empty()) {
        return std::round(clampedUnit(effectValue) * static_cast<float>(positions.size() - 1));
    }
    // Within the port's range, where hosts draw and record it: an undefined reading (minus
    // infinity) shows as the range's floor.
    const auto plain = static_cast<float>(plainOf(*info, effectValue));
    const auto lowest = static_cast<float>(minimum);
    const auto highest = static_cast<float>(maximum);
    return plain > lowest ? (plain < highest ? plain : highest) : lowest;
}

PortLayout::PortLayout(const ParameterTable& table) {
    for (std::int32_t index = 0; index < table.count; ++index) {
        ControlPort port = portOf(index, table.entries[index]);
        // Symbols must differ within a plug-in: a name made the same as an earlier one's
        // takes its parameter's number.
        port.symbol = symbolOf(port.name);
        for (const ControlPort& earlier : controlPorts) {
            if (earlier.symbol == port.symbol) {
                port.symbol += "_" + std::to_string(index);
                break;
            }
        }
        controlPorts.push_back(std::move(port));
    }
}

std::string PortLayout::symbolOf(const std::string& name) {
    std::string symbol;
    for (char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (std::isalnum(u)) {
            symbol += static_cast<char>(std::tolower(u));
        } else if (!symbol.empty() && symbol.back() != '_') {
            symbol += '_';
        }
    }
    while (!symbol.empty() && symbol.back() == '_') {
        symbol.pop_back();
    }
    if (symbol.empty() || std::isdigit(static_cast<unsigned char>(symbol.front()))) {
        symbol.insert(0, "p_");
    }
    return symbol;
}
