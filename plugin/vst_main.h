// The plug-in library's entry point, the same for every product: each defines
// VSTPluginMain as createEffect over its effect. The build defines PEVO_ENTRY as what makes
// a symbol leave the library (nothing where a module-definition file exports it instead).
#pragma once

#include "plugin/create_effect.h"
#include "plugin/vst2.h"

/// Checks the host, makes one effect and hands back its record; null when no effect could
/// be made. Each call makes an independent effect.
extern "C" PEVO_ENTRY AEffect* VSTPluginMain(audioMasterCallback audioMaster);
