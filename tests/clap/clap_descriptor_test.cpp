// What a host scanning Pevo.clap finds: the entry, the factory with both meters, their
// descriptors and ports, and which extensions each instance answers, also for a host that
// offers none of its own (as Qtractor's scanner does).
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tests/clap/clap_test_host.h"
#include "tests/clap/product_cases.h"

namespace {

std::string joined(const char* const* words) {
    std::string all;
    for (; words && *words; ++words) {
        all += std::string(all.empty() ? "" : " ") + *words;
    }
    return all;
}

TEST(ClapEntry, OffersTheFactoryOnlyUnderItsId) {
    const ClapPluginEntry* entry = clapEntry();
    ASSERT_NE(entry, nullptr);
    EXPECT_GE(entry->clapVersion.major, 1u);
    EXPECT_NE(entry->getFactory(CLAP_PLUGIN_FACTORY_ID), nullptr);
    for (const char* id : {"clap.plugin-factory.", "clap.plugin-factor", "", "clap.preset"}) {
        EXPECT_EQ(entry->getFactory(id), nullptr) << id;
    }
    // A second init before deinit is counted; the factory stays until the last deinit.
    EXPECT_TRUE(entry->init("again"));
    entry->deinit();
    EXPECT_NE(entry->getFactory(CLAP_PLUGIN_FACTORY_ID), nullptr);
}

TEST(ClapFactory, ListsBothMetersWithTheirIdentity) {
    const ClapPluginFactory* factory = clapFactory();
    ASSERT_NE(factory, nullptr);
    ASSERT_EQ(factory->getPluginCount(factory), productCases().size());
    EXPECT_EQ(factory->getPluginDescriptor(factory, 2), nullptr);
    for (std::uint32_t k = 0; k < productCases().size(); ++k) {
        const ProductCase& product = productCases()[k];
        const ClapPluginDescriptor* d = factory->getPluginDescriptor(factory, k);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->clapVersion.major, 1u);
        EXPECT_STREQ(d->id, product.clapId);
        EXPECT_STREQ(d->name, product.name);
        EXPECT_STREQ(d->vendor, "Quellmark");
        EXPECT_STREQ(d->version, product.product().identity.versionText);
        for (const char* field : {d->url, d->manualUrl, d->supportUrl, d->description}) {
            EXPECT_NE(field, nullptr);
        }
        EXPECT_EQ(joined(d->features), joined(product.product().identity.clapFeatures));
        EXPECT_EQ(joined(d->features).rfind("audio-effect analyzer", 0), 0u) << "listed as effects";
    }
}

TEST(ClapFactory, MakesInstancesOnlyForExactIds) {
    const ClapPluginFactory* factory = clapFactory();
    ClapTestHost host;
    for (const char* id : {"org.quellmark.pevo.level ", "org.quellmark.pevo.levelx",
                           "org.quellmark.pevo.", "", "org.quellmark.pevo.LOUDNESS"}) {
        EXPECT_EQ(factory->createPlugin(factory, host.record(), id), nullptr) << id;
    }
    EXPECT_EQ(factory->createPlugin(factory, nullptr, "org.quellmark.pevo.level"), nullptr);
}

TEST(ClapInstance, AnswersItsExtensionsAndOneStereoPortEachWay) {
    for (const bool scanning : {false, true}) {
        for (const ProductCase& product : productCases()) {
            SCOPED_TRACE(std::string(product.clapId) + (scanning ? ", scanning" : ""));
            ClapTestHost host;
            host.offersExtensions = !scanning;
            ClapPluginUnderTest meter(host, product.clapId);
            ASSERT_NE(meter.plugin, nullptr);
            for (const char* id : {CLAP_EXT_AUDIO_PORTS, CLAP_EXT_PARAMS, CLAP_EXT_STATE,
                                   CLAP_EXT_GUI, CLAP_EXT_TIMER_SUPPORT}) {
                EXPECT_NE(meter.plugin->getExtension(meter.plugin, id), nullptr) << id;
            }
            for (const char* id : {"clap.note-ports", "clap.params.", "clap.gu", "clap.latency"}) {
                EXPECT_EQ(meter.plugin->getExtension(meter.plugin, id), nullptr) << id;
            }
            const auto* ports = meter.extension<ClapPluginAudioPorts>(CLAP_EXT_AUDIO_PORTS);
            for (const bool input : {true, false}) {
                ASSERT_EQ(ports->count(meter.plugin, input), 1u);
                ClapAudioPortInfo info{};
                ASSERT_TRUE(ports->get(meter.plugin, 0, input, &info));
                EXPECT_FALSE(ports->get(meter.plugin, 1, input, &info));
                EXPECT_EQ(info.flags, CLAP_AUDIO_PORT_IS_MAIN);
                EXPECT_EQ(info.channelCount, 2u);
                EXPECT_STREQ(info.portType, "stereo");
                EXPECT_EQ(info.inPlacePair, 0u);
            }
        }
    }
}

}  // namespace
