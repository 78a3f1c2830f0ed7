// The entry point under failing allocations: whatever fails, the host gets null or a whole
// effect, never an exception. Allocation failures are injected by replacing operator new.
#include "plugin/vst_main.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "plugin/plugin_module.h"

namespace {

long allocationsBeforeFailure = -1;  // -1: never fail
int sampleRateQueries = 0;

VstIntPtr quietHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    switch (opcode) {
        case audioMasterVersion:
            return 2400;
        case audioMasterGetSampleRate:
            ++sampleRateQueries;
            return 48000;
        default:
            return 0;
    }
}

VstIntPtr silentHost(AEffect*, VstInt32, VstInt32, VstIntPtr, void*, float) {
    return 0;
}

}  // namespace

// The replacement allocator pairs malloc with free itself; the compiler only sees new and
// free meet.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
    if (allocationsBeforeFailure >= 0 && allocationsBeforeFailure-- == 0) {
        throw std::bad_alloc();
    }
    if (void* block = std::malloc(size != 0 ? size : 1)) {
        return block;
    }
    throw std::bad_alloc();
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}

namespace {

TEST(EntryPoint, RefusesHostsWithoutAVersionAnswer) {
    sampleRateQueries = 0;
    EXPECT_EQ(VSTPluginMain(silentHost), nullptr);
    EXPECT_EQ(VSTPluginMain(nullptr), nullptr);
    EXPECT_EQ(sampleRateQueries, 0);  // no effect was begun
}

TEST(EntryPoint, EveryFailedAllocationGivesNull) {
    int failures = 0;
    AEffect* record = nullptr;
    for (long allowed = 0; allowed < 10000 && !record && !PluginModule::outOfMemory(); ++allowed) {
        allocationsBeforeFailure = allowed;
        record = VSTPluginMain(quietHost);
        allocationsBeforeFailure = -1;
        failures += record ? 0 : 1;
    }
    EXPECT_GT(failures, 0);
    if (PluginModule::outOfMemory()) {
        EXPECT_EQ(record, nullptr);  // the editor failed: no effect is handed out from now on
        return;
    }
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->magic, kEffectMagic);
    EXPECT_EQ(record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f), 1);
}

// Runs last in this file: the flag stays set for the life of the process.
TEST(EntryPoint, RefusesOnceAnEditorCouldNotBeMade) {
    PluginModule::setOutOfMemory();
    sampleRateQueries = 0;
    EXPECT_EQ(VSTPluginMain(quietHost), nullptr);
    EXPECT_EQ(sampleRateQueries, 1);  // the effect was made, then deleted
}

}  // namespace
