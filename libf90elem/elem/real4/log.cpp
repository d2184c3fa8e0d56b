// LOG and LOG10 of REAL*4 (method: real/log.h), with polynomials of lower
// degree: near 1, u*v*(B1 + B2*v) with the low 12 bits of u1 and f1
// cleared; elsewhere u^2*(A1 + A2*u). The 401-word table (TRAIL, LEAD and
// RECIP, 129 entries each, seven unused words between the blocks) comes
// from tools/gen_real4_tables.py. LOG10 is LOG times log10(e) as a REAL*4,
// at the caller's precision.
//
// The by-reference entries have two names each, the specific (alog, alog10)
// and the generic (log, log10); there is no by-value _morvex_log.
#include <array>

#include "constants.h"
#include "entry.h"
#include "real/log.h"
#include "real4/real4.h"

namespace morvex::real4 {

// TRAIL at 0, LEAD at 136, RECIP at 272.
F90_HIDDEN extern const float kLogTable[401];
const float kLogTable[401] = {
#include "real4/log_table.inc"
};

}  // namespace morvex::real4

namespace morvex::real {

template <>
struct LogConstants<float> {
  static constexpr float kNearLow = f32(0x3f707d60);   // e^(-1/16)
  static constexpr float kNearHigh = f32(0x3f88415b);  // e^(1/16)
  static constexpr int kSplitBits = 12;
  static constexpr std::array<float, 2> kB = {f32(0x3daaaaa9), f32(0x3c4d009a)};
  static constexpr std::array<float, 2> kA = {f32(0xbf000032), f32(0x3eaaaa3b)};
  static constexpr float kLn2Lead = f32(0x3f317200);
  static constexpr float kLn2Trail = f32(0x35bfbe8e);
  static constexpr const float* kTrail = real4::kLogTable;
  static constexpr const float* kLead = real4::kLogTable + 136;
  static constexpr const float* kRecip = real4::kLogTable + 272;
  static float inf() { return _morvex_FLOAT_INF; }
  static float nan() { return _morvex_FLOAT_NAN; }
};

}  // namespace morvex::real

namespace {
constexpr float kLog10e = morvex::real::f32(0x3ede5bd9);
}

long double _morvex_alog(float x) { return morvex::real::log_of(x); }
long double _morvex_alog10(float x) { return morvex::real::log_of(x) * kLog10e; }

MORVEX_BY_REF(long double, _morvex_I_alog, _morvex_alog, float)
MORVEX_BY_REF(long double, _morvex_I_log, _morvex_alog, float)
MORVEX_BY_REF(long double, _morvex_I_alog10, _morvex_alog10, float)
MORVEX_BY_REF(long double, _morvex_I_log10, _morvex_alog10, float)
