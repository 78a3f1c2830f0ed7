// Where each port of a product's LV2 plug-in sits and what it carries, worked out from the
// product's parameter table alone: the plug-in and its description both read it, so no port
// is described twice. Audio first (two inputs, two outputs), then one control port per
// parameter in table order (an input for a setting, an output for a reading), then the atom
// input that carries the host's transport and the UI's requests, and the atom output that
// carries the panel's data to the UI.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "plugin/vst2.h"

struct ParameterInfo;
struct ParameterTable;

/// One parameter as a control port: its value in the parameter's own unit (a switch's
/// position by number), which the effect sees as a value from 0 to 1.
struct ControlPort {
    VstInt32 parameter;
    bool output;  ///< a reading
    std::string symbol;
    std::string name;
    std::string unit;  ///< empty for none
    double minimum;
    double maximum;
    double defaultValue;
    /// Names of a switch's positions, numbered from 0; empty for other parameters.
    std::vector<std::string> positions;
    bool trigger;               ///< acts when set to 1; the host sets it back
    const ParameterInfo* info;  ///< the table's entry

    /// The effect's value for a port value: from 0 to 1 for a setting.
    float effectValue(float portValue) const;
    /// The port value for the effect's value from 0 to 1, within the port's range.
    float portValue(float effectValue) const;
};

class PortLayout {
  public:
    static constexpr std::uint32_t kAudioInputs = 0;  ///< left, right
    static constexpr std::uint32_t kAudioOutputs = 2;
    static constexpr std::uint32_t kChannels = 2;
    static constexpr std::uint32_t kFirstControl = 4;

    explicit PortLayout(const ParameterTable& table);

    /// A name made a C identifier, as port symbols and file names must be.
    static std::string symbolOf(const std::string& name);

    const std::vector<ControlPort>& controls() const { return controlPorts; }
    /// The port of the host's transport (time:Position in an atom sequence).
    std::uint32_t transportPort() const {
        return kFirstControl + static_cast<std::uint32_t>(controlPorts.size());
    }
    /// The port of what the product's panel keeps beyond values (an atom sequence out).
    std::uint32_t panelDataPort() const { return transportPort() + 1; }
    std::uint32_t portCount() const { return panelDataPort() + 1; }

  private:
    std::vector<ControlPort> controlPorts;
};
