// Prints every meter reading the effect publishes for a fixed set of signals and
// settings, one line per block, as the bits of the six floats, then the loudness meter's
// readings of the same signals every 100 ms. The Linux and both Windows builds must print
// the same: the figures may not depend on the platform's floating-point code or maths
// library.
#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "loudness/loudness_meter.h"
#include "meter_level/adelay.h"

namespace {

VstIntPtr hostCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    // Any version will do; the rate is set explicitly afterwards.
    return opcode == audioMasterVersion ? 2400 : 0;
}

/// Keeps the six readings of the current block, in publishing order.
class FigureRecorder : public ADelay {
  public:
    FigureRecorder() : ADelay(hostCallback) {}

    /// Every block's six values come through setParameter.
    bool metersShown() override { return true; }

    void setParameter(VstInt32 index, float value) override {
        if (index >= 1 && index <= 3 && readings.size() < 6) {
            readings.push_back(value);
        }
        ADelay::setParameter(index, value);
    }

    std::vector<float> readings;
};

// Signals are made without the maths library, so that the input is the same everywhere.
class SignalSource {
  public:
    explicit SignalSource(int kind) : kind(kind) {}

    void next(float& left, float& right) {
        noiseState = noiseState * 1664525u + 1013904223u;
        const float noise = static_cast<float>(noiseState >> 8) * 0x1p-24f - 0.5f;
        // A sine of about 1 kHz at 44.1 kHz, by the two-term recurrence.
        const double sine = kTwoCos * sine1 - sine2;
        sine2 = sine1;
        sine1 = sine;
        ++sample;
        switch (kind) {
            case 0:  // a sine with noise on the right, in growing steps of 3 dB
                if (sample % 4410 == 0) {
                    gain *= 1.41253757f;
                }
                left = static_cast<float>(sine) * gain;
                right = noise * gain;
                break;
            case 1:  // a full-scale square wave against an inverted, halved copy
                left = (sample / 50) % 2 ? 1.0f : -1.0f;
                right = -0.5f * left;
                break;
            case 2:  // bursts with silence between them
                left = (sample / 3000) % 3 == 0 ? noise : 0.0f;
                right = (sample / 2000) % 2 == 0 ? static_cast<float>(sine) : 0.0f;
                break;
            default:  // overloads beyond full scale
                left = 1.5f * static_cast<float>(sine);
                right = noise * 4.0f;
                break;
        }
    }

  private:
    static constexpr double kTwoCos = 0x1.fad7da43f7e6ep+0;  // 2 cos(2 pi 997 / 44100)
    int kind;
    long sample = 0;
    std::uint32_t noiseState = 12345u;
    double sine1 = 0x1.21f015ef5305dp-3;  // sin(2 pi 997 / 44100)
    double sine2 = 0.0;
    float gain = 0.001f;
};

struct Settings {
    float mode, resp, rmsMode, delay, sampleRate;
    int blockSize;
};

std::uint32_t bits(float value) {
    std::uint32_t result;
    std::memcpy(&result, &value, sizeof result);
    return result;
}

void run(const Settings& settings, int signal) {
    FigureRecorder effect;
    effect.setSampleRate(settings.sampleRate);
    effect.setParameter(0, settings.delay);
    effect.setParameter(5, settings.mode);
    effect.setParameter(6, settings.resp);
    effect.setParameter(7, settings.rmsMode);
    effect.resume();

    std::printf("# signal %d mode %g resp %g rms %g delay %g rate %g block %d\n", signal,
                settings.mode, settings.resp, settings.rmsMode, settings.delay, settings.sampleRate,
                settings.blockSize);
    SignalSource source(signal);
    std::vector<float> in[2], out[2];
    for (int channel = 0; channel < 2; ++channel) {
        in[channel].resize(settings.blockSize);
        out[channel].resize(settings.blockSize);
    }
    float* inputs[] = {in[0].data(), in[1].data()};
    float* outputs[] = {out[0].data(), out[1].data()};
    const int blocks = static_cast<int>(settings.sampleRate) / settings.blockSize;
    for (int block = 0; block < blocks; ++block) {
        for (int i = 0; i < settings.blockSize; ++i) {
            source.next(in[0][i], in[1][i]);
        }
        effect.readings.clear();
        effect.processReplacing(inputs, outputs, settings.blockSize);
        for (const float reading : effect.readings) {
            std::printf("%08" PRIx32 " ", bits(reading));
        }
        std::printf("\n");
    }
}

