#pragma once

#include <cstdint>
#include <vector>

#include "sample/picture.h"

namespace zorvane::sample {

// A sprite file holding the pictures in order, coded as the tool codes edited BMPs. With
// `transparency`, pixels of index 213 are transparent.
std::vector<std::uint8_t> SpriteFile(const std::vector<Picture>& pictures, bool transparency);

}  // namespace zorvane::sample
