// Buffers that end right before an inaccessible page (or, on request, start
// right after one), so a read or write one byte past the end (before the
// start) faults at once.
#pragma once

#include <cstddef>
#include <cstdint>

#include "f90/descriptor.h"

namespace f90test {

enum class GuardSide { after, before };

class GuardedBuffer {
 public:
  explicit GuardedBuffer(size_t bytes, GuardSide side = GuardSide::after);
  ~GuardedBuffer();
  GuardedBuffer(const GuardedBuffer&) = delete;
  GuardedBuffer& operator=(const GuardedBuffer&) = delete;
  // First byte; data() + size() (data() - 1 with GuardSide::before) is the
  // first inaccessible byte.
  void* data() const { return data_; }
  size_t size() const { return size_; }

 private:
  void* map_ = nullptr;
  size_t map_len_ = 0;
  void* data_ = nullptr;
  size_t size_ = 0;
};

// A copy of a descriptor's 6 + 3r words placed against a guard page: a
// routine that reads a dimension triple beyond the rank faults.
class GuardedDescriptor {
 public:
  explicit GuardedDescriptor(const ArrayDescriptor* d);
  ArrayDescriptor* get() const { return static_cast<ArrayDescriptor*>(buf_.data()); }

 private:
  GuardedBuffer buf_;
};

}  // namespace f90test
