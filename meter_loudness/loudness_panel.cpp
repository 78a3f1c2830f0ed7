#include "meter_loudness/loudness_panel.h"

#include <new>

#include "gui/frame.h"
#include "gui/resource_bitmap.h"
#include "gui/vertical_switch.h"
#include "meter_loudness/ceiling_lamp.h"
#include "meter_loudness/history_graph.h"
#include "meter_loudness/loudness_bar.h"
#include "meter_loudness/loudness_history.h"
#include "meter_loudness/loudness_readout.h"
#include "meter_loudness/loudness_scale_view.h"
#include "meter_loudness/reading_display.h"
#include "meter_loudness/reset_button.h"
#include "resources/loudness_layout.h"

using namespace loudness;

namespace {

// The graph reads only points the audio thread cannot be overwriting.
static_assert(loudness_layout::kHistory.width() <= static_cast<int>(LoudnessHistory::kCapacity / 2),
              "the history holds twice the points the graph shows");

CRectangle rectangleOf(const loudness_layout::Box& box) {
    return {box.left, box.top, box.right, box.bottom};
}

}  // namespace

LoudnessPanel::LoudnessPanel(AudioEffect* effect, const LoudnessReadout* readout)
    : AEffGUIEditor(effect), readout(readout) {
    background = new CResourceBitmap(loudness_layout::kPanelBitmap);
    rect.right = static_cast<std::int16_t>(background->getWidth());
    rect.bottom = static_cast<std::int16_t>(background->getHeight());
}

LoudnessPanel::LoudnessPanel(AudioEffect* source, const LoudnessReadout* readout, PictureOnly)
    : LoudnessPanel(nullptr, readout) {
    effect = source;  // read from, never registered with
}

LoudnessPanel::~LoudnessPanel() {
    close();
    background->release();
}

VstInt32 LoudnessPanel::open(void* parentWindow) {
    if (frame) {
        close();  // a host that opens twice gets one window, not two
    }
    AEffGUIEditor::open(parentWindow);
    try {
        frame =
            new CFrame({0, 0, background->getWidth(), background->getHeight()}, parentWindow, this);
        frame->setBackground(background);
        addMeters();
        addReadings();
        addControls();
    } catch (...) {
        deleteFrame();  // out of memory: no half-built window stays behind
        return 0;
    }
    update();
    return 1;
}

void LoudnessPanel::close() {
    deleteFrame();
}

void LoudnessPanel::place(CView* view) {
    if (!frame->addView(view)) {
        view->release();
        throw std::bad_alloc();
    }
}

void LoudnessPanel::addMeters() {
    bars[0] = new LoudnessBar(rectangleOf(loudness_layout::kMomentaryBar));
    bars[1] = new LoudnessBar(rectangleOf(loudness_layout::kShortTermBar));
    for (LoudnessBar* bar : bars) {
        place(bar);
    }
    scaleView = new LoudnessScaleView(rectangleOf(loudness_layout::kScaleLabels),
                                      rectangleOf(loudness_layout::kMomentaryBar));
    place(scaleView);
    graph = new HistoryGraph(rectangleOf(loudness_layout::kHistory), readout->history());
    place(graph);
}

void LoudnessPanel::addReadings() {
    struct Placement {
        VstInt32 reading;
        const loudness_layout::Box& box;
        std::int32_t figureHeight;
        std::int32_t unitHeight;
    };
    const Placement placements[] = {{kIntegrated, loudness_layout::kIntegrated, 64, 22},
                                    {kRange, loudness_layout::kRange, 24, 12},
                                    {kTruePeak, loudness_layout::kTruePeak, 24, 12},
                                    {kMaxMomentary, loudness_layout::kMaxMomentary, 24, 12},
                                    {kMaxShortTerm, loudness_layout::kMaxShortTerm, 24, 12}};
    for (const Placement& p : placements) {
        readings[p.reading] = new ReadingDisplay(rectangleOf(p.box), p.figureHeight, p.unitHeight);
        place(readings[p.reading]);
    }
    ceilingLamp = new CeilingLamp(rectangleOf(loudness_layout::kCeilingLamp));
    place(ceilingLamp);
}

void LoudnessPanel::addControls() {
    CResourceBitmap* switchPictures = new CResourceBitmap(loudness_layout::kSwitchBitmap);
    CResourceBitmap* resetPictures = new CResourceBitmap(loudness_layout::kResetBitmap);
    // The controls retain the pictures they draw from; these references go at the end.
    const auto releasePictures = [&] {
        switchPictures->release();
        resetPictures->release();
    };
    try {
        const auto addSwitch = [&](const loudness_layout::Box& box, VstInt32 tag) {
            auto* control =
                new CVerticalSwitch(rectangleOf(box), this, tag, 2,
                                    loudness_layout::kSwitchImageHeight, 2, switchPictures, {0, 0});
            place(control);
            return control;
        };
        scaleSwitch = addSwitch(loudness_layout::kScaleSwitch, kScale);
        unitSwitch = addSwitch(loudness_layout::kUnitSwitch, kUnit);
        resetButton = new ResetButton(rectangleOf(loudness_layout::kResetButton), this, kReset,
                                      resetPictures);
        place(resetButton);
    } catch (...) {
        releasePictures();
        throw;
    }
    releasePictures();
}

void LoudnessPanel::update() {
    if (!frame) {
        return;
    }
    const LoudnessReadout& meter = *readout;
    const double target = meter.target();
    const int scale = meter.scaleChoice();
    const bool relative = meter.unitChoice() == kUnitLu;
    const double bottom = target + kScaleBelow[scale];
    const double top = target + kScaleAbove[scale];
    const char* loudnessUnit = relative ? "LU" : "LUFS";
    const double shift = relative ? target : 0.0;

    bars[0]->setScale(bottom, top, target);
    bars[1]->setScale(bottom, top, target);
    bars[0]->setValue(static_cast<float>(meter.reading(kMomentary)));
    bars[1]->setValue(static_cast<float>(meter.reading(kShortTerm)));
    scaleView->setScale(bottom, top, target, relative);
    graph->setScale(bottom, top, target);
    graph->follow();

    for (VstInt32 index : {kIntegrated, kMaxMomentary, kMaxShortTerm}) {
        readings[index]->setUnit(loudnessUnit);
        readings[index]->setValue(static_cast<float>(meter.reading(index) - shift));
    }
    readings[kRange]->setUnit("LU");
    readings[kRange]->setValue(static_cast<float>(meter.reading(kRange)));
    readings[kTruePeak]->setUnit("dBTP");
    const double truePeak = meter.reading(kTruePeak);
    readings[kTruePeak]->setValue(static_cast<float>(truePeak));
    ceilingLamp->setValue(truePeak > meter.ceiling() ? 1.0f : 0.0f);

    scaleSwitch->setValue(valueOfChoice(scale, kScaleChoices));
    unitSwitch->setValue(valueOfChoice(meter.unitChoice(), kUnitChoices));
}

void LoudnessPanel::valueChanged(CDrawContext* context, CControl* control) {
    const VstInt32 tag = control ? control->getTag() : -1;
    if (!isParameter(tag) || isReading(tag)) {
        return;
    }
    automate(context, control);
}

bool LoudnessPanel::snapshot(PanelSnapshot& picture) {
    if (!fitsSnapshot(picture)) {
        return false;
    }
    // The window's frame belongs to the thread that opens, idles and closes it; the
    // picture's panel reads the effect as the window's does at its idle.
    LoudnessPanel painter(effect, readout, PictureOnly{});
    return painter.open(nullptr) == 1 && drawSnapshot(painter, picture);
}
