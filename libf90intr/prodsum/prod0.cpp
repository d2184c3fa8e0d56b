// PRODUCT(ARRAY [, DIM] [, MASK]) to one scalar: _PROD0_I1 ... _PROD0_Z.
#include "prodsum/whole.h"

namespace {
using namespace f90::prodsum;
constexpr Op kOp = Op::product;
}  // namespace

F90_WHOLE_VALUE_ENTRY(_PROD0_I1, prod0_i1, int32_t, SmallInteger<int8_t, kOp>)
F90_WHOLE_VALUE_ENTRY(_PROD0_I2, prod0_i2, int32_t, SmallInteger<int16_t, kOp>)
F90_WHOLE_VALUE_ENTRY(_PROD0_I4, prod0_i4, int32_t, SmallInteger<int32_t, kOp>)
F90_WHOLE_VALUE_ENTRY(_PROD0_J, prod0_j, int64_t, Integer8<kOp>)
F90_WHOLE_VALUE_ENTRY(_PROD0_S4, prod0_s4, long double, Real<float, kOp>)
F90_WHOLE_VALUE_ENTRY(_PROD0_S, prod0_s, long double, Real<double, kOp>)
F90_WHOLE_ADDRESS_ENTRY(_PROD0_C4, prod0_c4, morvex::Complex8, Complex<float, kOp>)
F90_WHOLE_ADDRESS_ENTRY(_PROD0_C, prod0_c, morvex::Complex16, Complex<double, kOp>)
F90_WHOLE_ADDRESS_ENTRY(_PROD0_D, prod0_d, morvex::DoubleDouble, Real16<kOp>)
F90_WHOLE_ADDRESS_ENTRY(_PROD0_Z, prod0_z, morvex::Complex32, f90::prodsum::Complex32<kOp>)
