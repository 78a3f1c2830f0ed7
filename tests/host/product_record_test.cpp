// Both plug-ins as a host lists them: identity, every parameter's name, label, automation
// and texts over a sweep of values, and every program. Run once per library; the table below
// holds what each reported before its parameters were described in one table per product.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/host/test_host.h"

namespace {

constexpr float kSweep[] = {0.0f, 0.05f, 0.1f, 0.25f, 1.0f / 3.0f, 0.5f, 0.7f, 0.9f, 1.0f};

struct ExpectedRecord {
    VstInt32 uniqueId;
    std::vector<std::string> lines;
};

std::vector<std::string> describe(PluginInstance& plugin) {
    const AEffect* record = plugin.record;
    std::vector<std::string> lines;
    char line[512];
    std::snprintf(line, sizeof(line), "%s|%s|%s|%d|%d|in %d out %d|params %d|programs %d|flags %d",
                  plugin.text(effGetEffectName, 0, kVstMaxEffectNameLen).c_str(),
                  plugin.text(effGetVendorString, 0, kVstMaxVendorStrLen).c_str(),
                  plugin.text(effGetProductString, 0, kVstMaxProductStrLen).c_str(),
                  static_cast<int>(plugin.dispatch(effGetVendorVersion)),
                  static_cast<int>(plugin.dispatch(effGetPlugCategory)), record->numInputs,
                  record->numOutputs, record->numParams, record->numPrograms, record->flags);
    lines.emplace_back(line);
    // Programs first: the sweep below changes the current program's values.
    for (VstInt32 program = 0; program < record->numPrograms; ++program) {
        plugin.dispatch(effSetProgram, 0, program);
        std::string text = plugin.text(effGetProgramName, 0, kVstMaxProgNameLen) + "|" +
                           plugin.text(effGetProgramNameIndexed, program, kVstMaxProgNameLen);
        for (VstInt32 index = 0; index < record->numParams; ++index) {
            text += "|" + plugin.text(effGetParamDisplay, index, kVstMaxLabelLen);
        }
        lines.push_back(text);
    }
    for (VstInt32 index = 0; index < record->numParams; ++index) {
        std::string text = plugin.text(effGetParamName, index, kVstMaxParamNameLen) + "|" +
                           plugin.text(effGetParamLabel, index, kVstMaxLabelLen) + "|" +
                           std::to_string(plugin.dispatch(effCanBeAutomated, index));
        for (const float value : kSweep) {
            plugin.setParameter(index, value);
            text += "|" + plugin.text(effGetParamDisplay, index, kVstMaxLabelLen);
        }
        lines.push_back(text);
    }
    // Labels and texts after the sweep, every setting at its last value.
    std::string text = "after";
    for (VstInt32 index = 0; index < record->numParams; ++index) {
        text += "|" + plugin.text(effGetParamLabel, index, kVstMaxLabelLen) + " " +
                plugin.text(effGetParamDisplay, index, kVstMaxLabelLen);
    }
    lines.push_back(text);
    return lines;
}

const ExpectedRecord kExpected[] = {
    {fourCharCode('P', 'e', 'v', 'o'),
     {
         "Pevo|Quellmark|Pevo level meter|1000|1|in 2 out 2|params 8|programs 16|flags 29",
         "Init 1|Init|      0|1.000000|1.000000|1.000000|-oo|0.000000|0.000000|0.000000",
         "Init 2|Init|      0|0.000000|0.000000|0.000000|-oo|0.000000|0.000000|0.000000",
         "Init 3|Init|      0|0.000000|0.000000|0.000000|-oo|0.000000|0.000000|0.000000",
         "Init 4|Init|      0|0.000000|0.000000|0.000000|-oo|0.000000|0.000000|0.000000",
         "Init 5|Init|      0|0.000000|0.000000|0.000000|-oo|0.000000|0.000000|0.000000",
         "Init 6|Init|      0|0.000000|0.000000|0.000000|-oo|0.000000|0.000000|0.000000",
         "Init 7|Init|      0|0.000000|0.000000|0.000000|-oo|0.000000|0.000000|0.000000",
         "Init 8|Init|      0|0.000000|0.000000|0.000000|-oo|0.000000|0.000000|0.000000",
         "Init 9|Init|      0|0.000000|0.000000|0.000000|-oo|0.000000|0.000000|0.000000",
         "Init 10|Init|      0|0.000000|0.000000|0.000000|-oo|0.000000|0.000000|0.000000",
         "Init 11|Init|      0|0.000000|0.000000|0.000000|-oo|0.000000|0.000000|0.000000",
         "Init 12|Init|      0|0.000000|0.000000|0.000000|-oo|0.000000|0.000000|0.000000",
         "Init 13|Init|      0|0.000000|0.000000|0.000000|-oo|0.000000|0.000000|0.000000",
         "Init 14|Init|      0|0.000000|0.000000|0.000000|-oo|0.000000|0.000000|0.000000",
         "Init 15|Init|      0|0.000000|0.000000|0.000000|-oo|0.000000|0.000000|0.000000",
         "Init 16|Init|      0|0.000000|0.000000|0.000000|-oo|0.000000|0.000000|0.000000",
         "Delay|samples|1|      0|    720|   1440|   3600|   4800|   7200|  10080|  12960|  14400",
         "RMS "
         "level|apples|1|0.000000|0.050000|0.100000|0.250000|0.333333|0.500000|0.699999|0.899999|1."
         "000000",
         "Peak "
         "level|apples|1|0.000000|0.050000|0.100000|0.250000|0.333333|0.500000|0.699999|0.899999|1."
         "000000",
         "Hold "
         "level|apples|1|0.000000|0.050000|0.100000|0.250000|0.333333|0.500000|0.699999|0.899999|1."
         "000000",
         "Volume|dB|1|-oo|-26.0206|-20.0000|-12.0412|-9.54242|-6.02060|-3.09803|-0.91515|0.000000",
         "Mode||1|0.000000|0.050000|0.100000|0.250000|0.333333|0.500000|0.699999|0.899999|1.000000",
         "Resp||1|0.000000|0.050000|0.100000|0.250000|0.333333|0.500000|0.699999|0.899999|1.000000",
         "RMS "
         "Mode||1|0.000000|0.050000|0.100000|0.250000|0.333333|0.500000|0.699999|0.899999|1.000000",
         "after|samples   14400|apples 1.000000|apples 1.000000|apples 1.000000|dB 0.000000| "
         "1.000000| 1.000000| 1.000000",
     }},
    {fourCharCode('P', 'e', 'v', 'L'),
     {
         "Pevo loudness meter|Quellmark|Pevo loudness meter|1000|1|in 2 out 2|params 20|programs "
         "4|flags 17",
         "EBU R 128|EBU R 128|-inf|-inf|-inf|-inf|-inf|-inf|-inf|Running|0:00:00|-23|-23.0|EBU "
         "+9|LUFS|Ready|-1.0|Always|Stereo|Run|4 min|Follow",
         "ATSC A/85|ATSC A/85|-inf|-inf|-inf|-inf|-inf|-inf|-inf|Running|0:00:00|-24|-24.0|EBU "
         "+9|LUFS|Ready|-2.0|Always|Stereo|Run|4 min|Follow",
         "Streaming|Streaming|-inf|-inf|-inf|-inf|-inf|-inf|-inf|Running|0:00:00|-14|-14.0|EBU "
         "+9|LUFS|Ready|-1.0|Always|Stereo|Run|4 min|Follow",
         "Podcast|Podcast|-inf|-inf|-inf|-inf|-inf|-inf|-inf|Running|0:00:00|-16|-16.0|EBU "
         "+9|LUFS|Ready|-1.0|Always|Stereo|Run|4 min|Follow",
         "Momentary|LUFS|0|-inf|-inf|-inf|-inf|-inf|-inf|-inf|-inf|-inf",
         "Short-term|LUFS|0|-inf|-inf|-inf|-inf|-inf|-inf|-inf|-inf|-inf",
         "Integrated|LUFS|0|-inf|-inf|-inf|-inf|-inf|-inf|-inf|-inf|-inf",
         "Range|LU|0|-inf|-inf|-inf|-inf|-inf|-inf|-inf|-inf|-inf",
         "True peak|dBTP|0|-inf|-inf|-inf|-inf|-inf|-inf|-inf|-inf|-inf",
         "Max momentary|LUFS|0|-inf|-inf|-inf|-inf|-inf|-inf|-inf|-inf|-inf",
         "Max short-term|LUFS|0|-inf|-inf|-inf|-inf|-inf|-inf|-inf|-inf|-inf",
         "Integrating||0|Running|Running|Running|Running|Running|Running|Running|Running|Running",
         "Integration time||0|0:00:00|0:00:00|0:00:00|0:00:00|0:00:00|0:00:00|0:00:00|0:00:00|"
         "0:00:00",
         "Target|LUFS|1|-23|-23|-23|-24|-24|-16|-14|Custom|Custom",
         "Custom target|LUFS|1|-40.0|-38.0|-36.0|-30.0|-26.7|-20.0|-12.0|-4.0|0.0",
         "Scale||1|EBU +9|EBU +9|EBU +9|EBU +9|EBU +9|EBU +18|EBU +18|EBU +18|EBU +18",
         "Unit||1|LUFS|LUFS|LUFS|LUFS|LUFS|LU|LU|LU|LU",
         "Reset||1|Ready|Ready|Ready|Ready|Ready|Reset|Reset|Reset|Reset",
         "TP ceiling|dBTP|1|-20.0|-19.0|-18.0|-15.0|-13.3|-10.0|-6.0|-2.0|0.0",
         "Integrate||1|Always|Always|Always|Playing|Playing|Playing|Playing|Restart|Restart",
         "Channels||1|Stereo|Stereo|Stereo|Stereo|Stereo|Mono|Mono|Mono|Mono",
         "Pause||1|Run|Run|Run|Run|Run|Pause|Pause|Pause|Pause",
         "Zoom||1|1 min|1 min|1 min|4 min|4 min|15 min|60 min|All|All",
         "Graph range||1|Follow|Follow|Follow|Follow|Follow|Scale|Scale|Scale|Scale",
         "after|LU -inf|LU -inf|LU -inf|LU -inf|dBTP -inf|LU -inf|LU -inf| Running| 0:00:00|LUFS "
         "Custom|LUFS 0.0| "
         "EBU "
         "+18| LU| Reset|dBTP 0.0| Restart| Mono| Pause| All| Scale",
     }},
};

TEST(ProductRecord, ReportsWhatItReportedBefore) {
    TestHost host;
    host.sampleRateAnswer = 48000;
    auto plugin = PluginInstance::create();
    ASSERT_TRUE(plugin);
    const std::vector<std::string> lines = describe(*plugin);
    const ExpectedRecord* expected = nullptr;
    for (const ExpectedRecord& candidate : kExpected) {
        if (candidate.uniqueId == plugin->record->uniqueID) {
            expected = &candidate;
        }
    }
    ASSERT_NE(expected, nullptr) << "unknown unique ID " << plugin->record->uniqueID;
    EXPECT_EQ(lines, expected->lines);
}

}  // namespace
