// PRODUCT(ARRAY, DIM [, MASK]): _PROD_I1 ... _PROD_Z.
#include "prodsum/sumdim.h"

namespace {
using namespace f90::prodsum;
constexpr Op kOp = Op::product;
}  // namespace

F90_DIM_ENTRY(_PROD_I1, prod_dim_i1, SmallInteger<int8_t, kOp>)
F90_DIM_ENTRY(_PROD_I2, prod_dim_i2, SmallInteger<int16_t, kOp>)
F90_DIM_ENTRY(_PROD_I4, prod_dim_i4, SmallInteger<int32_t, kOp>)
F90_DIM_ENTRY(_PROD_J, prod_dim_j, Integer8<kOp>)
F90_DIM_ENTRY(_PROD_S4, prod_dim_s4, Real<float, kOp>)
F90_DIM_ENTRY(_PROD_S, prod_dim_s, Real<double, kOp>)
F90_DIM_ENTRY(_PROD_C4, prod_dim_c4, Complex<float, kOp>)
F90_DIM_ENTRY(_PROD_C, prod_dim_c, Complex<double, kOp>)
F90_DIM_ENTRY(_PROD_D, prod_dim_d, Real16<kOp>)
F90_DIM_ENTRY(_PROD_Z, prod_dim_z, f90::prodsum::Complex32<kOp>)
