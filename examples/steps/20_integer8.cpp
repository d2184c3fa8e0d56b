// Step 20: INTEGER*8 arithmetic as compiled i386 code does it, by calls:
// a factorial that overflows and wraps, division and remainder (by zero too),
// shifts, the integer power, and conversions to and from REAL*8 (saturating
// at the INTEGER*8 range, exact in the x87 register until stored).
#include <cinttypes>
#include <cstdint>
#include <cstdio>

#include "f90/f90.h"
#include "demo.h"


DEMO_STEP(20, "INTEGER*8 arithmetic and conversions") {
  int64_t f = 1;
  for (int64_t k = 1; k <= 21; ++k) {
    f = _morvex_lmul(f, k);
    if (k >= 19) std::printf("%2" PRId64 "! = %" PRId64 "%s\n", k, f, k == 21 ? "  (wrapped)" : "");
  }
  const int64_t big = _morvex_kitoki(3, 39);
  std::printf("3**39                   %" PRId64 "\n", big);
  std::printf("3**39 / 1000000007      %" PRId64 "  remainder %" PRId64 "\n",
              _morvex_ldiv(big, 1000000007), _morvex_lmod(big, 1000000007));
  std::printf("-7 / 0                  %" PRId64 "  (no trap)\n", _morvex_ldiv(-7, 0));
  std::printf("ishft(1, 40)            %" PRId64 "\n", _morvex_llshift(1, 40));
  std::printf("-1000 >> 3 (arithmetic) %" PRId64 "\n", _morvex_arlshift(-1000, 3));
  std::printf("ishftc(1, -1, 64)       %" PRId64 "\n", _morvex_kishftc(1, -1, 64));
  std::printf("int8(-2.9)              %" PRId64 "\n", _morvex_cvtdll(-2.9));
  std::printf("int8(1e19)              %" PRId64 "  (saturated)\n", _morvex_cvtdll(1e19));
  const long double exact = _morvex_cvtlld(INT64_MAX);
  const double stored = static_cast<double>(exact);
  std::printf("real(2**63-1)           %.0Lf in st(0), %.0f once stored as REAL*8\n", exact, stored);
}
