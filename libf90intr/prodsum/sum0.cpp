// SUM(ARRAY [, DIM] [, MASK]) to one scalar: _SUM0_I1 ... _SUM0_Z.
#include "prodsum/whole.h"

namespace {
using namespace f90::prodsum;
constexpr Op kOp = Op::sum;
}  // namespace

F90_WHOLE_VALUE_ENTRY(_SUM0_I1, sum0_i1, int32_t, SmallInteger<int8_t, kOp>)
F90_WHOLE_VALUE_ENTRY(_SUM0_I2, sum0_i2, int32_t, SmallInteger<int16_t, kOp>)
F90_WHOLE_VALUE_ENTRY(_SUM0_I4, sum0_i4, int32_t, SmallInteger<int32_t, kOp>)
F90_WHOLE_VALUE_ENTRY(_SUM0_J, sum0_j, int64_t, Integer8<kOp>)
F90_WHOLE_VALUE_ENTRY(_SUM0_S4, sum0_s4, long double, Real<float, kOp>)
F90_WHOLE_VALUE_ENTRY(_SUM0_S, sum0_s, long double, Real<double, kOp>)
F90_WHOLE_ADDRESS_ENTRY(_SUM0_C4, sum0_c4, morvex::Complex8, Complex<float, kOp>)
F90_WHOLE_ADDRESS_ENTRY(_SUM0_C, sum0_c, morvex::Complex16, Complex<double, kOp>)
F90_WHOLE_ADDRESS_ENTRY(_SUM0_D, sum0_d, morvex::DoubleDouble, Real16<kOp>)
F90_WHOLE_ADDRESS_ENTRY(_SUM0_Z, sum0_z, morvex::Complex32, f90::prodsum::Complex32<kOp>)
