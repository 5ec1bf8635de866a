#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

namespace zorvane::bench {

// The median of the values: the middle one, or the mean of the two middle ones; NaN for none.
inline double Median(std::vector<double> values) {
  if (values.empty()) return NAN;
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace zorvane::bench
