// The loudness meter's entry point: the common one over the loudness meter effect.
#include "meter_loudness/loudness_effect.h"
#include "plugin/vst_main.h"

AEffect* VSTPluginMain(audioMasterCallback audioMaster) {
    return createEffect<LoudnessEffect>(audioMaster);
}
