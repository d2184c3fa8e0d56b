// TRANSFER: sizes, the byte and word streams, scalar results, empty operands.
#include "array/transfer.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "descriptor_builder.h"
#include "guard_page.h"
#include "recording_runtime.h"
#include "result_words.h"

namespace {

using f90test::Descriptor;
using f90test::ElemType;
using f90test::kUnset;
using f90test::Runtime;
using f90test::TestArray;
using TransferTest = f90test::RecordingTest;

uint32_t w(const void* p) { return f90test::addr_word(p); }
unsigned char* block(uint32_t bytes) { return f90test::only_block(bytes); }

// A scalar of the given type holding `bytes`.
struct Scalar {
  unsigned char value[64] = {};
  Descriptor d;
  Scalar(ElemType t, const void* bytes) : d(t, 0, true) {
    std::memcpy(value, bytes, t.bytes());
    d->base = value;
  }
};

// The source stream: the elements' bytes in array element order.
std::vector<unsigned char> stream_of(TestArray& a) {
  std::vector<unsigned char> s;
  for (int64_t k = 0; k < a.size(); ++k) {
    const unsigned char* p = reinterpret_cast<unsigned char*>(a.at_linear(k));
    s.insert(s.end(), p, p + a.type().bytes());
  }
  return s;
}

// Checks all 9 words of a rank-1 result completed by the routine.
void expect_rank1_result(const Descriptor& r, const void* block, uint32_t elem_len,
                         uint32_t type_word, int32_t extent, int32_t stride, uint32_t bytes) {
  f90test::expect_words(r, {w(block), elem_len, f90_flags(1, 1, 0), type_word, w(block), bytes * 8,
                          1, static_cast<uint32_t>(extent), static_cast<uint32_t>(stride), kUnset});
}

TEST_F(TransferTest, RealBitsAsInteger) {
  const float one = 1.0f;
  Scalar src(ElemType::real(4), &one);
  Descriptor mold(ElemType::integer(4), 0, true);
  EXPECT_EQ(transfer_word(src.d.get(), mold.get(), nullptr), 1065353216);
  EXPECT_EQ(transfer_word_4(src.d.get(), mold.get(), nullptr), 1065353216);
  EXPECT_EQ(Runtime::allocation_calls(), 0);

  auto r = f90test::unallocated_result(ElemType::integer(4), 0);
  transfer_array(r.get(), src.d.get(), mold.get(), nullptr);
  unsigned char* b = block(4);
  ASSERT_NE(b, nullptr);
  f90test::expect_words(r, {w(b), 32, f90_flags(0, 1, 0), ElemType::integer(4).type_word, w(b), 32,
                           kUnset});
  EXPECT_EQ(*reinterpret_cast<int32_t*>(b), 1065353216);
}

TEST_F(TransferTest, ThreeIntegersToRealEightRoundUp) {
  TestArray src(ElemType::integer(4), {3});
  src.fill_linear<int32_t>([](int64_t k) { return static_cast<int32_t>(k + 1); });
  TestArray mold(ElemType::real(8), {5});
  auto r = f90test::unallocated_result(ElemType::real(8), 1);
  transfer_array(r.get(), src.desc(), mold.desc(), nullptr);
  unsigned char* b = block(16);
  ASSERT_NE(b, nullptr);
  expect_rank1_result(r, b, 64, ElemType::real(8).type_word, 2, 2, 16);
  const int32_t want[] = {1, 2, 3};
  EXPECT_EQ(std::memcmp(b, want, 12), 0);
  for (int i = 12; i < 16; ++i) EXPECT_EQ(b[i], 0xCC) << i;  // left as the storage held it
}

TEST_F(TransferTest, CharacterSixToCharacterFourArray) {
  Scalar src(ElemType::character(6), "abcdef");
  TestArray mold(ElemType::character(4), {1});
  auto r = f90test::unallocated_result(ElemType::character(4), 1);
  transfer_array(r.get(), src.d.get(), mold.desc(), nullptr);
  unsigned char* b = block(8);
  ASSERT_NE(b, nullptr);
  expect_rank1_result(r, b, 4, ElemType::character(4).type_word, 2, 4, 8);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(b), 6), "abcdef");
  EXPECT_EQ(b[6], 0xCC);
  EXPECT_EQ(b[7], 0xCC);
}

