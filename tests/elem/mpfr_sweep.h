// Shared by the accuracy sweeps of every kind: MPFR's working number, cleared
// on scope exit, and the ranges arguments are drawn from.
#pragma once

#include <mpfr.h>

#include <cmath>
#include <random>

namespace f90test {

// A number of Prec bits (a double given to the constructor is exact).
template <mpfr_prec_t Prec>
struct Mpfr {
  mpfr_t v;
  Mpfr() { mpfr_init2(v, Prec); }
  explicit Mpfr(double d) : Mpfr() { mpfr_set_d(v, d, MPFR_RNDN); }
  ~Mpfr() { mpfr_clear(v); }
  Mpfr(const Mpfr&) = delete;
  Mpfr& operator=(const Mpfr&) = delete;
  operator mpfr_ptr() { return v; }
};

// Uniform in [lo, hi], or with `log` set, magnitudes log-uniform in [lo, hi]
// with a random sign when `both_signs`.
struct Range {
  double lo, hi;
  bool log = false;
  bool both_signs = false;
};

inline double draw(std::mt19937_64& rng, const Range& r) {
  std::uniform_real_distribution<double> u(0.0, 1.0);
  if (!r.log) return r.lo + (r.hi - r.lo) * u(rng);
  const double m = std::exp2(std::log2(r.lo) + (std::log2(r.hi) - std::log2(r.lo)) * u(rng));
  return (r.both_signs && (rng() & 1)) ? -m : m;
}

}  // namespace f90test
