// The texts parameters are shown with. Each writes at most 8 characters and a terminator,
// which fits a host's display buffer (kVstMaxLabelLen bytes).
#pragma once

#include <cstddef>

#include "plugin/vst2.h"

/// Fixed-point text, digits truncated, never rounded; "Huge!" past 8 characters.
void floatText(float value, char* text);
/// Right-aligned in 7 columns; "Huge!" past 8 characters.
void longText(VstInt32 value, char* text);
/// "-oo" for a gain of 0 or less, else the gain in decibels as floatText writes it.
void decibelText(float gain, char* text);
/// Copies at most `size` - 1 characters of `source` and a terminator into `text`.
void copyBounded(char* text, const char* source, std::size_t size);
