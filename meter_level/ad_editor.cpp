#include "meter_level/ad_editor.h"

#include <cstdio>
#include <new>
#include <thread>

#include "engine/meter_parameters.h"
#include "gui/control_styles.h"
#include "gui/draw_context.h"
#include "gui/frame.h"
#include "gui/param_display.h"
#include "gui/resource_bitmap.h"
#include "gui/vertical_slider.h"
#include "gui/vertical_switch.h"
#include "gui/vu_meter.h"
#include "meter_level/extended_vu_meter.h"
#include "meter_level/level_parameters.h"
#include "plugin/audio_effect.h"
#include "resources/panel_layout.h"

namespace {

constexpr CRgbColour kPanelGrey{layout::kPaint[0], layout::kPaint[1], layout::kPaint[2], 0};
/// The meters show exactly their value: all ballistics come from the engine.
constexpr float kNoFallBack = 100.0f;

}  // namespace

/// The control bitmaps, held from loading until every control retains its own.
struct ADEditor::Bitmaps {
    static constexpr std::int32_t kFirst = kSliderTrackBitmap;
    static constexpr std::int32_t kCount = kTwoWaySwitchBitmap - kSliderTrackBitmap + 1;

    Bitmaps() {
        try {
            for (std::int32_t i = 0; i < kCount; ++i) {
                loaded[i] = new CResourceBitmap(kFirst + i);
            }
        } catch (...) {
            releaseAll();
            throw;
        }
    }
    Bitmaps(const Bitmaps&) = delete;
    Bitmaps& operator=(const Bitmaps&) = delete;
    ~Bitmaps() { releaseAll(); }

    CResourceBitmap* operator[](BitmapId id) const { return loaded[id - kFirst]; }

  private:
    void releaseAll() {
        for (CResourceBitmap*& bitmap : loaded) {
            if (bitmap) {
                bitmap->release();
            }
            bitmap = nullptr;
        }
    }

    CResourceBitmap* loaded[kCount] = {};
};

ADEditor::ADEditor(AudioEffect* effect) : AEffGUIEditor(effect) {
    background = new CResourceBitmap(kPanelBitmap);
    rect.top = 0;
    rect.left = 0;
    rect.bottom = static_cast<std::int16_t>(background->getHeight());
    rect.right = static_cast<std::int16_t>(background->getWidth());
}

ADEditor::ADEditor(AudioEffect* source, PictureOnly) : ADEditor(nullptr) {
    effect = source;  // read from, never registered with
}

ADEditor::~ADEditor() {
    close();
    background->release();
    background = nullptr;
}

void ADEditor::delayText(float value, char* text) {
    // In double precision, so that the float nearest 0.7 reads 209, not 210.
    double milliseconds = static_cast<double>(value) * kLongestDelayMilliseconds;
    if (!(milliseconds > -1e9 && milliseconds < 1e9)) {
        milliseconds = 0.0;  // no integer to show, and converting it would be undefined
    }
    std::snprintf(text, 16, "%d", static_cast<int>(milliseconds));
}

VstInt32 ADEditor::open(void* parentWindow) {
    if (frame) {
        close();  // a host that opens twice gets one window, not two
    }
    AEffGUIEditor::open(parentWindow);
    try {
        const Bitmaps bitmaps;
        frame =
            new CFrame({0, 0, background->getWidth(), background->getHeight()}, parentWindow, this);
        frame->setBackground(background);
        addDelayControls(bitmaps);
        addSwitches(bitmaps);
        addMeters(bitmaps);
    } catch (...) {
        // Out of memory: no half-built window stays behind.
        deleteFrame();
        return 0;
    }
    for (std::atomic<float>& level : shownLevels) {
        level.store(0.0f, std::memory_order_relaxed);
    }
    isOpen.store(true);
    return 1;
}

void ADEditor::place(CView* view) {
    if (!frame->addView(view)) {
        view->release();
        throw std::bad_alloc();
    }
}

