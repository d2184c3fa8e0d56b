// IEEE_EXCEPTIONS, IEEE_FEATURES and the x87 glue.
//
// Most cases run on simulated x87 words (the recording runtime's accessors),
// so that every read and write is seen and any word, unmasked exceptions
// included, can be handed in; the end-to-end cases use the real unit.
#include "f90/ieee.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "control_word.h"
#include "descriptor_builder.h"
#include "f90/messages.h"
#include "recording_runtime.h"

namespace {

using f90test::ElemType;
using f90test::Fpu;
using f90test::FpuCall;
using f90test::FpuOp;
using f90test::Report;
using f90test::Runtime;
using f90test::RuntimeScope;
using f90test::TestArray;

constexpr F90IeeeFlag kInvalid{1, 1}, kDivide{4, 4}, kOverflow{8, 8}, kUnderflow{0x10, 0x10},
    kInexact{0x20, 0x20};
const F90IeeeFlag* const kUsual = &_D_in_IEEE_EXCEPTIONS[5];
const F90IeeeFlag* const kAll = &_D_in_IEEE_EXCEPTIONS[8];

TEST(IeeeExceptionsData, ModuleTablesWordForWord) {
  const int32_t exceptions[26] = {1, 1, 4, 4, 8,    8,    0x10, 0x10, 0x20, 0x20, 4, 4, 8,
                                  8, 1, 1, 4, 4,    8,    8,    1,    1,    0x10, 0x10, 0x20, 0x20};
  EXPECT_EQ(sizeof _D_in_IEEE_EXCEPTIONS, sizeof exceptions);
  EXPECT_EQ(std::memcmp(_D_in_IEEE_EXCEPTIONS, exceptions, sizeof exceptions), 0);
  const int32_t features[11] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
  EXPECT_EQ(sizeof _D_in_IEEE_FEATURES, sizeof features);
  EXPECT_EQ(std::memcmp(_D_in_IEEE_FEATURES, features, sizeof features), 0);
  IEEE_EXCEPTIONS();
  IEEE_FEATURES();
}

TEST(IeeeExceptionsSupport, Inquiries) {
  RuntimeScope rt;
  const float x4 = 1.0f;
  const double x8 = 1.0;
  for (const F90IeeeFlag& f : {kInvalid, kDivide, kOverflow, kUnderflow, kInexact}) {
    EXPECT_EQ(__SP_IEEE_SUPPORT_FLAG_in_IEEE_EXCEPTIONS(&f, nullptr), 0);
    EXPECT_EQ(__SP_IEEE_SUPPORT_FLAG_in_IEEE_EXCEPTIONS(&f, &x4), 1);
    EXPECT_EQ(__DP_IEEE_SUPPORT_FLAG_in_IEEE_EXCEPTIONS(&f, nullptr), 1);
    EXPECT_EQ(__DP_IEEE_SUPPORT_FLAG_in_IEEE_EXCEPTIONS(&f, &x8), 1);
    EXPECT_EQ(__IEEE_SUPPORT_HALTING_in_IEEE_EXCEPTIONS(&f), 1);
  }
  EXPECT_TRUE(Fpu::calls().empty());
}

// The scalar settings against a naive model, on every flag, both values and
// words with other bits set: one read and one write of the right word.
TEST(IeeeExceptionsScalar, SettingsAreOneReadAndOneWrite) {
  const int32_t words[] = {0, 0x3f, 0x21, 0x127f, 0x037f, 0x0c40, 0x7fff};
  for (const F90IeeeFlag& f : {kInvalid, kDivide, kOverflow, kUnderflow, kInexact}) {
    for (int32_t w : words) {
      for (int32_t value : {0, 1, -1, 2}) {
        SCOPED_TRACE(testing::Message() << "bit " << f.sw_bit << " word " << w << " value " << value);
        RuntimeScope rt;
        Fpu::simulate(0x5a5a, w);
        __S_IEEE_SET_FLAG_in_IEEE_EXCEPTIONS(&f, &value);
        const int32_t want_sw = value != 0 ? (w | f.sw_bit) : (w & ~f.sw_bit);
        EXPECT_EQ(Fpu::calls(), (std::vector<FpuCall>{{FpuOp::GetSW, w}, {FpuOp::SetSW, want_sw}}));

        Fpu::simulate(w, 0x5a5a);
        Fpu::clear_calls();
        __S_IEEE_SET_HALTING_MODE_in_IEEE_EXCEPTIONS(&f, &value);
        const int32_t want_cw = value != 0 ? (w & ~f.cw_bit) : (w | f.cw_bit);
        EXPECT_EQ(Fpu::calls(), (std::vector<FpuCall>{{FpuOp::GetCW, w}, {FpuOp::SetCW, want_cw}}));
      }
    }
  }
}

TEST(IeeeExceptionsScalar, QueriesReadOneWordOnly) {
  for (const F90IeeeFlag& f : {kInvalid, kDivide, kOverflow, kUnderflow, kInexact}) {
    for (int32_t w : {0, 0x3f, 0x127f, 0x1240, 0x24}) {
      RuntimeScope rt;
      Fpu::simulate(w, w);
      int32_t flag = -7, halting = -7;
      __IEEE_GET_FLAG_in_IEEE_EXCEPTIONS(&f, &flag);
      __IEEE_GET_HALTING_MODE_in_IEEE_EXCEPTIONS(&f, &halting);
      EXPECT_EQ(flag, (w & f.sw_bit) != 0 ? 1 : 0);
      EXPECT_EQ(halting, (w & f.cw_bit) == 0 ? 1 : 0);
      EXPECT_EQ(Fpu::calls(), (std::vector<FpuCall>{{FpuOp::GetSW, w}, {FpuOp::GetCW, w}}));
    }
  }
}

TEST(IeeeExceptionsScalar, StatusIsHandedBackUnchanged) {
  RuntimeScope rt;
  Fpu::simulate(0x0c7e, 0x15);
  int32_t status = 0;
  __IEEE_GET_STATUS_in_IEEE_EXCEPTIONS(&status);
  EXPECT_EQ(status, 0x0c7e | (0x15 << 16));
  Fpu::simulate(0x127f, 0);
  Fpu::clear_calls();
  __IEEE_SET_STATUS_in_IEEE_EXCEPTIONS(&status);
  EXPECT_EQ(Fpu::calls(), (std::vector<FpuCall>{{FpuOp::SetCSW, status}}));
  EXPECT_EQ(Fpu::cw(), 0x0c7e);
  EXPECT_EQ(Fpu::sw() & 0x3f, 0x15);
}

TEST(IeeeGlue, SignalRaisesOnlyTheGivenFlags) {
  RuntimeScope rt;
  Fpu::simulate(0x127f, 0x21);
  const int32_t bits = 0x18;
  _morvex_signal(&bits);
  EXPECT_EQ(Fpu::calls(), (std::vector<FpuCall>{{FpuOp::GetSW, 0x21}, {FpuOp::SetSW, 0x39}}));
}

TEST(IeeeGlue, ReportsAtLevelZero) {
  RuntimeScope rt;
  const int32_t n = ERR_IEEE_UNDERFLOW_MODE, mode = 1, conflict = ERR_IEEE_CONFLICT;
  EXPECT_EQ(_morvex_get_underflow(&n), 0);
  _morvex_set_underflow(&mode, &n);
  _morvex_error(&conflict);
  EXPECT_EQ(_morvex_support_underflow(), 0);
  EXPECT_EQ(Runtime::reports(), (std::vector<Report>{{0, 5001}, {0, 5001}, {0, 5000}}));
  EXPECT_TRUE(Fpu::calls().empty());
}

// ---- array forms ----

// A FLAG or LOGICAL*4 array argument of any shape: a section cut with `step`
// from a parent block whose elements outside the section hold `poison`, so
// that an element read from outside the section changes the outcome.
template <class T>
struct Arg {
  TestArray a;
  Arg(ElemType t, const std::vector<T>& values, std::vector<int32_t> extents,
      std::vector<int32_t> step, T poison)
      : a(t, extents, {}, step) {
    auto& s = a.storage();
    for (size_t off = 0; off + sizeof(T) <= s.size(); off += sizeof(T))
      std::memcpy(s.data() + off, &poison, sizeof(T));
    for (size_t k = 0; k < values.size() && static_cast<int64_t>(k) < a.size(); ++k)
      a.set_linear<T>(static_cast<int64_t>(k), values[k]);
  }
  ArrayDescriptor* desc() { return a.desc(); }
};

std::vector<int32_t> flat(size_t n) { return {static_cast<int32_t>(n)}; }

// An array setting: FLAG and its values, the word (status for the flags,
// control for halting) before and after; after -1: refused with 5000,
// nothing written.
struct ArraySetting {
  const char* what;
  std::vector<F90IeeeFlag> flags;
  std::vector<int32_t> values;
  int32_t before, after;
};

const ArraySetting kFlagCases[] = {
    {"IEEE_USUAL true false true", {kDivide, kOverflow, kInvalid}, {1, 0, 1}, 0x08, 0x05},
    {"overflow twice, same value", {kOverflow, kOverflow}, {1, 1}, 0, 0x08},
    {"overflow twice, both values", {kOverflow, kOverflow}, {1, 0}, 0x08, -1},
    {"conflict after a change", {kInexact, kUnderflow, kInexact}, {1, 1, 0}, 0, -1},
    {"2 flags, 3 values", {kOverflow, kInvalid}, {1, 1, 1}, 0, -1},
    {"empty arrays rewrite the word", {}, {}, 0x2d, 0x2d},
    {"IEEE_ALL false clears all five", {kDivide, kOverflow, kInvalid, kUnderflow, kInexact},
     {0, 0, 0, 0, 0}, 0x3f, 0x02},
    {"unknown flag ignored", {{2, 2}, kInexact, {0x40, 0x40}}, {1, 1, 1}, 0, 0x20},
    {"any nonzero value is true", {kUnderflow, kInvalid}, {-1, 0x100}, 0, 0x11},
};

// Shapes the same elements can take: contiguous, and sections of rank 2 and
// 3 with strides and reversed dimensions.
struct Shape {
  const char* what;
  std::vector<int32_t> extents;
  std::vector<int32_t> step;
};

std::vector<Shape> shapes_for(size_t n) {
  std::vector<Shape> s = {{"vector", flat(n), {1}}, {"strided vector", flat(n), {3}},
                          {"reversed vector", flat(n), {-2}}};
  if (n == 4) {
    s.push_back({"2 x 2 section", {2, 2}, {2, 3}});
    s.push_back({"2 x 2 reversed", {2, 2}, {-1, -2}});
  }
  if (n == 6) s.push_back({"3 x 1 x 2 section", {3, 1, 2}, {2, 2, -3}});
  return s;
}

// Every case over every shape of FLAG, with the values as a section whose
// outside elements hold 0 (`value_step` apart).
template <size_t N>
void check_array_settings(const ArraySetting (&cases)[N],
                          void (*entry)(ArrayDescriptor*, ArrayDescriptor*), bool control,
                          int32_t value_step) {
  const ElemType flag_t = ElemType::derived_words(2), logical_t = ElemType::logical(4);
  const FpuOp get = control ? FpuOp::GetCW : FpuOp::GetSW, set = control ? FpuOp::SetCW : FpuOp::SetSW;
  for (const ArraySetting& c : cases) {
    for (const Shape& fs : shapes_for(c.flags.size())) {
      SCOPED_TRACE(testing::Message() << c.what << " / FLAG " << fs.what);
      RuntimeScope rt;
      Fpu::simulate(control ? c.before : 0x127f, control ? 0 : c.before);
      // The FLAG poison repeats inexact: read once, it makes a repetition.
      // The poison of the values is false: an outside value read for an
      // unknown flag changes nothing, so the FLAG poison is what shows.
      Arg<F90IeeeFlag> flag(flag_t, c.flags, fs.extents, fs.step, kInexact);
      Arg<int32_t> value(logical_t, c.values, flat(c.values.size()), {value_step}, 0);
      entry(flag.desc(), value.desc());
      if (c.after < 0) {
        EXPECT_EQ(Runtime::reports(), (std::vector<Report>{{0, 5000}}));
        EXPECT_EQ(Fpu::writes(), 0);
        EXPECT_EQ(control ? Fpu::cw() : Fpu::sw(), c.before);
      } else {
        EXPECT_TRUE(Runtime::reports().empty());
        EXPECT_EQ(Fpu::calls(), (std::vector<FpuCall>{{get, c.before}, {set, c.after}}));
      }
    }
  }
}

TEST(IeeeSetFlagArray, TableOverShapes) {
  check_array_settings(kFlagCases, __A_IEEE_SET_FLAG_in_IEEE_EXCEPTIONS, false, -2);
}

TEST(IeeeSetFlagArray, ValuesOfAnyShape) {
  // Values as a 2 x 2 section whose outside elements are true: reading one
  // of them would raise overflow instead of clearing it.
  RuntimeScope rt;
  Fpu::simulate(0x127f, 0x08);
  Arg<F90IeeeFlag> flag(ElemType::derived_words(2), {kOverflow, kInvalid, kUnderflow, kDivide},
                        {4}, {1}, kInexact);
  Arg<int32_t> value(ElemType::logical(4), {0, 1, 0, 1}, {2, 2}, {3, -2}, 1);
  __A_IEEE_SET_FLAG_in_IEEE_EXCEPTIONS(flag.desc(), value.desc());
  EXPECT_EQ(Fpu::sw(), 0x05);
  EXPECT_TRUE(Runtime::reports().empty());
}

TEST(IeeeSetFlagArray, OneValueForAll) {
  const ElemType flag_t = ElemType::derived_words(2);
  struct Case {
    std::vector<F90IeeeFlag> flags;
    int32_t value, sw_before, sw_after;
  } cases[] = {
      {{kDivide, kOverflow, kInvalid, kUnderflow, kInexact}, 0, 0x3f, 0x02},
      {{kDivide, kOverflow, kInvalid, kUnderflow, kInexact}, 1, 0x00, 0x3d},
      {{kOverflow, kOverflow}, 1, 0x00, 0x08},  // repetitions are no conflict
      {{kUnderflow, {3, 3}}, 0, 0x13, 0x03},
      {{}, 1, 0x21, 0x21},
  };
  for (const Case& c : cases) {
    for (const Shape& fs : shapes_for(c.flags.size())) {
      SCOPED_TRACE(fs.what);
      RuntimeScope rt;
      Fpu::simulate(0x127f, c.sw_before);
      Arg<F90IeeeFlag> flag(flag_t, c.flags, fs.extents, fs.step, kInexact);
      __AS_IEEE_SET_FLAG_in_IEEE_EXCEPTIONS(flag.desc(), &c.value);
      EXPECT_EQ(Fpu::calls(), (std::vector<FpuCall>{{FpuOp::GetSW, c.sw_before},
                                                    {FpuOp::SetSW, c.sw_after}}));
    }
  }
}

TEST(IeeeSetHaltingArray, TableOverShapes) {
  const ArraySetting cases[] = {
      {"IEEE_ALL", {kDivide, kOverflow, kInvalid, kUnderflow, kInexact}, {1, 0, 1, 0, 1}, 0x127f,
       0x125a},
      {"IEEE_ALL again", {kDivide, kOverflow, kInvalid, kUnderflow, kInexact}, {1, 0, 1, 0, 1},
       0x125a, 0x125a},
      {"overflow twice, equal values", {kOverflow, kOverflow}, {1, 1}, 0x127f, -1},
      {"repetition before the size check", {kOverflow, kOverflow}, {1}, 0x127f, -1},
      {"3 flags, 2 values", {kOverflow, kInvalid, kInexact}, {1, 1}, 0x127f, -1},
      {"empty arrays rewrite the word", {}, {}, 0x0c7f, 0x0c7f},
      {"unknown flag changes no bit", {{0x300, 0x300}, kInvalid}, {1, 1}, 0x037f, 0x037e},
  };
  check_array_settings(cases, __A_IEEE_SET_HALTING_MODE_in_IEEE_EXCEPTIONS, true, 2);
}

TEST(IeeeArrayForms, DisassociatedPointerIsReportedAndNothingWritten) {
  RuntimeScope rt;
  Fpu::simulate(0x127f, 0);
  f90test::Descriptor flag(ElemType::derived_words(2), 1, false);
  flag->flags = f90_flags(1, 0, OBJ_POINTER);
  flag->base = nullptr;
  flag->dim[0] = {1, 3, 2};
  Arg<int32_t> value(ElemType::logical(4), {1, 1, 1}, {3}, {1}, 0);
  const int32_t one = 1;
  __A_IEEE_SET_FLAG_in_IEEE_EXCEPTIONS(flag.get(), value.desc());
  __AS_IEEE_SET_FLAG_in_IEEE_EXCEPTIONS(flag.get(), &one);
  __A_IEEE_SET_HALTING_MODE_in_IEEE_EXCEPTIONS(flag.get(), value.desc());
  EXPECT_EQ(Runtime::numbers(), (std::vector<int32_t>{1410, 1410, 1410}));
  EXPECT_EQ(Fpu::writes(), 0);
}

// ---- the real x87 unit ----

class IeeeOnTheUnit : public f90test::ControlWordTest {
 protected:
  RuntimeScope rt;
};

TEST_F(IeeeOnTheUnit, InexactDivisionSeenAndCleared) {
  int32_t raised = -1;
  __IEEE_GET_FLAG_in_IEEE_EXCEPTIONS(&kInexact, &raised);
  EXPECT_EQ(raised, 0);
  volatile double one = 1.0, three = 3.0;
  volatile double third = one / three;
  static_cast<void>(third);
  __IEEE_GET_FLAG_in_IEEE_EXCEPTIONS(&kInexact, &raised);
  EXPECT_EQ(raised, 1);
  const int32_t off = 0;
  __S_IEEE_SET_FLAG_in_IEEE_EXCEPTIONS(&kInexact, &off);
  __IEEE_GET_FLAG_in_IEEE_EXCEPTIONS(&kInexact, &raised);
  EXPECT_EQ(raised, 0);
  EXPECT_EQ(f90test::get_sw() & 0x3f, 0);
}

TEST_F(IeeeOnTheUnit, HaltingIsTheInverseOfTheMask) {
  for (int k = 0; k < 5; ++k) {
    int32_t halting = -1;
    __IEEE_GET_HALTING_MODE_in_IEEE_EXCEPTIONS(&kAll[k], &halting);
    EXPECT_EQ(halting, 0);
  }
  const int32_t on = 1, off = 0;
  __S_IEEE_SET_HALTING_MODE_in_IEEE_EXCEPTIONS(&kOverflow, &on);
  EXPECT_EQ(f90test::get_cw(), 0x1277);
  __S_IEEE_SET_HALTING_MODE_in_IEEE_EXCEPTIONS(&kOverflow, &off);
  EXPECT_EQ(f90test::get_cw(), 0x127f);
}

TEST_F(IeeeOnTheUnit, StatusRoundTrip) {
  const int32_t on = 1, off = 0;
  __S_IEEE_SET_FLAG_in_IEEE_EXCEPTIONS(&kDivide, &on);
  __S_IEEE_SET_FLAG_in_IEEE_EXCEPTIONS(&kOverflow, &on);
  int32_t status = 0;
  __IEEE_GET_STATUS_in_IEEE_EXCEPTIONS(&status);

  Arg<F90IeeeFlag> all(ElemType::derived_words(2),
                       std::vector<F90IeeeFlag>(kAll, kAll + 5), {5}, {1}, kInexact);
  __AS_IEEE_SET_FLAG_in_IEEE_EXCEPTIONS(all.desc(), &off);
  EXPECT_EQ(f90test::get_sw() & 0x3f, 0);
  f90test::set_cw(0x0f7f);

  __IEEE_SET_STATUS_in_IEEE_EXCEPTIONS(&status);
  EXPECT_EQ(f90test::get_sw() & 0x3f, 0x0c);
  EXPECT_EQ(f90test::get_cw(), 0x127f);
  f90test::clear_fp_exceptions();
}

// Raising a flag whose exception is unmasked traps at the next x87
// operation, as the exception itself would.
TEST(IeeeOnTheUnitDeathTest, RaisingAnUnmaskedFlagTraps) {
  EXPECT_EXIT(
      {
        f90test::clear_fp_exceptions();
        const int32_t on = 1;
        __S_IEEE_SET_HALTING_MODE_in_IEEE_EXCEPTIONS(&kOverflow, &on);
        __S_IEEE_SET_FLAG_in_IEEE_EXCEPTIONS(&kOverflow, &on);
        __asm__ volatile("fwait");
        std::exit(0);
      },
      testing::KilledBySignal(SIGFPE), "");
  // The same flag raised while masked does not trap.
  EXPECT_EXIT(
      {
        f90test::clear_fp_exceptions();
        const int32_t on = 1;
        __S_IEEE_SET_FLAG_in_IEEE_EXCEPTIONS(&kOverflow, &on);
        __asm__ volatile("fwait");
        std::exit(0);
      },
      testing::ExitedWithCode(0), "");
}

}  // namespace
