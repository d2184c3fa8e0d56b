// Decoding a fuzz input into valid descriptors over the guarded arena.
//
// A target asks for element types, shapes and arrays; every choice comes from
// the input through FuzzedDataProvider, element values from a generator
// seeded by the input. Arrays are sections of a parent block: per dimension a
// step (negative and zero included for arguments, never zero for results)
// and optional padding, so strides are those of a section of a larger array
// or of a component of a derived type. Every descriptor describes storage
// that exists: the arena holds exactly the parent block, and only its
// elements are open to the routine.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <vector>

#include "arena.h"
#include "f90/descriptor.h"

namespace fz {

using FDP = FuzzedDataProvider;

// Upper bound on the elements of one array: keeps each execution fast.
inline constexpr int64_t kMaxElements = 2048;

struct Elem {
  uint32_t type_word = 0;
  uint32_t elem_len = 0;  // bits; bytes for CHARACTER
  uint32_t units = 0;     // storage units in one element
  uint32_t unit = 1;      // bytes in one storage unit (1 or 4)
  uint32_t grain = 1;     // strides are multiples of this many units
  uint32_t align = 1;     // element addresses are multiples of this many bytes

  int8_t code() const { return static_cast<int8_t>(type_word & 0xff); }
  uint32_t int_len() const { return (type_word >> 12) & 0xfff; }
  uint32_t bytes() const { return units * unit; }

  static Elem numeric(int code, uint32_t bytes);
  static Elem character(uint32_t len);
  static Elem derived_bytes(uint32_t bytes);
  static Elem derived_words(uint32_t words);
};

// Element type families a target may draw from.
enum TypeSet : uint32_t {
  kIntegers = 1u << 0,   // INTEGER*1/2/4/8
  kReals = 1u << 1,      // REAL*4/8/16
  kComplexes = 1u << 2,  // COMPLEX*8/16/32
  kLogicals = 1u << 3,   // LOGICAL*1/2/4/8
  kCharacters = 1u << 4, // CHARACTER*0..9
  kDerived = 1u << 5,    // derived types laid out in bytes or in words
  kAllTypes = 0x3f,
};

// An element type from the set; the type word may carry the type flag, and
// numeric kinds may carry an explicit kind (kind_sel, decl_len).
Elem pick_elem(FDP& in, uint32_t set);

struct Shape {
  int rank = 0;
  int32_t lower[F90_MAX_RANK] = {};
  int32_t extent[F90_MAX_RANK] = {};
  // Number of elements: product of the extents, 0 when any is 0 or less.
  int64_t count() const;
};

// A shape of rank min_rank..max_rank with at most max_count elements;
// extents 0 and 1 are frequent, lower bounds range over the whole int32.
Shape pick_shape(FDP& in, int min_rank, int max_rank, int64_t max_count = kMaxElements);

struct LayoutOpts {
  bool zero_steps = true;  // a dimension may have stride 0 (broadcast)
  bool negative = true;    // negative steps
  bool padding = true;     // gaps between elements and between lines
  bool contiguous = false; // always the natural layout, first index fastest
};

inline constexpr LayoutOpts kArgLayout{true, true, true};
inline constexpr LayoutOpts kResultLayout{false, true, true};
inline constexpr LayoutOpts kContiguous{false, false, false, true};

// A decoded array: its descriptor sits in the arena, its elements in a
// parent block of the arena.
struct FArray {
  Elem elem;
  Shape shape;
  int32_t stride[F90_MAX_RANK] = {};  // stride multipliers, in storage units
  char* base = nullptr;
  char* block = nullptr;  // start of the parent block in the arena
  ArrayDescriptor* desc = nullptr;
  int64_t count = 0;

  int rank() const { return shape.rank; }
  // Address of the element with 0-based indices idx.
  char* at(const int64_t* idx) const;
  // Address of element k in array element order.
  char* at_linear(int64_t k) const;
};

// Places an array of the given element type and shape: parent block,
// strides, descriptor (assoc set, obj_kind and the uninterpreted flag bits
// drawn from the input). Elements hold `fill` until set; the routine can
// reach them only after open().
FArray place_array(FDP& in, const Elem& e, const Shape& s, LayoutOpts opts);

// Opens every element of the array to the routine (ASan unpoison).
void open(const FArray& a);

// An unassociated result descriptor of `rank`: rank, type word and elem_len
// set, assoc clear, the other words a pattern the routine must overwrite or
// leave, and the uninterpreted flag bits drawn from the input.
ArrayDescriptor* unassociated_result(FDP& in, const Elem& e, int rank);

// A small deterministic generator for element values.
class Rng {
 public:
  explicit Rng(uint64_t seed) : s_(seed ^ 0x9e3779b97f4a7c15ull) {}
  uint64_t next() {
    uint64_t z = (s_ += 0x9e3779b97f4a7c15ull);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ull;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebull;
    return z ^ (z >> 31);
  }
  uint32_t below(uint32_t n) { return n ? static_cast<uint32_t>(next() % n) : 0; }

 private:
  uint64_t s_;
};

// Fills every element with bytes from the generator (whole elements, any
// bit pattern: element movers must not look at values).
void fill_random(const FArray& a, Rng& rng);

// LOGICAL values: each element true with the given chance out of 256, true
// values in varied encodings (1, -1, only the high byte or the high word).
void fill_logical(const FArray& a, Rng& rng, uint32_t chance256);

// A reduction's MASK for `choice` (0: absent, 1: a scalar, otherwise of
// `shape`): LOGICAL of any width, each element true with one of a few
// chances, from none to all.
FArray reduction_mask(FDP& in, Rng& rng, const Shape& shape, int choice);

// Writes a LOGICAL element of `bits` bits, true or false, in a varied
// encoding.
void store_logical(char* p, uint32_t bits, bool value, Rng& rng);

// Reads a LOGICAL element of `bits` bits: true when any of its bytes is
// non-zero.
bool read_logical(const char* p, uint32_t bits);

// Reads a signed integer element of `bytes` bytes (1, 2, 4, 8).
int64_t read_int(const char* p, uint32_t bytes);
// Stores the low `bytes` bytes of v.
void store_int(char* p, uint32_t bytes, int64_t v);

// A 32-bit integer argument passed by address (DIM, NCOPIES), placed
// against a guard page.
int32_t* int_arg(int32_t v);

// A rank-1 shape.
Shape vector_shape(int32_t extent, int32_t lower = 1);

// Splits position k of array element order into 0-based indices.
void unlinear(int64_t k, int rank, const int64_t* extent, int64_t* idx);

}  // namespace fz
