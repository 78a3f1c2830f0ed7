// The delivered effect with its editor open on the headless platform, driven through its
// record as a host would, with a host callback that records what the plug-in asks of it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gui/native/soft/headless_platform.h"
#include "meter_level/adelay_edit.h"

class ADEditor;
class CFrame;

struct HostRequest {
    VstInt32 opcode;
    VstInt32 index;
    float value;
    std::uint32_t time;  ///< the platform's clock when it arrived
};

class EditorFixture {
  public:
    /// Meter bitmaps whose every pixel tells its picture and column: on 0x10xxxx, off 0x20xxxx.
    static constexpr std::uint32_t kOnMark = 0x100000;
    static constexpr std::uint32_t kOffMark = 0x200000;

    explicit EditorFixture(bool markedMeters = true);
    ~EditorFixture();

    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f);
    /// Opens the editor in a made-up host window and paints it once, as a window system does.
    void open();
    void idle() { dispatch(effEditIdle); }
    void setParameter(VstInt32 index, float value);
    float getParameter(VstInt32 index) { return record->getParameter(record, index); }
    /// One block of constant samples through processReplacing.
    void process(float left, float right, VstInt32 frames = 512);
    /// One block of the given samples through processReplacing.
    void process(float** inputs, float** outputs, VstInt32 frames);

    /// Channel `channel`'s strip along its middle row: 'o' lit, '.' dark, '?' anything else.
    std::string strip(int channel) const;
    /// A strip of 604 dark columns with [from, to) lit, for each pair given.
    static std::string expectedStrip(std::initializer_list<std::pair<int, int>> lit);

    CFrame* frame() const;
    ADEditor* editor() const;
    CHeadlessWindow* window() const { return headlessWindow; }
    /// Moves the cursor to `where` in window coordinates.
    void pointAt(CPosition where);

    CHeadlessPlatform platform;
    std::vector<HostRequest> requests;
    std::function<void(const HostRequest&)> onRequest;

  private:
    static VstIntPtr host(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                          void* ptr, float opt);

    ADelayEdit* effect = nullptr;
    AEffect* record = nullptr;
    CHeadlessWindow* headlessWindow = nullptr;
    int parentWindow = 0;
};
