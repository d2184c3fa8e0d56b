// DPROD: the REAL*8 product of two REAL*4 values, formed in the x87 unit
// (exact at 53-bit or 64-bit precision: 24 + 24 significant bits).
#include "entry.h"
#include "real8/real8.h"

long double _morvex_dprod(float a, float b) { return static_cast<long double>(a) * b; }

MORVEX_BY_REF(long double, _morvex_I_dprod, _morvex_dprod, float, float)
