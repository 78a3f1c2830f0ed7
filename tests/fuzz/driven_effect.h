// One effect instance driven only through its record, as a careless host would, together
// with what any host may still expect of it: every parameter reads back what was last set
// (by the host, a program change or the editor's automation), the meter parameters read
// finite values of their range once the effect has published them, program names read back
// as stored, texts stay inside the buffers the interface allows, and audio passes through
// bit for bit.
#pragma once

#include <array>
#include <string>

#include "plugin/vst2.h"
#include "tests/fuzz/fault_log.h"
#include "tests/fuzz/fuzz_input.h"

class DrivenEffect {
  public:
    static constexpr VstInt32 kPrograms = 16;
    static constexpr VstInt32 kParameters = 8;
    /// Longest block a session processes.
    static constexpr std::int32_t kLongestBlock = 8192;

    /// `panelHeight`: the height of the editor's panel picture, which its window takes.
    DrivenEffect(AEffect* record, FaultLog& faults, int panelHeight = 202);
    /// Closes the effect unless a request did.
    ~DrivenEffect();
    DrivenEffect(const DrivenEffect&) = delete;
    DrivenEffect& operator=(const DrivenEffect&) = delete;

    /// One dispatcher request of any opcode, known or not, with the pointer the interface
    /// gives for it; `parentWindow` is what an editor-open request passes.
    void request(FuzzInput& in, void* parentWindow);
    /// The same for a chosen opcode, its other arguments read from `in`.
    void request(FuzzInput& in, void* parentWindow, VstInt32 opcode);
    /// A request for the editor: get-rect, open, idle, keys, knob mode or close.
    void editorRequest(FuzzInput& in, void* parentWindow);
    void setParameter(FuzzInput& in);
    void getParameter(FuzzInput& in);
    /// One block through process or processReplacing, of any length and buffer layout.
    void process(FuzzInput& in, std::int32_t longest = kLongestBlock);
    /// Sends effClose; the record is gone afterwards.
    void close();

    /// The effect now holds `value` for `index`: the host set it, or heard of the editor's
    /// change through automation.
    void valueSet(VstInt32 index, float value);
    /// Every parameter against what the host may expect of it.
    void checkParameters();

    AEffect* record() const { return effect; }
    bool isClosed() const { return closed; }
    /// The host closed the effect itself, from a callback.
    void closedByHost() { closed = true; }

  private:
    struct Expected {
        bool published;  ///< written by the meter: finite, channel 1's range
        float value;     ///< else exactly what was set
    };

    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);
    /// Checks a request's answer and the texts it wrote, and follows its effect.
    void checkAnswer(VstInt32 opcode, VstInt32 index, VstIntPtr value, VstIntPtr answer,
                     const char* text, bool textUntouched);
    void publish();
    std::string expectedProgramName(VstInt32 program) const;

    AEffect* effect;
    FaultLog& faults;
    int panelHeight;
    bool closed = false;
    VstInt32 program = 0;
    std::array<std::array<Expected, kParameters>, kPrograms> values{};
    std::array<std::string, kPrograms> names;
};
