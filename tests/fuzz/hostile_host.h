// The host side of the fuzz sessions and of the host battery: makes instances through the
// entry point, answers their callbacks (with whatever answers a session chooses), and plays
// the window system and the user on a headless platform where the build has one. Editor
// windows need no display: without the headless platform the editor is opened with no
// parent window and builds its frame without one.
#pragma once

#include <string>
#include <vector>

#include "plugin/vst2.h"
#include "tests/fuzz/fuzz_input.h"

#if PEVO_HEADLESS
#include "gui/native/soft/headless_platform.h"
#endif

class DrivenEffect;

class HostileHost {
  public:
    /// What the host does when the effect calls it back: answering callback `on` (-1 for
    /// none), it sends the editor request `request` to the effect at once, the way hosts
    /// close or redraw the editor from inside a drag; or, with effClose while the user holds
    /// a control, it closes the effect.
    struct Habit {
        VstInt32 on = -1;
        VstInt32 request = effEditIdle;
    };

    /// Installs the headless platform, if any; one host at a time. Every host shares one
    /// platform, which counts what all of them had the toolkit do.
    HostileHost();
    ~HostileHost();
    HostileHost(const HostileHost&) = delete;
    HostileHost& operator=(const HostileHost&) = delete;

    /// An instance from the entry point with the host's current answers; null if refused.
    AEffect* create();
    /// Automation of `effect`'s record reaches it from now on.
    void attach(DrivenEffect* effect);
    void detach(DrivenEffect* effect);

    /// The parent window for an editor-open request.
    void* parentWindow();
    /// The parent window for a fuzzed editor-open request: mostly none, which gives a frame
    /// without a window (the same editor, without the cost of a window's pixels under the
    /// sanitizers), sometimes parentWindow().
    void* parentWindow(FuzzInput& in) { return in.oneIn(4) ? parentWindow() : nullptr; }
    /// The window system repaints every editor window.
    void paintWindows();
    /// The user clicks or drags somewhere on an editor window, with any modifiers.
    void gesture(FuzzInput& in);
    /// Editor windows alive right now (none without the headless platform).
    std::size_t openWindows() const;
    /// After every instance is closed: what the toolkit left behind, or nothing.
    std::string leftovers() const;

    /// Picks the editor's panel picture for the session's instances: mostly its top strip,
    /// 900 x 35 (the controls keep their places, and the sanitizers' cost of a full
    /// picture per instance is gone), sometimes the whole 900 x 202. Answers its height.
    int choosePanel(FuzzInput& in);

    /// A sample rate a host might answer, absurd ones included.
    static VstIntPtr oddSampleRate(FuzzInput& in);
    /// A habit of some host: mostly none, else closing, reopening or idling the editor, or
    /// closing the effect, from inside an idle, automation or edit callback.
    static Habit oddHabit(FuzzInput& in);

    VstIntPtr versionAnswer = 2400;
    VstIntPtr sampleRateAnswer = 44100;
    Habit habit;

  private:
    static VstIntPtr callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                              void* ptr, float opt);
    VstIntPtr answer(AEffect* effect, VstInt32 opcode, VstInt32 index, float opt);
    /// Closes `effect` from inside one of its callbacks, and tells its driver.
    void closeFromCallback(AEffect* effect);

    std::vector<DrivenEffect*> effects;
    bool reacting = false;  ///< inside a request the habit sent
    bool pressing = false;  ///< inside a gesture on an editor window
#if PEVO_HEADLESS
    int window = 0;  ///< what the parent window pointer points at
    /// The height of the panel picture the platform holds (all hosts share it).
    static int panelHeight;
    CHeadlessPlatform& platform;
#endif
};
