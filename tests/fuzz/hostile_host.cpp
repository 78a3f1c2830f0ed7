#include "tests/fuzz/hostile_host.h"

#include <algorithm>
#include <memory>

#include "plugin/vst_main.h"
#include "tests/fuzz/driven_effect.h"

#if PEVO_HEADLESS
#include "gui/native/soft/soft_bitmap.h"
#endif

namespace {

HostileHost* current = nullptr;

#if PEVO_HEADLESS

/// The editor's pictures are resources kPanel to kLastPicture; the panel's top strip is
/// kPanelStrip rows high.
constexpr int kPanel = 128;
constexpr int kLastPicture = 134;
constexpr int kPanelStrip = 35;

/// The editor's pictures, decoded once: sessions make editors by the million.
const std::unique_ptr<CSoftBitmap>& picture(int id) {
    static const std::vector<std::unique_ptr<CSoftBitmap>> pictures = [] {
        std::vector<std::unique_ptr<CSoftBitmap>> decoded;
        for (int each = kPanel; each <= kLastPicture; ++each) {
            decoded.push_back(loadSoftBitmap(each));
        }
        return decoded;
    }();
    return pictures[static_cast<std::size_t>(id - kPanel)];
}

/// The window system of every session, made once, with the editor's pictures.
CHeadlessPlatform& sharedPlatform() {
    static CHeadlessPlatform platform;
    static const bool pictures = [] {
        for (int id = kPanel; id <= kLastPicture; ++id) {
            if (const std::unique_ptr<CSoftBitmap>& each = picture(id)) {
                platform.addBitmap(id, each->width(), each->height(), each->pixels());
            }
        }
        return true;
    }();
    (void)pictures;
    return platform;
}

#endif

}  // namespace

#if PEVO_HEADLESS
HostileHost::HostileHost() : platform(sharedPlatform()) {
    current = this;
    CNativePlatform::install(&platform);
}
#else
HostileHost::HostileHost() {
    current = this;
}
#endif

HostileHost::~HostileHost() {
    current = nullptr;
}

AEffect* HostileHost::create() {
    return VSTPluginMain(&HostileHost::callback);
}

void HostileHost::attach(DrivenEffect* effect) {
    effects.push_back(effect);
}

void HostileHost::detach(DrivenEffect* effect) {
    effects.erase(std::remove(effects.begin(), effects.end(), effect), effects.end());
}

VstIntPtr HostileHost::callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr, void*,
                                float opt) {
    return current ? current->answer(effect, opcode, index, opt) : 0;
}

VstIntPtr HostileHost::answer(AEffect* effect, VstInt32 opcode, VstInt32 index, float opt) {
    switch (opcode) {
        case audioMasterVersion:
            return versionAnswer;
        case audioMasterGetSampleRate:
            return sampleRateAnswer;
        case audioMasterAutomate:
            for (DrivenEffect* driven : effects) {
                if (driven->record() == effect) {
                    driven->valueSet(index, opt);
                }
            }
            break;
        default:
            break;
    }
    if (opcode == habit.on && effect && !reacting) {
        reacting = true;
        if (habit.request != effClose) {
            effect->dispatcher(effect, habit.request, 0, 0, parentWindow(), 0.0f);
        } else if (pressing) {
            closeFromCallback(effect);
        }
        reacting = false;
    }
    return 0;
}

void HostileHost::closeFromCallback(AEffect* effect) {
    for (DrivenEffect* driven : effects) {
        if (driven->record() == effect) {
            effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
            driven->closedByHost();
            return;
        }
    }
}

HostileHost::Habit HostileHost::oddHabit(FuzzInput& in) {
    static constexpr VstInt32 kCallbacks[] = {audioMasterIdle, audioMasterAutomate,
                                              audioMasterBeginEdit, audioMasterEndEdit};
    static constexpr VstInt32 kRequests[] = {effEditClose, effEditOpen, effEditIdle, effClose};
    Habit habit;
    if (in.oneIn(2)) {
        habit.on = kCallbacks[in.below(4)];
        habit.request = kRequests[in.below(4)];
    }
    return habit;
}

