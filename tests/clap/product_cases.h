// The two meters the CLAP library carries, as the tests meet them: what a host should list,
// which VST 2 build is the same product, and the product's own parameter table.
#pragma once

#include <vector>

#include "plugin/product.h"

struct ProductCase {
    const char* clapId;
    const char* name;
    /// The file name of the product's VST 2 library, built next to Pevo.clap.
    const char* vst2File;
    const Product& (*product)();

    const ParameterTable& table() const { return product().parameters; }
};

const std::vector<ProductCase>& productCases();
