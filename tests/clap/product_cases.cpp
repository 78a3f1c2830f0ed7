#include "tests/clap/product_cases.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "meter_level/level_meter_product.h"
#include "meter_loudness/loudness_meter_product.h"
#include "tests/clap/clap_test_host.h"
#include "tests/host/vst2_peer.h"

const std::vector<ProductCase>& productCases() {
    static const std::vector<ProductCase> cases = {
        {"org.quellmark.pevo.level", "Pevo level meter", PEVO_LEVEL_VST2_FILE, levelMeterProduct},
        {"org.quellmark.pevo.loudness", "Pevo loudness meter", PEVO_LOUDNESS_VST2_FILE,
         loudnessMeterProduct},
    };
    return cases;
}

std::string ProductCase::vst2Path() const {
    const char* clap = std::getenv("PEVO_CLAP");
    const std::string folder = clap ? std::string(clap) : std::string();
    const std::size_t slash = folder.find_last_of("/\\");
    return (slash == std::string::npos ? std::string() : folder.substr(0, slash + 1)) + vst2File;
}

double plainFor(const ParameterInfo& entry, float value) {
    if (entry.kind == ParameterKind::choice) {
        return std::round(value * static_cast<float>(entry.positions - 1));
    }
    return entry.plain ? entry.plain(value)
                       : entry.minimum + value * (entry.maximum - entry.minimum);
}

void forEachProductBesideVst2(
    double rate,
    const std::function<void(const ProductCase&, ClapPluginUnderTest&, Vst2Peer&)>& check) {
    for (const ProductCase& product : productCases()) {
        SCOPED_TRACE(product.clapId);
        ClapTestHost host;
        ClapPluginUnderTest meter(host, product.clapId);
        Vst2Peer peer(product.vst2Path(), rate);
        if (!meter.plugin || !peer.ready()) {
            ADD_FAILURE() << "the CLAP plug-in or " << product.vst2File << " won't load";
            continue;
        }
        check(product, meter, peer);
    }
}
