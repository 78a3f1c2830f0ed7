#include "plugin/parameter_text.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

bool sameWord(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b) {
        if (std::tolower(static_cast<unsigned char>(*a)) !=
            std::tolower(static_cast<unsigned char>(*b))) {
            return false;
        }
    }
    return *a == *b;
}

const char* skipSpaces(const char* text) {
    while (std::isspace(static_cast<unsigned char>(*text))) {
        ++text;
    }
    return text;
}

float readRecord(void* source, std::int32_t index) {
    auto* effect = static_cast<AEffect*>(source);
    return effect->getParameter(effect, index);
}

}  // namespace

double plainValue(const ParameterInfo& info, float value) {
    if (info.plain) {
        return info.plain(value);
    }
    return info.minimum + static_cast<double>(value) * (info.maximum - info.minimum);
}

float normalisedValue(const ParameterInfo& info, double plain) {
    const double within = plain < info.minimum   ? info.minimum
                          : plain > info.maximum ? info.maximum
                                                 : plain;
    if (info.valueOf) {
        return info.valueOf(within);
    }
    const double span = info.maximum - info.minimum;
    return span > 0.0 ? static_cast<float>((within - info.minimum) / span) : 0.0f;
}

void displayText(const ParameterInfo& info, float value, const ParameterContext& context,
                 char* text) {
    info.format(plainValue(info, value), context, text);
}

const char* labelText(const ParameterInfo& info, const ParameterContext& context) {
    return info.labelFor ? info.labelFor(context) : info.label;
}

bool parseText(const ParameterInfo& info, const char* text, const ParameterContext& context,
               float* value) {
    if (!text || !value) {
        return false;
    }
    const char* trimmed = skipSpaces(text);
    for (std::int32_t position = 0; position < info.positions && info.positionNames; ++position) {
        if (sameWord(trimmed, info.positionNames[position])) {
            *value = static_cast<float>(position) / static_cast<float>(info.positions - 1);
            return true;
        }
    }
    if (info.parse) {
        return info.parse(trimmed, context, value);
    }
    double number = 0.0;
    if (!parseNumber(trimmed, labelText(info, context), &number)) {
        return false;
    }
    *value = normalisedValue(info, number);
    return true;
}

bool parseNumber(const char* text, const char* unit, double* number) {
    const char* start = skipSpaces(text);
    char* end = nullptr;
    const double read = std::strtod(start, &end);
    if (end == start || !std::isfinite(read)) {
        return false;
    }
    const char* rest = skipSpaces(end);
    if (*rest != '\0' && !(unit && *unit && std::strncmp(rest, unit, std::strlen(unit)) == 0 &&
                           *skipSpaces(rest + std::strlen(unit)) == '\0')) {
        return false;
    }
    *number = read;
    return true;
}

bool parseCutNumber(const char* text, const char* unit, double* number) {
    double read = 0.0;
    if (!parseNumber(text, unit, &read)) {
        return false;
    }
    const char* point = std::strchr(text, '.');
    std::size_t places = 0;
    while (point && std::isdigit(static_cast<unsigned char>(point[places + 1]))) {
        ++places;
    }
    const double halfPlace = 0.5 * std::pow(10.0, -static_cast<double>(places));
    *number =
        read < 0.0 || (read == 0.0 && std::signbit(read)) ? read - halfPlace : read + halfPlace;
    return true;
}

ParameterContext recordContext(AEffect* effect, float sampleRate) {
    return {sampleRate, &readRecord, effect};
}