TEST_F(TransferTest, SizeBelowOneGivesAnEmptyResult) {
  const int32_t sizes[] = {0, -3};
  for (int32_t size : sizes) {
    Runtime::reset();
    TestArray src(ElemType::integer(4), {4});
    Descriptor mold(ElemType::integer(2), 0, true);
    auto r = f90test::unallocated_result(ElemType::integer(2), 1);
    transfer_array(r.get(), src.desc(), mold.get(), &size);
    f90test::expect_words(r, {0, 16, f90_flags(1, 0, 0), ElemType::integer(2).type_word, kUnset,
                             kUnset, 1, 0, 2, kUnset}, size == 0 ? "SIZE 0" : "SIZE -3");
    EXPECT_EQ(Runtime::allocation_calls(), 0);
  }
}

TEST_F(TransferTest, SizeTwoMovesExactlyTwoBytes) {
  Scalar src(ElemType::character(8), "qrstuvwx");
  Descriptor mold(ElemType::integer(1), 0, true);
  const int32_t size = 2;
  auto r = f90test::unallocated_result(ElemType::integer(1), 1);
  transfer_array(r.get(), src.d.get(), mold.get(), &size);
  unsigned char* b = block(2);
  ASSERT_NE(b, nullptr);
  expect_rank1_result(r, b, 8, ElemType::integer(1).type_word, 2, 1, 2);
  EXPECT_EQ(b[0], 'q');
  EXPECT_EQ(b[1], 'r');
}

// A scalar result repeats an array SOURCE's stream until it is full.
TEST_F(TransferTest, StreamRepeatsIntoAScalar) {
  TestArray bytes2(ElemType::integer(1), {2});
  bytes2.fill_linear<int8_t>([](int64_t k) { return static_cast<int8_t>(k + 1); });
  Descriptor i4(ElemType::integer(4), 0, true);
  EXPECT_EQ(transfer_word(bytes2.desc(), i4.get(), nullptr), 0x02010201);

  auto r = f90test::unallocated_result(ElemType::integer(4), 0);
  transfer_array(r.get(), bytes2.desc(), i4.get(), nullptr);
  unsigned char* b = block(4);
  ASSERT_NE(b, nullptr);
  const unsigned char want[] = {1, 2, 1, 2};
  EXPECT_EQ(std::memcmp(b, want, 4), 0);

  // Three bytes, backwards, into a 16-byte COMPLEX*16 through the 32-byte
  // entry: the stream repeats 5 1/3 times and the slot's tail is zero.
  TestArray bytes3(ElemType::integer(1), {3}, {}, {-1});
  bytes3.fill_linear<int8_t>([](int64_t k) { return static_cast<int8_t>(7 * (k + 1)); });
  Descriptor c16(ElemType::complex(16), 0, true);
  unsigned char slot[32];
  std::memset(slot, 0xEE, sizeof slot);
  EXPECT_EQ(transfer_32_bytes(slot, bytes3.desc(), c16.get(), nullptr), slot);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(slot[i], 7 * (i % 3 + 1)) << i;
  for (int i = 16; i < 32; ++i) EXPECT_EQ(slot[i], 0) << i;
}

// A scalar SOURCE shorter than the result gives only its own bytes.
TEST_F(TransferTest, ShortScalarSourceLeavesTheRest) {
  const int16_t v = 0x1234;
  Scalar src(ElemType::integer(2), &v);
  Descriptor r8(ElemType::real(8), 0, true);
  auto r = f90test::unallocated_result(ElemType::real(8), 0);
  transfer_array(r.get(), src.d.get(), r8.get(), nullptr);
  unsigned char* b = block(8);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b[0], 0x34);
  EXPECT_EQ(b[1], 0x12);
  for (int i = 2; i < 8; ++i) EXPECT_EQ(b[i], 0xCC) << i;
  // The scalar entries start from zero.
  Descriptor i4(ElemType::integer(4), 0, true);
  EXPECT_EQ(transfer_word(src.d.get(), i4.get(), nullptr), 0x1234);
}

