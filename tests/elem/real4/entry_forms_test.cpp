// The REAL*4 entry forms: every by-reference twin (both names of each
// logarithm) returns exactly what its by-value entry returns, reading only
// the four bytes of each argument; and every entry hands back the caller's
// control word on every path, under the library's word, the process
// default and a chopping 24-bit word.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "control_word.h"
#include "guard_page.h"
#include "real4/real4.h"
#include "real4_test_util.h"

namespace {

using namespace real4test;

// Arguments that reach the special paths: signed zeros, NaNs with payloads
// and signs, infinities, subnormals, the limits of each family.
std::vector<float> arguments() {
  return {0.0f,       -0.0f,      1.0f,        -1.0f,         0.5f,          -0.75f,
          2.5f,       -2.5f,      1e-5f,       kMinSub,       -kMinSub,      kMinNormal,
          100.0f,     -3.0e9f,    88.72f,      -87.5f,        -104.0f,       1e19f,
          20000.0f,   7e9f,       kMax,        -kMax,         kInf,          -kInf,
          kNaN,       from_bits(0xffc01234u),  from_bits(0x7fc00001u),      32767.5f};
}

// The 80-bit register value, compared bit for bit.
bool same_register(long double a, long double b) { return std::memcmp(&a, &b, 10) == 0; }

// A float placed in the last four bytes before an inaccessible page.
class GuardedFloat {
 public:
  explicit GuardedFloat(float v) : buf_(sizeof(float)) { std::memcpy(buf_.data(), &v, 4); }
  const float* get() const { return static_cast<const float*>(buf_.data()); }

 private:
  f90test::GuardedBuffer buf_;
};

struct Twin1 {
  const char* name;
  long double (*value)(float);
  long double (*ref)(const float*);
};

const std::vector<Twin1>& twins1() {
  static const std::vector<Twin1> t = {
      {"aint", _morvex_aint, _morvex_I_aint},       {"abs", _morvex_abs, _morvex_I_abs},
      {"sqrt", _morvex_sqrt, _morvex_I_sqrt},       {"anint", _morvex_anint, _morvex_I_anint},
      {"exp", _morvex_exp, _morvex_I_exp},          {"alog", _morvex_alog, _morvex_I_alog},
      {"log", _morvex_alog, _morvex_I_log},         {"alog10", _morvex_alog10, _morvex_I_alog10},
      {"log10", _morvex_alog10, _morvex_I_log10},   {"sin", _morvex_sin, _morvex_I_sin},
      {"cos", _morvex_cos, _morvex_I_cos},          {"sind", _morvex_sind, _morvex_I_sind},
      {"cosd", _morvex_cosd, _morvex_I_cosd},       {"tan", _morvex_tan, _morvex_I_tan},
      {"tand", _morvex_tand, _morvex_I_tand},       {"cot", _morvex_cot, _morvex_I_cot},
      {"asin", _morvex_asin, _morvex_I_asin},       {"acos", _morvex_acos, _morvex_I_acos},
      {"asind", _morvex_asind, _morvex_I_asind},    {"acosd", _morvex_acosd, _morvex_I_acosd},
      {"atan", _morvex_atan, _morvex_I_atan},       {"atand", _morvex_atand, _morvex_I_atand},
      {"sinh", _morvex_sinh, _morvex_I_sinh},       {"cosh", _morvex_cosh, _morvex_I_cosh},
      {"tanh", _morvex_tanh, _morvex_I_tanh},
  };
  return t;
}

struct Twin2 {
  const char* name;
  long double (*value)(float, float);
  long double (*ref)(const float*, const float*);
};

const std::vector<Twin2>& twins2() {
  static const std::vector<Twin2> t = {
      {"amod", _morvex_amod, _morvex_I_amod},   {"dim", _morvex_dim, _morvex_I_dim},
      {"sign", _morvex_sign, _morvex_I_sign},   {"atan2", _morvex_atan2, _morvex_I_atan2},
      {"atan2d", _morvex_atan2d, _morvex_I_atan2d},
  };
  return t;
}

struct TwinInt {
  const char* name;
  int32_t (*value)(float);
  int32_t (*ref)(const float*);
};

const std::vector<TwinInt>& twins_int() {
  static const std::vector<TwinInt> t = {
      {"nint", _morvex_nint, _morvex_I_nint},
      {"jnint", _morvex_jnint, _morvex_I_jnint},
      {"inint", _morvex_inint, _morvex_I_inint},
  };
  return t;
}

class Real4EntryForms : public f90test::ControlWordTest {};

TEST_F(Real4EntryForms, ByReferenceTwinsMatchByValue) {
  const auto args = arguments();
  for (const float a : args) {
    const GuardedFloat pa(a);
    for (const auto& t : twins1()) {
      EXPECT_TRUE(same_register(t.ref(pa.get()), t.value(a))) << t.name << "(" << show(a) << ")";
    }
    for (const auto& t : twins_int()) {
      EXPECT_EQ(t.ref(pa.get()), t.value(a)) << t.name << "(" << show(a) << ")";
    }
    EXPECT_EQ(_morvex_I_knint(pa.get()), _morvex_knint(a)) << "knint(" << show(a) << ")";
    for (const float b : {a, 1.0f, -0.0f, kNaN, 3.0f, -kInf}) {
      const GuardedFloat pb(b);
      for (const auto& t : twins2()) {
        EXPECT_TRUE(same_register(t.ref(pa.get(), pb.get()), t.value(a, b)))
            << t.name << "(" << show(a) << ", " << show(b) << ")";
      }
    }
  }
}

// Every entry, on the paths the arguments above reach, under three words.
TEST_F(Real4EntryForms, ControlWordKeptOnEveryPath) {
  const auto args = arguments();
  for (const uint16_t cw : {f90test::kCwLibrary, f90test::kCwLinux, f90test::kCwChopSingle}) {
    for (const float a : args) {
      const std::string at = std::to_string(cw) + " " + show(a);
      for (const auto& t : twins1()) {
        expect_cw_kept([&] { t.value(a); }, cw);
        if (HasFailure()) FAIL() << t.name << " at " << at;
      }
      for (const auto& t : twins_int()) expect_cw_kept([&] { t.value(a); }, cw);
      expect_cw_kept([&] { _morvex_knint(a); }, cw);
      expect_cw_kept([&] { _morvex_f90floorf(a); }, cw);
      expect_cw_kept([&] { _morvex_f90ceilf(a); }, cw);
      expect_cw_kept([&] { _morvex_ifloor(a); }, cw);
      expect_cw_kept([&] { _morvex_iceil(a); }, cw);
      expect_cw_kept([&] { _morvex_sinfcosf(a, 0); }, cw);
      expect_cw_kept([&] { _morvex_sinfcosf(a, 1); }, cw);
      expect_cw_kept([&] { _morvex_asinfacosf(a, 0); }, cw);
      expect_cw_kept([&] { _morvex_asinfacosf(a, 1); }, cw);
      for (const int32_t n : {0, 3, -2, INT32_MIN}) expect_cw_kept([&] { _morvex_ftoi(a, n); }, cw);
      for (const float b : args) {
        for (const auto& t : twins2()) expect_cw_kept([&] { t.value(a, b); }, cw);
        expect_cw_kept([&] { _morvex_ftof(a, b); }, cw);
      }
      if (HasFailure()) FAIL() << "at " << at;
    }
  }
}

}  // namespace
