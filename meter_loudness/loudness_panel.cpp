#include "meter_loudness/loudness_panel.h"

#include <cmath>
#include <cstdio>
#include <new>

#include "gui/frame.h"
#include "gui/native/surface.h"
#include "gui/resource_bitmap.h"
#include "gui/vertical_switch.h"
#include "meter_loudness/ceiling_lamp.h"
#include "meter_loudness/history_graph.h"
#include "meter_loudness/loudness_bar.h"
#include "meter_loudness/loudness_history.h"
#include "meter_loudness/loudness_readout.h"
#include "meter_loudness/loudness_scale_view.h"
#include "meter_loudness/panel_style.h"
#include "meter_loudness/panel_text.h"
#include "meter_loudness/reading_display.h"
#include "meter_loudness/reset_button.h"
#include "meter_loudness/segment_switch.h"
#include "meter_loudness/time_axis.h"

using namespace loudness;

namespace {

constexpr const char* const kZoomLegends[kZoomChoices] = {"1m", "4m", "15m", "60m", "ALL"};
constexpr const char* const kGraphRangeLegends[kGraphRangeChoices] = {"PROG", "SCALE"};
constexpr const char* const kPauseLegends[kPauseChoices] = {"RUN", "PAUSE"};

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
        addTexts();
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
    graph = new HistoryGraph(rectangleOf(loudness_layout::kHistoryPlot), readout->history());
    place(graph);
    graphAxis = new LoudnessScaleView(rectangleOf(loudness_layout::kHistoryAxis),
                                      rectangleOf(loudness_layout::kHistoryPlot));
    place(graphAxis);
    timeAxis = new TimeAxis(rectangleOf(loudness_layout::kHistoryTime),
                            rectangleOf(loudness_layout::kHistoryPlot));
    place(timeAxis);
}

