// The Windows load hook: remembers the module the plug-in was loaded as, so that the
// toolkit finds the library's bitmaps and names its window class after it.
#include <windows.h>

#include "plugin/plugin_module.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD /*reason*/, LPVOID /*reserved*/) {
    PluginModule::setHandle(instance);
    return TRUE;
}
