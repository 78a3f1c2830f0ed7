// The fixed tables of functions a CLAP host calls through: the plug-in record and each
// extension the adapter offers, every slot filled, each leading to the instance behind it.
#pragma once

#include "clap/clap_abi.h"

/// A plug-in record with every slot set; the caller fills in `desc` and `pluginData`.
ClapPlugin clapPluginRecord();

/// The extension table for `id`, or null for any other ID; the panel's tables only for a
/// product with a panel.
const void* clapExtension(const char* id, bool withPanel);
