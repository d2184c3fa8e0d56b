// Every array routine of libf90intr that reads input arrays answers an input
// without storage with report 1410 at level 4, made once at entry, and
// returns without allocating, completing or storing into its result
// descriptor (a scalar result, in a register or the caller's slot, is the
// routine's start value or zero). Without storage: a pointer or allocatable
// whose association is clear, or any array that has elements but a null
// base. An argument whose elements are never read (TRANSFER's MOLD) is
// refused only in the first case.
//
// One table over every entry point: each row names its symbol, the inputs it
// reads (in argument order) and how to call it. For each input position in
// turn the test hands the routine a descriptor of that input's shape with
// the base cleared, as a disassociated pointer, as an unallocated
// allocatable and as a plain array, and checks the report and the result.
// The same call with every input sound must not report 1410 (a check that
// fired on every call would otherwise pass).
#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "descriptor_builder.h"
#include "f90/f90.h"
#include "f90/messages.h"
#include "recording_runtime.h"

namespace {

using AD = ArrayDescriptor;
using f90test::Descriptor;
using f90test::ElemType;
using f90test::Runtime;
using f90test::TestArray;

// The widest element, so that any routine reading a source by its own kind
// stays inside the storage.
const ElemType kWide = ElemType::complex(32);
const ElemType I4 = ElemType::integer(4);
const ElemType L4 = ElemType::logical(4);

// One input: its element type, extents (none for a scalar) and the value of
// its INTEGER*4 elements (their index plus `first`) when it is an integer.
struct Input {
  ElemType type;
  std::vector<int32_t> extents;
  int32_t first = 1;
  bool elements_read = true;  // false: only the descriptor is read (MOLD)
};

const Input kSource{kWide, {2, 3}};
const Input kMask{L4, {2, 3}};
const Input kDimArg{I4, {}};  // a DIM passed by descriptor, value 1
const Input kVector{kWide, {3}};
const Input kMatrix{kWide, {2, 2}};

// What a call gets: its input descriptors, a result that arrives without
// storage, and a slot for a result returned through a hidden pointer.
struct Call {
  std::array<AD*, 5> in{};
  Descriptor result;
  alignas(16) std::array<unsigned char, 64> slot{};
};

struct Row {
  std::string name;
  std::vector<Input> inputs;
  ElemType result_type;
  int result_rank;
  std::function<void(Call&)> run;
};

const int32_t kOne = 1, kTwo = 2;

// ---- Rows by the entry's signature --------------------------------------

// Array results along DIM: MAXVAL, MINVAL, SUM, PRODUCT.
Row row(const char* n, void (*f)(AD*, AD*, const int32_t*, AD*)) {
  return {n, {kSource, kMask}, kWide, 1,
          [f](Call& c) { f(c.result.get(), c.in[0], &kOne, c.in[1]); }};
}
// The MAXVAL / MINVAL workers.
Row row(const char* n, void (*f)(AD*, AD*, const int32_t*, AD*, int32_t, int32_t, int32_t)) {
  return {n, {kSource, kMask}, kWide, 1,
          [f](Call& c) { f(c.result.get(), c.in[0], &kOne, c.in[1], 0, 0, 0); }};
}
// Whole-array values in registers.
template <class R>
Row row(const char* n, R (*f)(AD*, const int32_t*, AD*)) {
  return {n, {kSource, kMask}, kWide, 0, [f](Call& c) { (void)f(c.in[0], nullptr, c.in[1]); }};
}
// Whole-array values stored through the caller's slot.
template <class T>
Row row(const char* n, T* (*f)(T*, AD*, const int32_t*, AD*)) {
  return {n, {kSource, kMask}, kWide, 0, [f](Call& c) {
            f(reinterpret_cast<T*>(c.slot.data()), c.in[0], nullptr, c.in[1]);
          }};
}
// ALL, ANY, COUNT along DIM and their workers.
Row row(const char* n, void (*f)(AD*, AD*, const int32_t*)) {
  return {n, {kMask}, L4, 1, [f](Call& c) { f(c.result.get(), c.in[0], &kOne); }};
}
template <class R>
Row row(const char* n, R (*f)(AD*, const int32_t*)) {
  return {n, {kMask}, L4, 0, [f](Call& c) { (void)f(c.in[0], nullptr); }};
}
// MAXLOC / MINLOC with a DIM position, without one, and the workers.
Row row(const char* n, void (*f)(AD*, AD*, AD*, AD*)) {
  return {n, {kSource, kDimArg, kMask}, I4, 1,
          [f](Call& c) { f(c.result.get(), c.in[0], c.in[1], c.in[2]); }};
}
Row row(const char* n, void (*f)(AD*, AD*, AD*)) {
  return {n, {kSource, kMask}, I4, 1, [f](Call& c) { f(c.result.get(), c.in[0], c.in[1]); }};
}
Row row(const char* n, void (*f)(AD*, AD*, AD*, AD*, int32_t)) {
  return {n, {kSource, kDimArg, kMask}, I4, 1,
          [f](Call& c) { f(c.result.get(), c.in[0], c.in[1], c.in[2], 0); }};
}
// MATMUL drivers and their set-up.
Row row(const char* n, void (*f)(AD*, const AD*, const AD*, const int32_t*)) {
  return {n, {kMatrix, kMatrix}, kWide, 2,
          [f](Call& c) { f(c.result.get(), c.in[0], c.in[1], nullptr); }};
}
Row row(const char* n, int32_t (*f)(AD*, const AD*, const AD*, MatmulContext*, int32_t)) {
  return {n, {kMatrix, kMatrix}, kWide, 2, [f](Call& c) {
            MatmulContext ctx{};
            const int32_t status = f(c.result.get(), c.in[0], c.in[1], &ctx, 0);
            if (Runtime::numbers() == std::vector<int32_t>{ERR_NOT_PRESENT}) {
              EXPECT_EQ(status, ERR_NOT_PRESENT);
            }
          }};
}
// DOT_PRODUCT: values in registers, through the caller's slot, and the
// exported set-up, which must then give no terms.
template <class R>
Row row(const char* n, R (*f)(const AD*, const AD*)) {
  return {n, {kVector, kVector}, kWide, 0, [f](Call& c) { (void)f(c.in[0], c.in[1]); }};
}
template <class T>
Row row(const char* n, T* (*f)(T*, const AD*, const AD*)) {
  return {n, {kVector, kVector}, kWide, 0,
          [f](Call& c) { f(reinterpret_cast<T*>(c.slot.data()), c.in[0], c.in[1]); }};
}
Row row(const char* n, void (*f)(const AD*, const AD*, int32_t*, const void**, int32_t*,
                                 const void**, int32_t*)) {
  return {n, {kVector, kVector}, kWide, 0, [f](Call& c) {
            int32_t count = -1, as = 0, bs = 0;
            const void *a = nullptr, *b = nullptr;
            f(c.in[0], c.in[1], &count, &a, &as, &b, &bs);
            if (Runtime::numbers() == std::vector<int32_t>{ERR_NOT_PRESENT}) {
              EXPECT_EQ(count, 0);
            }
          }};
}
// The SUM / PRODUCT set-up: after the report no source element is walked.
Row row(const char* n, void (*f)(const int32_t*, AD*, AD*, const int32_t*, AD*, int32_t*,
                                 int32_t*, int32_t*, int32_t*, int32_t*, char**, int32_t*,
                                 int32_t*, char**, int32_t*, int32_t*, char**, int32_t*,
                                 int32_t*, int32_t*, char**)) {
  return {n, {kSource, kMask}, kWide, 1, [f](Call& c) {
            int32_t rank = 0, dp = 0, dv = 0, mp = 0, sr = 0, mb = 0;
            int32_t se[7] = {}, ss[7] = {}, re[7] = {}, rs[7] = {}, me[7] = {}, ms[7] = {};
            char *sb = nullptr, *rb = nullptr, *mbase = nullptr, *mbase2 = nullptr;
            const int32_t array_result = 1;
            f(&array_result, c.result.get(), c.in[0], &kOne, c.in[1], &rank, &dp, &dv, &mp, &sr,
              &sb, se, ss, &rb, re, rs, &mbase, me, ms, &mb, &mbase2);
            if (Runtime::numbers() == std::vector<int32_t>{ERR_NOT_PRESENT}) {
              for (int i = 0; i < rank; ++i) EXPECT_EQ(se[i], 0) << "source extent " << i;
            }
          }};
}

#define F(sym) row(#sym, sym)

// ---- Construction rows, by hand -----------------------------------------

const Input kI4Vector6{I4, {6}};
const Input kI4Matrix{I4, {2, 3}};
const Input kShape{I4, {2}, 2};  // SHAPE = (2, 3)
const Input kOrder{I4, {2}, 1};  // ORDER = (1, 2)
const Input kScalarI4{I4, {}};
const Input kMold6{I4, {6}, 1, false};
const Input kScalarMold{I4, {}, 1, false};
const Input kFlags{ElemType::derived_words(2), {2, 2}};  // IEEE_FLAG_TYPE elements
const Input kLogical4{L4, {2, 2}};

std::vector<Row> construction_rows() {
  return {
      {"_PACK", {kI4Matrix, kMask, kI4Vector6}, I4, 1,
       [](Call& c) { _PACK(c.result.get(), c.in[0], c.in[1], c.in[2]); }},
      {"_RESHAPE", {kI4Vector6, kShape, kI4Vector6, kOrder}, I4, 2,
       [](Call& c) { _RESHAPE(c.result.get(), c.in[0], c.in[1], c.in[2], c.in[3]); }},
      {"_SPREAD", {kI4Vector6}, I4, 2,
       [](Call& c) { _SPREAD(c.result.get(), c.in[0], &kOne, &kTwo); }},
      {"_UNPACK", {kI4Vector6, kMask, kI4Matrix}, I4, 2,
       [](Call& c) { _UNPACK(c.result.get(), c.in[0], c.in[1], c.in[2]); }},
      {"_TRANS", {kI4Matrix}, I4, 2, [](Call& c) { _TRANS(c.result.get(), c.in[0]); }},
      {"_CSHIFT", {kI4Matrix, kScalarI4}, I4, 2,
       [](Call& c) { _CSHIFT(c.result.get(), c.in[0], c.in[1], &kOne); }},
      {"_CSHIFT shift array", {kI4Matrix, {I4, {3}}}, I4, 2,
       [](Call& c) { _CSHIFT(c.result.get(), c.in[0], c.in[1], &kOne); }},
      {"_EOSHIFT", {kI4Matrix, kScalarI4, kScalarI4}, I4, 2,
       [](Call& c) { _EOSHIFT(c.result.get(), c.in[0], c.in[1], c.in[2], &kOne); }},
      {"_EOSHIFT boundary array", {kI4Matrix, {I4, {3}}, {I4, {3}}}, I4, 2,
       [](Call& c) { _EOSHIFT(c.result.get(), c.in[0], c.in[1], c.in[2], &kOne); }},
      {"__transfer", {kI4Vector6, kMold6}, I4, 1,
       [](Call& c) { __transfer(c.result.get(), c.in[0], c.in[1], nullptr); }},
      {"_TRANSFER", {kI4Vector6, kMold6}, I4, 1,
       [](Call& c) { _TRANSFER(c.result.get(), c.in[0], c.in[1], nullptr); }},
      {"_TRANSFER1_0", {kI4Vector6, kScalarMold}, I4, 0,
       [](Call& c) { (void)_TRANSFER1_0(c.in[0], c.in[1], nullptr); }},
      {"_TRANSFER1_0_4", {kI4Vector6, kScalarMold}, I4, 0,
       [](Call& c) { (void)_TRANSFER1_0_4(c.in[0], c.in[1], nullptr); }},
      {"_TRANSFER2_0", {kI4Vector6, kScalarMold}, I4, 0,
       [](Call& c) { (void)_TRANSFER2_0(c.in[0], c.in[1], nullptr); }},
      {"_TRANSFER4_0", {kI4Vector6, kScalarMold}, I4, 0,
       [](Call& c) { (void)_TRANSFER4_0(c.slot.data(), c.in[0], c.in[1], nullptr); }},
      // The IEEE settings with array arguments, on simulated x87 words.
      {"__A_IEEE_SET_FLAG", {kFlags, kLogical4}, I4, 0,
       [](Call& c) {
         f90test::Fpu::simulate(0x37f, 0);
         __A_IEEE_SET_FLAG_in_IEEE_EXCEPTIONS(c.in[0], c.in[1]);
       }},
      {"__AS_IEEE_SET_FLAG", {kFlags}, I4, 0,
       [](Call& c) {
         f90test::Fpu::simulate(0x37f, 0);
         __AS_IEEE_SET_FLAG_in_IEEE_EXCEPTIONS(c.in[0], &kOne);
       }},
      {"__A_IEEE_SET_HALTING_MODE", {kFlags, kLogical4}, I4, 0,
       [](Call& c) {
         f90test::Fpu::simulate(0x37f, 0);
         __A_IEEE_SET_HALTING_MODE_in_IEEE_EXCEPTIONS(c.in[0], c.in[1]);
       }},
  };
}

std::vector<Row> typed_rows() {
  return {
    F(__maxval), F(__minval), F(_MAXVAL_J), F(_MAXVAL0_J), F(_MAXVAL_I), F(_MAXVAL0_I),
    F(_MAXVAL_I4), F(_MAXVAL0_I4), F(_MAXVAL_I2), F(_MAXVAL0_I2), F(_MAXVAL_I1), F(_MAXVAL0_I1),
    F(_MAXVAL_S), F(_MAXVAL0_S), F(_MAXVAL_S4), F(_MAXVAL0_S4), F(_MAXVAL_D), F(_MAXVAL0_D),
    F(_MINVAL_J), F(_MINVAL0_J), F(_MINVAL_I), F(_MINVAL0_I), F(_MINVAL_I4), F(_MINVAL0_I4),
    F(_MINVAL_I2), F(_MINVAL0_I2), F(_MINVAL_I1), F(_MINVAL0_I1), F(_MINVAL_S), F(_MINVAL0_S),
    F(_MINVAL_S4), F(_MINVAL0_S4), F(_MINVAL_D), F(_MINVAL0_D), F(__all), F(__any), F(__count),
    F(_ALL), F(_ALL_4), F(_ALL_8), F(_ALL0), F(_ALL0_4), F(_ALL0_8), F(_ANY), F(_ANY_4),
    F(_ANY_8), F(_ANY0), F(_ANY0_4), F(_ANY0_8), F(_COUNT), F(_COUNT_4), F(_COUNT_8),
    F(_COUNT0), F(_COUNT0_4), F(_COUNT0_8), F(_PRESUM), F(_SUM0_I1), F(_SUM0_I2), F(_SUM0_I4),
    F(_SUM0_J), F(_SUM0_S4), F(_SUM0_S), F(_SUM0_C4), F(_SUM0_C), F(_SUM0_D), F(_SUM0_Z),
    F(_PROD0_I1), F(_PROD0_I2), F(_PROD0_I4), F(_PROD0_J), F(_PROD0_S4), F(_PROD0_S),
    F(_PROD0_C4), F(_PROD0_C), F(_PROD0_D), F(_PROD0_Z), F(_SUM_I1), F(_SUM_I2), F(_SUM_I4),
    F(_SUM_J), F(_SUM_S4), F(_SUM_S), F(_SUM_C4), F(_SUM_C), F(_SUM_D), F(_SUM_Z), F(_PROD_I1),
    F(_PROD_I2), F(_PROD_I4), F(_PROD_J), F(_PROD_S4), F(_PROD_S), F(_PROD_C4), F(_PROD_C),
    F(_PROD_D), F(_PROD_Z), F(__maxloc), F(__minloc), F(_MAXLOC_I4), F(_MAXLOC__I4),
    F(_MAXLOC_I2), F(_MAXLOC__I2), F(_MAXLOC_I1), F(_MAXLOC__I1), F(_MAXLOC_I), F(_MAXLOC__I),
    F(_MAXLOC_J), F(_MAXLOC__J), F(_MAXLOC_S), F(_MAXLOC__S), F(_MAXLOC_D), F(_MAXLOC__D),
    F(_MAXLOC_S4), F(_MAXLOC__S4), F(_MINLOC_I4), F(_MINLOC__I4), F(_MINLOC_I2), F(_MINLOC__I2),
    F(_MINLOC_I1), F(_MINLOC__I1), F(_MINLOC_I), F(_MINLOC__I), F(_MINLOC_J), F(_MINLOC__J),
    F(_MINLOC_S), F(_MINLOC__S), F(_MINLOC_D), F(_MINLOC__D), F(_MINLOC_S4), F(_MINLOC__S4),
    F(_PREDOT), F(_DOT_JJ), F(_DOT_JI4), F(_DOT_I4J), F(_DOT_I4I4), F(_DOT_C4J), F(_DOT_C4I4),
    F(_DOT_CJ), F(_DOT_CI4), F(_DOT_JC), F(_DOT_I4C), F(_DOT_JC4), F(_DOT_I4C4), F(_DOT_JS),
    F(_DOT_I4S), F(_DOT_JS4), F(_DOT_I4S4), F(_DOT_S4J), F(_DOT_S4I4), F(_DOT_SJ), F(_DOT_SI4),
    F(_DOT_L4L4), F(_DOT_LL4), F(_DOT_L4L), F(_DOT_LL), F(MX_DOT_I4I4), F(MX_DOT_I4I2),
    F(MX_DOT_I4I1), F(MX_DOT_I2I4), F(MX_DOT_I2I2), F(MX_DOT_I2I1), F(MX_DOT_I1I4),
    F(MX_DOT_I1I2), F(MX_DOT_I1I1), F(MX_DOT_JJ), F(MX_DOT_JI4), F(MX_DOT_JI2), F(MX_DOT_JI1),
    F(MX_DOT_I4J), F(MX_DOT_I2J), F(MX_DOT_I1J), F(MX_DOT_I4S), F(MX_DOT_I2S), F(MX_DOT_I1S),
    F(MX_DOT_SI4), F(MX_DOT_SI2), F(MX_DOT_SI1), F(MX_DOT_I4S4), F(MX_DOT_I2S4), F(MX_DOT_I1S4),
    F(MX_DOT_S4I4), F(MX_DOT_S4I2), F(MX_DOT_S4I1), F(MX_DOT_JS), F(MX_DOT_SJ), F(MX_DOT_JS4),
    F(MX_DOT_S4J), F(MX_DOT_C4I4), F(MX_DOT_C4I2), F(MX_DOT_C4I1), F(MX_DOT_CI4), F(MX_DOT_CI2),
    F(MX_DOT_CI1), F(MX_DOT_I4C), F(MX_DOT_I2C), F(MX_DOT_I1C), F(MX_DOT_I4C4), F(MX_DOT_I2C4),
    F(MX_DOT_I1C4), F(MX_DOT_C4J), F(MX_DOT_CJ), F(MX_DOT_JC), F(MX_DOT_JC4), F(MX_DOT_L4L4),
    F(MX_DOT_L4L2), F(MX_DOT_L4L1), F(MX_DOT_L2L4), F(MX_DOT_L2L2), F(MX_DOT_L2L1),
    F(MX_DOT_L1L4), F(MX_DOT_L1L2), F(MX_DOT_L1L1), F(MX_DOT_LL4), F(MX_DOT_LL2), F(MX_DOT_LL1),
    F(MX_DOT_L4L), F(MX_DOT_L2L), F(MX_DOT_L1L),
    F(_premult), F(_MATMUL_S4S4), F(_MATMUL_SS), F(_MATMUL_DD), F(_MATMUL_C4C4), F(_MATMUL_CC),
    F(_MATMUL_ZZ), F(_MATMUL_S4S), F(_MATMUL_SS4), F(_MATMUL_DS), F(_MATMUL_DS4),
    F(_MATMUL_S4D), F(_MATMUL_C4S4), F(_MATMUL_S4C4), F(_MATMUL_C4S), F(_MATMUL_SC4),
    F(_MATMUL_CS4), F(_MATMUL_S4C), F(_MATMUL_CS), F(_MATMUL_SC), F(_MATMUL_CD), F(_MATMUL_DC),
    F(_MATMUL_ZS4), F(_MATMUL_S4Z), F(_MATMUL_ZS), F(_MATMUL_SZ), F(_MATMUL_ZD), F(_MATMUL_DZ),
    F(_MATMUL_C4C), F(_MATMUL_CC4), F(_MATMUL_ZC4), F(_MATMUL_I4I4), F(_MATMUL_L4L4),
    F(_MATMUL_JJ), F(_MATMUL_JI4), F(_MATMUL_I4J), F(_MATMUL_LL), F(_MATMUL_LL4),
    F(_MATMUL_L4L), F(_MATMUL_JS4), F(_MATMUL_S4J), F(_MATMUL_JS), F(_MATMUL_SJ), F(_MATMUL_JD),
    F(_MATMUL_DJ), F(_MATMUL_I4S4), F(_MATMUL_S4I4), F(_MATMUL_I4S), F(_MATMUL_SI4),
    F(_MATMUL_I4D), F(_MATMUL_DI4), F(_MATMUL_JC4), F(_MATMUL_C4J), F(_MATMUL_JC),
    F(_MATMUL_CJ), F(_MATMUL_I4C4), F(_MATMUL_C4I4), F(_MATMUL_I4C), F(_MATMUL_CI4),
  };
}

#undef F

// A fresh sound input: INTEGER*4 elements hold first, first+1, ...; other
// types keep the fill (LOGICAL: every element true).
std::unique_ptr<TestArray> make(const Input& in) {
  auto a = std::make_unique<TestArray>(in.type, in.extents, std::vector<int32_t>{},
                                       std::vector<int32_t>{}, 0x01);
  if (in.type.type_word == I4.type_word)
    for (int64_t k = 0; k < a->size(); ++k)
      a->set_linear<int32_t>(k, in.first + static_cast<int32_t>(k));
  return a;
}

enum class Fault { pointer, allocatable, plain };
const char* fault_name(Fault f) {
  switch (f) {
    case Fault::pointer: return "disassociated pointer";
    case Fault::allocatable: return "unallocated allocatable";
    default: return "plain array with elements and a null base";
  }
}

// A copy of `d` with its base cleared: no storage behind the same shape. A
// plain array keeps its flags (association set).
Descriptor without_storage(const AD* d, Fault f) {
  Descriptor bad;
  std::memcpy(bad.get(), d, sizeof(AD));
  bad->base = nullptr;
  bad->alloc_base = nullptr;
  const uint32_t rank = d->flags >> F90_FLAG_RANK_SHIFT;
  if (f != Fault::plain)
    bad->flags = f90_flags(rank, 0, f == Fault::pointer ? OBJ_POINTER : OBJ_ALLOCATABLE);
  return bad;
}

// Calls `r` with input `bad_at` replaced by `fault` (bad_at < 0: all sound).
void call(const Row& r, Call& c, std::vector<std::unique_ptr<TestArray>>& keep, int bad_at,
          Fault fault, Descriptor& bad) {
  keep.clear();
  for (size_t i = 0; i < r.inputs.size(); ++i) {
    keep.push_back(make(r.inputs[i]));
    c.in[i] = keep.back()->desc();
  }
  if (bad_at >= 0) {
    bad = without_storage(c.in[bad_at], fault);
    c.in[bad_at] = bad.get();
  }
  c.result = f90test::unallocated_result(r.result_type, r.result_rank);
  c.slot.fill(0x5A);
  r.run(c);
}

class InputPresence : public ::testing::TestWithParam<Row> {
 protected:
  f90test::RuntimeScope scope;
};

TEST_P(InputPresence, SoundInputsAreNotReportedAsAbsent) {
  const Row& r = GetParam();
  Call c;
  std::vector<std::unique_ptr<TestArray>> keep;
  Descriptor unused;
  call(r, c, keep, -1, Fault::pointer, unused);
  for (int32_t n : Runtime::numbers()) EXPECT_NE(n, ERR_NOT_PRESENT) << r.name;
}

TEST_P(InputPresence, InputWithoutStorageIsReportedAndResultUntouched) {
  const Row& r = GetParam();
  for (int at = 0; at < static_cast<int>(r.inputs.size()); ++at) {
    for (Fault f : {Fault::pointer, Fault::allocatable, Fault::plain}) {
      SCOPED_TRACE(r.name + ": input " + std::to_string(at + 1) + " " + fault_name(f));
      Runtime::reset();
      Call c;
      std::vector<std::unique_ptr<TestArray>> keep;
      Descriptor bad;
      call(r, c, keep, at, f, bad);
      if (f == Fault::plain && !r.inputs[at].elements_read) {
        // Only its descriptor is read: the call goes on as with storage.
        for (int32_t n : Runtime::numbers()) EXPECT_NE(n, ERR_NOT_PRESENT);
        continue;
      }
      ASSERT_EQ(Runtime::reports(), (std::vector<f90test::Report>{{ERR_LEVEL_INTRINSIC, ERR_NOT_PRESENT}}));
      EXPECT_TRUE(Runtime::allocations().empty());
      const Descriptor fresh = f90test::unallocated_result(r.result_type, r.result_rank);
      EXPECT_EQ(std::memcmp(c.result.get(), fresh.get(), sizeof(AD)), 0) << "result descriptor written";
    }
  }
}

// An empty input may have a null base: nothing of it is read, nothing reported.
TEST(InputPresenceEmpty, EmptyInputWithNullBaseIsRead) {
  f90test::RuntimeScope scope;
  TestArray source(I4, {2, 0}), mask(L4, {0});
  source.desc()->base = nullptr;
  mask.desc()->base = nullptr;
  EXPECT_EQ(_SUM0_I4(source.desc(), nullptr, nullptr), 0);
  EXPECT_EQ(_COUNT0(mask.desc(), nullptr), 0);
  Descriptor result = f90test::unallocated_result(I4, 2);
  _TRANS(result.get(), source.desc());
  EXPECT_TRUE(Runtime::reports().empty());
}

std::vector<Row> all_rows() {
  std::vector<Row> rows = construction_rows();
  for (Row& r : typed_rows()) rows.push_back(std::move(r));
  return rows;
}

std::string row_name(const ::testing::TestParamInfo<Row>& info) {
  std::string s;
  for (char ch : info.param.name) s += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
  return s + "_" + std::to_string(info.index);
}

INSTANTIATE_TEST_SUITE_P(EveryEntry, InputPresence, ::testing::ValuesIn(all_rows()), row_name);

}  // namespace
