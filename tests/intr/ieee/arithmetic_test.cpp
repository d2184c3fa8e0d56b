// IEEE_ARITHMETIC: module data, classification, IEEE_VALUE and the
// constants, SUPPORT inquiries, rounding and underflow modes.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "control_word.h"
#include "f90/ieee.h"
#include "ieee/ieee_support.h"
#include "recording_runtime.h"

namespace {

using f90test::Fpu;
using f90test::FpuCall;
using f90test::FpuOp;
using f90test::Report;
using f90test::Runtime;
using f90test::RuntimeScope;
using namespace ieeetest;

enum : int32_t { kSnan = 1, kQnan, kNinf, kNnorm, kNden, kNzero, kPzero, kPden, kPnorm, kPinf, kOther };

TEST(IeeeArithmeticData, ModuleTableAndEqualityOperators) {
  const int32_t want[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 0, 0xc00, 0x800, 0x400, 5};
  EXPECT_EQ(sizeof _D_in_IEEE_ARITHMETIC, sizeof want);
  EXPECT_EQ(std::memcmp(_D_in_IEEE_ARITHMETIC, want, sizeof want), 0);
  IEEE_ARITHMETIC();
  for (int32_t a : {0, 1, 5, 0xc00})
    for (int32_t b : {0, 1, 5, 0xc00}) {
      EXPECT_EQ(__CLASSTYPEEQV_in_IEEE_ARITHMETIC(&a, &b), a == b ? 1 : 0);
      EXPECT_EQ(__CLASSTYPENEQV_in_IEEE_ARITHMETIC(&a, &b), a != b ? 1 : 0);
      EXPECT_EQ(__ROUNDTYPEEQV_in_IEEE_ARITHMETIC(&a, &b), a == b ? 1 : 0);
      EXPECT_EQ(__ROUNDTYPENEQV_in_IEEE_ARITHMETIC(&a, &b), a != b ? 1 : 0);
    }
}

template <class T>
int32_t class_of(Bits<T> u) {
  int32_t c = -1;
  const Pattern<T> x(u);
  int32_t* r;
  if constexpr (sizeof(T) == 4) {
    r = __SP_IEEE_CLASS_in_IEEE_ARITHMETIC(&c, &x);
  } else {
    r = __DP_IEEE_CLASS_in_IEEE_ARITHMETIC(&c, &x);
  }
  EXPECT_EQ(r, &c);
  return c;
}

TEST(IeeeClass, LiteralPatterns) {
  const struct {
    uint32_t bits;
    int32_t cls;
  } single[] = {{0x80000000, kNzero}, {0x00000000, kPzero}, {0x00000001, kPden}, {0x807fffff, kNden},
                {0x00800000, kPnorm}, {0xff7fffff, kNnorm}, {0x3f800000, kPnorm}, {0xff800000, kNinf},
                {0x7f800000, kPinf},  {0x7fc00000, kQnan},  {0x7f800001, kSnan},  {0xffc00000, kQnan},
                {0xffbfffff, kSnan},  {0x7fffffff, kQnan}};
  for (const auto& c : single) EXPECT_EQ(class_of<float>(c.bits), c.cls) << std::hex << c.bits;
  const struct {
    uint64_t bits;
    int32_t cls;
  } dbl[] = {{0x8000000000000000, kNzero}, {0, kPzero}, {1, kPden}, {0x800fffffffffffff, kNden},
             {0x0010000000000000, kPnorm}, {0xffefffffffffffff, kNnorm},
             {0xfff0000000000000, kNinf},  {0x7ff0000000000000, kPinf},
             {0x7ff8000000000000, kQnan},  {0x7ff0000000000001, kSnan},
             {0xfff7ffffffffffff, kSnan},  {0xfff8000000000001, kQnan}};
  for (const auto& c : dbl) EXPECT_EQ(class_of<double>(c.bits), c.cls) << std::hex << c.bits;
}

// IS_ inquiries and UNORDERED are the Part's class sets over every edge
// pattern and random ones, in both kinds and all four kind pairs.
template <class T>
void check_inquiries(const std::vector<Bits<T>>& patterns) {
  auto in = [](int32_t c, std::initializer_list<int32_t> s) {
    for (int32_t m : s)
      if (m == c) return 1;
    return 0;
  };
  for (Bits<T> u : patterns) {
    SCOPED_TRACE(testing::Message() << std::hex << uint64_t{u});
    const Pattern<T> x(u);
    const int32_t c = class_of<T>(u);
    const int32_t finite = in(c, {kNnorm, kNden, kNzero, kPnorm, kPden, kPzero});
    const int32_t nan = in(c, {kSnan, kQnan});
    const int32_t neg = in(c, {kNnorm, kNden, kNzero, kNinf});
    const int32_t normal = in(c, {kNnorm, kNzero, kPnorm, kPzero});
    const float one4 = 1.0f;
    const double one8 = 1.0;
    const Pattern<float> nan4(0x7f800001);
    const Pattern<double> nan8(0x7ff0000000000001);
    if constexpr (sizeof(T) == 4) {
      EXPECT_EQ(__SP_IEEE_IS_FINITE_in_IEEE_ARITHMETIC(&x), finite);
      EXPECT_EQ(__SP_IEEE_IS_NAN_in_IEEE_ARITHMETIC(&x), nan);
      EXPECT_EQ(__SP_IEEE_IS_NEGATIVE_in_IEEE_ARITHMETIC(&x), neg);
      EXPECT_EQ(__SP_IEEE_IS_NORMAL_in_IEEE_ARITHMETIC(&x), normal);
      EXPECT_EQ(__SP_IEEE_UNORDERED_in_IEEE_ARITHMETIC(&x, &one4), nan);
      EXPECT_EQ(__SP_IEEE_UNORDERED_in_IEEE_ARITHMETIC(&one4, &x), nan);
      EXPECT_EQ(__SP_IEEE_UNORDERED_in_IEEE_ARITHMETIC(&x, &nan4), 1);
      EXPECT_EQ(__SD_IEEE_UNORDERED_in_IEEE_ARITHMETIC(&x, &one8), nan);
      EXPECT_EQ(__SD_IEEE_UNORDERED_in_IEEE_ARITHMETIC(&x, &nan8), 1);
      EXPECT_EQ(__DS_IEEE_UNORDERED_in_IEEE_ARITHMETIC(&one8, &x), nan);
    } else {
      EXPECT_EQ(__DP_IEEE_IS_FINITE_in_IEEE_ARITHMETIC(&x), finite);
      EXPECT_EQ(__DP_IEEE_IS_NAN_in_IEEE_ARITHMETIC(&x), nan);
      EXPECT_EQ(__DP_IEEE_IS_NEGATIVE_in_IEEE_ARITHMETIC(&x), neg);
      EXPECT_EQ(__DP_IEEE_IS_NORMAL_in_IEEE_ARITHMETIC(&x), normal);
      EXPECT_EQ(__DP_IEEE_UNORDERED_in_IEEE_ARITHMETIC(&x, &one8), nan);
      EXPECT_EQ(__DP_IEEE_UNORDERED_in_IEEE_ARITHMETIC(&one8, &x), nan);
      EXPECT_EQ(__DP_IEEE_UNORDERED_in_IEEE_ARITHMETIC(&x, &nan8), 1);
      EXPECT_EQ(__DS_IEEE_UNORDERED_in_IEEE_ARITHMETIC(&x, &one4), nan);
      EXPECT_EQ(__DS_IEEE_UNORDERED_in_IEEE_ARITHMETIC(&x, &nan4), 1);
      EXPECT_EQ(__SD_IEEE_UNORDERED_in_IEEE_ARITHMETIC(&one4, &x), nan);
    }
  }
}

TEST(IeeeInquiries, ClassSetsInBothKinds) {
  check_inquiries<float>(edge_patterns<float>());
  check_inquiries<float>(random_patterns<float>(2000, 11));
  check_inquiries<double>(edge_patterns<double>());
  check_inquiries<double>(random_patterns<double>(2000, 12));
}

TEST(IeeeInquiries, MixedKindsTestEachInItsOwnKind) {
  // 0x7ff00000 00000001 read as two REAL*4 words would be a NaN and a
  // subnormal; as a REAL*8 it is a signalling NaN; 0x00000000 7f800000 as a
  // REAL*8 is a subnormal although its low word is a REAL*4 infinity.
  const Pattern<double> nan8(0x7ff0000000000001), den8(0x7f80000000000000 >> 32);
  const float one4 = 1.0f;
  const Pattern<float> nan4(0xffc00001);
  EXPECT_EQ(__SD_IEEE_UNORDERED_in_IEEE_ARITHMETIC(&one4, &nan8), 1);
  EXPECT_EQ(__SD_IEEE_UNORDERED_in_IEEE_ARITHMETIC(&one4, &den8), 0);
  EXPECT_EQ(__DS_IEEE_UNORDERED_in_IEEE_ARITHMETIC(&den8, &nan4), 1);
  EXPECT_EQ(__DS_IEEE_UNORDERED_in_IEEE_ARITHMETIC(&den8, &one4), 0);
}

TEST(IeeeValue, EveryClassAndTheConstants) {
  const struct {
    int32_t cls;
    uint32_t single;
    uint64_t dbl;
  } cases[] = {
      {kSnan, 0x7f800001, 0x7ff0000000000001}, {kQnan, 0x7fc00000, 0x7ff8000000000000},
      {kNinf, 0xff800000, 0xfff0000000000000}, {kPinf, 0x7f800000, 0x7ff0000000000000},
      {kNden, 0x80000001, 0x8000000000000001}, {kPden, 0x00000001, 0x0000000000000001},
      {kNnorm, 0xbf800000, 0xbff0000000000000}, {kPnorm, 0x3f800000, 0x3ff0000000000000},
      {kNzero, 0x80000000, 0x8000000000000000}, {kPzero, 0, 0},
      // Outside the ten classes: the quiet NaN.
      {kOther, 0x7fc00000, 0x7ff8000000000000}, {0, 0x7fc00000, 0x7ff8000000000000},
      {-4, 0x7fc00000, 0x7ff8000000000000},
  };
  const float x4 = 0;
  const double x8 = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.cls);
    EXPECT_EQ(raw(st0(__SP_IEEE_VALUE_in_IEEE_ARITHMETIC, &x4, &c.cls)), raw_of<float>(c.single));
    EXPECT_EQ(raw(st0(__DP_IEEE_VALUE_in_IEEE_ARITHMETIC, &x8, &c.cls)), raw_of<double>(c.dbl));
  }
  EXPECT_EQ(raw(st0(__SP_POSITIVE_INF_in_IEEE_ARITHMETIC, &x4)), raw_of<float>(0x7f800000));
  EXPECT_EQ(raw(st0(__SP_NEGATIVE_INF_in_IEEE_ARITHMETIC, &x4)), raw_of<float>(0xff800000));
  EXPECT_EQ(raw(st0(__SP_SIGNALING_NAN_in_IEEE_ARITHMETIC, &x4)), raw_of<float>(0x7f800001));
  EXPECT_EQ(raw(st0(__SP_QUIET_NAN_in_IEEE_ARITHMETIC, &x4)), raw_of<float>(0x7fc00000));
  EXPECT_EQ(raw(st0(__DP_POSITIVE_INF_in_IEEE_ARITHMETIC, &x8)), raw_of<double>(0x7ff0000000000000));
  EXPECT_EQ(raw(st0(__DP_NEGATIVE_INF_in_IEEE_ARITHMETIC, &x8)), raw_of<double>(0xfff0000000000000));
  EXPECT_EQ(raw(st0(__DP_SIGNALING_NAN_in_IEEE_ARITHMETIC, &x8)), raw_of<double>(0x7ff0000000000001));
  EXPECT_EQ(raw(st0(__DP_QUIET_NAN_in_IEEE_ARITHMETIC, &x8)), raw_of<double>(0x7ff8000000000000));
}

