// Rounding to whole numbers the way the keyboard's arithmetic expects it: halves to even.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace pmx {

// Rounds to the nearest integer, a half to the even neighbour, and clamps to the signed 32-bit
// range (NaN gives 0).
inline std::int32_t roundHalfEven(double value) {
  if (std::isnan(value)) return 0;
  double floor = std::floor(value);
  double diff = value - floor;
  double rounded = floor;
  if (diff > 0.5 || (diff == 0.5 && std::fmod(floor, 2.0) != 0.0)) rounded = floor + 1.0;
  constexpr double kMin = std::numeric_limits<std::int32_t>::min();
  constexpr double kMax = std::numeric_limits<std::int32_t>::max();
  if (rounded <= kMin) return std::numeric_limits<std::int32_t>::min();
  if (rounded >= kMax) return std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(rounded);
}

}  // namespace pmx
