#include "engine/adelay_edit.h"

#include "gui/aeff_gui_editor.h"

ADelayEdit::ADelayEdit(audioMasterCallback audioMaster) : ADelay(audioMaster) {
    setUniqueID(fourCharCode('P', 'e', 'v', 'o'));
}

ADelayEdit::~ADelayEdit() = default;

void ADelayEdit::setParameter(VstInt32 index, float value) {
    storeParameter(index, value);
    if (editor) {
        // Every editor of this effect is a GUI editor: its constructor is what registers it.
        static_cast<AEffGUIEditor*>(editor)->setParameter(index, value);
    }
}

// The delivered effect answers with its own operations; the texts are the meter's.
bool ADelayEdit::getEffectName(char* name) {
    return ADelay::getEffectName(name);
}

bool ADelayEdit::getProductString(char* text) {
    return ADelay::getProductString(text);
}
