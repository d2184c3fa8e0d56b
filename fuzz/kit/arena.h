// The guarded arena every fuzz target places its arguments in.
//
// Each block of element storage sits in its own slot and ends right before an
// inaccessible page; each descriptor sits at the end of its own page, its
// 6 + 3r words followed by an inaccessible page. Everything in a slot that is
// not an element of some argument is poisoned for AddressSanitizer, so a
// routine that reads or writes a byte its descriptors do not describe is
// stopped (to the sanitizer's 8-byte granularity below the block, exactly at
// the page above it).
//
// Before the call the arena records the bytes of every block and descriptor;
// after it, check_unchanged() proves that the routine wrote nothing but its
// result. The bytes a routine may not see are filled with a pattern, so a
// read that slips through the granularity still shows as a wrong value.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "f90/descriptor.h"

namespace fz {

// Copies n bytes from src whether the sanitizer has them poisoned or not.
void read_raw(uint8_t* dst, const void* src, size_t n);

class Arena {
 public:
  static Arena& instance();

  // Starts one execution: every slot is poisoned and free again, the
  // recording runtime is reset (its blocks freed, its record cleared).
  void begin();
  // Ends one execution: frees what the routine allocated.
  void end();

  // A block of `bytes` bytes whose start is aligned to `align` and whose end
  // lies at most align-1 bytes below an inaccessible page. The block is
  // filled with `fill` and poisoned; unpoison() opens the elements.
  char* block(size_t bytes, size_t align, uint8_t fill);

  // Words for a descriptor of `rank`, ending right before an inaccessible
  // page; the words before it on the page are poisoned. The words are set to
  // `fill` (a 32-bit pattern).
  ArrayDescriptor* descriptor(int rank, uint32_t fill);

  static void poison(const void* p, size_t n);
  static void unpoison(const void* p, size_t n);

  // Records the current bytes of every block and descriptor placed so far.
  void snapshot();
  // Every recorded byte, except those of the blocks and descriptors marked
  // as outputs, still holds its recorded value.
  void check_unchanged() const;
  // Marks a block or a descriptor as written by the routine: the target
  // checks it itself against the model.
  void mark_output(const void* p);
  // The recorded bytes of the block or descriptor that starts at `p`.
  const std::vector<uint8_t>& recorded(const void* p) const;

  static constexpr size_t kSlotBytes = size_t{1} << 19;
  static constexpr int kSlots = 12;
  static constexpr int kDescriptorPages = 10;

 private:
  Arena();
  struct Region {
    const char* start;
    size_t bytes;
    bool output;
    std::vector<uint8_t> saved;
  };
  char* slots_ = nullptr;        // kSlots x (kSlotBytes + page), each followed by a guard
  char* desc_pages_ = nullptr;   // kDescriptorPages x 2 pages: data page, guard page
  size_t page_ = 4096;
  int next_slot_ = 0;
  int next_desc_ = 0;
  std::vector<Region> regions_;
};

}  // namespace fz
