// C = alpha.A.B + beta.C with REAL*16 C, alpha and beta: REAL*4 by REAL*16
// (_S4DGEMMX2), REAL*16 by REAL*8 (_DSGEMMX2) and by REAL*4 (_DS4GEMMX2).
//
// The loops are matrix/gemmx2.h's. Scalars are compared with _morvex_qcmp,
// equal or unordered counting as equal. temp = alpha.b (b widened), each
// update C + temp.a (a widened), the beta scaling beta.C, in double-double
// arithmetic with the operands in that order (matrix/real16/dd_terms.h).
#include "matrix/gemmx2.h"
#include "matrix/real16/dd_terms.h"

namespace f90::matmul {
namespace {

namespace dd = morvex::dd;
using real16::DD;

template <class TA, class TB>
struct Real16Gemm2 {
  static constexpr uint32_t kA = sizeof(TA), kB = sizeof(TB), kC = 16;
  using Scalar = DD;
  using Temp = DD;
  static bool equals_zero(const DD& x) { return real16::qcmp_equal(x, real16::kZero); }
  static bool equals_one(const DD& x) { return real16::qcmp_equal(x, real16::kOne); }
  static bool temp(const DD& alpha, const char* pb, DD& t) {
    const TB b = load<TB>(pb);
    if (!real16::nonzero(b)) return false;
    t = dd::mul(alpha, real16::widen(b));
    return true;
  }
  static void zero(char* pc) { store_bits(pc, real16::kZero); }
  static void scale(char* pc, const DD& beta) { store_bits(pc, dd::mul(beta, load<DD>(pc))); }
  static void update(char* pc, const char* pa, const DD& t) {
    store_bits(pc, dd::add(load<DD>(pc), dd::mul(t, real16::widen(load<TA>(pa)))));
  }
};

}  // namespace

F90_API void s4dgemmx2(F90_GEMM2_ARGUMENTS) F90_SYMBOL(_S4DGEMMX2);
F90_API void dsgemmx2(F90_GEMM2_ARGUMENTS) F90_SYMBOL(_DSGEMMX2);
F90_API void ds4gemmx2(F90_GEMM2_ARGUMENTS) F90_SYMBOL(_DS4GEMMX2);

void s4dgemmx2(F90_GEMM2_ARGUMENTS) { run_gemm2<Real16Gemm2<float, DD>>(F90_GEMM2_READ); }
void dsgemmx2(F90_GEMM2_ARGUMENTS) { run_gemm2<Real16Gemm2<DD, double>>(F90_GEMM2_READ); }
void ds4gemmx2(F90_GEMM2_ARGUMENTS) { run_gemm2<Real16Gemm2<DD, float>>(F90_GEMM2_READ); }

}  // namespace f90::matmul
