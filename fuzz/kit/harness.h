// The result argument of an array-valued routine, and the common check that
// follows every call.
#pragma once

#include <cstdint>
#include <vector>

#include "arena.h"
#include "check.h"
#include "expect.h"
#include "layout.h"

namespace fz {

struct Result {
  bool supplied = false;  // assoc set: the caller's storage and shape
  Elem elem;
  int rank = 0;
  FArray arr;             // the caller's storage, when supplied
  ArrayDescriptor* desc = nullptr;
  std::vector<uint8_t> desc_before;  // the descriptor words, recorded by snapshot()
};

// A caller-supplied result of the given shape (strided, possibly negative
// steps, never zero steps) with its elements open, or an unassociated one of
// the given rank (the shape is the routine's to fill in).
Result supplied_result(FDP& in, const Elem& e, const Shape& s, LayoutOpts opts = kResultLayout);
Result unassociated(FDP& in, const Elem& e, int rank);
// Either of the two, as the input decides.
Result any_result(FDP& in, const Elem& e, const Shape& s);

// Records every block and descriptor before the call.
void snapshot(Result& r);

// After the call: inputs unchanged, reports as expected, and the result as
// the model says. For an unassociated result `alloc_bytes` is the byte count
// the routine must request (-1: none; zero_optional: a request of 0 bytes may
// or may not be made), and the storage is checked through the strides of
// the expected descriptor words. For a supplied result the storage is
// checked through the caller's strides.
void verify(const char* what, Result& r, const DescExpect& d, int64_t alloc_bytes,
            bool zero_optional, const ElemsExpect& elems, const Reports& reports);

// After a call that must leave at once: every byte of the arena unchanged
// (the result descriptor and the caller's result storage included), the
// expected reports, nothing allocated.
void verify_untouched(const char* what, const Reports& reports);

// Makes the routine's first allocation fail, one time in eight.
bool arm_allocation_failure(FDP& in);

// After a call whose allocation failed: inputs unchanged, exactly the
// expected reports (1205 among them), nothing allocated, and a result
// descriptor that is either still unassociated or associated with a null
// base; nothing stored anywhere.
void verify_allocation_failure(const char* what, Result& r, const Reports& reports);

// Elements of a result of the given extents (a negative extent holds none).
int64_t element_count(int rank, const int64_t* extent);

// The two early ends of a reduction along DIM, each checked and the arena's
// case closed when it applies: a refused DIM (1405, nothing touched), and a
// result allocation of `bytes` > 0 made to fail. They return whether the
// case ended there.
bool ended_on_dim(const char* what, bool refused);
bool ended_on_allocation(const char* what, Result& r, bool failing, int64_t bytes);

// Expected words of a result the routine completes: lower bounds 1, the
// given extents, contiguous strides from `first_stride` (storage units of
// one element), assoc set, base and alloc_base the storage, alloc_size the
// bytes times 8. Words 0-1 of a CHARACTER result: {storage, elem_len}.
DescExpect completed(const Result& r, int rank, const int64_t* extent, uint32_t first_stride,
                     int64_t bytes);

// The words a result must have after the call: a caller's result keeps its
// own, a result the routine completes gets completed()'s.
DescExpect result_words(const Result& r, int rank, const int64_t* extent, uint32_t first_stride,
                        int64_t bytes);

}  // namespace fz
