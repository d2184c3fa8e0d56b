// IEEE_VALUE and the constant functions behind it (infinities and NaNs).
//
// Only CLASS decides the value; X gives the kind and is not read. Every
// result is a fixed bit pattern returned in st(0) without a load of the kind,
// so the signalling NaN stays signalling and nothing is raised.
#include "ieee/arithmetic.h"

using namespace f90::ieee;

namespace {

template <class T>
long double value_of(int32_t c) {
  return fp::x87_value<T>(class_value_bits<T>(c));
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
