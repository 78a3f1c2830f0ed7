#include <dlfcn.h>

#include "tools/hostsupport/plugin_library.h"

std::unique_ptr<PluginLibrary> PluginLibrary::open(const std::string& path, std::string* error) {
    // RTLD_LOCAL keeps the plug-in's symbols from meeting those of other plug-ins.
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        if (error) {
            const char* reason = dlerror();
            *error = reason ? reason : "unknown loader error";
        }
        return nullptr;
    }
    return std::unique_ptr<PluginLibrary>(new PluginLibrary(handle));
}

VstPluginMainProc PluginLibrary::entry(const char* symbol) const {
    return reinterpret_cast<VstPluginMainProc>(dlsym(handle, symbol));
}

const void* PluginLibrary::data(const char* symbol) const {
    return dlsym(handle, symbol);
}

PluginLibrary::~PluginLibrary() {
    dlclose(handle);
}
