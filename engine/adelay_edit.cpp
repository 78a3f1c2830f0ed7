#include "engine/adelay_edit.h"

ADelayEdit::ADelayEdit(audioMasterCallback audioMaster) : ADelay(audioMaster) {
    setUniqueID(fourCharCode('P', 'e', 'v', 'o'));
}

ADelayEdit::~ADelayEdit() = default;

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