TEST_F(TransferTest, ScalarEntriesNeverAllocateAndStayInTheirSlot) {
  char text[101];
  for (int i = 0; i < 100; ++i) text[i] = static_cast<char>('A' + i % 26);
  Scalar src(ElemType::character(60), text);
  Descriptor mold(ElemType::character(100), 0, true);
  unsigned char slot[40];
  std::memset(slot, 0xEE, sizeof slot);
  transfer_32_bytes(slot, src.d.get(), mold.get(), nullptr);
  EXPECT_EQ(std::memcmp(slot, text, 32), 0);
  for (int i = 32; i < 40; ++i) EXPECT_EQ(slot[i], 0xEE) << i;

  const double x = 1.5;
  Scalar d(ElemType::real(8), &x);
  Descriptor i8(ElemType::integer(8), 0, true);
  EXPECT_EQ(transfer_double(d.d.get(), i8.get(), nullptr), 1.5);
  // A 4-byte MOLD fills only the low half of the REAL*8 value.
  Descriptor i4(ElemType::integer(4), 0, true);
  const double low = transfer_double(d.d.get(), i4.get(), nullptr);
  uint64_t bits;
  std::memcpy(&bits, &low, 8);
  EXPECT_EQ(bits, 0u);  // the low word of 1.5 is 0, the rest of the slot too
  EXPECT_EQ(Runtime::allocation_calls(), 0);
}

TEST_F(TransferTest, SignallingNaNMovesBitForBit) {
  const uint64_t snan = 0x7FF0000000000001ull, snan_neg = 0xFFF4000000000000ull;
  TestArray src(ElemType::real(8), {2}, {}, {-3});
  src.set_linear<uint64_t>(0, snan);
  src.set_linear<uint64_t>(1, snan_neg);
  TestArray mold(ElemType::integer(8), {1});
  auto r = f90test::unallocated_result(ElemType::integer(8), 1);
  transfer_array(r.get(), src.desc(), mold.desc(), nullptr);
  unsigned char* b = block(16);
  ASSERT_NE(b, nullptr);
  uint64_t got[2];
  std::memcpy(got, b, 16);
  EXPECT_EQ(got[0], snan);
  EXPECT_EQ(got[1], snan_neg);
  // And through a byte-granular MOLD.
  TestArray cmold(ElemType::character(3), {1});
  auto rc = f90test::unallocated_result(ElemType::character(3), 1);
  transfer_array(rc.get(), src.desc(), cmold.desc(), nullptr);
  ASSERT_EQ(Runtime::allocations().size(), 2u);
  EXPECT_EQ(Runtime::allocations()[1].bytes, 18u);
  EXPECT_EQ(std::memcmp(Runtime::allocations()[1].block, got, 16), 0);
}

TEST_F(TransferTest, CharacterZeroScalarMold) {
  const int32_t v = 5;
  Scalar src(ElemType::integer(4), &v);
  Descriptor mold(ElemType::character(0), 0, true);
  auto r = f90test::unallocated_result(ElemType::character(0), 0);
  transfer_array(r.get(), src.d.get(), mold.get(), nullptr);
  EXPECT_EQ(r.word(0), 0u);
  EXPECT_EQ(r.word(1), 0u);
  EXPECT_EQ(Runtime::allocation_calls(), 0);
  EXPECT_TRUE(Runtime::reports().empty());
}

TEST_F(TransferTest, CallerResultOfExtentZeroIsLeftAlone) {
  TestArray src(ElemType::integer(4), {3});
  TestArray mold(ElemType::integer(4), {3});
  TestArray r(ElemType::integer(4), {0});
  const Descriptor before = r.descriptor();
  transfer_array(r.desc(), src.desc(), mold.desc(), nullptr);
  for (int i = 0; i < 9; ++i) EXPECT_EQ(r.descriptor().word(i), before.word(i)) << i;
  EXPECT_EQ(Runtime::allocation_calls(), 0);
}

