// Process-wide state of the loaded plug-in library, shared by all its effect instances.
#pragma once

class PluginModule {
  public:
    /// The library's module handle (the instance handle on Windows), stored by the load
    /// hook; null where the platform has none to store.
    static void* handle();
    static void setHandle(void* moduleHandle);

    /// Set when an effect could not create its editor; never cleared. `main` refuses to
    /// hand out effects while it is set.
    static bool outOfMemory();
    static void setOutOfMemory();
};
