// The products this LV2 bundle carries, in the order of its descriptors.
#pragma once

#include <cstdint>

struct Product;

constexpr std::uint32_t kLv2ProductCount = 2;

/// Null past the last product.
const Product* lv2Product(std::uint32_t index);
