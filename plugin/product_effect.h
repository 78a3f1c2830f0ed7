// What every product's effect answers alike, from its identity record and parameter table:
// its names, version and category, its parameters' names, labels, texts and automation, and
// the panel snapshot request; and what each does with audio alike: the buffer check and the
// pass-through.
#pragma once

#include <cstdint>

#include "plugin/audio_effect_x.h"
#include "plugin/panel_data.h"
#include "plugin/product.h"
#include "plugin/program_name.h"

class ProductEffect : public AudioEffectX {
  public:
    /// Announces the product's channels, programs and parameters; both records outlive it.
    ProductEffect(audioMasterCallback audioMaster, const ProductIdentity& identity,
                  const ParameterTable& parameters);

    /// Both are the same for an effect that passes its input through: it writes its outputs.
    void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;
    void setProgramName(char* name) override;
    void getProgramName(char* name) override;
    bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) override;

    void getParameterName(VstInt32 index, char* text) override;
    void getParameterLabel(VstInt32 index, char* label) override;
    /// The table's text of the parameter's value, as displayPlain gives it.
    void getParameterDisplay(VstInt32 index, char* text) override;
    bool canParameterBeAutomated(VstInt32 index) override;

    bool getEffectName(char* name) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;
    VstInt32 getVendorVersion() override;
    VstInt32 getPlugCategory() override;
    /// Answers the panel snapshot request through the editor and the panel data request
    /// through panelData; 0 for every other vendor's request.
    VstIntPtr vendorSpecific(VstInt32 index, VstIntPtr value, void* ptr, float opt) override;

  protected:
    /// Whether a block may be processed: no buffer is read for no frames, so an empty block
    /// passes even without buffers; a negative count never does.
    bool acceptsBlock(float* const* inputs, float* const* outputs, VstInt32 frames) const;
    /// Copies each input channel to its output, unless they are the same buffer.
    void passThrough(float* const* inputs, float* const* outputs, std::uint32_t frames) const;
    /// The parameter's value in its unit for its text: the value's own by default; an
    /// effect may give a more precise one.
    virtual double displayPlain(VstInt32 index);
    /// The table's entry of a parameter VST 2 hosts see; null for any other index.
    const ParameterInfo* offered(VstInt32 index) const;
    /// The stored name of program `program`, 0 <= program < numPrograms.
    virtual ProgramName& programName(VstInt32 program) = 0;
    /// What the texts read besides the value: the sample rate and the other parameters.
    virtual ParameterContext textContext();
    /// The next piece of what the panel keeps beyond parameter values (plugin/panel_data.h),
    /// on the thread that processes; false: nothing to send. A product without such data
    /// keeps this one.
    virtual bool panelData(PanelDataPiece& piece);

    const ProductIdentity& identity;
    const ParameterTable& parameterTable;
};
