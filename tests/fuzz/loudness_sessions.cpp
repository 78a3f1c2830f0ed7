#include "tests/fuzz/loudness_sessions.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "meter_loudness/loudness_parameters.h"
#include "plugin/panel_snapshot.h"
#include "plugin/vst_main.h"
#include "resources/loudness_layout.h"
#include "tests/fuzz/fault_log.h"
#include "tests/fuzz/fuzz_input.h"
#include "tests/fuzz/guarded_buffer.h"
#include "tests/fuzz/host_block.h"

#if PEVO_HEADLESS
#include "gui/native/soft/headless_platform.h"
#endif

namespace {

using namespace loudness;

VstIntPtr sampleRateAnswer = 48000;
/// The callback on which the host closes the effect that makes it (-1: none), the way a
/// host may while the user holds a control; and the effects it closed so.
VstInt32 closeOn = -1;
std::vector<AEffect*> closedByHost;

VstIntPtr host(AEffect* effect, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    if (opcode == closeOn && effect) {
        closeOn = -1;
        closedByHost.push_back(effect);
        effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
        return 0;
    }
    return opcode == audioMasterVersion
               ? 2400
               : (opcode == audioMasterGetSampleRate ? sampleRateAnswer : 0);
}

/// "-inf", "+inf" or a number with one decimal, within the 8 characters hosts allow.
bool isLevelText(const char* text) {
    if (!std::strcmp(text, "-inf") || !std::strcmp(text, "+inf")) {
        return true;
    }
    char* end = nullptr;
    std::strtod(text, &end);
    const char* point = std::strchr(text, '.');
    return end != text && *end == '\0' && point && std::strlen(point) == 2 &&
           std::strlen(text) < kVstMaxLabelLen;
}

/// One instance through its record, with the settings it must read back.
class Instance {
  public:
    Instance(AEffect* record, FaultLog& faults) : effect(record), faults(faults) {}
    Instance(const Instance&) = delete;
    Instance& operator=(const Instance&) = delete;
    ~Instance() {
        if (!closed()) {
            effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
        }
    }

    /// Whether the host closed the effect from one of its callbacks.
    bool closed() const {
        return std::find(closedByHost.begin(), closedByHost.end(), effect) != closedByHost.end();
    }

    /// A user's press on a panel changes settings as the host automates them: what this
    /// session set no longer says what they read.
    void forgetSettings() { expected = {}; }

    void step(FuzzInput& in, void* parentWindow) {
        switch (in.below(10)) {
            case 0:
                setup(in);
                break;
            case 1:
                texts(in);
                break;
            case 2:
                editor(in, parentWindow);
                break;
            case 3:
                snapshot(in);
                break;
            case 4:
            case 5:
                setParameter(in);
                break;
            default:
                process(in);
                break;
        }
        check();
    }

