// The loudness meter's entry point: the common one over the loudness meter.
#include "plugin/vst_main.h"

#include "meter_loudness/loudness_meter_product.h"

AEffect* VSTPluginMain(audioMasterCallback audioMaster) {
    return loudnessMeterProduct().create(audioMaster);
}
