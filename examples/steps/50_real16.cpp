// Step 50: REAL*16 as compiled code uses it: a double-double value passed by
// value, results through a hidden result slot. One third, a sum a double
// cannot hold, an exact product, the comparison codes, NINT of a value whose
// half lies in the low part, and FRACTION/EXPONENT through frexpl.
#include <cstdint>
#include <cstdio>

#include "f90/f90.h"
#include "demo.h"

namespace {



void show(const char* what, DoubleDouble v) {
  std::printf("%-28s (%.17g, %.17g)\n", what, v.hi, v.lo);
}

}  // namespace

DEMO_STEP(50, "REAL*16 double-double arithmetic and conversions") {
  DoubleDouble third, sum, rest;
  _morvex_qdiv(&third, {1, 0}, {3, 0});
  show("1/3", third);
  _morvex_qadd(&sum, {1, 0}, {0x1p-60, 0});
  _morvex_qsub(&rest, sum, {1, 0});
  std::printf("(1 + 2^-60) - 1             %g (2^-60 = %g)\n", rest.hi, 0x1p-60);

  DoubleDouble sq;
  const double c = 134217729.0;  // 2^27 + 1
  _morvex_qprod(&sq, c, c);
  show("(2^27+1)^2 exactly", sq);

  DoubleDouble big;
  _morvex_ll2q(&big, INT64_MAX);
  show("ll2q(INT64_MAX)", big);
  std::printf("q2ll of it                  %lld\n", static_cast<long long>(_morvex_q2ll(big)));

  const DoubleDouble one{1, 0}, one_plus{1, 0x1p-80};
  std::printf("qcmp(1, 1+2^-80)            0x%04x (0x0100: less)\n",
              static_cast<unsigned>(_morvex_qcmp(one, one_plus)));
  std::printf("qcompare(1+2^-80, 1)        %d\n", _morvex_qcompare(one_plus, one));
  std::printf("qcmp(+Inf, 1)               0x%04x (0x4500: unordered)\n",
              static_cast<unsigned>(_morvex_qcmp({__builtin_inf(), 0}, one)));

  const DoubleDouble half_in_lo{0x1p60, 0.5};
  std::printf("NINT(2^60 + 0.5)            %lld\n",
              static_cast<long long>(_morvex_kiqnnt(half_in_lo)));

  DoubleDouble f;
  int32_t e = 0;
  _morvex_frexpl(&f, {8, 0x1p-50}, &e);
  std::printf("frexpl(8 + 2^-50)           (%.17g, %g) * 2^%d\n", f.hi, f.lo, e);
}