  private:
    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
        faults.nextCall();
        return effect->dispatcher(effect, opcode, index, value, ptr, opt);
    }
    void setup(FuzzInput& in) {
        const VstInt32 opcodes[] = {effSetSampleRate, effSetBlockSize, effMainsChanged,
                                    effSetBlockSizeAndSampleRate, effSetProgram};
        const VstInt32 opcode = opcodes[in.below(5)];
        const VstInt32 index = in.index();
        const VstIntPtr value = in.value();
        dispatch(opcode, index, value, nullptr, in.anyFloat());
        if (opcode == effSetProgram && value >= 0 && value < kNumPrograms) {
            program = static_cast<int>(value);
        }
    }
    void texts(FuzzInput& in) {
        const VstInt32 opcodes[] = {effGetParamDisplay, effGetParamLabel, effGetParamName,
                                    effGetProgramName, effGetProgramNameIndexed};
        const std::size_t sizes[] = {kVstMaxLabelLen, kVstMaxLabelLen, kVstMaxParamNameLen,
                                     kVstMaxProgNameLen, kVstMaxProgNameLen};
        const std::uint32_t pick = in.below(5);
        GuardedBuffer buffer(sizes[pick]);
        dispatch(opcodes[pick], in.index(), 0, buffer.data(), 0.0f);
        faults.check(buffer.guardsIntact(), "a text was written past its buffer");
    }
    void editor(FuzzInput& in, void* parentWindow) {
        const VstInt32 opcodes[] = {effEditOpen, effEditIdle, effEditIdle, effEditClose};
        const VstInt32 opcode = opcodes[in.below(4)];
        dispatch(opcode, 0, 0, opcode == effEditOpen ? parentWindow : nullptr, 0.0f);
    }
    void snapshot(FuzzInput& in) {
        PanelSnapshot picture{static_cast<std::int32_t>(in.index()),
                              static_cast<std::int32_t>(in.index()), nullptr};
        dispatch(effVendorSpecific, kPanelSnapshotIndex, kPanelSnapshotValue, &picture, 0.0f);
        if (in.oneIn(2) && picture.width > 0 && picture.height > 0 && picture.width < 2000 &&
            picture.height < 2000) {
            // One picture's pixels for every snapshot of the process: no fresh pages each time.
            static std::vector<std::uint32_t> pixels;
            pixels.resize(std::size_t(picture.width) * picture.height);
            picture.pixels = pixels.data();
            faults.check(dispatch(effVendorSpecific, kPanelSnapshotIndex, kPanelSnapshotValue,
                                  &picture, 0.0f) == 1,
                         "the panel was not drawn at the size it gave");
        }
    }
    void setParameter(FuzzInput& in) {
        const VstInt32 index =
            in.oneIn(8) ? in.index() : static_cast<VstInt32>(in.below(kNumParams));
        const float value = in.parameter();
        faults.nextCall();
        effect->setParameter(effect, index, value);
        // Stored in 0 .. 1, NaN changing nothing; Reset and Pause are no program's settings.
        if (!isParameter(index) || isReading(index) || std::isnan(value)) {
            return;
        }
        const Expected stored{true, std::clamp(value, 0.0f, 1.0f)};
        for (int p = 0; p < kNumPrograms; ++p) {
            if (p == program || index == kReset || index == kPause) {
                expected[p][index - kTarget] = stored;
            }
        }
    }
    void process(FuzzInput& in) {
        const auto frames =
            static_cast<std::int32_t>(in.oneIn(8) ? -1 - in.below(100) : in.below(3000));
        HostBlock block(in, frames);
        faults.nextCall();
        (in.oneIn(3) ? effect->process : effect->processReplacing)(effect, block.inputs(),
                                                                   block.outputs(), frames);
        const std::string fault = block.check();
        faults.check(fault.empty(), fault);
    }
    void check() {
        for (VstInt32 index = 0; index < kNumParams; ++index) {
            const float value = effect->getParameter(effect, index);
            if (isReading(index)) {
                char text[kVstMaxLabelLen] = {};
                effect->dispatcher(effect, effGetParamDisplay, index, 0, text, 0.0f);
                // The message is made only for a fault: the check runs after every step.
                if (!readingShows(index, value, text)) {
                    faults.check(false, "reading " + std::to_string(index) + " is " + text);
                }
                continue;
            }
            const Expected& want = expected[program][index - kTarget];
            if (want.known && std::memcmp(&value, &want.value, sizeof value) != 0) {
                faults.check(false, "setting " + std::to_string(index) + " reads " +
                                        std::to_string(value) + ", not " +
                                        std::to_string(want.value));
            }
        }
    }

    /// A level within its range; integration's state, off or on; its time, from none up.
    static bool readingShows(VstInt32 index, float value, const char* text) {
        if (index == kIntegrating) {
            return (value == 0.0f && std::strcmp(text, "Stopped") == 0) ||
                   (value == 1.0f && std::strcmp(text, "Running") == 0);
        }
        if (index == kIntegrationTime) {
            unsigned hours = 0, minutes = 0, seconds = 0;
            return value >= 0.0f &&
                   std::sscanf(text, "%u:%2u:%2u", &hours, &minutes, &seconds) == 3;
        }
        return value >= 0.0f && value <= 1.0f && isLevelText(text);
    }

    struct Expected {
        bool known = false;
        float value = 0.0f;
    };
    AEffect* effect;
    FaultLog& faults;
    int program = 0;
    std::array<std::array<Expected, kNumParams - kTarget>, kNumPrograms> expected{};
};