// The extended form of a pattern converts back to the same pattern when the
// unit stores it (NaNs excepted: a store quiets them).
TEST(IeeeValue, ExtendedFormsStoreBackExactly) {
  f90test::under_cw(0x037f, [] {
    for (uint32_t u : edge_patterns<float>()) {
      if ((u & 0x7fffffff) > 0x7f800000) continue;
      volatile float f = static_cast<float>(fp::x87_value<float>(u));
      EXPECT_EQ(std::bit_cast<uint32_t>(static_cast<float>(f)), u) << std::hex << u;
    }
    for (uint64_t u : edge_patterns<double>()) {
      if ((u & ~fp::kSignBit<double>) > 0x7ff0000000000000) continue;
      volatile double d = static_cast<double>(fp::x87_value<double>(u));
      EXPECT_EQ(std::bit_cast<uint64_t>(static_cast<double>(d)), u) << std::hex << u;
    }
    for (uint32_t u : edge_patterns<float>()) {
      if ((u & 0x7fffffff) > 0x7f800000) continue;
      EXPECT_EQ(fp::widen(u), std::bit_cast<uint64_t>(static_cast<double>(of_bits<float>(u))));
    }
  });
  f90test::clear_fp_exceptions();
}

// Nothing that only classifies or composes bits touches the status word or
// the accessors, whatever the pattern (signalling NaNs and subnormals
// included), on the real unit.
TEST(IeeeArithmeticFlags, BitProceduresRaiseNothing) {
  RuntimeScope rt;
  f90test::clear_fp_exceptions();
  const auto p4 = edge_patterns<float>();
  const auto p8 = edge_patterns<double>();
  for (size_t i = 0; i < p4.size(); ++i) {
    const Pattern<float> x4(p4[i]), y4(p4[p4.size() - 1 - i]);
    const Pattern<double> x8(p8[i]), y8(p8[p8.size() - 1 - i]);
    int32_t c;
    __SP_IEEE_CLASS_in_IEEE_ARITHMETIC(&c, &x4);
    __DP_IEEE_CLASS_in_IEEE_ARITHMETIC(&c, &x8);
    __SP_IEEE_IS_FINITE_in_IEEE_ARITHMETIC(&x4);
    __DP_IEEE_IS_NEGATIVE_in_IEEE_ARITHMETIC(&x8);
    __SD_IEEE_UNORDERED_in_IEEE_ARITHMETIC(&x4, &y8);
    __DS_IEEE_UNORDERED_in_IEEE_ARITHMETIC(&x8, &y4);
    st0(__SP_IEEE_COPY_SIGN_in_IEEE_ARITHMETIC, &x4, &y4);
    st0(__DP_IEEE_COPY_SIGN_in_IEEE_ARITHMETIC, &x8, &y8);
    st0(__SD_IEEE_COPY_SIGN_in_IEEE_ARITHMETIC, &x4, &y8);
    st0(__DS_IEEE_COPY_SIGN_in_IEEE_ARITHMETIC, &x8, &y4);
    for (int32_t cls = 0; cls <= 12; ++cls) {
      st0(__SP_IEEE_VALUE_in_IEEE_ARITHMETIC, &x4, &cls);
      st0(__DP_IEEE_VALUE_in_IEEE_ARITHMETIC, &x8, &cls);
    }
    const int32_t zero = 0;
    st0(__SP_IEEE_SCALB_in_IEEE_ARITHMETIC, &x4, &zero);
    st0(__DP_IEEE_SCALB_in_IEEE_ARITHMETIC, &x8, &zero);
    EXPECT_EQ(f90test::get_sw() & 0x3f, 0) << std::hex << p4[i] << " " << p8[i];
  }
  EXPECT_TRUE(Fpu::calls().empty());
}

