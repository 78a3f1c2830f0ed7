// What a loaded plug-in says about itself, as text for the console: identity, parameter
// table and program names.
#pragma once

#include <string>

#include "tools/host/hosted_plugin.h"

/// A unique ID as its four characters, with any that cannot be shown as '?'.
std::string fourCharacters(VstInt32 id);
/// The flag bits of a record in words.
std::string flagWords(VstInt32 flags);
/// Name, product, vendor, versions, unique ID, category, channels and flags.
std::string describeIdentity(HostedPlugin& plugin, const std::string& path);
/// Index, name, value, label and display text of every parameter.
std::string describeParameters(HostedPlugin& plugin);
/// Every program's name and the current one.
std::string describePrograms(HostedPlugin& plugin);