void ADEditor::addDelayControls(const Bitmaps& bitmaps) {
    const std::int32_t trackWidth = bitmaps[kSliderTrackBitmap]->getWidth();
    const std::int32_t trackHeight = bitmaps[kSliderTrackBitmap]->getHeight();
    const std::int32_t left = layout::kSliderLeft;
    const std::int32_t top = layout::kSliderTop;
    delaySlider = new CVerticalSlider(
        {left, top, left + trackWidth, top + trackHeight}, this, kDelay, top, layout::kHandleLowest,
        bitmaps[kSliderHandleBitmap], bitmaps[kSliderTrackBitmap], {0, 0}, kSliderFromRight);
    delaySlider->setHandleOffset({1, 0});
    delaySlider->setValue(effect->getParameter(kDelay));
    delaySlider->setDefaultValue(0.5f);
    place(delaySlider);

    delayDisplay = new CParamDisplay(
        {layout::kReadOutLeft, layout::kReadOutTop, layout::kReadOutRight, layout::kReadOutBottom},
        nullptr, 1);
    delayDisplay->setFont(kFontSmaller);
    delayDisplay->setFontColour(kColourBlack);
    delayDisplay->setBackColour(kPanelGrey);
    delayDisplay->setFrameColour(kPanelGrey);
    delayDisplay->setValue(effect->getParameter(kDelay));
    delayDisplay->setTextConverter(&ADEditor::delayText);
    place(delayDisplay);
}

void ADEditor::addSwitches(const Bitmaps& bitmaps) {
    struct Placement {
        CVerticalSwitch** control;
        VstInt32 tag;
        std::int32_t left;
        std::int32_t top;
        std::int32_t positions;
        CResourceBitmap* strip;
    };
    const Placement placements[] = {
        {&modeSwitch, kMode, layout::kSwitchLeft, layout::kModeSwitchTop, layout::kSwitchPositions,
         bitmaps[kThreeWaySwitchBitmap]},
        {&responseSwitch, kResp, layout::kSwitchLeft, layout::kHoldSwitchTop,
         layout::kSwitchPositions, bitmaps[kThreeWaySwitchBitmap]},
        {&rmsModeSwitch, kRmsMode, layout::kRmsSwitchLeft, layout::kRmsSwitchTop,
         layout::kRmsSwitchPositions, bitmaps[kTwoWaySwitchBitmap]},
    };
    for (const Placement& p : placements) {
        const std::int32_t imageHeight = p.strip->getHeight() / p.positions;
        *p.control = new CVerticalSwitch(
            {p.left, p.top, p.left + p.strip->getWidth(), p.top + imageHeight}, this, p.tag,
            p.positions, imageHeight, p.positions, p.strip, {0, 0});
        (*p.control)->setValue(effect->getParameter(p.tag));
        place(*p.control);
    }
}

void ADEditor::addMeters(const Bitmaps& bitmaps) {
    const std::int32_t width = bitmaps[kMeterOnBitmap]->getWidth();
    const std::int32_t height = bitmaps[kMeterOnBitmap]->getHeight();
    auto bounds = [&](std::int32_t channel) {
        const std::int32_t left = layout::kMeterLeft;
        const std::int32_t top = layout::kMeterTops[channel];
        return CRectangle{left, top, left + width, top + height};
    };
    auto add = [this](CVuMeter* meter) {
        meter->setDecreaseStep(kNoFallBack);
        meter->setValue(0.0f);
        place(meter);
    };
    // Added in drawing order: the bars, then the hold marks, then the peak marks on top.
    for (std::int32_t channel = 0; channel < 2; ++channel) {
        rmsMeters[channel] =
            new CVuMeter(bounds(channel), bitmaps[kMeterOnBitmap], bitmaps[kMeterOffBitmap],
                         layout::kSegmentCount, kSliderHorizontal);
        add(rmsMeters[channel]);
    }
    for (std::int32_t channel = 0; channel < 2; ++channel) {
        holdMarks[channel] = new CExtendedVuMeter(bounds(channel), bitmaps[kMeterOnBitmap], nullptr,
                                                  layout::kSegmentCount, kSliderHorizontal);
        add(holdMarks[channel]);
    }
    for (std::int32_t channel = 0; channel < 2; ++channel) {
        peakMarks[channel] = new CExtendedVuMeter(bounds(channel), bitmaps[kMeterOnBitmap], nullptr,
                                                  layout::kSegmentCount, kSliderHorizontal);
        add(peakMarks[channel]);
    }
}

