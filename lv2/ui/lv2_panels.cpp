#include "lv2/ui/lv2_panels.h"

#include <memory>

#include "meter_level/ad_editor.h"
#include "meter_level/level_parameters.h"
#include "meter_loudness/history_stream.h"
#include "meter_loudness/loudness_panel.h"
#include "meter_loudness/loudness_readout.h"
#include "plugin/product.h"

namespace {

/// The loudness meter's readings and settings as the port events brought them, and its
/// history as the plug-in sends it.
class LoudnessStandIn : public PanelStandIn, public LoudnessReadout {
  public:
    using PanelStandIn::PanelStandIn;

    double reading(VstInt32 index) const override { return plainValue(index); }
    float settingValue(VstInt32 index) const override { return storedValue(index); }
    const LoudnessHistory& history() const override { return shortTermHistory; }

  protected:
    bool readPanelData(const void* bytes, std::uint32_t size) override {
        return HistoryStream::read(shortTermHistory, bytes, size);
    }

  private:
    LoudnessHistory shortTermHistory;
};

PanelStandIn* levelMeterStandIn(audioMasterCallback host, const ParameterTable& table) {
    auto standIn = std::make_unique<PanelStandIn>(host, table);
    new ADEditor(standIn.get());  // registers itself; the stand-in owns it from now on
    return standIn.release();
}

PanelStandIn* loudnessMeterStandIn(audioMasterCallback host, const ParameterTable& table) {
    auto standIn = std::make_unique<LoudnessStandIn>(host, table);
    new LoudnessPanel(standIn.get(), standIn.get());  // registers itself, as above
    return standIn.release();
}

}  // namespace

const Lv2Panel* lv2Panel(std::uint32_t index) {
    static const Lv2Panel panels[kLv2PanelCount] = {
        {levelMeterIdentity(), levelMeterParameters(), &levelMeterStandIn},
        {loudnessMeterIdentity(), loudnessMeterParameters(), &loudnessMeterStandIn},
    };
    return index < kLv2PanelCount ? &panels[index] : nullptr;
}