VstIntPtr HostileHost::oddSampleRate(FuzzInput& in) {
    // Mostly a low rate, odd but valid: an instance zeroes buffers that follow the rate, the
    // fuzzers make instances by the million, and the meter works alike at every rate (its
    // buffers then grow for long blocks, which is worth trying too). Rates that size buffers
    // of many megabytes are the host battery's to try.
    static constexpr VstIntPtr kRates[] = {44100, 48000, 8000, 96000,   22050,
                                           0,     -1,    1,    1536001, 2147483647};
    return in.oneIn(16) ? kRates[in.below(sizeof(kRates) / sizeof(kRates[0]))] : 1000;
}

#if PEVO_HEADLESS

int HostileHost::panelHeight = 202;

int HostileHost::choosePanel(FuzzInput& in) {
    const std::unique_ptr<CSoftBitmap>& panel = picture(kPanel);
    const int height = in.oneIn(4) ? panel->height() : kPanelStrip;
    if (height != panelHeight) {
        const std::vector<std::uint32_t>& pixels = panel->pixels();
        platform.addBitmap(kPanel, panel->width(), height,
                           {pixels.begin(), pixels.begin() + panel->width() * height});
        panelHeight = height;
    }
    return height;
}

void* HostileHost::parentWindow() {
    return &window;
}

void HostileHost::paintWindows() {
    for (CHeadlessWindow* each : platform.windows()) {
        each->paintAll();
    }
}

void HostileHost::gesture(FuzzInput& in) {
    const std::vector<CHeadlessWindow*>& windows = platform.windows();
    if (windows.empty()) {
        return;
    }
    CHeadlessWindow* target = windows[in.below(static_cast<std::uint32_t>(windows.size()))];
    // The slider, the three switches, or anywhere on the panel.
    static constexpr CRectangle kAreas[] = {{823, 105, 839, 175},
                                            {83, 40, 114, 85},
                                            {83, 122, 114, 167},
                                            {793, 40, 820, 68},
                                            {0, 0, 900, 202}};
    const CRectangle& area = kAreas[in.below(5)];
    const CPosition where{
        area.left + static_cast<int>(in.below(static_cast<std::uint32_t>(area.width()))),
        area.top + static_cast<int>(in.below(static_cast<std::uint32_t>(area.height())))};
    static constexpr int kButtons[] = {kMouseLeft, kMouseLeft, kMouseRight, kMouseLeft | kKeyShift,
                                       kMouseLeft | kKeyControl};
    const int buttons = kButtons[in.below(5)];
    const std::uint32_t polls = in.below(12);
    const int step = static_cast<int>(in.below(41)) - 20;
    const CPosition origin = target->screenOrigin();
    std::uint32_t seen = 0;
    platform.setCursorPosition({origin.x + where.x, origin.y + where.y});
    platform.setMouseState(buttons);
    platform.setMousePollHook([&] {
        if (++seen >= polls) {
            platform.setMouseState(0);
        }
        const int moved = step * static_cast<int>(seen);
        platform.setCursorPosition({origin.x + where.x, origin.y + where.y + moved});
        platform.advance(20);
    });
    // May close the editor and its window, or the effect with them, through the host's habit.
    pressing = true;
    target->press(where);
    pressing = false;
    platform.setMousePollHook(nullptr);
    platform.setMouseState(0);
}

std::size_t HostileHost::openWindows() const {
    return platform.windows().size();
}

std::string HostileHost::leftovers() const {
    if (!platform.windows().empty() || platform.classUseCount() != 0) {
        return "an editor window outlived its effect";
    }
    if (platform.editorsCreated() != platform.editorsDestroyed() ||
        platform.framesCreated() != platform.framesDestroyed()) {
        return "an editor or frame outlived its effect";
    }
    return platform.liveBitmaps() == 0 ? std::string() : "a bitmap outlived its effect";
}

#else

int HostileHost::choosePanel(FuzzInput& in) {
    in.oneIn(4);  // the same bytes as with the headless platform; the panel is the library's
    return 202;
}

void* HostileHost::parentWindow() {
    return nullptr;
}

void HostileHost::paintWindows() {}

void HostileHost::gesture(FuzzInput&) {
    // Without windows there is nothing to click.
}

std::size_t HostileHost::openWindows() const {
    return 0;
}

std::string HostileHost::leftovers() const {
    return {};
}

#endif
