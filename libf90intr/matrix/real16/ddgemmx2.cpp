// C = alpha.A.B + beta.C with REAL*16 C, alpha and beta: REAL*4 by REAL*16
// (_S4DGEMMX2), REAL*16 by REAL*8 (_DSGEMMX2) and by REAL*4 (_DS4GEMMX2).
//
// The skeleton is matrix/gemmx2.h. Scalars are compared with _morvex_qcmp,
// equal or unordered counting as equal. temp = alpha.b (b widened), each
// update C + temp.a (a widened), the beta scaling beta.C, all in
// double-double arithmetic with the operands in that order.
#include "matrix/gemmx2.h"
#include "matrix/real16/dd_kinds.h"
#include "matrix/wide_kernels.h"

namespace {

namespace dd = morvex::dd;
namespace r16 = f90::matrix::real16;
using r16::DD;

template <class TA, class TB>
struct Real16Gemm2 {
  using A = TA;
  using B = TB;
  using C = DD;
  using Temp = DD;
  static bool equals_zero(const DD& x) { return r16::qcmp_equal(x, r16::kZero); }
  static bool equals_one(const DD& x) { return r16::qcmp_equal(x, r16::kOne); }
  static bool passes(const B& b) { return r16::nonzero(b); }
  static DD zero() { return r16::kZero; }
  static DD scale(const DD& beta, const DD& c) { return dd::mul(beta, c); }
  static DD temp(const DD& alpha, const B& b) { return dd::mul(alpha, r16::widen(b)); }
  static DD update(const DD& c, const DD& t, const A& a) {
    return dd::add(c, dd::mul(t, r16::widen(a)));
  }
};

template <class A, class B>
void run(F90_GEMM2_PARAMS) {
  f90::matrix::gemm2<Real16Gemm2<A, B>>(f90::matrix::read_gemm2_args(F90_GEMM2_ARGS));
}

}  // namespace

void s4dgemmx2(F90_GEMM2_PARAMS) { run<float, DD>(F90_GEMM2_ARGS); }
void dsgemmx2(F90_GEMM2_PARAMS) { run<DD, double>(F90_GEMM2_ARGS); }
void ds4gemmx2(F90_GEMM2_PARAMS) { run<DD, float>(F90_GEMM2_ARGS); }
