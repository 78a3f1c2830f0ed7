// Root of the effect classes: owns the record handed to the host, answers the basic
// requests (opcodes 0 to 24) and offers the host requests every effect needs.
#pragma once

#include <atomic>
#include <cstddef>

#include "plugin/aeff_editor.h"
#include "plugin/vst2.h"

class AudioEffect {
  public:
    AudioEffect(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams);
    AudioEffect(const AudioEffect&) = delete;
    AudioEffect& operator=(const AudioEffect&) = delete;

    /// Deletes the editor, if any.
    virtual ~AudioEffect();

    virtual void setParameter(VstInt32 index, float value);
    virtual float getParameter(VstInt32 index);
    /// Sets the parameter, then tells the host (audioMasterAutomate).
    virtual void setParameterAutomated(VstInt32 index, float value);

    virtual void process(float** inputs, float** outputs, VstInt32 sampleFrames) = 0;
    virtual void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames);

    /// Answers opcodes 0 to 24; every other opcode answers 0.
    virtual VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                 float opt);

    virtual void open();
    virtual void close();

    virtual VstInt32 getProgram();
    /// The caller guarantees 0 <= program < numPrograms.
    virtual void setProgram(VstInt32 program);
    virtual void setProgramName(char* name);
    virtual void getProgramName(char* name);

    virtual void getParameterLabel(VstInt32 index, char* label);
    virtual void getParameterDisplay(VstInt32 index, char* text);
    virtual void getParameterName(VstInt32 index, char* text);

    virtual float getVu();
    virtual VstInt32 getChunk(void** data, bool isPreset);
    virtual VstInt32 setChunk(void* data, VstInt32 byteSize, bool isPreset);

    virtual void setSampleRate(float newSampleRate);
    virtual void setBlockSize(VstInt32 newBlockSize);
    virtual void suspend();
    virtual void resume();

    virtual void setUniqueID(VstInt32 id);
    virtual void setNumInputs(VstInt32 inputs);
    virtual void setNumOutputs(VstInt32 outputs);
    virtual void hasVu(bool state = true);
    virtual void hasClip(bool state = true);
    virtual void canMono(bool state = true);
    virtual void canProcessReplacing(bool state = true);
    virtual void programsAreChunks(bool state = true);
    virtual void setRealtimeQualities(VstInt32 qualities);
    virtual void setOfflineQualities(VstInt32 qualities);
    virtual void setInitialDelay(VstInt32 delay);

    virtual float getSampleRate();
    virtual VstInt32 getBlockSize();

    virtual VstInt32 getMasterVersion();
    virtual VstInt32 getCurrentUniqueId();
    virtual void masterIdle();
    virtual bool isInputConnected(VstInt32 input);
    virtual bool isOutputConnected(VstInt32 output);

    // Value-to-text operations; each writes at most 8 characters and a terminator.
    /// "-oo" for value <= 0, else the value in decibels.
    virtual void dB2string(float value, char* text);
    /// Named with the unit's symbol, capital H and all: the interface's own name.
    virtual void Hz2string(float samples, char* text);  // NOLINT(readability-identifier-naming)
    virtual void ms2string(float samples, char* text);
    /// Fixed-point text, digits truncated, never rounded.
    virtual void float2string(float value, char* text);
    /// Right-aligned in 7 columns; "Huge!" from 100000000 upwards.
    virtual void long2string(VstInt32 value, char* text);

    AEffect* getAeffect() { return &cEffect; }
    /// Registers the editor (owned from now on) and sets or clears the has-editor flag.
    void setEditor(AEffEditor* newEditor);
    /// An editor that goes away first (its construction failed) is no longer the effect's.
    void forgetEditor(AEffEditor* gone);

  protected:
    /// Sends a request to the host; answers 0 without a host callback.
    VstIntPtr callHost(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f);
    void setFlag(VstInt32 flag, bool state);
    /// The editor requests: get-rect, open, close and idle; 0 without an editor.
    VstIntPtr dispatchEditor(VstInt32 opcode, void* ptr);
    /// Copies at most `size` - 1 characters of `source` and a terminator into `text`.
    static void copyText(char* text, const char* source, std::size_t size);

    /// Set by the host's thread, read by parameter changes from any thread.
    std::atomic<float> sampleRate{44100.0f};
    AEffEditor* editor = nullptr;
    audioMasterCallback audioMaster;
    VstInt32 numPrograms;
    VstInt32 numParams;
    /// Selected on one thread, read on any.
    std::atomic<VstInt32> curProgram{0};
    VstInt32 blockSize = 1024;
    AEffect cEffect;
};
