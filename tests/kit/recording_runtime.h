// A companion runtime for tests: linked into a test program, its _lerror and
// _F90ALLOC take the place of libf90rt's (the program's own definitions bind
// first). _lerror records every call and returns; _F90ALLOC can be made to
// fail on its Nth call and fills every new block with 0xCC so that bytes a
// routine should have written but did not stand out. Blocks are freed by
// reset().
#pragma once

#include <cstdint>
#include <vector>

namespace f90test {

struct Report {
  int32_t level;
  int32_t number;
  bool operator==(const Report&) const = default;
};

struct Allocation {
  void* block;
  uint32_t bytes;
};

class Runtime {
 public:
  // Clears the record, frees every block and disarms allocation failure.
  static void reset();
  static const std::vector<Report>& reports();
  // Message numbers of the recorded reports, in order.
  static std::vector<int32_t> numbers();
  static const std::vector<Allocation>& allocations();
  // The nth call (1-based, counted from the last reset) returns null;
  // 0 disarms.
  static void fail_allocation(int nth);
  static int allocation_calls();
};

// Resets the runtime around one test.
class RuntimeScope {
 public:
  RuntimeScope() { Runtime::reset(); }
  ~RuntimeScope() { Runtime::reset(); }
};

}  // namespace f90test
