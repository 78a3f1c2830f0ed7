#include "gui/native/native_platform.h"

namespace {
CNativePlatform* installedPlatform = nullptr;
}

CNativePlatform& CNativePlatform::current() {
    return installedPlatform ? *installedPlatform : system();
}

void CNativePlatform::install(CNativePlatform* platform) {
    installedPlatform = platform;
}
