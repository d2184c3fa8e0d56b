// COMPLEX*8 ** COMPLEX*8 (method: complex/power.h). ln|z| comes from the x87
// scaled logarithm with ln 2 as a REAL*4, the angle of z from the REAL*4
// ATAN2.
#include "complex/complex.h"
#include "complex/power.h"
#include "real4/real4.h"

namespace morvex::complex {

template <>
struct PowerKind<float> {
  static long double angle(float b, float a) { return _morvex_atan2(b, a); }
  // c is a small integer when it is a power of two of exponent 0..30, or
  // integral with an exponent of 0..23.
  static bool integral(float c) { return small_integral(c, 24, false); }
};

}  // namespace morvex::complex

Complex8* _morvex_ctoc(Complex8* res, Complex8 base, Complex8 exponent) {
  return morvex::complex::power_into<float>(res, base, exponent);
}
