#include "tests/plugin/program_name_race.h"

#include <atomic>
#include <thread>

#include "plugin/audio_effect.h"

int tornProgramReads(AudioEffect& effect, int programs,
                     const std::function<bool(const std::string&)>& isFactoryName) {
    std::atomic<bool> running{true};
    int torn = 0;
    std::thread reader([&] {
        char name[kVstMaxProgNameLen];
        while (running.load()) {
            const auto program = effect.dispatcher(effGetProgram, 0, 0, nullptr, 0.0f);
            effect.dispatcher(effGetProgramName, 0, 0, name, 0.0f);
            const std::string read = name;
            torn += program < 0 || program >= programs ||
                    (read != "Mine" && read != "Theirs, longer" && !isFactoryName(read));
        }
    });
    char names[][kVstMaxProgNameLen] = {"Mine", "Theirs, longer"};
    for (int round = 0; round < 20000; ++round) {
        effect.dispatcher(effSetProgram, 0, round % programs, nullptr, 0.0f);
        effect.dispatcher(effSetProgramName, 0, 0, names[round % 2], 0.0f);
    }
    running.store(false);
    reader.join();
    return torn;
}
