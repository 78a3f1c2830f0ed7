#include "engine/adelay_edit.h"

#include "gui/aeff_gui_editor.h"

ADelayEdit::ADelayEdit(audioMasterCallback audioMaster) : ADelay(audioMaster) {
    setUniqueID(fourCharCode('P', 'e', 'v', 'o'));
}

ADelayEdit::~ADelayEdit() = default;

void ADelayEdit::setParameter(VstInt32 index, float value) {
    ADelay::setParameter(index, value);
    if (editor) {
        // Every editor of this effect is a GUI editor: its constructor is what registers it.
        static_cast<AEffGUIEditor*>(editor)->setParameter(index, value);
    }
}

bool ADelayEdit::getEffectName(char* name) {
    if (!name) {
        return false;
    }
    copyText(name, "Pevo", kVstMaxEffectNameLen);
    return true;
}

bool ADelayEdit::getProductString(char* text) {
    if (!text) {
        return false;
    }
    copyText(text, "Pevo level meter", kVstMaxProductStrLen);
    return true;
}
