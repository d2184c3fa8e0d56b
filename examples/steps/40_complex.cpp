// Step 40: COMPLEX*16 and COMPLEX*8 arithmetic and functions, called the way
// compiled code calls them: the result slot's address first, each complex
// argument as its two parts by value, or by address through the _morvex_I_
// forms; AIMAG and ABS return a real.
#include <cstdint>
#include <cstdio>

#include "f90/f90.h"
#include "demo.h"

namespace {
using C16 = Complex16;
using C8 = Complex8;
}  // namespace


namespace {
void show(const char* what, const C16* z) {
  std::printf("%-24s (%.17g, %.17g)\n", what, z->re, z->im);
}
void show(const char* what, const C8* z) {
  std::printf("%-24s (%.9g, %.9g)\n", what, z->re, z->im);
}
}  // namespace

DEMO_STEP(40, "COMPLEX*16 and COMPLEX*8 arithmetic and functions") {
  C16 r;
  show("(1,2) * (3,4)", _morvex_cdmul(&r, {1, 2}, {3, 4}));
  show("(-2,11) / (1,2)", _morvex_cddiv(&r, {-2, 11}, {1, 2}));
  show("(1,1) / (0,0)", _morvex_cddiv(&r, {1, 1}, {0, 0}));
  show("(1,1) ** 8", _morvex_cdtoi(&r, {1, 1}, 8));
  show("(2,0) ** -3", _morvex_cdtoi(&r, {2, 0}, -3));
  show("(-1,0) ** (0.5,0)", _morvex_cdtocd(&r, {-1, 0}, {0.5, 0}));
  show("(0,0) ** (0,0)", _morvex_cdtocd(&r, {0, 0}, {0, 0}));
  show("EXP((0,pi))", _morvex_cdexp(&r, {0, 3.141592653589793}));
  const C16 minus_one = {-1, 0};
  show("LOG((-1,0)) by reference", _morvex_I_cdlog(&r, &minus_one));
  show("SQRT((-4,0))", _morvex_cdsqrt(&r, {-4, 0}));
  show("SQRT((3,-4))", _morvex_cdsqrt(&r, {3, -4}));
  show("SIN((1,1))", _morvex_cdsin(&r, {1, 1}));
  show("CONJG((1,-0))", _morvex_dconjg(&r, {1, -0.0}));
  std::printf("%-24s %.17g\n", "ABS((3,4))", static_cast<double>(_morvex_cdabs({3, 4})));
  std::printf("%-24s %.17g  (no overflow)\n", "ABS((1e308,1e308))",
              static_cast<double>(_morvex_cdabs({1e308, 1e308})));
  std::printf("%-24s %.17g\n", "AIMAG((5,-6))", static_cast<double>(_morvex_dimag({5, -6})));

  C8 s;
  show("COMPLEX*8 (1,2) * (3,4)", _morvex_cmul(&s, {1, 2}, {3, 4}));
  show("COMPLEX*8 (1,1)**(0,1)", _morvex_ctoc(&s, {1, 1}, {0, 1}));
  show("COMPLEX*8 COS((1,1))", _morvex_ccos(&s, {1, 1}));
  const C8 q = {-5, 12};
  std::printf("%-24s %.9g\n", "COMPLEX*8 ABS((-5,12))",
              static_cast<double>(static_cast<float>(_morvex_I_cabs(&q))));
}
