// The UI library's entry point: one descriptor per panel, each with the idle interface.
#include <lv2/ui/ui.h>

#include <array>
#include <cstring>
#include <string>
#include <utility>

#include "lv2/ui/lv2_panels.h"
#include "lv2/ui_uri.h"
#include "plugin/product.h"

namespace {

Lv2PanelUi* uiOf(LV2UI_Handle handle) {
    return static_cast<Lv2PanelUi*>(handle);
}

template <std::uint32_t kIndex>
LV2UI_Handle instantiate(const LV2UI_Descriptor* descriptor, const char* pluginUri,
                         const char* bundle, LV2UI_Write_Function write,
                         LV2UI_Controller controller, LV2UI_Widget* widget,
                         const LV2_Feature* const* features) {
    (void)descriptor;
    (void)pluginUri;
    (void)bundle;
    // Nothing may escape to the host: every failure answers null.
    try {
        const Lv2Panel& panel = *lv2Panel(kIndex);
        auto* ui = new Lv2PanelUi(panel.parameters, panel.make, write, controller, features);
        *widget = ui->widget();
        if (!*widget) {
            delete ui;
            return nullptr;
        }
        return ui;
    } catch (...) {
        return nullptr;
    }
}

void cleanup(LV2UI_Handle handle) {
    delete uiOf(handle);
}

void portEvent(LV2UI_Handle handle, std::uint32_t port, std::uint32_t size, std::uint32_t format,
               const void* buffer) {
    uiOf(handle)->portEvent(port, size, format, buffer);
}

int idle(LV2UI_Handle handle) {
    return uiOf(handle)->idle();
}

const void* extensionData(const char* uri) {
    static const LV2UI_Idle_Interface idleInterface{&idle};
    return std::strcmp(uri, LV2_UI__idleInterface) == 0 ? &idleInterface : nullptr;
}

template <std::uint32_t kIndex>
LV2UI_Descriptor descriptorOf() {
    static const std::string uri = uiUriOf(lv2Panel(kIndex)->identity.lv2Uri);
    return {uri.c_str(), &instantiate<kIndex>, &cleanup, &portEvent, &extensionData};
}

template <std::uint32_t... kIndices>
std::array<LV2UI_Descriptor, kLv2PanelCount> descriptorsOf(
    std::integer_sequence<std::uint32_t, kIndices...>) {
    return {descriptorOf<kIndices>()...};
}

}  // namespace

extern "C" LV2_SYMBOL_EXPORT const LV2UI_Descriptor* lv2ui_descriptor(std::uint32_t index) {
    static const auto descriptors =
        descriptorsOf(std::make_integer_sequence<std::uint32_t, kLv2PanelCount>());
    return index < descriptors.size() ? &descriptors[index] : nullptr;
}
