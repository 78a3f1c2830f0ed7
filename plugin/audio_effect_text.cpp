// The value-to-text operations of AudioEffect. Every text fits a host's 9-byte display
// buffer: at most 8 characters and the terminator.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "plugin/audio_effect.h"

namespace {

constexpr int kMaxChars = 8;
constexpr std::size_t kTextSize = kMaxChars + 1;
constexpr double kLargestPositive = 99999999.0;
constexpr double kLargestNegative = 9999999.0;
constexpr VstInt32 kLargestLong = 99999999;
constexpr VstInt32 kSmallestLong = -9999999;

}  // namespace

void AudioEffect::float2string(float value, char* text) {
    double v = value;
    if (std::isnan(v)) {
        copyText(text, "NaN", kTextSize);
        return;
    }
    const bool negative = v < 0.0;
    if (negative) {
        v = -v;
    }
    if (v > (negative ? kLargestNegative : kLargestPositive)) {
        copyText(text, "Huge!", kTextSize);
        return;
    }

    char out[kTextSize];
    int used = 0;
    if (negative) {
        out[used++] = '-';
    }
    char digits[16];
    const int digitCount =
        std::snprintf(digits, sizeof(digits), "%u", static_cast<unsigned>(std::floor(v)));
    std::memcpy(out + used, digits, static_cast<std::size_t>(digitCount));
    used += digitCount;
    // An integer part that fills all 8 characters goes without the point: dropping a
    // leading digit instead would show a different number.
    if (used < kMaxChars) {
        out[used++] = '.';
    }

    // Fraction digits, right to left, truncated.
    const int places = kMaxChars - used;
    double m = std::fmod(v, 1.0) * std::pow(10.0, places);
    for (int place = used + places - 1; place >= used; --place) {
        if (m <= 0.0) {
            out[place] = '0';
        } else {
            out[place] = static_cast<char>('0' + static_cast<int>(std::fmod(m, 10.0)));
            m /= 10.0;
        }
    }
    out[used + places] = '\0';
    copyText(text, out, kTextSize);
}

void AudioEffect::dB2string(float value, char* text) {
    if (value <= 0.0f) {
        copyText(text, "-oo", kTextSize);
        return;
    }
    const auto exponent = static_cast<float>(std::log10(static_cast<double>(value)));
    float2string(static_cast<float>(exponent * 20.0f), text);
}

void AudioEffect::long2string(VstInt32 value, char* text) {
    // Cutting a longer number to 8 characters would show a different number.
    if (value > kLargestLong || value < kSmallestLong) {
        copyText(text, "Huge!", kTextSize);
        return;
    }
    char out[16];
    std::snprintf(out, sizeof(out), "%7d", static_cast<int>(value));
    copyText(text, out, kTextSize);
}

void AudioEffect::Hz2string(float samples, char* text) {
    float2string(samples == 0.0f ? 0.0f : sampleRate / samples, text);
}

void AudioEffect::ms2string(float samples, char* text) {
    float2string(samples * 1000.0f / sampleRate, text);
}