// A caller's result is written through its stride and never past its extent
// (its last element ends at an inaccessible page).
TEST_F(TransferTest, CallerResultWithDoubledStride) {
  TestArray src(ElemType::integer(4), {5});
  src.fill_linear<int32_t>([](int64_t k) { return static_cast<int32_t>(100 + k); });
  TestArray mold(ElemType::integer(2), {1});
  f90test::GuardedBuffer storage(14);  // room for 4 of the 10 halves, every other one
  std::memset(storage.data(), 0x55, 14);
  Descriptor r(ElemType::integer(2), 1, true);
  r->base = storage.data();
  r->dim[0] = {1, 4, 4};
  const Descriptor before = r;
  transfer_array(r.get(), src.desc(), mold.desc(), nullptr);
  for (int i = 0; i < 9; ++i) EXPECT_EQ(r.word(i), before.word(i)) << i;
  int16_t got[7];
  std::memcpy(got, storage.data(), 14);
  const int16_t want[] = {100, 0x5555, 0, 0x5555, 101, 0x5555, 0};
  for (int k = 0; k < 7; ++k) EXPECT_EQ(got[k], want[k]) << k;
  EXPECT_EQ(Runtime::allocation_calls(), 0);
}

// With SIZE absent an empty SOURCE gives a zero scalar or an empty array;
// with SIZE present, SIZE zero elements.
TEST_F(TransferTest, EmptyOperands) {
  TestArray empty(ElemType::real(4), {3, 0});
  Descriptor r8(ElemType::real(8), 0, true);

  auto scalar = f90test::unallocated_result(ElemType::real(8), 0);
  transfer_array(scalar.get(), empty.desc(), r8.get(), nullptr);
  unsigned char* b = block(8);
  ASSERT_NE(b, nullptr);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(b[i], 0) << i;
  EXPECT_EQ(scalar->flags, f90_flags(0, 1, 0));
  EXPECT_EQ(transfer_double(empty.desc(), r8.get(), nullptr), 0.0);

  Runtime::reset();
  TestArray mold(ElemType::character(5), {2});
  auto arr = f90test::unallocated_result(ElemType::character(5), 1);
  transfer_array(arr.get(), empty.desc(), mold.desc(), nullptr);
  f90test::expect_words(arr, {0, 5, f90_flags(1, 0, 0), ElemType::character(5).type_word,
                               kUnset, kUnset, 1, 0, 5, kUnset});
  EXPECT_EQ(Runtime::allocation_calls(), 0);

  Runtime::reset();
  const int32_t size = 3;
  auto sized = f90test::unallocated_result(ElemType::character(5), 1);
  transfer_array(sized.get(), empty.desc(), mold.desc(), &size);
  b = block(15);
  ASSERT_NE(b, nullptr);
  expect_rank1_result(sized, b, 5, ElemType::character(5).type_word, 3, 5, 15);
  for (int i = 0; i < 15; ++i) EXPECT_EQ(b[i], 0) << i;

  // An empty MOLD counts too when SIZE is present.
  Runtime::reset();
  TestArray src(ElemType::integer(4), {2});
  TestArray empty_mold(ElemType::integer(4), {0});
  auto r2 = f90test::unallocated_result(ElemType::integer(4), 1);
  transfer_array(r2.get(), src.desc(), empty_mold.desc(), &size);
  b = block(12);
  ASSERT_NE(b, nullptr);
  expect_rank1_result(r2, b, 32, ElemType::integer(4).type_word, 3, 1, 12);
  for (int i = 0; i < 12; ++i) EXPECT_EQ(b[i], 0) << i;

  // A caller's result keeps its words; its elements become zero.
  Runtime::reset();
  TestArray given(ElemType::integer(4), {3}, {}, {2}, 0x77);
  const Descriptor before = given.descriptor();
  transfer_array(given.desc(), src.desc(), empty_mold.desc(), &size);
  for (int i = 0; i < 9; ++i) EXPECT_EQ(given.descriptor().word(i), before.word(i)) << i;
  for (int k = 0; k < 3; ++k) EXPECT_EQ(given.get_linear<int32_t>(k), 0) << k;
  EXPECT_TRUE(given.outside_untouched());
  EXPECT_TRUE(Runtime::reports().empty());
}

// An array MOLD of zero-length elements cannot hold a non-empty SOURCE.
TEST_F(TransferTest, ZeroLengthArrayMoldIsReported) {
  TestArray src(ElemType::integer(4), {2});
  TestArray mold(ElemType::character(0), {4});
  auto r = f90test::unallocated_result(ElemType::character(0), 1);
  transfer_array(r.get(), src.desc(), mold.desc(), nullptr);
  EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>{1418});
  f90test::expect_words(r, {0, 0, f90_flags(1, 0, 0), ElemType::character(0).type_word,
                           kUnset, kUnset, 1, 0, 0, kUnset});
  EXPECT_EQ(Runtime::allocation_calls(), 0);
}

