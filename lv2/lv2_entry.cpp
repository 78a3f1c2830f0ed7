// The plug-in library's entry point: one descriptor per product, each making instances of
// that product through the same instance class.
#include <lv2/core/lv2.h>

#include <array>
#include <utility>

#include "lv2/lv2_instance.h"
#include "lv2/lv2_products.h"
#include "plugin/product.h"

namespace {

Lv2Instance* instanceOf(LV2_Handle handle) {
    return static_cast<Lv2Instance*>(handle);
}

template <std::uint32_t kIndex>
LV2_Handle instantiate(const LV2_Descriptor* descriptor, double sampleRate, const char* bundle,
                       const LV2_Feature* const* features) {
    (void)descriptor;
    (void)bundle;
    // Nothing may escape to the host: every failure answers null.
    try {
        auto* instance = new Lv2Instance(*lv2Product(kIndex), sampleRate, features);
        if (!instance->valid()) {
            delete instance;
            return nullptr;
        }
        return instance;
    } catch (...) {
        return nullptr;
    }
}

void connectPort(LV2_Handle handle, std::uint32_t port, void* data) {
    instanceOf(handle)->connect(port, data);
}
void activate(LV2_Handle handle) {
    instanceOf(handle)->activate();
}
void run(LV2_Handle handle, std::uint32_t frames) {
    instanceOf(handle)->run(frames);
}
void deactivate(LV2_Handle handle) {
    instanceOf(handle)->deactivate();
}
void cleanup(LV2_Handle handle) {
    delete instanceOf(handle);
}
const void* extensionData(const char* uri) {
    (void)uri;
    return nullptr;
}

template <std::uint32_t kIndex>
LV2_Descriptor descriptorOf() {
    return {lv2Product(kIndex)->identity.lv2Uri,
            &instantiate<kIndex>,
            &connectPort,
            &activate,
            &run,
            &deactivate,
            &cleanup,
            &extensionData};
}

template <std::uint32_t... kIndices>
std::array<LV2_Descriptor, kLv2ProductCount> descriptorsOf(
    std::integer_sequence<std::uint32_t, kIndices...>) {
    return {descriptorOf<kIndices>()...};
}

}  // namespace

extern "C" LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(std::uint32_t index) {
    static const auto descriptors =
        descriptorsOf(std::make_integer_sequence<std::uint32_t, kLv2ProductCount>());
    return index < descriptors.size() ? &descriptors[index] : nullptr;
}
