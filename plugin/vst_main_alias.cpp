// Hosts of the 2.3 generation look the entry point up as `main`. An assembler label gives
// it that symbol name without declaring a C++ `main`.
#include "plugin/vst_main.h"

extern "C" PEVO_ENTRY AEffect* legacyMain(audioMasterCallback audioMaster) __asm__("main");

AEffect* legacyMain(audioMasterCallback audioMaster) {
    return VSTPluginMain(audioMaster);
}
