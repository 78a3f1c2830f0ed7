// The loudness meter's editor: one fixed panel with the momentary and short-term bars on
// the chosen scale and their figures, the integrated loudness in large figures with the
// target and integration's state, range, true peak with the ceiling and its lamp, both
// maxima, the history of the programme with its zoom and range, the scale and unit
// switches, the run/pause toggle and the reset button. Parameter changes and new readings only ask
// for an update; the host's idle reads the effect, marks what changed and draws only that.
#pragma once

#include <array>
#include <memory>
#include <mutex>

#include "gui/aeff_gui_editor.h"
#include "gui/control_listener.h"
#include "meter_loudness/loudness_parameters.h"
#include "resources/loudness_layout.h"

class CeilingLamp;
class CResourceBitmap;
class CSurface;
class CVerticalSwitch;
class CView;
class HistoryGraph;
class LoudnessBar;
class AudioEffect;
class LoudnessReadout;
class LoudnessScaleView;
class PanelText;
class ReadingDisplay;
class ResetButton;
class SegmentSwitch;
class TimeAxis;
struct PanelSnapshot;

class LoudnessPanel : public AEffGUIEditor, public CControlListener {
  public:
    /// The editor of `effect`, showing what `readout` tells.
    LoudnessPanel(AudioEffect* effect, const LoudnessReadout* readout);
    ~LoudnessPanel() override;

    VstInt32 open(void* parentWindow) override;
    void close() override;
    /// At the host's idle: shows the effect's readings and settings as they are now.
    void update() override;
    /// Hands a user's change to the effect as automation and shows it at once.
    void valueChanged(CDrawContext* context, CControl* control) override;

    /// Draws the panel as it stands into the snapshot's pixels; safe on any thread, as the
    /// picture is drawn in a panel of its own, never in the window's. A closed editor is
    /// drawn as it would open.
    bool snapshot(PanelSnapshot& picture) override;

  private:
    /// A panel for pictures only: shows `readout`, but is not `source`'s editor.
    struct PictureOnly {};
    LoudnessPanel(AudioEffect* source, const LoudnessReadout* readout, PictureOnly);

    /// Hands the view to the frame; throws when the frame cannot take it.
    void place(CView* view);
    void addMeters();
    void addReadings();
    void addControls();
    void addTexts();
    /// The switches in a row that the panel draws itself.
    SegmentSwitch* addSegments(const loudness_layout::Box& box, VstInt32 tag);
    /// Bars, graph and axes on the scale and band of the target.
    void showScales(double target, double tolerance);
    void showTexts(double target, double tolerance);

    const LoudnessReadout* readout;
    /// The panel pictures are drawn in, kept from one picture to the next so that only
    /// what changed is drawn again; one picture at a time.
    std::unique_ptr<LoudnessPanel> painter;
    std::unique_ptr<CSurface> pictureSurface;
    std::mutex painterMutex;
    CResourceBitmap* background = nullptr;
    std::array<LoudnessBar*, 2> bars{};
    LoudnessScaleView* scaleView = nullptr;
    std::array<ReadingDisplay*, loudness::kNumReadings> readings{};
    CeilingLamp* ceilingLamp = nullptr;
    PanelText* ceilingText = nullptr;
    PanelText* targetText = nullptr;
    PanelText* statusText = nullptr;
    HistoryGraph* graph = nullptr;
    LoudnessScaleView* graphAxis = nullptr;
    TimeAxis* timeAxis = nullptr;
    SegmentSwitch* zoomSwitch = nullptr;
    SegmentSwitch* graphRangeSwitch = nullptr;
    SegmentSwitch* pauseSwitch = nullptr;
    CVerticalSwitch* scaleSwitch = nullptr;
    CVerticalSwitch* unitSwitch = nullptr;
    ResetButton* resetButton = nullptr;
};
