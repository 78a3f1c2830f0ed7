#include <windows.h>

#include "tools/hostsupport/plugin_library.h"

std::unique_ptr<PluginLibrary> PluginLibrary::open(const std::string& path, std::string* error) {
    HMODULE module = LoadLibraryA(path.c_str());
    if (!module) {
        if (error) {
            *error = "LoadLibrary error " + std::to_string(GetLastError());
        }
        return nullptr;
    }
    return std::unique_ptr<PluginLibrary>(new PluginLibrary(module));
}

VstPluginMainProc PluginLibrary::entry(const char* symbol) const {
    FARPROC address = GetProcAddress(static_cast<HMODULE>(handle), symbol);
    // GetProcAddress hands every export out under one generic function type.
    return reinterpret_cast<VstPluginMainProc>(reinterpret_cast<void*>(address));
}

const void* PluginLibrary::data(const char* symbol) const {
    return reinterpret_cast<const void*>(GetProcAddress(static_cast<HMODULE>(handle), symbol));
}

PluginLibrary::~PluginLibrary() {
    FreeLibrary(static_cast<HMODULE>(handle));
}
