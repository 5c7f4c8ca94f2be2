#pragma once

#include <cmath>

namespace orvane {

// The program's rounding of a real number to a whole number: to the nearest integer, halves
// to the even one (the default floating-point rounding mode).
inline int Round(double v) { return static_cast<int>(std::nearbyint(v)); }

}  // namespace orvane
