#include "tests/clap/product_cases.h"

#include "meter_level/level_meter_product.h"
#include "meter_loudness/loudness_meter_product.h"

const std::vector<ProductCase>& productCases() {
    static const std::vector<ProductCase> cases = {
        {"org.quellmark.pevo.level", "Pevo level meter", PEVO_LEVEL_VST2_FILE, levelMeterProduct},
        {"org.quellmark.pevo.loudness", "Pevo loudness meter", PEVO_LOUDNESS_VST2_FILE,
         loudnessMeterProduct},
    };
    return cases;
}
