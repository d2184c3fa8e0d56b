// REAL*8 ** INTEGER*4, shared by dtoi and the integral-exponent path of dtod.
#pragma once

#include <cstdint>

namespace morvex::real8 {

long double int_power(double x, int32_t n);

}  // namespace morvex::real8
