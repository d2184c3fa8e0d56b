// SUM(ARRAY, DIM [, MASK]): _SUM_I1 ... _SUM_Z.
#include "prodsum/sumdim.h"

namespace {
using namespace f90::prodsum;
constexpr Op kOp = Op::sum;
}  // namespace

F90_DIM_ENTRY(_SUM_I1, sum_dim_i1, SmallInteger<int8_t, kOp>)
F90_DIM_ENTRY(_SUM_I2, sum_dim_i2, SmallInteger<int16_t, kOp>)
F90_DIM_ENTRY(_SUM_I4, sum_dim_i4, SmallInteger<int32_t, kOp>)
F90_DIM_ENTRY(_SUM_J, sum_dim_j, Integer8<kOp>)
F90_DIM_ENTRY(_SUM_S4, sum_dim_s4, Real<float, kOp>)
F90_DIM_ENTRY(_SUM_S, sum_dim_s, Real<double, kOp>)
F90_DIM_ENTRY(_SUM_C4, sum_dim_c4, Complex<float, kOp>)
F90_DIM_ENTRY(_SUM_C, sum_dim_c, Complex<double, kOp>)
F90_DIM_ENTRY(_SUM_D, sum_dim_d, Real16<kOp>)
F90_DIM_ENTRY(_SUM_Z, sum_dim_z, f90::prodsum::Complex32<kOp>)
