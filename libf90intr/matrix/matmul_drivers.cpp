// MATMUL(A, B): the 58 entry points _MATMUL_<A><B>, one row each.
//
// Letters: S4 REAL*4, S REAL*8, D REAL*16, C4 COMPLEX*8, C COMPLEX*16,
// Z COMPLEX*32, J INTEGER*8, L LOGICAL*8; I4 and L4 stand for the
// default-length INTEGER and LOGICAL of 4, 2 or 1 bytes, the kernel chosen
// per call from that operand's int_len. Every entry takes (result, A, B,
// pointer to the transposition flags or null) and is run by run_matmul
// (matrix/matmul.h). The part bytes of parts() and four() are the offsets of
// the imaginary parts of A, B and the result (0 for a real array).
#include "matrix/matmul.h"

namespace {

using namespace f90::matrix;
constexpr bool T = true;  // the kernel takes B first: C^T = B^T.A^T

}  // namespace

// ---- Real and complex operands.
F90_MATMUL_DRIVER(_MATMUL_S4S4, matmul_s4s4, same_kind(_S4GEMMX, _S4GEMVX))
F90_MATMUL_DRIVER(_MATMUL_SS, matmul_ss, same_kind(_SGEMMX, _SGEMVX))
F90_MATMUL_DRIVER(_MATMUL_DD, matmul_dd, one(_DDGEMMX))
F90_MATMUL_DRIVER(_MATMUL_C4C4, matmul_c4c4, same_kind(_C4GEMMX, _C4GEMVX))
F90_MATMUL_DRIVER(_MATMUL_CC, matmul_cc, same_kind(_CGEMMX, _CGEMVX))
F90_MATMUL_DRIVER(_MATMUL_ZZ, matmul_zz, same_kind(_ZGEMMX, _ZGEMVX))
F90_MATMUL_DRIVER(_MATMUL_S4S, matmul_s4s, one(_S4SGEMMX))
F90_MATMUL_DRIVER(_MATMUL_SS4, matmul_ss4, one(_S4SGEMMX, T))
F90_MATMUL_DRIVER(_MATMUL_DS, matmul_ds, one(_DSGEMMX))
F90_MATMUL_DRIVER(_MATMUL_DS4, matmul_ds4, one(_DS4GEMMX))
F90_MATMUL_DRIVER(_MATMUL_S4D, matmul_s4d, one(_DS4GEMMX, T))
F90_MATMUL_DRIVER(_MATMUL_C4S4, matmul_c4s4, parts(one(_S4GEMMX), 4, 0, 4))
F90_MATMUL_DRIVER(_MATMUL_S4C4, matmul_s4c4, parts(one(_S4GEMMX), 0, 4, 4))
F90_MATMUL_DRIVER(_MATMUL_C4S, matmul_c4s, parts(one(_S4SGEMMX), 4, 0, 8))
F90_MATMUL_DRIVER(_MATMUL_SC4, matmul_sc4, parts(one(_S4SGEMMX, T), 0, 4, 8))
F90_MATMUL_DRIVER(_MATMUL_CS4, matmul_cs4, parts(one(_S4SGEMMX, T), 8, 0, 8))
F90_MATMUL_DRIVER(_MATMUL_S4C, matmul_s4c, parts(one(_S4SGEMMX), 0, 8, 8))
F90_MATMUL_DRIVER(_MATMUL_CS, matmul_cs, parts(one(_SGEMMX), 8, 0, 8))
F90_MATMUL_DRIVER(_MATMUL_SC, matmul_sc, parts(one(_SGEMMX), 0, 8, 8))
F90_MATMUL_DRIVER(_MATMUL_CD, matmul_cd, parts(one(_DSGEMMX, T), 8, 0, 16))
F90_MATMUL_DRIVER(_MATMUL_DC, matmul_dc, parts(one(_DSGEMMX), 0, 8, 16))
F90_MATMUL_DRIVER(_MATMUL_ZS4, matmul_zs4, parts(one(_S4DGEMMX, T), 16, 0, 16))
F90_MATMUL_DRIVER(_MATMUL_S4Z, matmul_s4z, parts(one(_S4DGEMMX), 0, 16, 16))
F90_MATMUL_DRIVER(_MATMUL_ZS, matmul_zs, parts(one(_SDGEMMX, T), 16, 0, 16))
F90_MATMUL_DRIVER(_MATMUL_SZ, matmul_sz, parts(one(_SDGEMMX), 0, 16, 16))
F90_MATMUL_DRIVER(_MATMUL_ZD, matmul_zd, parts(one(_DGEMMX), 16, 0, 16))
F90_MATMUL_DRIVER(_MATMUL_DZ, matmul_dz, parts(one(_DGEMMX), 0, 16, 16))
F90_MATMUL_DRIVER(_MATMUL_C4C, matmul_c4c, four(_S4SGEMMX, _S4SGEMMX2, false, 4, 8, 8))
F90_MATMUL_DRIVER(_MATMUL_CC4, matmul_cc4, four(_S4SGEMMX, _S4SGEMMX2, T, 8, 4, 8))
F90_MATMUL_DRIVER(_MATMUL_ZC4, matmul_zc4, four(_DS4GEMMX, _DS4GEMMX2, false, 16, 4, 16))

