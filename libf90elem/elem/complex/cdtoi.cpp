// COMPLEX*16 ** INTEGER*4 (cdtoi) and COMPLEX*8 ** INTEGER*4 (ctoi), by
// square-and-multiply (method: complex/power.h). No control-word change.
#include "complex/complex.h"
#include "complex/power.h"

using morvex::complex::int_power_into;

Complex16* _morvex_cdtoi(Complex16* res, Complex16 z, int32_t n) {
  return int_power_into<double>(res, z.re, z.im, n);
}
Complex8* _morvex_ctoi(Complex8* res, Complex8 z, int32_t n) {
  return int_power_into<float>(res, z.re, z.im, n);
}
