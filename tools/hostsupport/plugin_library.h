// How a host loads a plug-in library and finds its entry point. One implementation per
// platform; the library stays loaded as long as the object lives.
#pragma once

#include <memory>
#include <string>

#include "plugin/vst2.h"

class PluginLibrary {
  public:
    /// Null when the file cannot be loaded as a library; then `error`, if given, says why.
    static std::unique_ptr<PluginLibrary> open(const std::string& path,
                                               std::string* error = nullptr);
    /// The exported function `symbol`, or null.
    VstPluginMainProc entry(const char* symbol) const;
    /// The exported data object `symbol` (such as a CLAP entry record), or null.
    const void* data(const char* symbol) const;
    ~PluginLibrary();

    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

  private:
    explicit PluginLibrary(void* handle) : handle(handle) {}

    void* handle;  ///< the system's handle of the loaded library
};
