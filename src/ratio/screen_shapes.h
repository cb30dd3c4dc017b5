#pragma once

#include <vector>

#include "ratio/patch_value.h"

/// Whether `value` is this tool's own encoding of a real screen's shape:
/// 16:9, 16:10, 4:3, 5:4, 3:2, the 21:9 family, 32:9 and the other shapes
/// that monitors, laptops, handhelds and TVs are sold in, in landscape or
/// portrait. Any other float, however much it looks like a ratio, is not;
/// nor is 1:1 (1.0), the most common float there is.
bool isScreenShape(const PatchValue& value);

/// Every value that isScreenShape takes.
const std::vector<PatchValue>& screenShapeValues();
