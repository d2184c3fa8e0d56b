// MODULO(A, P): A - FLOOR(A / P) * P, with the sign of P.
//
// Integers: r = A - trunc(A / P) * P, then r + P when r is nonzero and its
// sign differs from P's. P = 0 gives 0; A = most negative with P = -1 gives
// 0 without a trap. Nothing is reported.
//
// REAL*4 and REAL*8: a zero or NaN P gives the kind's quiet NaN. Otherwise
// q = A / P in the x87 unit, rounded to REAL*8, f = FLOOR(q) by the
// library's REAL*8 FLOOR, and the result A - f * P is left in st(0) at the
// precision the caller's control word gives, for the caller to round.
//
// REAL*16: a zero or NaN high part of P gives the REAL*16 NaN (high part
// 0x7ff8000000000000, low +0.0); otherwise qsub(A, qmul(floorl(qdiv(A, P)),
// P)) in the double-double arithmetic of libf90elem, in that order.
#include <cmath>
#include <cstdint>

#include "common/elem_calls.h"
#include "mathlb/model.h"
#include "x87.h"

namespace {

using f90::model::Model;

template <class T>
T modulo_int(T a, T p) {
  if (p == 0 || p == -1) return 0;  // -1 divides everything; no overflowing quotient
  T r = static_cast<T>(a % p);
  if ((p > 0 && r < 0) || (p < 0 && r > 0)) r = static_cast<T>(r + p);  // opposite signs: no overflow
  return r;
}

template <class T>
long double modulo_real(const T* a, const T* p) {
  const long double pv = *p;
  if (pv == 0 || std::isnan(pv)) return std::bit_cast<T>(Model<T>::kQuietNaN);
  const long double av = *a;
  const long double f = _morvex_f90floor(x87::round_to<double>(av / pv));
  return av - f * pv;
}

}  // namespace

F90_API int32_t modulo_i4(const int32_t* a, const int32_t* p) F90_SYMBOL(_MODULO_I4);
F90_API int64_t modulo_j(const int64_t* a, const int64_t* p) F90_SYMBOL(_MODULO_J);
F90_API long double modulo_s4(const float* a, const float* p) F90_SYMBOL(_MODULO_S4);
F90_API long double modulo_s(const double* a, const double* p) F90_SYMBOL(_MODULO_S);
F90_API morvex::DoubleDouble* modulo_d(morvex::DoubleDouble* res, const morvex::DoubleDouble* a,
                                       const morvex::DoubleDouble* p) F90_SYMBOL(_MODULO_D);

int32_t modulo_i4(const int32_t* a, const int32_t* p) { return modulo_int(*a, *p); }
int64_t modulo_j(const int64_t* a, const int64_t* p) { return modulo_int(*a, *p); }
long double modulo_s4(const float* a, const float* p) { return modulo_real(a, p); }
long double modulo_s(const double* a, const double* p) { return modulo_real(a, p); }

morvex::DoubleDouble* modulo_d(morvex::DoubleDouble* res, const morvex::DoubleDouble* a,
                               const morvex::DoubleDouble* p) {
  using f90::model::M8;
  using f90::model::Real16Bits;
  Real16Bits pb, ab;
  std::memcpy(&pb, p, sizeof pb);
  std::memcpy(&ab, a, sizeof ab);
  if (M8::is_zero(pb.hi) || M8::is_nan(pb.hi)) {
    std::memcpy(res, &f90::model::kReal16NaN, sizeof *res);
    return res;
  }
  const morvex::DoubleDouble av = fp::from_parts(ab), pv = fp::from_parts(pb);
  morvex::DoubleDouble q, f, m, r;
  _morvex_qdiv(&q, av, pv);
  _morvex_floorl(&f, q);
  _morvex_qmul(&m, f, pv);
  _morvex_qsub(&r, av, m);
  std::memcpy(res, &r, sizeof r);
  return res;
}