void LoudnessPanel::addReadings() {
    struct Placement {
        VstInt32 reading;
        const loudness_layout::Box& box;
        std::int32_t figureHeight;
        std::int32_t unitHeight;
    };
    const Placement placements[] = {{kMomentary, loudness_layout::kMomentaryFigures, 13, 0},
                                    {kShortTerm, loudness_layout::kShortTermFigures, 13, 0},
                                    {kIntegrated, loudness_layout::kIntegrated, 60, 22},
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

void LoudnessPanel::addTexts() {
    using Style = PanelText::Style;
    ceilingText = new PanelText(rectangleOf(loudness_layout::kCeilingValue),
                                Style{9, panel_style::kGlassInk, panel_style::kGlass, kAlignRight});
    place(ceilingText);
    targetText = new PanelText(rectangleOf(loudness_layout::kTargetLine),
                               Style{11, panel_style::kGlassInk, panel_style::kGlass, kAlignLeft});
    place(targetText);
    statusText = new PanelText(rectangleOf(loudness_layout::kIntegrationStatus),
                               Style{9, panel_style::kGlassInk, panel_style::kGlass, kAlignRight});
    place(statusText);
}

SegmentSwitch* LoudnessPanel::addSegments(const loudness_layout::Box& box, VstInt32 tag) {
    const ParameterInfo& info = loudnessMeterParameters().entries[tag];
    const char* const* legends =
        tag == kZoom ? kZoomLegends : (tag == kPause ? kPauseLegends : kGraphRangeLegends);
    auto* control = new SegmentSwitch(rectangleOf(box), this, tag, legends, info.positions);
    place(control);
    return control;
}

void LoudnessPanel::addControls() {
    zoomSwitch = addSegments(loudness_layout::kZoomSwitch, kZoom);
    graphRangeSwitch = addSegments(loudness_layout::kGraphRangeSwitch, kGraphRange);
    pauseSwitch = addSegments(loudness_layout::kPauseSwitch, kPause);
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
    const DeliveryTarget* delivery = deliveryTargetOf(meter.choice(kTarget));
    const double tolerance = delivery ? delivery->tolerance : kCustomTolerance;
    const bool relative = meter.unitChoice() == kUnitLu;
    const char* loudnessUnit = relative ? "LU" : "LUFS";
    const double shift = relative ? target : 0.0;

    showScales(target, tolerance);
    for (VstInt32 index : {kMomentary, kShortTerm}) {
        readings[index]->setValue(static_cast<float>(meter.reading(index) - shift));
    }
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
    showTexts(target, tolerance);

    scaleSwitch->setValue(valueOfChoice(meter.scaleChoice(), kScaleChoices));
    unitSwitch->setValue(valueOfChoice(meter.unitChoice(), kUnitChoices));
    zoomSwitch->setValue(valueOfChoice(meter.choice(kZoom), kZoomChoices));
    graphRangeSwitch->setValue(valueOfChoice(meter.choice(kGraphRange), kGraphRangeChoices));
    pauseSwitch->setValue(valueOfChoice(meter.choice(kPause), kPauseChoices));
}

void LoudnessPanel::showScales(double target, double tolerance) {
    const LoudnessReadout& meter = *readout;
    const int scale = meter.scaleChoice();
    const bool relative = meter.unitChoice() == kUnitLu;
    const double bottom = target + kScaleBelow[scale];
    const double top = target + kScaleAbove[scale];
    for (LoudnessBar* bar : bars) {
        bar->setScale(bottom, top, target, tolerance);
    }
    bars[0]->setValue(static_cast<float>(meter.reading(kMomentary)));
    bars[1]->setValue(static_cast<float>(meter.reading(kShortTerm)));
    scaleView->setScale(bottom, top, target, relative);

    // The graph's own span: as tall as the bars', its top a grid line over the loudest
    // point when it follows the programme.
    const LoudnessHistory& history = meter.history();
    double graphTop = top;
    const double loudest = history.loudest();
    if (meter.choice(kGraphRange) == kFollowProgramme && std::isfinite(loudest)) {
        const double step = top - bottom > 30.0 ? 6.0 : 3.0;
        graphTop = target + step * std::ceil((loudest + 1.0 - target) / step);
    }
    const double graphBottom = graphTop - (top - bottom);
    graph->setScale(graphBottom, graphTop, target, tolerance);
    graphAxis->setScale(graphBottom, graphTop, target, relative);

    const int width = loudness_layout::kHistoryPlot.width();
    const int minutes = kZoomMinutes[meter.choice(kZoom)];
    double columnSeconds = 60.0 * (minutes > 0 ? minutes : 1) / width;
    if (minutes == 0) {
        // The whole programme, in spans that double as it grows.
        const double programme = history.size() * history.secondsPerPoint();
        while (columnSeconds * width < programme) {
            columnSeconds *= 2.0;
        }
    }
    graph->setColumnSeconds(columnSeconds);
    timeAxis->setColumnSeconds(columnSeconds);
    graph->follow();
}

void LoudnessPanel::showTexts(double target, double tolerance) {
    const LoudnessReadout& meter = *readout;
    char text[64];
    std::snprintf(text, sizeof text, "%.1f", meter.ceiling());
    ceilingText->setText(text);

    const DeliveryTarget* delivery = deliveryTargetOf(meter.choice(kTarget));
    std::snprintf(text, sizeof text, "TARGET %s  %.1f LUFS +/-%.1f LU",
                  delivery ? delivery->title : "Custom", target, tolerance);
    targetText->setText(text);

    const char* state =
        meter.integrating() ? "RUNNING" : (meter.choice(kPause) == kPaused ? "PAUSED" : "STOPPED");
    char duration[kVstMaxLabelLen];
    durationFigures(meter.integrationSeconds(), duration, sizeof duration);
    std::snprintf(text, sizeof text, "%s  %s", state, duration);
    statusText->setText(text);
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
    const std::lock_guard<std::mutex> lock(painterMutex);
    if (!painter || !painter->frame) {
        painter.reset(new LoudnessPanel(effect, readout, PictureOnly{}));
        if (painter->open(nullptr) != 1) {
            painter.reset();
            return false;
        }
    }
    painter->update();
    return drawSnapshot(*painter, picture, pictureSurface);
}
