// The value-to-text operations of AudioEffect, over the shared parameter texts.
#include "plugin/audio_effect.h"
#include "plugin/value_text.h"

void AudioEffect::float2string(float value, char* text) {
    floatText(value, text);
}

void AudioEffect::dB2string(float value, char* text) {
    decibelText(value, text);
}

void AudioEffect::long2string(VstInt32 value, char* text) {
    longText(value, text);
}

void AudioEffect::Hz2string(float samples, char* text) {
    floatText(samples == 0.0f ? 0.0f : sampleRate / samples, text);
}

void AudioEffect::ms2string(float samples, char* text) {
    floatText(samples * 1000.0f / sampleRate, text);
}
