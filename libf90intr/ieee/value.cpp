// IEEE_VALUE and the constant functions behind it (infinities and NaNs).
//
// Only CLASS decides the value; X gives the kind and is not read. Every
// result is a fixed bit pattern returned in st(0) without a load of the kind,
// so the signalling NaN stays signalling and nothing is raised.
#include "ieee/arithmetic.h"

using namespace f90::ieee;

namespace {

template <class T>
struct Constants;

template <>
struct Constants<float> {
  static constexpr uint32_t kPositiveInf = 0x7f800000u, kNegativeInf = 0xff800000u,
                            kSignalingNan = 0x7f800001u, kQuietNan = 0x7fc00000u,
                            kPositiveDenormal = 0x00000001u, kNegativeDenormal = 0x80000001u,
                            kPositiveNormal = 0x3f800000u, kNegativeNormal = 0xbf800000u,
                            kPositiveZero = 0u, kNegativeZero = 0x80000000u;
};

template <>
struct Constants<double> {
  static constexpr uint64_t kPositiveInf = 0x7ff0000000000000ull,
                            kNegativeInf = 0xfff0000000000000ull,
                            kSignalingNan = 0x7ff0000000000001ull,
                            kQuietNan = 0x7ff8000000000000ull,
                            kPositiveDenormal = 0x0000000000000001ull,
                            kNegativeDenormal = 0x8000000000000001ull,
                            kPositiveNormal = 0x3ff0000000000000ull,
                            kNegativeNormal = 0xbff0000000000000ull, kPositiveZero = 0ull,
                            kNegativeZero = 0x8000000000000000ull;
};

// The classes in the order they are tested. A CLASS that is none of the ten
// (IEEE_OTHER_VALUE or a word that is no class value) gives the quiet NaN.
template <class T>
Bits<T> value_bits(int32_t c) {
  using K = Constants<T>;
  switch (c) {
    case kSignalingNan: return K::kSignalingNan;
    case kQuietNan: return K::kQuietNan;
    case kNegativeInf: return K::kNegativeInf;
    case kPositiveInf: return K::kPositiveInf;
    case kNegativeDenormal: return K::kNegativeDenormal;
    case kPositiveDenormal: return K::kPositiveDenormal;
    case kNegativeNormal: return K::kNegativeNormal;
    case kPositiveNormal: return K::kPositiveNormal;
    case kNegativeZero: return K::kNegativeZero;
    case kPositiveZero: return K::kPositiveZero;
    default: return K::kQuietNan;
  }
}

template <class T>
long double value_of(int32_t c) {
  return fp::x87_value<T>(value_bits<T>(c));
}

}  // namespace

F90_API long double sp_value(const float* x, const int32_t* c) F90_SYMBOL(__SP_IEEE_VALUE_in_IEEE_ARITHMETIC);
F90_API long double dp_value(const double* x, const int32_t* c) F90_SYMBOL(__DP_IEEE_VALUE_in_IEEE_ARITHMETIC);
F90_API long double sp_positive_inf(const float* x) F90_SYMBOL(__SP_POSITIVE_INF_in_IEEE_ARITHMETIC);
F90_API long double sp_negative_inf(const float* x) F90_SYMBOL(__SP_NEGATIVE_INF_in_IEEE_ARITHMETIC);
F90_API long double sp_signaling_nan(const float* x) F90_SYMBOL(__SP_SIGNALING_NAN_in_IEEE_ARITHMETIC);
F90_API long double sp_quiet_nan(const float* x) F90_SYMBOL(__SP_QUIET_NAN_in_IEEE_ARITHMETIC);
F90_API long double dp_positive_inf(const double* x) F90_SYMBOL(__DP_POSITIVE_INF_in_IEEE_ARITHMETIC);
F90_API long double dp_negative_inf(const double* x) F90_SYMBOL(__DP_NEGATIVE_INF_in_IEEE_ARITHMETIC);
F90_API long double dp_signaling_nan(const double* x) F90_SYMBOL(__DP_SIGNALING_NAN_in_IEEE_ARITHMETIC);
F90_API long double dp_quiet_nan(const double* x) F90_SYMBOL(__DP_QUIET_NAN_in_IEEE_ARITHMETIC);

long double sp_value(const float*, const int32_t* c) { return value_of<float>(*c); }
long double dp_value(const double*, const int32_t* c) { return value_of<double>(*c); }
long double sp_positive_inf(const float*) { return value_of<float>(kPositiveInf); }
long double sp_negative_inf(const float*) { return value_of<float>(kNegativeInf); }
long double sp_signaling_nan(const float*) { return value_of<float>(kSignalingNan); }
long double sp_quiet_nan(const float*) { return value_of<float>(kQuietNan); }
long double dp_positive_inf(const double*) { return value_of<double>(kPositiveInf); }
long double dp_negative_inf(const double*) { return value_of<double>(kNegativeInf); }
long double dp_signaling_nan(const double*) { return value_of<double>(kSignalingNan); }
long double dp_quiet_nan(const double*) { return value_of<double>(kQuietNan); }
