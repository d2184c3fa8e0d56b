// REAL*8 elementals against the C library's functions (the i386 libm), in
// the same run, both called as compiled code calls them (one 8-byte store
// per argument, the result taken from st(0)), over the same 65536 arguments,
// under control word 0x127f: throughput and latency per call and the ratios
// libm/f90 (above 1.0: faster than the C library); see elemental_pair.h.
#include <cmath>

#include "../libf90elem/elem/real8/real8.h"
#include "elemental_pair.h"

namespace {

using Ours1 = long double (*)(double);
using Ours2 = long double (*)(double, double);
using Libc1 = double (*)(double);
using Libc2 = double (*)(double, double);

#define REAL8_PAIR(name, ours, libc, xlo, xhi, ylo, yhi) \
  ELEMENTAL_PAIR(double, real8, name, ours, libc, xlo, xhi, ylo, yhi)

REAL8_PAIR(dexp, Ours1{_morvex_dexp}, Libc1{::exp}, -20.0, 20.0, 0.0, 0.0)
REAL8_PAIR(dlog, Ours1{_morvex_dlog}, Libc1{::log}, 1e-3, 1e3, 0.0, 0.0)
REAL8_PAIR(dlog10, Ours1{_morvex_dlog10}, Libc1{::log10}, 1e-3, 1e3, 0.0, 0.0)
REAL8_PAIR(dsin, Ours1{_morvex_dsin}, Libc1{::sin}, -10.0, 10.0, 0.0, 0.0)
REAL8_PAIR(dcos, Ours1{_morvex_dcos}, Libc1{::cos}, -10.0, 10.0, 0.0, 0.0)
REAL8_PAIR(dtan, Ours1{_morvex_dtan}, Libc1{::tan}, -10.0, 10.0, 0.0, 0.0)
REAL8_PAIR(dasin, Ours1{_morvex_dasin}, Libc1{::asin}, -1.0, 1.0, 0.0, 0.0)
REAL8_PAIR(dacos, Ours1{_morvex_dacos}, Libc1{::acos}, -1.0, 1.0, 0.0, 0.0)
REAL8_PAIR(datan, Ours1{_morvex_datan}, Libc1{::atan}, -10.0, 10.0, 0.0, 0.0)
REAL8_PAIR(datan2, Ours2{_morvex_datan2}, Libc2{::atan2}, -10.0, 10.0, -10.0, 10.0)
REAL8_PAIR(dsinh, Ours1{_morvex_dsinh}, Libc1{::sinh}, -5.0, 5.0, 0.0, 0.0)
REAL8_PAIR(dcosh, Ours1{_morvex_dcosh}, Libc1{::cosh}, -5.0, 5.0, 0.0, 0.0)
REAL8_PAIR(dtanh, Ours1{_morvex_dtanh}, Libc1{::tanh}, -5.0, 5.0, 0.0, 0.0)
REAL8_PAIR(dtod, Ours2{_morvex_dtod}, Libc2{::pow}, 0.1, 10.0, -5.0, 5.0)
REAL8_PAIR(dsqrt, Ours1{_morvex_dsqrt}, Libc1{::sqrt}, 0.0, 1e6, 0.0, 0.0)
REAL8_PAIR(dmod, Ours2{_morvex_dmod}, Libc2{::fmod}, -100.0, 100.0, 0.5, 10.0)

}  // namespace
