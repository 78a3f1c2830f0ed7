#include "tests/fuzz/boundary_session.h"

#include "tests/fuzz/driven_effect.h"
#include "tests/fuzz/hostile_host.h"

namespace {

/// Set-up requests hosts send between blocks.
constexpr VstInt32 kSetUpRequests[] = {effSetSampleRate, effSetSampleRate, effSetBlockSize,
                                       effSetBlockSizeAndSampleRate, effMainsChanged};
/// Program and text requests.
constexpr VstInt32 kProgramRequests[] = {effSetProgram,
                                         effGetProgram,
                                         effSetProgramName,
                                         effGetProgramName,
                                         effGetProgramNameIndexed,
                                         effGetParamDisplay,
                                         effGetParamLabel,
                                         effGetParamName};

template <std::size_t N>
VstInt32 pick(FuzzInput& in, const VstInt32 (&opcodes)[N]) {
    return opcodes[in.below(N)];
}

void step(FuzzInput& in, DrivenEffect& effect, HostileHost& host) {
    switch (in.below(16)) {
        case 0:
        case 1:
            effect.request(in, host.parentWindow(in));
            break;
        case 2:
            effect.request(in, host.parentWindow(in), pick(in, kSetUpRequests));
            break;
        case 3:
            effect.request(in, host.parentWindow(in), pick(in, kProgramRequests));
            break;
        case 4:
        case 5:
            effect.editorRequest(in, host.parentWindow(in));
            break;
        case 6:
        case 7:
            effect.setParameter(in);
            break;
        case 8:
            effect.getParameter(in);
            break;
        case 9:
            host.paintWindows();
            break;
        case 10:
            host.gesture(in);
            break;
        default:
            effect.process(in);
            break;
    }
}

}  // namespace

std::string runBoundarySession(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    FaultLog faults;
    HostileHost host;
    host.sampleRateAnswer = HostileHost::oddSampleRate(in);
    host.habit = HostileHost::oddHabit(in);
    const int panelHeight = host.choosePanel(in);
    AEffect* record = host.create();
    if (!faults.check(record != nullptr, "the entry point refused a host that answers")) {
        return faults.message();
    }
    {
        DrivenEffect effect(record, faults, panelHeight);
        host.attach(&effect);
        while (!in.empty() && !effect.isClosed() && !faults.any()) {
            step(in, effect, host);
            if (!effect.isClosed()) {
                effect.checkParameters();
            }
        }
        host.detach(&effect);
    }
    const std::string left = host.leftovers();
    faults.check(left.empty(), left);
    return faults.message();
}
