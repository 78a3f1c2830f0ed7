#include "meter_level/level_meter_product.h"

#include "meter_level/adelay_edit.h"
#include "meter_level/level_parameters.h"
#include "plugin/create_effect.h"

const Product& levelMeterProduct() {
    static const Product product{levelMeterIdentity(), levelMeterParameters(),
                                 &createEffect<ADelayEdit>};
    return product;
}
