// The two meters the CLAP library carries, as the tests meet them: what a host should list,
// which VST 2 build is the same product, and the product's own parameter table.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "plugin/product.h"

class ClapPluginUnderTest;
class Vst2Peer;

struct ProductCase {
    const char* clapId;
    const char* name;
    /// The file name of the product's VST 2 library, built next to Pevo.clap.
    const char* vst2File;
    const Product& (*product)();

    const ParameterTable& table() const { return product().parameters; }
    /// Where the VST 2 library is: next to Pevo.clap (PEVO_CLAP).
    std::string vst2Path() const;
};

const std::vector<ProductCase>& productCases();

/// The plain value a host sees for the VST 2 value `value`, as the table defines it.
double plainFor(const ParameterInfo& entry, float value);

/// Runs `check` for each product with its CLAP plug-in and its VST 2 build, both made at
/// `rate` and neither activated; a product whose either build won't load fails the test.
void forEachProductBesideVst2(
    double rate,
    const std::function<void(const ProductCase&, ClapPluginUnderTest&, Vst2Peer&)>& check);
