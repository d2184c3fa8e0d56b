// What a reference model expects of a routine, and the checks that compare
// it with what the routine did: every descriptor word, every byte of the
// result's storage (elements the model does not write keep their previous
// bytes), the recorded reports and the allocations.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "f90/descriptor.h"
#include "f90/messages.h"
#include "layout.h"

namespace fz {

// Expected words of a result descriptor after the call.
struct DescExpect {
  enum Mode : uint8_t { kExact, kAny, kStorage };  // kStorage: the address of the allocation
  struct Word {
    Mode mode = kAny;
    uint32_t value = 0;
  };
  int rank = 0;  // number of dimension triples compared
  Word w[F90_DESCRIPTOR_WORDS(F90_MAX_RANK)];

  // Starts from the words as they stood before the call (all exact).
  static DescExpect unchanged(const std::vector<uint8_t>& before, int rank);
  void exact(int word, uint32_t v) { w[word] = {kExact, v}; }
  void any(int word) { w[word] = {kAny, 0}; }
  void storage(int word) { w[word] = {kStorage, 0}; }
  void dim(int i, int32_t lower, int32_t extent, int32_t stride) {
    exact(6 + 3 * i, static_cast<uint32_t>(lower));
    exact(7 + 3 * i, static_cast<uint32_t>(extent));
    exact(8 + 3 * i, static_cast<uint32_t>(stride));
  }
};

// Element-by-element expectation of a result, in array element order over
// `extent`.
class ElemsExpect {
 public:
  enum Kind : uint8_t { kKeep, kValue, kAny };
  ElemsExpect(uint32_t elem_bytes, int rank, const int64_t* extent);
  int64_t count() const { return count_; }
  uint32_t elem_bytes() const { return bytes_; }
  void set(int64_t k, const void* p);
  void any(int64_t k) {
    make();
    kind_[k] = kAny;
  }
  Kind kind(int64_t k) const { return kind_.empty() ? kKeep : static_cast<Kind>(kind_[k]); }
  const uint8_t* value(int64_t k) const { return &data_[k * bytes_]; }
  int rank() const { return rank_; }
  int64_t extent(int i) const { return extent_[i]; }

 private:
  uint32_t bytes_;
  int rank_;
  int64_t extent_[F90_MAX_RANK] = {};
  int64_t count_ = 1;
  // Made on the first set() or any(), so that a huge result nothing is
  // written to costs nothing.
  void make();
  std::vector<uint8_t> kind_;
  std::vector<uint8_t> data_;
};

// Compares the 6 + 3*rank words of `d` with the expectation; kStorage words
// must equal `storage`.
void check_descriptor(const char* what, const ArrayDescriptor* d, const DescExpect& e,
                      const void* storage);

// Compares a result's storage. The element with 0-based indices idx lies at
// base + sum(idx[i] * stride[i]) * unit bytes. `region`/`before` are the
// bytes the result may occupy (an arena block or an allocation) as they were
// before the call; every byte of the region not covered by a written element
// must be unchanged.
void check_elements(const char* what, const char* base, const int32_t* stride, uint32_t unit,
                    const ElemsExpect& e, const char* region, const std::vector<uint8_t>& before);

// Checks the requests made to the allocator: exactly one of `bytes` when
// bytes > 0; none when bytes <= 0, or one of 0 bytes when zero_optional.
// Returns the block obtained (or null).
void* check_allocation(const char* what, int64_t bytes, bool zero_optional);

// The message numbers a call may report, in order, all at level 4: one list,
// or several when the routines may choose (e.g. whether to go on after a
// report).
struct Reports {
  std::vector<std::vector<int32_t>> options;
  Reports() : options{{}} {}
  Reports(std::vector<int32_t> one) : options{std::move(one)} {}
  Reports(std::initializer_list<int32_t> one) : options{std::vector<int32_t>(one)} {}
  Reports& also(std::vector<int32_t> alt) {
    options.push_back(std::move(alt));
    return *this;
  }
};

// The recorded reports equal one of the options.
void check_reports(const char* what, const Reports& expected);

// Prints a descriptor's words when tracing.
void trace_descriptor(const char* name, const ArrayDescriptor* d);

// The words of a descriptor as bytes (6 + 3*rank words).
std::vector<uint8_t> descriptor_bytes(const ArrayDescriptor* d, int rank);

}  // namespace fz
