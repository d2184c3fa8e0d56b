// Step 56: COMPLEX*32 arithmetic and functions, called the way compiled code
// calls them: the result slot's address first (and returned), each
// COMPLEX*32 argument by value as four doubles (real hi, real lo, imaginary
// hi, imaginary lo), or by address through the _morvex_I_ forms.
#include <cstdint>
#include <cstdio>

#include "f90/f90.h"
#include "demo.h"

namespace {
}  // namespace


namespace {
Complex32 cx(double re, double im) { return {{re, 0.0}, {im, 0.0}}; }
void show(const char* what, const Complex32& z) {
  std::printf("%-24s (%.17g %+.3g, %.17g %+.3g)\n", what, z.re.hi, z.re.lo, z.im.hi, z.im.lo);
}
}  // namespace

DEMO_STEP(56, "COMPLEX*32 arithmetic and functions") {
  Complex32 r;
  show("(1+2i) * (3+4i)", *_morvex_cqmul(&r, cx(1, 2), cx(3, 4)));
  show("(-5+10i) / (3+4i)", *_morvex_cqdiv(&r, cx(-5, 10), cx(3, 4)));
  show("(1+1i) / 0", *_morvex_cqdiv(&r, cx(1, 1), cx(0, 0)));
  show("(1+1i) ** 8", *_morvex_cqtoi(&r, cx(1, 1), 8));
  show("(2^1000) ** -1", *_morvex_cqtoi(&r, cx(0x1p1000, 0), -1));
  show("(2+0i) ** (3+0i)", *_morvex_cpowl(&r, cx(2, 0), cx(3, 0)));
  show("i ** i", *_morvex_cpowl(&r, cx(0, 1), cx(0, 1)));
  DoubleDouble a;
  _morvex_cabsl(&a, cx(3, 4));
  std::printf("%-24s (%.17g %+.3g)\n", "ABS(3+4i)", a.hi, a.lo);
  show("SQRT(3-4i)", *_morvex_csqrtl(&r, cx(3, -4)));
  // By reference, with the result slot over the argument itself.
  Complex32 z = cx(0, 3.14159265358979323846);
  show("EXP(pi i) in place", *_morvex_I_cexpl(&z, &z));
  show("LOG(-1)", *_morvex_clogl(&r, cx(-1, 0)));
  show("LOG(1e300 + 1e300i)", *_morvex_clogl(&r, cx(1e300, 1e300)));
  show("SIN(1+1i)", *_morvex_csinl(&r, cx(1, 1)));
  show("COS(1+1i)", *_morvex_ccosl(&r, cx(1, 1)));
}
