// LOG and LOG10 of REAL*8 (method: real/log.h). The table comes from
// tools/gen_log_tables.py. LOG10 is LOG times log10(e), at the caller's
// precision.
#include <array>

#include "constants.h"
#include "entry.h"
#include "real/log.h"
#include "real8/real8.h"

namespace morvex::real8 {

// TRAIL[0..128], LEAD[0..128], RECIP[0..128].
F90_HIDDEN extern const double kLogTable[387];
const double kLogTable[387] = {
#include "real8/log_table.inc"
};

}  // namespace morvex::real8

namespace morvex::real {

template <>
struct LogConstants<double> {
  static constexpr double kNearLow = f64(0x3fee0fabfbc702a6);   // e^(-1/16)
  static constexpr double kNearHigh = f64(0x3ff1082b577d34f0);  // e^(1/16)
  static constexpr int kSplitBits = 29;
  static constexpr std::array<double, 4> kB = {f64(0x3fb55555555554e7), f64(0x3f89999999bac6f0),
                                               f64(0x3f62492307f151a3), f64(0x3f3c8034c85dfff8)};
  static constexpr std::array<double, 5> kA = {f64(0xbfe0000000000000), f64(0x3fd5555555509bac),
                                               f64(0xbfcfffffffeb6529), f64(0x3fc999b4dfed6fee),
                                               f64(0xbfc5557666472e16)};
  static constexpr double kLn2Lead = f64(0x3fe62e42fefa4000);
  static constexpr double kLn2Trail = f64(0xbd48432a1b0e2634);
  static constexpr const double* kTrail = real8::kLogTable;
  static constexpr const double* kLead = real8::kLogTable + 129;
  static constexpr const double* kRecip = real8::kLogTable + 258;
  static double inf() { return _morvex_DOUBLE_INF; }
  static double nan() { return _morvex_DOUBLE_NAN; }
};

}  // namespace morvex::real

namespace {
constexpr double kLog10e = morvex::real::f64(0x3fdbcb7b1526e50e);
}

long double _morvex_dlog(double x) { return morvex::real::log_of(x); }
long double _morvex_dlog10(double x) { return morvex::real::log_of(x) * kLog10e; }

MORVEX_BY_REF(long double, _morvex_I_dlog, _morvex_dlog, double)
MORVEX_BY_REF(long double, _morvex_I_dlog10, _morvex_dlog10, double)
