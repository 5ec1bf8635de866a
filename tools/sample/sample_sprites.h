#pragma once

#include <cstdint>
#include <vector>

#include "sample/picture.h"

namespace zorvane::sample {

// A sprite file ("1.10", the sub-image table, the sub-images) holding the pictures in order.
// With `transparency`, pixels of index 213 are coded as transparent gaps.
std::vector<std::uint8_t> SpriteFile(const std::vector<Picture>& pictures, bool transparency);

}  // namespace zorvane::sample
