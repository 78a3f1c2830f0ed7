// The loudness meter as every format meets it.
#pragma once

#include "plugin/product.h"

/// Its effect is LoudnessEffect, with its panel.
const Product& loudnessMeterProduct();