TEST(IeeeSupport, Inquiries) {
  RuntimeScope rt;
  const float x4 = 1;
  const double x8 = 1;
  const int32_t mode = 0x800;
  using SP = int32_t (*)(const float*);
  using DP = int32_t (*)(const double*);
  const SP sp[] = {__SP_IEEE_SUPPORT_DATATYPE_in_IEEE_ARITHMETIC, __SP_IEEE_SUPPORT_DENORMAL_in_IEEE_ARITHMETIC,
                   __SP_IEEE_SUPPORT_DIVIDE_in_IEEE_ARITHMETIC,   __SP_IEEE_SUPPORT_INF_in_IEEE_ARITHMETIC,
                   __SP_IEEE_SUPPORT_IO_in_IEEE_ARITHMETIC,       __SP_IEEE_SUPPORT_NAN_in_IEEE_ARITHMETIC,
                   __SP_IEEE_SUPPORT_SQRT_in_IEEE_ARITHMETIC,     __SP_IEEE_SUPPORT_STANDARD_in_IEEE_ARITHMETIC};
  const DP dp[] = {__DP_IEEE_SUPPORT_DATATYPE_in_IEEE_ARITHMETIC, __DP_IEEE_SUPPORT_DENORMAL_in_IEEE_ARITHMETIC,
                   __DP_IEEE_SUPPORT_DIVIDE_in_IEEE_ARITHMETIC,   __DP_IEEE_SUPPORT_INF_in_IEEE_ARITHMETIC,
                   __DP_IEEE_SUPPORT_IO_in_IEEE_ARITHMETIC,       __DP_IEEE_SUPPORT_NAN_in_IEEE_ARITHMETIC,
                   __DP_IEEE_SUPPORT_SQRT_in_IEEE_ARITHMETIC,     __DP_IEEE_SUPPORT_STANDARD_in_IEEE_ARITHMETIC};
  for (SP f : sp) {
    EXPECT_EQ(f(nullptr), 0);
    EXPECT_EQ(f(&x4), 1);
  }
  for (DP f : dp) {
    EXPECT_EQ(f(nullptr), 1);
    EXPECT_EQ(f(&x8), 1);
  }
  EXPECT_EQ(__SP_IEEE_SUPPORT_ROUNDING_in_IEEE_ARITHMETIC(&mode, nullptr), 0);
  EXPECT_EQ(__SP_IEEE_SUPPORT_ROUNDING_in_IEEE_ARITHMETIC(&mode, &x4), 1);
  EXPECT_EQ(__DP_IEEE_SUPPORT_ROUNDING_in_IEEE_ARITHMETIC(&mode, nullptr), 1);
  EXPECT_EQ(__SP_IEEE_SUPPORT_UNDERFLOW_in_IEEE_ARITHMETIC(nullptr), 0);
  EXPECT_EQ(__SP_IEEE_SUPPORT_UNDERFLOW_in_IEEE_ARITHMETIC(&x4), 0);
  EXPECT_EQ(__DP_IEEE_SUPPORT_UNDERFLOW_in_IEEE_ARITHMETIC(&x8), 0);
  EXPECT_TRUE(Runtime::reports().empty());
}

