// Every REAL*8 entry point, by value and by reference: the caller's control
// word comes back on every path (early exits included) under 0x127f, 0x037f
// and 0x0c7f; the x87 stack is left empty; each by-reference twin returns
// exactly what its by-value entry returns; and results come back rounded to
// REAL*8 only where the functions round them.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "control_word.h"
#include "real8/real8.h"
#include "real8_test_util.h"

namespace {

using namespace real8test;

// An entry called with up to two REAL*8 values (an INTEGER*4 or REAL*4
// argument is converted from the second value); integer results widened.
struct Entry {
  const char* name;
  std::function<long double(double, double)> call;
  bool binary;
};

int32_t as_int(double b) { return b > 2147483647.0 ? INT32_MAX : b < -2147483648.0 ? INT32_MIN : int32_t(b); }

#define BYVAL1(f) Entry{#f, [](double a, double) -> long double { return f(a); }, false}
#define BYVAL2(f) Entry{#f, [](double a, double b) -> long double { return f(a, b); }, true}
#define BYREF1(f) Entry{#f, [](double a, double) -> long double { return f(&a); }, false}
#define BYREF2(f) Entry{#f, [](double a, double b) -> long double { return f(&a, &b); }, true}
#define WITHINT(f) \
  Entry{#f, [](double a, double b) -> long double { return f(a, as_int(b)); }, true}

// The by-reference twins, each beside its by-value entry.
struct Twin {
  Entry by_value, by_ref;
};

#define TWIN1(n) Twin{BYVAL1(_morvex_##n), BYREF1(_morvex_I_##n)}
#define TWIN2(n) Twin{BYVAL2(_morvex_##n), BYREF2(_morvex_I_##n)}

long double dprod_by_value(double a, double b) {
  return _morvex_dprod(static_cast<float>(a), static_cast<float>(b));
}
long double dprod_by_ref(double a, double b) {
  const float fa = static_cast<float>(a), fb = static_cast<float>(b);
  return _morvex_I_dprod(&fa, &fb);
}

const std::vector<Twin>& twins() {
  static const std::vector<Twin> t = {
      TWIN1(dint),   TWIN1(dabs),   TWIN2(dmod),   TWIN1(dsqrt),  TWIN2(ddim),    TWIN2(dsign),
      TWIN1(dnint),  TWIN1(idnint), TWIN1(jidnnt), TWIN1(iidnnt), TWIN1(kidnnt),  TWIN1(dexp),
      TWIN1(dlog),   TWIN1(dlog10), TWIN1(dsin),   TWIN1(dcos),   TWIN1(dsind),   TWIN1(dcosd),
      TWIN1(dtan),   TWIN1(dtand),  TWIN1(dcot),   TWIN1(dasin),  TWIN1(dacos),   TWIN1(dasind),
      TWIN1(dacosd), TWIN1(datan),  TWIN1(datand), TWIN2(datan2), TWIN2(datan2d), TWIN1(dsinh),
      TWIN1(dcosh),  TWIN1(dtanh),
      Twin{Entry{"_morvex_dprod", dprod_by_value, true}, Entry{"_morvex_I_dprod", dprod_by_ref, true}},
  };
  return t;
}

// Every by-value entry: those with a twin, and those without.
const std::vector<Entry>& by_value() {
  static const std::vector<Entry> e = [] {
    std::vector<Entry> v = {BYVAL1(_morvex_f90floor), BYVAL1(_morvex_f90ceil),
                            BYVAL1(_morvex_idfloor),  BYVAL1(_morvex_idceil),
                            BYVAL2(_morvex_dtod),     WITHINT(_morvex_dtoi),
                            WITHINT(_morvex_sincos),  WITHINT(_morvex_asinacos)};
    for (const auto& t : twins()) v.push_back(t.by_value);
    return v;
  }();
  return e;
}

// Arguments that reach every early exit and every branch.
const std::vector<double>& unary_args() {
  static const std::vector<double> v = {
      0.0, -0.0, 1.0, -1.0, 0.5, -0.3, 2.5, -2.5, 0.75, -0.75, 1e-9, -1e-300, kMinSub,
      1.06, 0.95, 1e300, -1e300, 3e8, 2.9e8, -2e8, 709.5, 710.0, -708.4, -745.0, 20.0,
      -0.55, 1e10, 0x1p60, 32768.0, 3e10, -2.5e9, kInf, -kInf, kNaN, -kNaN};
  return v;
}
const std::vector<double>& binary_args() {
  static const std::vector<double> v = {0.0,  -0.0, 1.0, -2.0, 0.5,  3.0,  1e300, 1e17,
                                        -1e-310, 2147483649.0, 0x1p53, kInf, -kInf, kNaN};
  return v;
}

template <class F>
void for_each_argument(const Entry& e, F&& f) {
  if (!e.binary) {
    for (double a : unary_args()) f(a, 0.0);
  } else {
    for (double a : binary_args())
      for (double b : binary_args()) f(a, b);
  }
}

class EntryForms : public f90test::ControlWordTest {};

TEST_F(EntryForms, ControlWordKeptOnEveryPathUnderThreeModes) {
  const uint16_t modes[] = {f90test::kCwLibrary, f90test::kCwLinux, f90test::kCwChopSingle};
  std::vector<Entry> all = by_value();
  for (const auto& t : twins()) all.push_back(t.by_ref);
  ASSERT_EQ(all.size(), 74u);
  for (const auto& e : all) {
    for (const uint16_t cw : modes) {
      for_each_argument(e, [&](double a, double b) {
        volatile long double sink;
        expect_cw_kept([&] { sink = e.call(a, b); }, cw);
        (void)sink;
        if (HasFailure()) {
          ADD_FAILURE() << e.name << "(" << a << ", " << b << ") under 0x" << std::hex << cw;
          return;
        }
      });
    }
  }
}

TEST_F(EntryForms, X87StackLeftEmpty) {
  for (const auto& e : by_value()) {
    for_each_argument(e, [&](double a, double b) {
      volatile long double sink = e.call(a, b);
      (void)sink;
      ASSERT_EQ(f90test::tag_word(), 0xffff) << e.name << "(" << a << ", " << b << ")";
    });
  }
}

TEST_F(EntryForms, ByReferenceTwinsReturnTheSameBits) {
  for (const auto& t : twins()) {
    for_each_argument(t.by_value, [&](double a, double b) {
      const long double v = t.by_value.call(a, b);
      const long double r = t.by_ref.call(a, b);
      EXPECT_EQ(std::memcmp(&v, &r, 10), 0) << t.by_ref.name << "(" << a << ", " << b << ")";
    });
  }
}

// Under 64-bit precision, functions that round their result hand back a
// REAL*8 value; the others hand back the extended value they computed.
TEST_F(EntryForms, RoundedAndExtendedResults) {
  struct Case {
    const char* name;
    std::function<long double()> call;
  };
  const Case rounded[] = {
      {"dexp(0.3)", [] { return _morvex_dexp(0.3); }},
      {"dexp(-700.5)", [] { return _morvex_dexp(-700.5); }},
      {"datan2(1, 3)", [] { return _morvex_datan2(1.0, 3.0); }},
      {"datan2(1, -3)", [] { return _morvex_datan2(1.0, -3.0); }},
      {"dnint(2.5)", [] { return _morvex_dnint(2.5); }},
      {"dmod(1e17, 3.3)", [] { return _morvex_dmod(1e17, 3.3); }},
  };
  const Case extended[] = {
      {"dlog(3)", [] { return _morvex_dlog(3.0); }},
      {"dlog10(3)", [] { return _morvex_dlog10(3.0); }},
      {"dsin(0.5)", [] { return _morvex_dsin(0.5); }},
      {"dcos(0.5)", [] { return _morvex_dcos(0.5); }},
      {"dsind(10)", [] { return _morvex_dsind(10.0); }},
      {"dtan(0.5)", [] { return _morvex_dtan(0.5); }},
      {"dcot(0.5)", [] { return _morvex_dcot(0.5); }},
      {"dasin(0.3)", [] { return _morvex_dasin(0.3); }},
      {"dacosd(0.3)", [] { return _morvex_dacosd(0.3); }},
      {"datan(0.3)", [] { return _morvex_datan(0.3); }},
      {"datan2d(1, 3)", [] { return _morvex_datan2d(1.0, 3.0); }},
      {"dsinh(0.3)", [] { return _morvex_dsinh(0.3); }},
      {"dsinh(3)", [] { return _morvex_dsinh(3.0); }},
      {"dcosh(3)", [] { return _morvex_dcosh(3.0); }},
      {"dtanh(3)", [] { return _morvex_dtanh(3.0); }},
      {"dsqrt(2)", [] { return _morvex_dsqrt(2.0); }},
      {"dtod(2, 0.3)", [] { return _morvex_dtod(2.0, 0.3); }},
      {"dtoi(1.1, 3)", [] { return _morvex_dtoi(1.1, 3); }},
      {"ddim(1, 2^-60)", [] { return _morvex_ddim(1.0, 0x1p-60); }},
  };
  f90test::under_cw(f90test::kCwLinux, [&] {
    for (const auto& c : rounded) {
      const long double r = c.call();
      EXPECT_EQ(r, static_cast<long double>(stored(r))) << c.name << " is not a REAL*8 value";
    }
    for (const auto& c : extended) {
      const long double r = c.call();
      EXPECT_NE(r, static_cast<long double>(stored(r))) << c.name << " was rounded";
    }
    return 0;
  });
}

}  // namespace
