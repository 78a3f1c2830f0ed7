// The level meter as every format meets it.
#pragma once

#include "plugin/product.h"

/// Its effect is ADelayEdit: the meter with its panel.
const Product& levelMeterProduct();
