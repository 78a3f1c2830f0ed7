// The meter effect: identity, eight parameters, sixteen programs, and the engine that passes
// the audio through and publishes six meter readings after every block.
#pragma once

#include <atomic>
#include <memory>

#include "engine/meter_engine.h"
#include "engine/meter_parameters.h"
#include "meter_level/effect_program.h"
#include "meter_level/level_parameters.h"
#include "plugin/product_effect.h"

/// The name is the classic delay example's, which this effect grew from; the class keeps it.
class ADelay : public ProductEffect {
  public:
    static constexpr VstInt32 kNumPrograms = 16;
    static constexpr VstInt32 kNumChannels = 2;

    /// Throws std::bad_alloc when the programs or the engine cannot be allocated.
    explicit ADelay(audioMasterCallback audioMaster);
    ~ADelay() override;

    void setParameter(VstInt32 index, float value) override;
    float getParameter(VstInt32 index) override;
    void process(float** inputs, float** outputs, VstInt32 sampleFrames) override;

    void setProgram(VstInt32 program) override;
    void getProgramName(char* name) override;

    /// Re-times and clears the detectors at the start of the next block; a rate the meter
    /// refuses (not a number, 0 or less, above MeterEngine::kMaxSampleRate) changes nothing.
    void setSampleRate(float newSampleRate) override;
    /// Stores both; a refused rate leaves the sample rate as it was.
    void setBlockSizeAndSampleRate(VstInt32 newBlockSize, float newSampleRate) override;
    /// Clears levels, hold windows and delay lines (at the start of the next block) and
    /// publishes the meters at their floor at once.
    void resume() override;

    /// The engine's state, for tests and tools to read; the audio thread owns it.
    const MeterEngine& meterEngine() const { return engine; }

  protected:
    ProgramName& programName(VstInt32 program) override;
    /// "Delay" is shown in frames at the rate it was last set at.
    ParameterContext textContext() override;
    /// Whether something shows every block's six values: then they are published through
    /// setParameter one by one. Otherwise only what getParameter answers is stored: the last
    /// value of each meter (channel 1's), and each strip's level on its own.
    virtual bool metersShown() { return false; }

    /// What setParameter does, inline: the effect with an editor stores each of the six
    /// values published per block without a further call.
    void storeParameter(VstInt32 index, float value) {
        if (index >= 0 && index < kParameterCount) {
            programs[currentProgram.load(std::memory_order_relaxed)].values[index].store(
                value, std::memory_order_relaxed);
            if (index == kResp) {
                // Stored with its request: the next block re-times from the value stored last.
                engine.setResponse(value);
            } else {
                parameters[index].store(value, std::memory_order_relaxed);
            }
            if (index == kDelay) {
                applyDelay(value);
            }
        }
        if (editor) {
            editor->postUpdate();
        }
    }

    MeterEngine engine;
    std::unique_ptr<EffectProgram[]> programs;
    /// The values of the parameters by index; "Resp" is the engine's, with its requests.
    std::atomic<float> parameters[kParameterCount] = {};
    /// Both strips' last levels, in the order of the table's entries from kStripLevels.
    std::atomic<float> stripLevels[kStripLevelCount] = {};
    static_assert(kStripLevelCount == MeterEngine::kMeters, "one level per meter");

  private:
    /// Carries out a change of "Delay".
    void applyDelay(float value);
    void publishMeters();
    /// Stores a published meter value where getParameter and the program read it.
    void storeMeter(VstInt32 index, float value) {
        programs[currentProgram.load(std::memory_order_relaxed)].values[index].store(
            value, std::memory_order_relaxed);
        parameters[index].store(value, std::memory_order_relaxed);
    }

    /// `curProgram` as the audio thread reads it.
    std::atomic<VstInt32> currentProgram{0};
    /// The rate "Delay" was last carried out at.
    std::atomic<float> delayRate{0.0f};
};
