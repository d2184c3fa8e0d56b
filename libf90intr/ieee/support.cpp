// The SUPPORT inquiries of IEEE_ARITHMETIC.
//
// REAL*4 forms answer true only when X is present, REAL*8 forms always;
// SUPPORT_UNDERFLOW asks _morvex_support_underflow (false: no underflow
// control), the REAL*4 form only when X is present. SUPPORT_ROUNDING does not
// look at the rounding value.
#include "ieee/arithmetic.h"

namespace {

int32_t sp_support(const float* x) { return f90::ieee::logical(x != nullptr); }
int32_t sp_support_underflow_of(const float* x) {
  return x == nullptr ? 0 : _morvex_support_underflow();
}

}  // namespace

F90_API int32_t sp_support_datatype(const float* x) F90_SYMBOL(__SP_IEEE_SUPPORT_DATATYPE_in_IEEE_ARITHMETIC);
F90_API int32_t sp_support_denormal(const float* x) F90_SYMBOL(__SP_IEEE_SUPPORT_DENORMAL_in_IEEE_ARITHMETIC);
F90_API int32_t sp_support_divide(const float* x) F90_SYMBOL(__SP_IEEE_SUPPORT_DIVIDE_in_IEEE_ARITHMETIC);
F90_API int32_t sp_support_inf(const float* x) F90_SYMBOL(__SP_IEEE_SUPPORT_INF_in_IEEE_ARITHMETIC);
F90_API int32_t sp_support_io(const float* x) F90_SYMBOL(__SP_IEEE_SUPPORT_IO_in_IEEE_ARITHMETIC);
F90_API int32_t sp_support_nan(const float* x) F90_SYMBOL(__SP_IEEE_SUPPORT_NAN_in_IEEE_ARITHMETIC);
F90_API int32_t sp_support_sqrt(const float* x) F90_SYMBOL(__SP_IEEE_SUPPORT_SQRT_in_IEEE_ARITHMETIC);
F90_API int32_t sp_support_standard(const float* x) F90_SYMBOL(__SP_IEEE_SUPPORT_STANDARD_in_IEEE_ARITHMETIC);
F90_API int32_t sp_support_rounding(const int32_t* round_value, const float* x)
    F90_SYMBOL(__SP_IEEE_SUPPORT_ROUNDING_in_IEEE_ARITHMETIC);
F90_API int32_t sp_support_underflow(const float* x) F90_SYMBOL(__SP_IEEE_SUPPORT_UNDERFLOW_in_IEEE_ARITHMETIC);
F90_API int32_t dp_support_datatype(const double* x) F90_SYMBOL(__DP_IEEE_SUPPORT_DATATYPE_in_IEEE_ARITHMETIC);
F90_API int32_t dp_support_denormal(const double* x) F90_SYMBOL(__DP_IEEE_SUPPORT_DENORMAL_in_IEEE_ARITHMETIC);
F90_API int32_t dp_support_divide(const double* x) F90_SYMBOL(__DP_IEEE_SUPPORT_DIVIDE_in_IEEE_ARITHMETIC);
F90_API int32_t dp_support_inf(const double* x) F90_SYMBOL(__DP_IEEE_SUPPORT_INF_in_IEEE_ARITHMETIC);
F90_API int32_t dp_support_io(const double* x) F90_SYMBOL(__DP_IEEE_SUPPORT_IO_in_IEEE_ARITHMETIC);
F90_API int32_t dp_support_nan(const double* x) F90_SYMBOL(__DP_IEEE_SUPPORT_NAN_in_IEEE_ARITHMETIC);
F90_API int32_t dp_support_sqrt(const double* x) F90_SYMBOL(__DP_IEEE_SUPPORT_SQRT_in_IEEE_ARITHMETIC);
F90_API int32_t dp_support_standard(const double* x) F90_SYMBOL(__DP_IEEE_SUPPORT_STANDARD_in_IEEE_ARITHMETIC);
F90_API int32_t dp_support_rounding(const int32_t* round_value, const double* x)
    F90_SYMBOL(__DP_IEEE_SUPPORT_ROUNDING_in_IEEE_ARITHMETIC);
F90_API int32_t dp_support_underflow(const double* x) F90_SYMBOL(__DP_IEEE_SUPPORT_UNDERFLOW_in_IEEE_ARITHMETIC);

int32_t sp_support_datatype(const float* x) { return sp_support(x); }
int32_t sp_support_denormal(const float* x) { return sp_support(x); }
int32_t sp_support_divide(const float* x) { return sp_support(x); }
int32_t sp_support_inf(const float* x) { return sp_support(x); }
int32_t sp_support_io(const float* x) { return sp_support(x); }
int32_t sp_support_nan(const float* x) { return sp_support(x); }
int32_t sp_support_sqrt(const float* x) { return sp_support(x); }
int32_t sp_support_standard(const float* x) { return sp_support(x); }
int32_t sp_support_rounding(const int32_t*, const float* x) { return sp_support(x); }
int32_t sp_support_underflow(const float* x) { return sp_support_underflow_of(x); }
int32_t dp_support_datatype(const double*) { return 1; }
int32_t dp_support_denormal(const double*) { return 1; }
int32_t dp_support_divide(const double*) { return 1; }
int32_t dp_support_inf(const double*) { return 1; }
int32_t dp_support_io(const double*) { return 1; }
int32_t dp_support_nan(const double*) { return 1; }
int32_t dp_support_sqrt(const double*) { return 1; }
int32_t dp_support_standard(const double*) { return 1; }
int32_t dp_support_rounding(const int32_t*, const double*) { return 1; }
int32_t dp_support_underflow(const double*) { return _morvex_support_underflow(); }
