#include "plugin/plugin_module.h"

namespace {

void* moduleHandle = nullptr;
bool outOfMemoryFlag = false;

}  // namespace

void* PluginModule::handle() {
    return moduleHandle;
}
void PluginModule::setHandle(void* handle) {
    moduleHandle = handle;
}

bool PluginModule::outOfMemory() {
    return outOfMemoryFlag;
}
void PluginModule::setOutOfMemory() {
    outOfMemoryFlag = true;
}
