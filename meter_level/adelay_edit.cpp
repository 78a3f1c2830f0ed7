#include "meter_level/adelay_edit.h"

#include "meter_level/ad_editor.h"

ADelayEdit::ADelayEdit(audioMasterCallback audioMaster) : ADelay(audioMaster) {
    setUniqueID(identity.vst2UniqueId);
    new ADEditor(this);  // registers itself; the effect owns it from now on
}

ADelayEdit::~ADelayEdit() = default;

void ADelayEdit::setParameter(VstInt32 index, float value) {
    storeParameter(index, value);
    if (editor) {
        // Every editor of this effect is a GUI editor: its constructor is what registers it.
        static_cast<AEffGUIEditor*>(editor)->setParameter(index, value);
    }
}

bool ADelayEdit::metersShown() {
    return editor && static_cast<AEffGUIEditor*>(editor)->isShowing();
}

// The delivered effect answers with its own operations; the texts are the meter's.
bool ADelayEdit::getEffectName(char* name) {
    return ADelay::getEffectName(name);
}

bool ADelayEdit::getProductString(char* text) {
    return ADelay::getProductString(text);
}
