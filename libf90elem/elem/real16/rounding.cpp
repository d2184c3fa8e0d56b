// REAL*16 AINT, ANINT, FLOOR, CEILING and NINT.
//
// FLOOR and CEILING work on the high part and, when it is integral, on the
// low part as well (rounding.h); NaN gives (+0, +0). The INTEGER*4 forms
// store the high part of that result, which is integral, as an integer: out
// of range or infinite gives 0x80000000, NaN gives 0.
//
// NINT adds 0.5 to the value (subtracts it when the high part is negative
// or NaN) and truncates the exact sum toward zero, so halfway cases go away
// from zero and a value just below a half rounds down even when the half
// only shows in the low part. INTEGER*4: the integral high part stored,
// 0x80000000 out of range or for NaN; INTEGER*2: the low 16 bits of that, sign-extended;
// INTEGER*8: the REAL*16 to INTEGER*8 conversion of the sum
// (0x8000000000000000 out of range or for NaN).
#include "real16/rounding.h"

#include <cmath>

#include "real16/real16.h"
#include "x87.h"

namespace dd = morvex::dd;
using dd::DD;
using dd::store;

namespace {


MORVEX_DD_INLINE DD plus_half_away(DD x) {
  return x.hi >= 0.0 ? dd::add_d(x, 0.5) : dd::sub_d(x, 0.5);
}

int32_t nint32(DD x) {
  const DD y = plus_half_away(x);
  return x87::store_int32(std::isnan(y.hi) ? y.hi : dd::aint_dd(y).hi);
}

}  // namespace

DoubleDouble* _morvex_qint(DoubleDouble* res, DoubleDouble x) { return store(res, dd::aint_dd(x)); }
MORVEX_BY_REF_HIDDEN(DoubleDouble, _morvex_I_qint, _morvex_qint, DoubleDouble)

DoubleDouble* _morvex_qnint(DoubleDouble* res, DoubleDouble x) {
  return store(res, dd::anint_dd(x));
}
MORVEX_BY_REF_HIDDEN(DoubleDouble, _morvex_I_qnint, _morvex_qnint, DoubleDouble)

DoubleDouble* _morvex_floorl(DoubleDouble* res, DoubleDouble x) {
  return store(res, dd::floor_dd(x));
}

DoubleDouble* _morvex_ceill(DoubleDouble* res, DoubleDouble x) {
  return store(res, dd::ceil_dd(x));
}

int32_t _morvex_ifloorl(DoubleDouble x) { return x87::store_int32(dd::floor_dd(x).hi); }

int32_t _morvex_iceill(DoubleDouble x) { return x87::store_int32(dd::ceil_dd(x).hi); }

int32_t _morvex_iqnint(DoubleDouble x) { return nint32(x); }
MORVEX_BY_REF(int32_t, _morvex_I_iqnint, _morvex_iqnint, DoubleDouble)

int32_t _morvex_jiqnnt(DoubleDouble x) { return nint32(x); }
MORVEX_BY_REF(int32_t, _morvex_I_jiqnnt, _morvex_jiqnnt, DoubleDouble)

int32_t _morvex_iiqnnt(DoubleDouble x) {
  return static_cast<int16_t>(static_cast<uint16_t>(nint32(x)));
}
MORVEX_BY_REF(int32_t, _morvex_I_iiqnnt, _morvex_iiqnnt, DoubleDouble)

int64_t _morvex_kiqnnt(DoubleDouble x) { return dd::to_int64(plus_half_away(x)); }
MORVEX_BY_REF(int64_t, _morvex_I_kiqnnt, _morvex_kiqnnt, DoubleDouble)
