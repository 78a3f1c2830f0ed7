// The effect as the plug-in delivers it: the meter effect under its own unique ID, with its
// editor, to which it passes every parameter change.
#pragma once

#include "meter_level/adelay.h"

class ADelayEdit : public ADelay {
  public:
    explicit ADelayEdit(audioMasterCallback audioMaster);
    ~ADelayEdit() override;

    /// Stores the value, then hands it to the editor, on the caller's thread.
    void setParameter(VstInt32 index, float value) override;
    bool getEffectName(char* name) override;
    bool getProductString(char* text) override;

  protected:
    /// While the editor shows them.
    bool metersShown() override;
};
