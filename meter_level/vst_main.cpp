// Pevo's entry point: the common one over the level meter.
#include "plugin/vst_main.h"

#include "meter_level/level_meter_product.h"

AEffect* VSTPluginMain(audioMasterCallback audioMaster) {
    return levelMeterProduct().create(audioMaster);
}
