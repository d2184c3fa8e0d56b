// The REAL*16 sine and cosine kernel shared by SIN, COS, TAN, COTAN, their
// degree forms and the refinement steps of the inverse functions (sinl.cpp).
// Internal to libf90elem; declared here without the double-double helpers so
// that white-box tests can call it as well.
#pragma once

#include <cstdint>

#include "entry.h"

namespace morvex::real16 {

// Kernel modes.
inline constexpr int32_t kSine = 1;
inline constexpr int32_t kCosine = 2;
inline constexpr int32_t kTangent = 3;

// x = t pi + k pi/40 + u, with |k| <= 20 and |u| about pi/80 at most;
// negate is the parity of t (sine and cosine change sign with it).
struct Reduced {
  DoubleDouble u;
  int32_t k;
  int32_t negate;
};

// Reduces a finite x; false (and *r untouched) for an infinite or NaN x.
bool reduce(DoubleDouble x, Reduced* r);

// sin and cos of a reduced argument: each is written when its pointer is not
// null.
void sin_cos_reduced(const Reduced* r, DoubleDouble* sn, DoubleDouble* cs);

// The kernel's result for a reduced argument: the sine (mode 1), the cosine
// (mode 2) or the tangent (mode 3), which is (0x7feffffffffffffb, 0) where
// the cosine comes out with a zero high part.
DoubleDouble* sct_reduced(DoubleDouble* res, const Reduced* r, int32_t mode);

}  // namespace morvex::real16

// sin x, cos x or tan x by mode; (NaN, +0) for an infinite or NaN x. Hidden.
extern "C" F90_HIDDEN morvex::DoubleDouble* _morvex_sct(morvex::DoubleDouble* res,
                                                        morvex::DoubleDouble x, int32_t mode);
