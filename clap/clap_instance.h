// One plug-in instance as a CLAP host sees it: the product's effect, made through the
// product's own `create` and driven through its VST 2 record and dispatcher as a VST 2 host
// drives it, with the effect's requests to its host answered here: its time request from
// the transport of the block being processed.
#pragma once

#include <cstdint>

#include "clap/clap_abi.h"
#include "clap/edit_queue.h"
#include "clap/panel_host.h"
#include "clap/parameter_bridge.h"
#include "plugin/product.h"
#include "plugin/vst2.h"

class ClapInstance {
  public:
    /// A new, uninitialised instance of `product` for `host`; calls nothing on the host.
    ClapInstance(const Product& product, const ClapPluginDescriptor* descriptor,
                 const ClapHost* host);
    ~ClapInstance();
    ClapInstance(const ClapInstance&) = delete;
    ClapInstance& operator=(const ClapInstance&) = delete;

    /// The record handed to the host; its `pluginData` leads back here.
    const ClapPlugin* record() const { return &plugin; }
    static ClapInstance& of(const ClapPlugin* plugin) {
        return *static_cast<ClapInstance*>(plugin->pluginData);
    }

    bool init();
    bool activate(double sampleRate, std::uint32_t maxFrames);
    void deactivate();
    bool startProcessing();
    void stopProcessing();
    void reset();
    std::int32_t process(const ClapProcess& block);
    /// Applies the host's parameter events and tells it the panel's edits, without audio.
    void flush(const ClapInputEvents* in, const ClapOutputEvents* out);
    const void* extension(const char* id) const;

    ParameterBridge& parameters() { return bridge; }
    PanelHost& panel() { return panelHost; }
    /// Writes `message` to the host's log, if it keeps one.
    void log(std::int32_t severity, const char* message) const;
    /// Tells the host that parameter values changed without events (after loading a state).
    void valuesChanged() const;

  private:
    static VstIntPtr answerEffect(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                  void* ptr, float opt);
    VstIntPtr answer(VstInt32 opcode, VstInt32 index, float opt);
    /// Queues one of the panel's edits and asks the host for a chance to send it.
    void queueEdit(EditQueue::Kind kind, VstInt32 index, float value);
    /// Runs the block in pieces between the frames of its `count` input events.
    void runWithEvents(const ClapProcess& block, float* const* inputs, float* const* outputs,
                       std::uint32_t count);
    /// Runs `frames` frames from `offset` on through the effect.
    void run(float* const* inputs, float* const* outputs, std::uint32_t offset,
             std::uint32_t frames);
    void sendEdits(const ClapOutputEvents* out);
    /// Answers the effect's time requests from `transport` on; null: the host has none.
    void followTransport(const ClapEventTransport* transport);

    ClapPlugin plugin;
    const Product& product;
    const ClapHost* const host;
    const ClapHostParams* hostParams = nullptr;
    const ClapHostLog* hostLog = nullptr;
    AEffect* effect = nullptr;
    ParameterBridge bridge;
    PanelHost panelHost;
    EditQueue edits;
    double sampleRate = 44100.0;
    std::uint32_t maxFrames = 4096;
    /// The transport as a VST 2 time record, while the block has one.
    VstTimeInfo timeInfo{};
    bool hasTime = false;
    bool active = false;
};
