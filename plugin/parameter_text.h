// A parameter's value, label and text as its product's table describes them: what the VST 2
// effect answers with, and what a format adapter shows and reads.
#pragma once

#include "plugin/product.h"

/// The value in the parameter's own unit.
double plainValue(const ParameterInfo& info, float value);
/// The value 0..1 (a reading's may go beyond) of a plain value within the parameter's range.
float normalisedValue(const ParameterInfo& info, double plain);
/// The text of any value, as the VST 2 effect shows it; `text` holds kVstMaxLabelLen bytes.
void displayText(const ParameterInfo& info, float value, const ParameterContext& context,
                 char* text);
const char* labelText(const ParameterInfo& info, const ParameterContext& context);
/// The value a text stands for: a position's name, what displayText writes, or a number in
/// the unit (a trailing unit or label is allowed). False, `value` untouched, otherwise.
bool parseText(const ParameterInfo& info, const char* text, const ParameterContext& context,
               float* value);
/// Reads a number in front of spaces and an optional `unit` word, as a text states it.
bool parseNumber(const char* text, const char* unit, double* number);
/// Reads a number as floatText writes it, cut rather than rounded: the middle of the numbers
/// shown with that text, so that it shows the same again.
bool parseCutNumber(const char* text, const char* unit, double* number);
/// Reads the other parameters of an effect through its record, as a host does.
ParameterContext recordContext(AEffect* effect, float sampleRate);
