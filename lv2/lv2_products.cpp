#include "lv2/lv2_products.h"

#include "meter_level/level_meter_product.h"
#include "meter_loudness/loudness_meter_product.h"

const Product* lv2Product(std::uint32_t index) {
    switch (index) {
        case 0:
            return &levelMeterProduct();
        case 1:
            return &loudnessMeterProduct();
        default:
            return nullptr;
    }
}