// ---- Integer and logical operands, integer by real and by complex.
F90_MATMUL_DRIVER(_MATMUL_I4I4, matmul_i4i4,
                  by_both(_I4GEMMX, _I4I2GEMMX, _I4I1GEMMX, _I2GEMMX, _I2I1GEMMX, _I1GEMMX))
F90_MATMUL_DRIVER(_MATMUL_L4L4, matmul_l4l4,
                  by_both(_L4GEMMX, _L4L2GEMMX, _L4L1GEMMX, _L2GEMMX, _L2L1GEMMX, _L1GEMMX))
F90_MATMUL_DRIVER(_MATMUL_JJ, matmul_jj, one(_JGEMMX))
F90_MATMUL_DRIVER(_MATMUL_JI4, matmul_ji4, by_b(_JI4GEMMX, _JI2GEMMX, _JI1GEMMX))
F90_MATMUL_DRIVER(_MATMUL_I4J, matmul_i4j, by_a(_JI4GEMMX, _JI2GEMMX, _JI1GEMMX, T))
F90_MATMUL_DRIVER(_MATMUL_LL, matmul_ll, one(_LGEMMX))
F90_MATMUL_DRIVER(_MATMUL_LL4, matmul_ll4, by_b(_LL4GEMMX, _LL2GEMMX, _LL1GEMMX))
F90_MATMUL_DRIVER(_MATMUL_L4L, matmul_l4l, by_a(_LL4GEMMX, _LL2GEMMX, _LL1GEMMX, T))
F90_MATMUL_DRIVER(_MATMUL_JS4, matmul_js4, one(_JS4GEMMX))
F90_MATMUL_DRIVER(_MATMUL_S4J, matmul_s4j, one(_JS4GEMMX, T))
F90_MATMUL_DRIVER(_MATMUL_JS, matmul_js, one(_JSGEMMX))
F90_MATMUL_DRIVER(_MATMUL_SJ, matmul_sj, one(_JSGEMMX, T))
F90_MATMUL_DRIVER(_MATMUL_JD, matmul_jd, one(_JDGEMMX))
F90_MATMUL_DRIVER(_MATMUL_DJ, matmul_dj, one(_JDGEMMX, T))
F90_MATMUL_DRIVER(_MATMUL_I4S4, matmul_i4s4, by_a(_I4S4GEMMX, _I2S4GEMMX, _I1S4GEMMX))
F90_MATMUL_DRIVER(_MATMUL_S4I4, matmul_s4i4, by_b(_I4S4GEMMX, _I2S4GEMMX, _I1S4GEMMX, T))
F90_MATMUL_DRIVER(_MATMUL_I4S, matmul_i4s, by_a(_I4SGEMMX, _I2SGEMMX, _I1SGEMMX))
F90_MATMUL_DRIVER(_MATMUL_SI4, matmul_si4, by_b(_I4SGEMMX, _I2SGEMMX, _I1SGEMMX, T))
F90_MATMUL_DRIVER(_MATMUL_I4D, matmul_i4d, by_a(_I4DGEMMX, _I2DGEMMX, _I1DGEMMX))
F90_MATMUL_DRIVER(_MATMUL_DI4, matmul_di4, by_b(_I4DGEMMX, _I2DGEMMX, _I1DGEMMX, T))
F90_MATMUL_DRIVER(_MATMUL_JC4, matmul_jc4, parts(one(_JS4GEMMX), 0, 4, 4))
F90_MATMUL_DRIVER(_MATMUL_C4J, matmul_c4j, parts(one(_JS4GEMMX, T), 4, 0, 4))
F90_MATMUL_DRIVER(_MATMUL_JC, matmul_jc, parts(one(_JSGEMMX), 0, 8, 8))
F90_MATMUL_DRIVER(_MATMUL_CJ, matmul_cj, parts(one(_JSGEMMX, T), 8, 0, 8))
F90_MATMUL_DRIVER(_MATMUL_I4C4, matmul_i4c4,
                  parts(by_a(_I4S4GEMMX, _I2S4GEMMX, _I1S4GEMMX), 0, 4, 4))
F90_MATMUL_DRIVER(_MATMUL_C4I4, matmul_c4i4,
                  parts(by_b(_I4S4GEMMX, _I2S4GEMMX, _I1S4GEMMX, T), 4, 0, 4))
F90_MATMUL_DRIVER(_MATMUL_I4C, matmul_i4c, parts(by_a(_I4SGEMMX, _I2SGEMMX, _I1SGEMMX), 0, 8, 8))
F90_MATMUL_DRIVER(_MATMUL_CI4, matmul_ci4,
                  parts(by_b(_I4SGEMMX, _I2SGEMMX, _I1SGEMMX, T), 8, 0, 8))