void ADEditor::close() {
    isOpen.store(false);
    // A parameter change that saw the window open finishes with the controls before they
    // go; it never waits itself, and later ones see the window closed.
    while (changesInProgress.load() != 0) {
        std::this_thread::yield();
    }
    deleteFrame();
}

void ADEditor::setParameter(VstInt32 index, float value) {
    (void)value;  // the controls show what the effect holds, read back below
    if (!isOpen.load(std::memory_order_acquire)) {
        return;  // the common case on the audio thread: no locked operation at all
    }
    changesInProgress.fetch_add(1);
    if (!isOpen.load()) {
        changesInProgress.fetch_sub(1);
        return;
    }
    showParameter(index);
    changesInProgress.fetch_sub(1);
    postUpdate();
}

bool ADEditor::readMeter(VstInt32 index, VstInt32& meter, StripLevel& reading) {
    if (index >= kStripLevels && index < kTableEntryCount) {
        // A strip's own level: RMS, peak and hold, strip 0 then 1 of each.
        const float level = effect->getParameter(index);
        meter = kRmsLevel + (index - kStripLevels) / 2;
        reading = {(index - kStripLevels) % 2, level > 0.0f ? (level < 1.0f ? level : 1.0f) : 0.0f};
        return true;
    }
    if (index < kRmsLevel || index > kHoldLevel) {
        return false;
    }
    const float value = effect->getParameter(index);
    if (!namesStrip(value)) {
        return false;
    }
    meter = index;
    reading = decodeMeter(value);
    return true;
}

void ADEditor::showParameter(VstInt32 index) {
    VstInt32 meter = 0;
    StripLevel reading{};
    if (readMeter(index, meter, reading)) {
        showMeter(meter, reading);
        return;
    }
    switch (index) {
        case kDelay:
            delaySlider->setValue(effect->getParameter(kDelay));
            delayDisplay->setValue(effect->getParameter(kDelay));
            break;
        case kMode:
            modeSwitch->setValue(effect->getParameter(index));
            break;
        case kResp:
            responseSwitch->setValue(effect->getParameter(index));
            break;
        case kRmsMode:
            rmsModeSwitch->setValue(effect->getParameter(index));
            break;
        default:
            break;
    }
}

void ADEditor::showMeter(VstInt32 meter, const StripLevel& reading) {
    shownLevels[2 * (meter - kRmsLevel) + reading.channel].store(reading.level,
                                                                 std::memory_order_relaxed);
    if (meter == kRmsLevel) {
        // The bar will paint its whole strip: both marks must follow it.
        rmsMeters[reading.channel]->setValue(reading.level);
        peakMarks[reading.channel]->setDirty(true);
        holdMarks[reading.channel]->setDirty(true);
        return;
    }
    CExtendedVuMeter* mark =
        meter == kPeakLevel ? peakMarks[reading.channel] : holdMarks[reading.channel];
    const float old = mark->getValue();
    mark->setValue(reading.level);
    if (reading.level != old) {
        rmsMeters[reading.channel]->setDirty(true);  // to wipe the old segment
    }
}

void ADEditor::valueChanged(CDrawContext* context, CControl* control) {
    const VstInt32 tag = control ? control->getTag() : -1;
    if (tag < 0 || tag >= kParameterCount) {
        return;
    }
    automate(context, control);
}

bool ADEditor::snapshot(PanelSnapshot& picture) {
    if (!fitsSnapshot(picture)) {
        return false;
    }
    // The window's frame belongs to the thread that opens, idles and closes it.
    ADEditor painter(effect, PictureOnly{});
    if (painter.open(nullptr) != 1) {
        return false;
    }
    if (isShowing()) {
        painter.showLevels(shownLevels);
    }
    return drawSnapshot(painter, picture);
}

void ADEditor::showLevels(const MeterLevels& levels) {
    for (std::int32_t channel = 0; channel < 2; ++channel) {
        rmsMeters[channel]->setValue(levels[channel].load(std::memory_order_relaxed));
        peakMarks[channel]->setValue(levels[2 + channel].load(std::memory_order_relaxed));
        holdMarks[channel]->setValue(levels[4 + channel].load(std::memory_order_relaxed));
    }
}
