// The plug-in's editor: the 900 x 202 front panel with two meter strips (an RMS bar with
// peak and hold marks each), the three mode switches and the delay slider with its
// millisecond read-out. Parameter changes only store values and mark controls dirty; the
// host's idle calls draw.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "gui/aeff_gui_editor.h"
#include "gui/control_listener.h"
#include "gui/geometry.h"

class CExtendedVuMeter;
struct PanelSnapshot;
struct StripLevel;
class CParamDisplay;
class CResourceBitmap;
class CVerticalSlider;
class CVerticalSwitch;
class CView;
class CVuMeter;

/// The name is the classic delay example's editor, which this one grew from; it keeps it.
class ADEditor : public AEffGUIEditor, public CControlListener {
  public:
    explicit ADEditor(AudioEffect* effect);
    ~ADEditor() override;

    /// Builds the frame and its eleven controls from the effect's current values.
    VstInt32 open(void* parentWindow) override;
    /// Waits out a parameter change in progress on another thread, then deletes the frame.
    void close() override;
    /// Safe on any thread, the audio thread included: stores and marks dirty, never draws.
    void setParameter(VstInt32 index, float value) override;
    /// Hands a user's change to the effect as automation and shows it at once.
    void valueChanged(CDrawContext* context, CControl* control) override;

    /// Draws the panel as it stands into the snapshot's pixels; safe on any thread, as the
    /// picture is drawn in a panel of its own, never in the window's. A closed editor is
    /// drawn as it would open: settings as they are, meters at rest.
    bool snapshot(PanelSnapshot& picture) override;

    /// The read-out's text: the delay in whole milliseconds.
    static void delayText(float value, char* text);

    /// While the window is open; one plain load, for the audio thread's every block.
    bool isShowing() const override { return isOpen.load(std::memory_order_acquire); }

  private:
    struct Bitmaps;
    /// The meter levels, as `shownLevels` holds them.
    using MeterLevels = std::array<std::atomic<float>, 6>;

    /// A panel for pictures only: shows `source`'s settings, but is not its editor.
    struct PictureOnly {};
    ADEditor(AudioEffect* source, PictureOnly);
    /// Sets the open panel's meters to `levels`.
    void showLevels(const MeterLevels& levels);

    /// Hands the view to the frame; throws when the frame cannot take it.
    void place(CView* view);
    void addSwitches(const Bitmaps& bitmaps);
    void addDelayControls(const Bitmaps& bitmaps);
    void addMeters(const Bitmaps& bitmaps);
    /// The controls' side of a parameter change; the window is open throughout.
    void showParameter(VstInt32 index);
    /// The meter (kRmsLevel, kPeakLevel or kHoldLevel), strip and level that parameter
    /// `index` shows; false for none.
    bool readMeter(VstInt32 index, VstInt32& meter, StripLevel& reading);
    /// A strip's meter at its new level.
    void showMeter(VstInt32 meter, const StripLevel& reading);

    CVerticalSlider* delaySlider = nullptr;
    CParamDisplay* delayDisplay = nullptr;
    CVerticalSwitch* modeSwitch = nullptr;
    CVerticalSwitch* responseSwitch = nullptr;
    CVerticalSwitch* rmsModeSwitch = nullptr;
    std::array<CVuMeter*, 2> rmsMeters{};
    std::array<CExtendedVuMeter*, 2> peakMarks{};
    std::array<CExtendedVuMeter*, 2> holdMarks{};
    CResourceBitmap* background = nullptr;
    std::atomic<bool> isOpen{false};
    /// What the window's meters show, for pictures taken on other threads: the RMS bars,
    /// peak marks and hold marks, channel 0 then 1 of each.
    MeterLevels shownLevels{};
    /// Parameter changes inside the controls right now; close waits for none.
    std::atomic<std::int32_t> changesInProgress{0};
};
