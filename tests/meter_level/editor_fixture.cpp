#include "tests/meter_level/editor_fixture.h"

#include "gui/frame.h"
#include "meter_level/ad_editor.h"

namespace {

EditorFixture* current = nullptr;
constexpr int kMeterWidth = 604;
constexpr int kMeterHeight = 27;
constexpr int kMeterLeft = 151;
constexpr int kMeterTops[2] = {65, 115};

std::vector<std::uint32_t> markedMeter(std::uint32_t mark) {
    std::vector<std::uint32_t> pixels(std::size_t(kMeterWidth) * kMeterHeight);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = mark | static_cast<std::uint32_t>(i % kMeterWidth);
    }
    return pixels;
}

}  // namespace

EditorFixture::EditorFixture(bool markedMeters) {
    current = this;
    if (markedMeters) {
        platform.addBitmap(131, kMeterWidth, kMeterHeight, markedMeter(kOffMark));
        platform.addBitmap(132, kMeterWidth, kMeterHeight, markedMeter(kOnMark));
    }
    effect = new ADelayEdit(&EditorFixture::host);  // the close request deletes it
    record = effect->getAeffect();
}

EditorFixture::~EditorFixture() {
    dispatch(effClose);
    current = nullptr;
}

VstIntPtr EditorFixture::host(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr, void*,
                              float opt) {
    if (opcode == audioMasterVersion) {
        return 2400;
    }
    if (opcode == audioMasterGetSampleRate) {
        return 44100;
    }
    if (current) {
        const HostRequest request{opcode, index, opt, current->platform.ticks()};
        current->requests.push_back(request);
        if (current->onRequest) {
            current->onRequest(request);
        }
    }
    return 0;
}

VstIntPtr EditorFixture::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                  float opt) {
    return record->dispatcher(record, opcode, index, value, ptr, opt);
}

void EditorFixture::open() {
    dispatch(effEditOpen, 0, 0, &parentWindow);
    headlessWindow = platform.lastWindow();
    if (headlessWindow) {
        headlessWindow->paintAll();
    }
}

void EditorFixture::setParameter(VstInt32 index, float value) {
    record->setParameter(record, index, value);
}

void EditorFixture::process(float left, float right, VstInt32 frames) {
    std::vector<float> in0(std::size_t(frames), left), in1(std::size_t(frames), right);
    std::vector<float> out0(in0.size()), out1(in1.size());
    float* inputs[] = {in0.data(), in1.data()};
    float* outputs[] = {out0.data(), out1.data()};
    process(inputs, outputs, frames);
}

void EditorFixture::process(float** inputs, float** outputs, VstInt32 frames) {
    record->processReplacing(record, inputs, outputs, frames);
}

std::string EditorFixture::strip(int channel) const {
    std::string row;
    const int y = kMeterTops[channel] + kMeterHeight / 2;
    for (int x = 0; x < kMeterWidth; ++x) {
        const std::uint32_t pixel = headlessWindow->pixel(kMeterLeft + x, y);
        const auto column = static_cast<std::uint32_t>(x);
        row += pixel == (kOnMark | column) ? 'o' : pixel == (kOffMark | column) ? '.' : '?';
    }
    return row;
}

std::string EditorFixture::expectedStrip(std::initializer_list<std::pair<int, int>> lit) {
    std::string row(kMeterWidth, '.');
    for (const auto& [from, to] : lit) {
        row.replace(std::size_t(from), std::size_t(to - from), std::size_t(to - from), 'o');
    }
    return row;
}

CFrame* EditorFixture::frame() const {
    return editor()->getFrame();
}

ADEditor* EditorFixture::editor() const {
    return static_cast<ADEditor*>(effect->getEditor());
}

void EditorFixture::pointAt(CPosition where) {
    const CPosition origin = headlessWindow->screenOrigin();
    platform.setCursorPosition({origin.x + where.x, origin.y + where.y});
}