TEST(IeeeRoundingMode, OneReadOneWriteOfTheRoundingField) {
  for (int32_t w : {0x127f, 0x037f, 0x0f7f, 0x1a40, 0x0000}) {
    for (int32_t mode : {0, 0x400, 0x800, 0xc00}) {
      SCOPED_TRACE(testing::Message() << std::hex << w << " " << mode);
      RuntimeScope rt;
      Fpu::simulate(w, 0);
      __IEEE_SET_ROUNDING_MODE_in_IEEE_ARITHMETIC(&mode);
      const int32_t want = (w & ~0xc00) | mode;
      int32_t got = -1;
      __IEEE_GET_ROUNDING_MODE_in_IEEE_ARITHMETIC(&got);
      EXPECT_EQ(got, mode);
      EXPECT_EQ(Fpu::calls(), (std::vector<FpuCall>{{FpuOp::GetCW, w}, {FpuOp::SetCW, want},
                                                    {FpuOp::GetCW, want}}));
    }
    // IEEE_OTHER and words that are no mode are ignored: nothing is read
    // or written (ORed in, 5 would unmask invalid and zero-divide).
    for (int32_t mode : {5, 0x401, 0x1000, -1}) {
      RuntimeScope rt;
      Fpu::simulate(w, 0);
      __IEEE_SET_ROUNDING_MODE_in_IEEE_ARITHMETIC(&mode);
      EXPECT_TRUE(Fpu::calls().empty());
    }
  }
}

