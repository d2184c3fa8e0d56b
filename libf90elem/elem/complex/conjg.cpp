// AIMAG and CONJG, COMPLEX*16 (dimag, dconjg) and COMPLEX*8 (aimag, conjg).
//
// AIMAG returns the imaginary part unchanged in st(0). CONJG moves both parts
// as bit patterns: the real part is copied and the imaginary part has its
// sign bit flipped, so NaN payloads, signalling NaNs and signed zeros come
// through exactly (-(+0) = -0, and a NaN's sign flips too).
#include <cstring>

#include "complex/complex.h"
#include "complex/kind.h"
#include "real/float_bits.h"

namespace morvex::complex {
namespace {

// The parts move as integers: an x87 load would quiet a signalling NaN.
template <class T>
ComplexOf<T>* conjugate(ComplexOf<T>* res, ComplexOf<T> z) {
  using UInt = real::UIntOf<T>;
  UInt parts[2];
  std::memcpy(parts, &z, sizeof parts);
  parts[1] ^= real::kSignBit<T>;
  std::memcpy(res, parts, sizeof parts);
  return res;
}

}  // namespace
}  // namespace morvex::complex

using namespace morvex::complex;

long double _morvex_dimag(Complex16 z) { return z.im; }
long double _morvex_aimag(Complex8 z) { return z.im; }
Complex16* _morvex_dconjg(Complex16* res, Complex16 z) { return conjugate<double>(res, z); }
Complex8* _morvex_conjg(Complex8* res, Complex8 z) { return conjugate<float>(res, z); }

MORVEX_BY_REF(long double, _morvex_I_dimag, _morvex_dimag, Complex16)
MORVEX_BY_REF(long double, _morvex_I_aimag, _morvex_aimag, Complex8)
MORVEX_BY_REF_HIDDEN(Complex16, _morvex_I_dconjg, _morvex_dconjg, Complex16)
MORVEX_BY_REF_HIDDEN(Complex8, _morvex_I_conjg, _morvex_conjg, Complex8)
