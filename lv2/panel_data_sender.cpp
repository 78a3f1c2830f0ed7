#include "lv2/panel_data_sender.h"

#include <lv2/atom/util.h>

#include <algorithm>

#include "lv2/hosted_effect.h"
#include "plugin/panel_data.h"

namespace {

/// The largest piece: a little less than the room the bundle asks hosts for.
constexpr std::size_t kScratchBytes = 16000;

}  // namespace

PanelDataSender::PanelDataSender(const LV2_Feature* const* features)
    : mapped(urids.map(features)), cursor(PanelDataPiece::kFromStart), scratch(kScratchBytes) {
    if (mapped) {
        lv2_atom_forge_init(&forge, const_cast<LV2_URID_Map*>(urids.host));
    }
}

void PanelDataSender::readRequests(const LV2_Atom_Sequence* control) {
    if (!mapped || !control) {
        return;
    }
    LV2_ATOM_SEQUENCE_FOREACH(control, event) {
        if (urids.isObject(&event->body, urids.request)) {
            asked = true;
            cursor = PanelDataPiece::kFromStart;
        }
    }
}

void PanelDataSender::send(HostedEffect& effect) {
    if (!output) {
        return;
    }
    if (!mapped) {
        // Room for nothing: an empty sequence of whatever type the host gave.
        output->atom.size = sizeof(LV2_Atom_Sequence_Body);
        output->body = {0, 0};
        return;
    }
    // The host tells the room it gives in the sequence's size.
    lv2_atom_forge_set_buffer(&forge, reinterpret_cast<std::uint8_t*>(output),
                              sizeof(LV2_Atom) + output->atom.size);
    LV2_Atom_Forge_Frame sequenceFrame;
    lv2_atom_forge_sequence_head(&forge, &sequenceFrame, 0);
    while (asked && sendPiece(effect)) {
    }
    lv2_atom_forge_pop(&forge, &sequenceFrame);
}

bool PanelDataSender::sendPiece(HostedEffect& effect) {
    const std::uint32_t used = forge.offset;
    if (forge.size < used + kPieceOverhead + 16) {
        return false;
    }
    PanelDataPiece piece{cursor, scratch.data(),
                         std::min<std::uint32_t>(forge.size - used - kPieceOverhead,
                                                 static_cast<std::uint32_t>(scratch.size())),
                         0};
    if (!effect.panelData(piece)) {
        return false;
    }
    cursor = piece.cursor;
    LV2_Atom_Forge_Frame objectFrame;
    lv2_atom_forge_frame_time(&forge, 0);
    lv2_atom_forge_object(&forge, &objectFrame, 0, urids.data);
    lv2_atom_forge_key(&forge, urids.piece);
    lv2_atom_forge_atom(&forge, piece.size, urids.chunk);
    lv2_atom_forge_write(&forge, scratch.data(), piece.size);
    lv2_atom_forge_pop(&forge, &objectFrame);
    return true;
}
