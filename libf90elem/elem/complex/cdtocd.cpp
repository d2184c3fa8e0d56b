// COMPLEX*16 ** COMPLEX*16 (method: complex/power.h). ln|z| and the angle of
// z come from the x87 scaled logarithm and partial arctangent.
#include "complex/complex.h"
#include "complex/power.h"

namespace morvex::complex {

template <>
struct PowerKind<double> {
  static long double angle(double b, double a) { return x87::atan2(b, a); }
  // c is a small integer when its low word is zero and it is a power of two
  // of exponent 0..30, or integral with an exponent of 0..20.
  static bool integral(double c) { return small_integral(c, 21, true); }
};

}  // namespace morvex::complex

Complex16* _morvex_cdtocd(Complex16* res, Complex16 base, Complex16 exponent) {
  return morvex::complex::power_into<double>(res, base, exponent);
}
