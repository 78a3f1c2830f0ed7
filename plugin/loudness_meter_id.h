// The unique ID of the family's loudness meter, which hosts and tools recognise it by: it
// answers the panel snapshot request as Pevo does.
#pragma once

#include "plugin/vst2.h"

constexpr VstInt32 kLoudnessMeterUniqueId = fourCharCode('P', 'e', 'v', 'L');
