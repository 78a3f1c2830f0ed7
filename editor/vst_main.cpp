// Pevo's entry point: the common one over the delivered effect.
#include "plugin/vst_main.h"

#include "editor/adelay_edit.h"

AEffect* VSTPluginMain(audioMasterCallback audioMaster) {
    return createEffect<ADelayEdit>(audioMaster);
}