/// A reading with six decimals, which the maths libraries' last bits cannot change.
void printReading(double value) {
    if (std::isfinite(value)) {
        std::printf(" %.6f", value);
    } else {
        std::printf(" undefined");
    }
}

/// Channels past the second carry copies of the first two, at 0.7 or inverted at 0.4,
/// measured in the standard layout of their count (5.1, 7.1).
void runLoudness(int signal, double sampleRate, int channels, int blockSize) {
    LoudnessMeter meter;
    if (channels > 2) {
        meter.setup(sampleRate, *ChannelLayout::standard(channels));
    } else {
        meter.setup(sampleRate, channels);
    }
    std::printf("# loudness signal %d rate %g channels %d block %d\n", signal, sampleRate, channels,
                blockSize);
    SignalSource source(signal);
    std::vector<float> in[LoudnessMeter::kMaxChannels];
    const float* inputs[LoudnessMeter::kMaxChannels] = {};
    const int tenth = static_cast<int>(sampleRate) / 10;
    for (int step = 0; step < 40; ++step) {
        for (int done = 0; done < tenth;) {
            const int length = std::min(blockSize, tenth - done);
            for (int channel = 0; channel < std::max(channels, 2); ++channel) {
                in[channel].resize(static_cast<std::size_t>(length));
                inputs[channel] = in[channel].data();
            }
            for (int i = 0; i < length; ++i) {
                source.next(in[0][i], in[1][i]);
                for (int channel = 2; channel < channels; ++channel) {
                    in[channel][i] = in[channel % 2][i] * (channel % 3 ? 0.7f : -0.4f);
                }
            }
            meter.process(inputs, static_cast<std::size_t>(length));
            done += length;
        }
        for (const double reading :
             {meter.momentary(), meter.shortTerm(), meter.integrated(), meter.maxMomentary(),
              meter.maxShortTerm(), meter.loudnessRange(), meter.samplePeak(0), meter.truePeak(0),
              meter.truePeak(channels - 1), meter.truePeak()}) {
            printReading(reading);
        }
        std::printf("\n");
    }
}

}  // namespace

int main() {
    const float rates[] = {8000.0f,  22050.0f, 32000.0f, 44100.0f,
                           48000.0f, 88200.0f, 96000.0f, 192000.0f};
    const int blockSizes[] = {512, 333, 64};
    for (int signal = 0; signal < 4; ++signal) {
        for (const float mode : {0.0f, 0.5f, 1.0f}) {
            for (const float resp : {0.0f, 0.5f, 1.0f}) {
                for (const float rmsMode : {0.0f, 1.0f}) {
                    const int variant = static_cast<int>(mode * 2 + resp * 6 + rmsMode);
                    run({mode, resp, rmsMode, variant % 2 ? 0.37f : 0.0f, rates[variant % 8],
                         blockSizes[variant % 3]},
                        signal);
                }
            }
        }
    }
    const double loudnessRates[] = {8000.0, 44100.0, 48000.0, 96000.0, 192000.0, 384000.0};
    for (int signal = 0; signal < 4; ++signal) {
        for (int variant = 0; variant < 6; ++variant) {
            runLoudness(signal, loudnessRates[(variant + signal) % 6], 1 + variant % 2,
                        blockSizes[variant % 3]);
        }
        for (const int channels : {5, 6, 8}) {
            runLoudness(signal, loudnessRates[(channels + signal) % 6], channels,
                        blockSizes[(channels + signal) % 3]);
        }
    }
    return 0;
}
