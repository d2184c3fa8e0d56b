// Numeric model functions, MODULO, the bit counts and RANF against the C
// library in the same run (see elemental_pair.h: ns per call and the
// `thr_libm/f90` and `lat_libm/f90` ratios of throughput and latency, above
// 1.0 meaning faster than the C library), all under
// control word 0x127f. Each side gets the same thin wrapper where the
// argument lists differ (an integer count, a pointer argument).
#include <cmath>
#include <cstdlib>

#include "elemental_pair.h"
#include "f90/model.h"

namespace {

using Fn2 = long double (*)(double, double);
using Libc2 = double (*)(double, double);

long double scale_f90(double x, double i) { return _SCALE(x, static_cast<int32_t>(i)); }
double scale_libc(double x, double i) { return std::ldexp(x, static_cast<int>(i)); }
long double nearest_f90(double x, double s) { return _NEAREST(x, s); }
double nearest_libc(double x, double s) { return std::nextafter(x, s > 0 ? INFINITY : -INFINITY); }
long double exponent_f90(double x, double) { return _EXPONENT(x); }
double exponent_libc(double x, double) { return std::ilogb(x) + 1; }
long double fraction_f90(double x, double) { return _FRACTION(x); }
double fraction_libc(double x, double) {
  int e;
  return std::frexp(x, &e);
}
long double spacing_f90(double x, double) { return _SPACING(x); }
double spacing_libc(double x, double) { return std::ldexp(1.0, std::ilogb(x) - 52); }
long double modulo_f90(double a, double p) { return _MODULO_S(&a, &p); }
double modulo_libc(double a, double p) { return std::fmod(a, p); }
long double popcnt_f90(double x, double) { return _POPCNT(static_cast<int64_t>(x)); }
double popcnt_builtin(double x, double) { return __builtin_popcountll(static_cast<uint64_t>(x)); }
long double ranf_f90(double, double) { return _RANF(); }
double drand48_libc(double, double) { return drand48(); }

#define MODEL_PAIR(name, ours, libc, xlo, xhi, ylo, yhi) \
  ELEMENTAL_PAIR(double, model, name, Fn2{ours}, Libc2{libc}, xlo, xhi, ylo, yhi)

MODEL_PAIR(scale, scale_f90, scale_libc, -1e6, 1e6, -60.0, 60.0)
MODEL_PAIR(nearest, nearest_f90, nearest_libc, -1e6, 1e6, -1.0, 1.0)
MODEL_PAIR(exponent, exponent_f90, exponent_libc, -1e6, 1e6, 0.0, 0.0)
MODEL_PAIR(fraction, fraction_f90, fraction_libc, -1e6, 1e6, 0.0, 0.0)
MODEL_PAIR(spacing, spacing_f90, spacing_libc, -1e6, 1e6, 0.0, 0.0)
MODEL_PAIR(modulo, modulo_f90, modulo_libc, -1e3, 1e3, 0.5, 7.0)
MODEL_PAIR(popcnt, popcnt_f90, popcnt_builtin, 0.0, 9e15, 0.0, 0.0)
MODEL_PAIR(ranf, ranf_f90, drand48_libc, 0.0, 1.0, 0.0, 0.0)

}  // namespace
