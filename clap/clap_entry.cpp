// The library's one exported symbol: the entry a CLAP host looks up, with the factory over
// both meters. The build defines PEVO_CLAP_EXPORT as what makes the symbol leave the library.
#include <cstring>
#include <mutex>

#include "clap/clap_abi.h"
#include "clap/plugin_factory.h"
#include "meter_level/level_meter_product.h"
#include "meter_loudness/loudness_meter_product.h"

namespace {

std::mutex entryMutex;
int initCount = 0;

/// Made on first use, kept until the library is unloaded: descriptors stay valid.
const PluginFactory& factory() {
    static const PluginFactory carried({&levelMeterProduct(), &loudnessMeterProduct()});
    return carried;
}

bool CLAP_ABI init(const char*) {
    const std::lock_guard<std::mutex> lock(entryMutex);
    ++initCount;
    return true;
}

void CLAP_ABI deinit() {
    const std::lock_guard<std::mutex> lock(entryMutex);
    if (initCount > 0) {
        --initCount;
    }
}

const void* CLAP_ABI getFactory(const char* id) {
    {
        const std::lock_guard<std::mutex> lock(entryMutex);
        if (initCount == 0) {
            return nullptr;
        }
    }
    return id && std::strcmp(id, CLAP_PLUGIN_FACTORY_ID) == 0 ? factory().table() : nullptr;
}

}  // namespace

extern "C" PEVO_CLAP_EXPORT const ClapPluginEntry clap_entry = {CLAP_VERSION, init, deinit,
                                                                getFactory};
