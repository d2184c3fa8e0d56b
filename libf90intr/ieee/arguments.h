// Array arguments of the IEEE procedures (FLAG, FLAG_VALUE, HALTING).
//
// The element count is the number of elements the descriptor holds, in 64
// bits: _SIZE's 32-bit product would wrap for a broadcast array beyond 2^32
// elements and make two arrays of different sizes look alike. _SIZE (without
// DIM) is still called for its report of an argument without storage. The
// elements are read as one sequence in array element order through the
// whole descriptor, every dimension with its own stride (in 32-bit words:
// both element types are 32 bits or wider), so sections of any rank are read
// at their own elements. Lower bounds play no part, and the descriptors are
// only read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "array/descriptor.h"
#include "array/inquiry.h"
#include "common/inputs.h"
#include "common/walk.h"
#include "ieee/ieee.h"

namespace f90::ieee {

class ArrayArg {
 public:
  explicit ArrayArg(ArrayDescriptor* d) : d_(d), size_(d_.element_count()) {
    (void)size_of(d, nullptr);
    // _SIZE has reported a pointer or allocatable without storage; elements
    // with a null base are reported here.
    if (!d_.absent() && absent()) report(ERR_NOT_PRESENT);
  }

  // The number of elements.
  int64_t size() const { return size_; }
  // A pointer or allocatable without storage, or elements with a null base
  // (either reported as 1410): nothing of it may be read.
  bool absent() const { return !input_readable(d_.raw()); }

  // Cursor over the first size() elements, in array element order.
  class Elements {
   public:
    explicit Elements(Desc d, int64_t size) : cursor_(make_cursor(d)), left_(size) {}
    // Address of the next element, or null after the last.
    const char* next() {
      if (left_ == 0) return nullptr;
      const char* p = cursor_.at();
      cursor_.advance(1);
      --left_;
      return p;
    }

   private:
    // Always inlined, as every function here returning a record: an
    // out-of-line copy would pop its hidden result pointer (ret $4).
    [[gnu::always_inline]] static RunCursor make_cursor(Desc d) {
      int64_t extent[F90_MAX_RANK];
      int64_t stride[F90_MAX_RANK];
      for (int i = 0; i < d.rank(); ++i) {
        extent[i] = d.extent(i);
        stride[i] = int64_t{d.stride(i)} * 4;
      }
      return RunCursor(d.rank(), extent, stride, d.base(), false);
    }
    RunCursor cursor_;
    int64_t left_;
  };

  [[gnu::always_inline]] Elements elements() const { return Elements(d_, size_); }

 private:
  Desc d_;
  int64_t size_;
};

// Words of the elements.
inline int32_t word_at(const char* p, int offset = 0) {
  int32_t w;
  std::memcpy(&w, p + offset, 4);
  return w;
}
inline int32_t cw_bit_of(const char* flag) { return word_at(flag, offsetof(FlagType, cw_bit)); }
inline int32_t sw_bit_of(const char* flag) { return word_at(flag, offsetof(FlagType, sw_bit)); }
inline bool logical_of(const char* value) { return word_at(value) != 0; }

// Slot (0..4, IEEE_ALL order) of the exception whose word `member` equals
// `bit`, or -1 when none does.
template <int32_t FlagType::*member>
inline int slot_of(int32_t bit) {
  for (int k = 0; k < kExceptions; ++k)
    if (ieee_exceptions_data[kAllFirst + k].*member == bit) return k;
  return -1;
}

// Reports a conflict (5000) through _morvex_error.
inline void report_conflict() {
  const int32_t number = kConflict;
  _morvex_error(&number);
}

}  // namespace f90::ieee
