// REAL*4 elementals against the C library's single-precision functions
// (the i386 libm's expf, logf, sinf, cosf, tanf, powf, sqrtf), in the same
// run, both called as compiled code calls them, over the same 65536
// arguments, under control word 0x127f: throughput and latency per call and
// the ratios libm/f90 (above 1.0: faster than the C library); see
// elemental_pair.h.
#include <cmath>

#include "elemental_pair.h"
#include "real4/real4.h"

namespace {

using Ours1 = long double (*)(float);
using Ours2 = long double (*)(float, float);
using Libc1 = float (*)(float);
using Libc2 = float (*)(float, float);

#define REAL4_PAIR(name, ours, libc, xlo, xhi, ylo, yhi) \
  ELEMENTAL_PAIR(float, real4, name, ours, libc, xlo, xhi, ylo, yhi)

REAL4_PAIR(exp, Ours1{_morvex_exp}, Libc1{::expf}, -20.0, 20.0, 0.0, 0.0)
REAL4_PAIR(alog, Ours1{_morvex_alog}, Libc1{::logf}, 1e-3, 1e3, 0.0, 0.0)
REAL4_PAIR(sin, Ours1{_morvex_sin}, Libc1{::sinf}, -10.0, 10.0, 0.0, 0.0)
REAL4_PAIR(cos, Ours1{_morvex_cos}, Libc1{::cosf}, -10.0, 10.0, 0.0, 0.0)
REAL4_PAIR(tan, Ours1{_morvex_tan}, Libc1{::tanf}, -10.0, 10.0, 0.0, 0.0)
REAL4_PAIR(ftof, Ours2{_morvex_ftof}, Libc2{::powf}, 0.1, 10.0, -5.0, 5.0)
REAL4_PAIR(sqrt, Ours1{_morvex_sqrt}, Libc1{::sqrtf}, 0.0, 1e6, 0.0, 0.0)

}  // namespace