TEST_F(TransferTest, ResultsAboveTwoGigabytesAreRefused) {
  // SIZE asks for 2^30 REAL*8 values.
  const int32_t big = 1 << 30;
  TestArray src(ElemType::integer(4), {2});
  Descriptor r8(ElemType::real(8), 0, true);
  auto r = f90test::unallocated_result(ElemType::real(8), 1);
  transfer_array(r.get(), src.desc(), r8.get(), &big);
  EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>{1205});
  EXPECT_EQ(Runtime::allocation_calls(), 0);
  EXPECT_EQ(r->flags & F90_FLAG_ASSOC, 0u);

  // A SOURCE of 2^31 words (never read: nothing is stored).
  Runtime::reset();
  Descriptor huge(ElemType::integer(4), 2, true);
  huge->base = reinterpret_cast<void*>(0x1000);
  huge->dim[0] = {1, 1 << 16, 1};
  huge->dim[1] = {1, 1 << 15, 1 << 16};
  TestArray mold(ElemType::integer(1), {1});
  auto r2 = f90test::unallocated_result(ElemType::integer(1), 1);
  transfer_array(r2.get(), huge.get(), mold.desc(), nullptr);
  EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>{1205});
  EXPECT_EQ(Runtime::allocation_calls(), 0);

  Runtime::reset();
  Runtime::fail_allocation(1);
  auto r3 = f90test::unallocated_result(ElemType::real(8), 1);
  transfer_array(r3.get(), src.desc(), mold.desc(), nullptr);
  EXPECT_EQ(Runtime::numbers(), std::vector<int32_t>{1205});
  EXPECT_EQ(r3->flags & F90_FLAG_ASSOC, 0u);
}

// Random sources (ranks 0-4, sections with negative strides) into random
// MOLDs: word mode (both operands word-granular) and byte mode give the
// stream's bytes, in the same order, with the same sizes.
TEST_F(TransferTest, RandomStreamsMatchTheNaiveStream) {
  const ElemType types[] = {ElemType::integer(1), ElemType::integer(2), ElemType::integer(4),
                            ElemType::integer(8), ElemType::real(4),    ElemType::real(16),
                            ElemType::complex(32), ElemType::logical(2), ElemType::character(3),
                            ElemType::character(5), ElemType::derived_bytes(5),
                            ElemType::derived_words(3)};
  std::mt19937 rng(2024);
  for (int trial = 0; trial < 400; ++trial) {
    Runtime::reset();
    const ElemType st = types[rng() % std::size(types)];
    const ElemType mt = types[rng() % std::size(types)];
    const int rank = static_cast<int>(rng() % 5);
    std::vector<int32_t> ext(rank), step(rank);
    for (int d = 0; d < rank; ++d) {
      ext[d] = 1 + static_cast<int32_t>(rng() % 4);
      step[d] = static_cast<int32_t>(rng() % 5) - 2;
      if (step[d] == 0) step[d] = 1;
    }
    TestArray src(st, ext, {}, step);
    for (auto& byte : src.storage()) byte = static_cast<unsigned char>(rng());
    const std::vector<unsigned char> stream = stream_of(src);
    const int64_t mb = mt.bytes();
    const bool array_mold = rng() % 2 == 0;
    const bool with_size = rng() % 3 == 0;
    const int32_t size = static_cast<int32_t>(rng() % 6) + 1;
    TestArray mold(mt, {2});
    Descriptor scalar_mold(mt, 0, true);
    const bool scalar_result = !array_mold && !with_size;
    auto r = f90test::unallocated_result(mt, scalar_result ? 0 : 1);
    transfer_array(r.get(), src.desc(), array_mold ? mold.desc() : scalar_mold.get(),
                   with_size ? &size : nullptr);
    ASSERT_TRUE(Runtime::reports().empty()) << trial;
    const int64_t ts = static_cast<int64_t>(stream.size());
    const int64_t tr = with_size ? mb * size : !array_mold ? mb : (ts + mb - 1) / mb * mb;
    const unsigned char* b = block(static_cast<uint32_t>(tr));
    ASSERT_NE(b, nullptr) << trial;
    if (!scalar_result) {
      EXPECT_EQ(r->dim[0].extent, tr / mb) << trial;
      EXPECT_EQ(r->dim[0].stride, static_cast<int32_t>(mt.unit() == 1 ? mb : mb / 4)) << trial;
    }
    for (int64_t i = 0; i < tr; ++i) {
      int want;
      if (scalar_result && rank > 0) {
        want = stream[i % ts];  // the stream repeats
      } else {
        want = i < ts ? stream[i] : 0xCC;
      }
      ASSERT_EQ(b[i], want) << "trial " << trial << " byte " << i;
    }
  }
}

