// The plug-in's side of the panel data: watches the control sequence for a UI's request, and
// from then on fills the panel data sequence after every block with the pieces the hosted
// effect has for its panel, as many as the host's buffer takes; the rest follows in the next
// blocks. Never allocates, locks or calls the system once made.
#pragma once

#include <lv2/atom/forge.h>

#include <cstdint>
#include <vector>

#include "lv2/panel_data_urids.h"

class HostedEffect;

class PanelDataSender {
  public:
    /// Sends nothing when the host maps no URIs.
    explicit PanelDataSender(const LV2_Feature* const* features);

    void connect(void* panelDataSequence) {
        output = static_cast<LV2_Atom_Sequence*>(panelDataSequence);
    }
    /// A request among the events of `control` has the whole stream sent again.
    void readRequests(const LV2_Atom_Sequence* control);
    /// Writes the output sequence: empty, or the effect's next pieces once a UI has asked.
    void send(HostedEffect& effect);

  private:
    /// Bytes around a piece in the sequence: its event, object and property headers, and
    /// the padding after it.
    static constexpr std::uint32_t kPieceOverhead =
        sizeof(LV2_Atom_Event) + sizeof(LV2_Atom_Object_Body) + sizeof(LV2_Atom_Property_Body) + 8;

    /// One piece from the effect into the forge's sequence; false when none came.
    bool sendPiece(HostedEffect& effect);

    PanelDataUrids urids;
    bool mapped;
    LV2_Atom_Forge forge{};
    LV2_Atom_Sequence* output = nullptr;
    /// Whether a UI has asked: pieces go out from then on.
    bool asked = false;
    std::uint64_t cursor;
    /// Where the effect writes a piece before it goes into the sequence.
    std::vector<std::uint8_t> scratch;
};
