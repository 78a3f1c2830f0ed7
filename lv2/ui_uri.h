// The URI of a plug-in's UI, for the UI library and the Turtle that names it.
#pragma once

#include <string>

inline std::string uiUriOf(const char* pluginUri) {
    return std::string(pluginUri) + "-ui";
}
