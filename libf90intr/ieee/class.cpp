// IEEE_CLASS, the IS_ inquiries built on it, and IEEE_UNORDERED.
//
// Every one classifies the argument's stored bits (the REAL*8 forms read the
// 64 bits as they lie in memory), so a signalling NaN keeps its class and no
// flag is raised. An inquiry is true when the class is in its fixed set.
#include <initializer_list>

#include "ieee/arithmetic.h"

using namespace f90::ieee;

namespace {

constexpr uint32_t set_of(std::initializer_list<Class> classes) {
  uint32_t s = 0;
  for (Class c : classes) s |= 1u << c;
  return s;
}

constexpr uint32_t kFinite = set_of({kNegativeNormal, kNegativeDenormal, kNegativeZero,
                                     kPositiveNormal, kPositiveDenormal, kPositiveZero});
constexpr uint32_t kNan = set_of({kSignalingNan, kQuietNan});
constexpr uint32_t kNegative = set_of({kNegativeNormal, kNegativeDenormal, kNegativeZero, kNegativeInf});
constexpr uint32_t kNormal = set_of({kNegativeNormal, kNegativeZero, kPositiveNormal, kPositiveZero});

template <uint32_t Set, class T>
int32_t in_set(const T* x) {
  return logical(((Set >> class_of<T>(bits_at(x))) & 1) != 0);
}

}  // namespace

F90_API int32_t* sp_class(int32_t* result, const float* x) F90_SYMBOL(__SP_IEEE_CLASS_in_IEEE_ARITHMETIC);
F90_API int32_t* dp_class(int32_t* result, const double* x) F90_SYMBOL(__DP_IEEE_CLASS_in_IEEE_ARITHMETIC);
F90_API int32_t sp_is_finite(const float* x) F90_SYMBOL(__SP_IEEE_IS_FINITE_in_IEEE_ARITHMETIC);
F90_API int32_t dp_is_finite(const double* x) F90_SYMBOL(__DP_IEEE_IS_FINITE_in_IEEE_ARITHMETIC);
F90_API int32_t sp_is_nan(const float* x) F90_SYMBOL(__SP_IEEE_IS_NAN_in_IEEE_ARITHMETIC);
F90_API int32_t dp_is_nan(const double* x) F90_SYMBOL(__DP_IEEE_IS_NAN_in_IEEE_ARITHMETIC);
F90_API int32_t sp_is_negative(const float* x) F90_SYMBOL(__SP_IEEE_IS_NEGATIVE_in_IEEE_ARITHMETIC);
F90_API int32_t dp_is_negative(const double* x) F90_SYMBOL(__DP_IEEE_IS_NEGATIVE_in_IEEE_ARITHMETIC);
F90_API int32_t sp_is_normal(const float* x) F90_SYMBOL(__SP_IEEE_IS_NORMAL_in_IEEE_ARITHMETIC);
F90_API int32_t dp_is_normal(const double* x) F90_SYMBOL(__DP_IEEE_IS_NORMAL_in_IEEE_ARITHMETIC);
F90_API int32_t sp_unordered(const float* x, const float* y)
    F90_SYMBOL(__SP_IEEE_UNORDERED_in_IEEE_ARITHMETIC);
F90_API int32_t dp_unordered(const double* x, const double* y)
    F90_SYMBOL(__DP_IEEE_UNORDERED_in_IEEE_ARITHMETIC);
F90_API int32_t sd_unordered(const float* x, const double* y)
    F90_SYMBOL(__SD_IEEE_UNORDERED_in_IEEE_ARITHMETIC);
F90_API int32_t ds_unordered(const double* x, const float* y)
    F90_SYMBOL(__DS_IEEE_UNORDERED_in_IEEE_ARITHMETIC);

int32_t* sp_class(int32_t* result, const float* x) {
  *result = class_of<float>(bits_at(x));
  return result;
}
int32_t* dp_class(int32_t* result, const double* x) {
  *result = class_of<double>(bits_at(x));
  return result;
}

int32_t sp_is_finite(const float* x) { return in_set<kFinite>(x); }
int32_t dp_is_finite(const double* x) { return in_set<kFinite>(x); }
int32_t sp_is_nan(const float* x) { return in_set<kNan>(x); }
int32_t dp_is_nan(const double* x) { return in_set<kNan>(x); }
int32_t sp_is_negative(const float* x) { return in_set<kNegative>(x); }
int32_t dp_is_negative(const double* x) { return in_set<kNegative>(x); }
int32_t sp_is_normal(const float* x) { return in_set<kNormal>(x); }
int32_t dp_is_normal(const double* x) { return in_set<kNormal>(x); }

// Each argument is tested in its own kind.
int32_t sp_unordered(const float* x, const float* y) { return logical(in_set<kNan>(x) | in_set<kNan>(y)); }
int32_t dp_unordered(const double* x, const double* y) { return logical(in_set<kNan>(x) | in_set<kNan>(y)); }
int32_t sd_unordered(const float* x, const double* y) { return logical(in_set<kNan>(x) | in_set<kNan>(y)); }
int32_t ds_unordered(const double* x, const float* y) { return logical(in_set<kNan>(x) | in_set<kNan>(y)); }
