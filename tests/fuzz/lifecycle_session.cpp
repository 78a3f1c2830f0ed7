#include "tests/fuzz/lifecycle_session.h"

#include <memory>
#include <vector>

#include "tests/fuzz/driven_effect.h"
#include "tests/fuzz/hostile_host.h"

namespace {

constexpr std::size_t kMostInstances = 12;
/// Short blocks: this session is about instances, not audio.
constexpr std::int32_t kLongestBlock = 512;

class Instances {
  public:
    Instances(FuzzInput& in, FaultLog& faults, HostileHost& host)
        : in(in), faults(faults), host(host), panelHeight(host.choosePanel(in)) {}
    ~Instances() {
        // Hosts close what is left in any order.
        while (!live.empty()) {
            closeAt(in.below(static_cast<std::uint32_t>(live.size())));
        }
    }

    void create() {
        if (live.size() >= kMostInstances) {
            return;
        }
        host.versionAnswer = in.oneIn(16) ? 0 : 2400;
        host.sampleRateAnswer = HostileHost::oddSampleRate(in);
        AEffect* record = host.create();
        faults.check((record != nullptr) == (host.versionAnswer != 0),
                     "the entry point answered a host's version query wrongly");
        if (record) {
            live.push_back(std::make_unique<DrivenEffect>(record, faults, panelHeight));
            host.attach(live.back().get());
        }
    }

    void step() {
        if (live.empty()) {
            create();
            return;
        }
        const std::size_t at = in.below(static_cast<std::uint32_t>(live.size()));
        DrivenEffect& effect = *live[at];
        switch (in.below(10)) {
            case 0:
            case 1:
                create();
                break;
            case 2:
                closeAt(at);
                return;
            case 3:
                effect.request(in, host.parentWindow(in), effEditOpen);
                break;
            case 4:
                effect.request(in, host.parentWindow(in), effEditClose);
                break;
            case 5:
                effect.editorRequest(in, host.parentWindow(in));
                break;
            case 6:
                effect.process(in, kLongestBlock);
                break;
            case 7:
                effect.setParameter(in);
                break;
            case 8:
                if (in.oneIn(2)) {
                    host.paintWindows();
                } else {
                    host.gesture(in);
                }
                break;
            default:
                effect.request(in, host.parentWindow(in));
                break;
        }
        // What the host closed, from the step's requests or a gesture's callbacks, is gone.
        for (std::size_t each = live.size(); each-- > 0;) {
            if (live[each]->isClosed()) {
                closeAt(each);
            }
        }
    }

    /// Every instance still reads what its own calls set: none disturbed another.
    void check() {
        for (const auto& effect : live) {
            effect->checkParameters();
        }
    }

  private:
    void closeAt(std::size_t at) {
        host.detach(live[at].get());
        live.erase(live.begin() + static_cast<std::ptrdiff_t>(at));
    }

    FuzzInput& in;
    FaultLog& faults;
    HostileHost& host;
    const int panelHeight;
    std::vector<std::unique_ptr<DrivenEffect>> live;
};

}  // namespace

std::string runLifecycleSession(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    FaultLog faults;
    HostileHost host;
    host.habit = HostileHost::oddHabit(in);
    {
        Instances instances(in, faults, host);
        while (!in.empty() && !faults.any()) {
            instances.step();
            instances.check();
        }
    }
    const std::string left = host.leftovers();
    faults.check(left.empty(), left);
    return faults.message();
}
