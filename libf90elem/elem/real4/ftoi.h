// REAL*4 ** INTEGER*4, shared by ftoi and the integral-exponent path of ftof.
#pragma once

#include <cstdint>

namespace morvex::real4 {

float int_power(float x, int32_t n);

}  // namespace morvex::real4