/// The window system and its counts, where the build has the headless platform.
class Desktop {
  public:
#if PEVO_HEADLESS
    Desktop() : platform(shared()) {
        CNativePlatform::install(&platform);
        editors = platform.editorsCreated() - platform.editorsDestroyed();
        frames = platform.framesCreated() - platform.framesDestroyed();
    }
    void* parentWindow(FuzzInput& in) {
        return in.oneIn(4) ? &window : nullptr;
    }
    /// The user presses and holds a control, or anywhere, on an editor window, while the host
    /// may close the effect from its begin-edit, automation, end-edit or idle.
    void hold(FuzzInput& in) {
        const std::vector<CHeadlessWindow*>& windows = platform.windows();
        const VstInt32 callbacks[] = {-1, audioMasterBeginEdit, audioMasterAutomate,
                                      audioMasterEndEdit, audioMasterIdle};
        closeOn = callbacks[in.below(5)];
        const loudness_layout::Box areas[] = {
            loudness_layout::kResetButton,
            loudness_layout::kScaleSwitch,
            loudness_layout::kUnitSwitch,
            {0, 0, loudness_layout::kWidth, loudness_layout::kHeight}};
        const loudness_layout::Box& area = areas[in.below(4)];
        const std::uint32_t polls = in.below(8);
        if (windows.empty()) {
            closeOn = -1;
            return;
        }
        CHeadlessWindow* target = windows[in.below(static_cast<std::uint32_t>(windows.size()))];
        const CPosition where{area.left + static_cast<int>(in.below(area.right - area.left)),
                              area.top + static_cast<int>(in.below(area.bottom - area.top))};
        const CPosition origin = target->screenOrigin();
        platform.setCursorPosition({origin.x + where.x, origin.y + where.y});
        std::uint32_t seen = 0;
        platform.setMouseState(kMouseLeft);
        platform.setMousePollHook([&] {
            platform.advance(60);
            if (++seen >= polls) {
                platform.setMouseState(0);
            }
        });
        target->press(where);  // may close the editor, or the effect and its window with it
        platform.setMousePollHook(nullptr);
        platform.setMouseState(0);
        closeOn = -1;
    }
    std::string leftovers() const {
        const bool clean = platform.windows().empty() &&
                           platform.editorsCreated() - platform.editorsDestroyed() == editors &&
                           platform.framesCreated() - platform.framesDestroyed() == frames;
        return clean ? std::string() : "an editor, frame or window outlived its effect";
    }

  private:
    /// The panel picture is a strip of the panel's width: every control keeps its place, and
    /// the sanitizers' cost of decoding and filling the whole picture per instance is gone.
    static CHeadlessPlatform& shared() {
        static CHeadlessPlatform platform;
        static const bool strip = [] {
            constexpr int kWidth = loudness_layout::kWidth, kStrip = 48;
            platform.addBitmap(loudness_layout::kPanelBitmap, kWidth, kStrip,
                               std::vector<std::uint32_t>(kWidth * kStrip));
            return true;
        }();
        (void)strip;
        return platform;
    }
    CHeadlessPlatform& platform;
    int window = 0;
    int editors = 0;
    int frames = 0;
#else
    void* parentWindow(FuzzInput&) {
        return nullptr;
    }
    void hold(FuzzInput&) {
        // Without windows there is nothing to press.
    }
    std::string leftovers() const {
        return {};
    }
#endif
};

VstIntPtr oddSampleRate(FuzzInput& in) {
    const VstIntPtr rates[] = {48000, 44100, 96000, 8000, 384000, 0, -1, 7999, 384001, 22050};
    return rates[in.below(10)];
}

}  // namespace

std::string runLoudnessBoundarySession(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    FaultLog faults;
    Desktop desktop;
    closedByHost.clear();
    sampleRateAnswer = oddSampleRate(in);
    AEffect* record = VSTPluginMain(host);
    if (!faults.check(record != nullptr, "the entry point refused a host that answers")) {
        return faults.message();
    }
    {
        Instance instance(record, faults);
        while (!in.empty() && !faults.any() && !instance.closed()) {
            if (in.oneIn(16)) {
                desktop.hold(in);
                instance.forgetSettings();
            } else {
                instance.step(in, desktop.parentWindow(in));
            }
        }
    }
    const std::string left = desktop.leftovers();
    faults.check(left.empty(), left);
    return faults.message();
}

std::string runLoudnessLifecycleSession(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    FaultLog faults;
    Desktop desktop;
    closedByHost.clear();
    {
        std::vector<std::unique_ptr<Instance>> instances;
        while (!in.empty() && !faults.any()) {
            const std::uint32_t action = in.below(8);
            if (action == 0 && instances.size() < 3) {
                sampleRateAnswer = oddSampleRate(in);
                AEffect* record = VSTPluginMain(host);
                faults.check(record != nullptr, "the entry point refused a host that answers");
                if (record) {
                    // A new instance may take the memory of one the host closed.
                    closedByHost.erase(
                        std::remove(closedByHost.begin(), closedByHost.end(), record),
                        closedByHost.end());
                    instances.push_back(std::make_unique<Instance>(record, faults));
                }
            } else if (action == 1 && !instances.empty()) {
                instances.erase(instances.begin() + in.below(instances.size()));
            } else if (action == 2 && in.oneIn(2)) {
                desktop.hold(in);
                for (const auto& each : instances) {
                    each->forgetSettings();
                }
            } else if (!instances.empty()) {
                instances[in.below(instances.size())]->step(in, desktop.parentWindow(in));
            }
            // What the host closed from its callbacks is gone.
            instances.erase(std::remove_if(instances.begin(), instances.end(),
                                           [](const auto& each) { return each->closed(); }),
                            instances.end());
        }
    }
    const std::string left = desktop.leftovers();
    faults.check(left.empty(), left);
    return faults.message();
}