TEST(IeeeRoundingMode, OnTheUnit) {
  RuntimeScope rt;
  f90test::under_cw(0x127f, [] {
    const int32_t up = 0x800;
    __IEEE_SET_ROUNDING_MODE_in_IEEE_ARITHMETIC(&up);
    int32_t got = 0;
    __IEEE_GET_ROUNDING_MODE_in_IEEE_ARITHMETIC(&got);
    EXPECT_EQ(got, 0x800);
    EXPECT_EQ(f90test::get_cw(), 0x1a7f);
    volatile double one = 1.0, three = 3.0;
    volatile double up_third = one / three;
    const int32_t down = 0x400;
    __IEEE_SET_ROUNDING_MODE_in_IEEE_ARITHMETIC(&down);
    volatile double down_third = one / three;
    EXPECT_GT(up_third, down_third);
  });
  f90test::clear_fp_exceptions();
}

// Reference: SELECTED_REAL_KIND over the IEEE kinds only (REAL*4: 6 digits,
// range 37; REAL*8: 15 digits, range 307); both arguments absent give 4.
int32_t ieee_kind_reference(const int32_t* p, const int32_t* r) {
  if (p == nullptr && r == nullptr) return 4;
  const int32_t pv = p ? *p : 1, rv = r ? *r : 0;
  const bool p_ok = pv > 0 && pv <= 15, r_ok = rv <= 307;
  if (!p_ok && !r_ok) return -3;
  if (!p_ok) return -1;
  if (!r_ok) return -2;
  return (pv > 6 || rv > 37) ? 8 : 4;
}

