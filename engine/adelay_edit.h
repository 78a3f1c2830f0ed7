// The effect as the plug-in delivers it: the meter effect under its own unique ID.
#pragma once

#include "engine/adelay.h"

class ADelayEdit : public ADelay {
  public:
    explicit ADelayEdit(audioMasterCallback audioMaster);
    ~ADelayEdit() override;

    bool getEffectName(char* name) override;
    bool getProductString(char* text) override;
};