// The same bytes through a word-mode and a byte-mode MOLD of equal size,
// from a strided source, into strided caller results.
TEST_F(TransferTest, WordAndByteModesGiveTheSameBytes) {
  TestArray src(ElemType::integer(4), {3, 4}, {}, {-2, 3});
  src.fill_linear<int32_t>([](int64_t k) { return static_cast<int32_t>(0x01010101 * (k + 1)); });
  TestArray words(ElemType::real(8), {6}, {}, {-2}, 0x00);
  TestArray bytes(ElemType::character(8), {6}, {}, {3}, 0x00);
  TestArray halves(ElemType::logical(2), {24}, {}, {2}, 0x00);
  TestArray mold_w(ElemType::complex(8), {1});
  TestArray mold_b(ElemType::derived_bytes(8), {1});
  TestArray mold_h(ElemType::integer(2), {1});
  transfer_array(words.desc(), src.desc(), mold_w.desc(), nullptr);
  transfer_array(bytes.desc(), src.desc(), mold_b.desc(), nullptr);
  transfer_array(halves.desc(), src.desc(), mold_h.desc(), nullptr);
  const std::vector<unsigned char> stream = stream_of(src);
  EXPECT_EQ(stream_of(words), stream);
  EXPECT_EQ(stream_of(bytes), stream);
  EXPECT_EQ(stream_of(halves), stream);
  EXPECT_TRUE(words.outside_untouched());
  EXPECT_TRUE(bytes.outside_untouched());
  EXPECT_TRUE(halves.outside_untouched());
}

// Long strided lines are moved a buffer at a time, and elements longer than
// the buffer one by one.
TEST_F(TransferTest, LongStridedSources) {
  struct Case {
    ElemType source, mold;
    int32_t extent, step;
  } cases[] = {
      {ElemType::integer(4), ElemType::character(7), 10000, -3},
      {ElemType::integer(2), ElemType::real(8), 9001, 2},
      {ElemType::character(5000), ElemType::integer(8), 3, -2},
  };
  for (const auto& c : cases) {
    Runtime::reset();
    TestArray src(c.source, {c.extent}, {}, {c.step});
    for (size_t i = 0; i < src.storage().size(); ++i)
      src.storage()[i] = static_cast<unsigned char>(i * 131 + (i >> 8));
    TestArray mold(c.mold, {1});
    auto r = f90test::unallocated_result(c.mold, 1);
    transfer_array(r.get(), src.desc(), mold.desc(), nullptr);
    const std::vector<unsigned char> stream = stream_of(src);
    ASSERT_EQ(Runtime::allocations().size(), 1u);
    const unsigned char* b = static_cast<unsigned char*>(Runtime::allocations()[0].block);
    ASSERT_EQ(std::memcmp(b, stream.data(), stream.size()), 0) << c.extent;
  }
}

TEST_F(TransferTest, WorkerIgnoresTheSelector) {
  TestArray src(ElemType::integer(2), {3});
  src.fill_linear<int16_t>([](int64_t k) { return static_cast<int16_t>(k - 1); });
  TestArray mold(ElemType::integer(2), {1});
  auto r = f90test::unallocated_result(ElemType::integer(2), 1);
  transfer_worker(r.get(), src.desc(), mold.desc(), nullptr, 4);
  unsigned char* b = block(6);
  ASSERT_NE(b, nullptr);
  const int16_t want[] = {-1, 0, 1};
  EXPECT_EQ(std::memcmp(b, want, 6), 0);
}

}  // namespace
