#include "meter_loudness/loudness_meter_product.h"

#include "meter_loudness/loudness_effect.h"
#include "meter_loudness/loudness_parameters.h"
#include "plugin/create_effect.h"

const Product& loudnessMeterProduct() {
    static const Product product{loudnessMeterIdentity(), loudnessMeterParameters(),
                                 &createEffect<LoudnessEffect>};
    return product;
}
