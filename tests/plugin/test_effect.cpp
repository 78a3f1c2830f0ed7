#include "tests/plugin/test_effect.h"

RecordingHost* RecordingHost::current = nullptr;

VstIntPtr RecordingHost::callback(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr value, void*,
                                  float opt) {
    if (!current) {
        return 0;
    }
    current->calls.push_back({opcode, index, value, opt});
    return opcode == current->answeredOpcode ? current->answer : 0;
}