TEST(IeeeSelectedRealKind, EveryPrecisionAndRange) {
  EXPECT_EQ(__IEEE_SELECTED_REAL_KIND_in_IEEE_ARITHMETIC(nullptr, nullptr), 4);
  const int32_t ten = 10, twenty = 20, big = 400;
  EXPECT_EQ(__IEEE_SELECTED_REAL_KIND_in_IEEE_ARITHMETIC(&ten, nullptr), 8);
  EXPECT_EQ(__IEEE_SELECTED_REAL_KIND_in_IEEE_ARITHMETIC(&twenty, nullptr), -1);
  EXPECT_EQ(__IEEE_SELECTED_REAL_KIND_in_IEEE_ARITHMETIC(&twenty, &big), -3);
  for (int32_t p = -1; p <= 40; ++p)
    for (int32_t r = -1; r <= 400; ++r) {
      EXPECT_EQ(__IEEE_SELECTED_REAL_KIND_in_IEEE_ARITHMETIC(&p, &r), ieee_kind_reference(&p, &r))
          << p << " " << r;
      if (p == 0) {
        EXPECT_EQ(__IEEE_SELECTED_REAL_KIND_in_IEEE_ARITHMETIC(nullptr, &r),
                  ieee_kind_reference(nullptr, &r)) << r;
      }
    }
  for (int32_t p = -1; p <= 40; ++p)
    EXPECT_EQ(__IEEE_SELECTED_REAL_KIND_in_IEEE_ARITHMETIC(&p, nullptr), ieee_kind_reference(&p, nullptr)) << p;
}

TEST(IeeeUnderflowMode, ReportedAndUnsupported) {
  RuntimeScope rt;
  Fpu::simulate(0x127f, 0);
  int32_t gradual = 7;
  __IEEE_GET_UNDERFLOW_MODE_in_IEEE_ARITHMETIC(&gradual);
  EXPECT_EQ(gradual, 0);
  const int32_t on = 1;
  __IEEE_SET_UNDERFLOW_MODE_in_IEEE_ARITHMETIC(&on);
  EXPECT_EQ(Runtime::reports(), (std::vector<Report>{{0, 5001}, {0, 5001}}));
  EXPECT_TRUE(Fpu::calls().empty());
}

}  // namespace
