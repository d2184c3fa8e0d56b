// A companion runtime for tests: linked into a test program, its _lerror and
// _F90ALLOC take the place of libf90rt's (the program's own definitions bind
// first). _lerror records every call and returns; _F90ALLOC can be made to
// fail on its Nth call and fills every new block with 0xCC so that bytes a
// routine should have written but did not stand out. Blocks are freed by
// reset().
//
// The six x87 word accessors (_morvex_getCW ... _morvex_setCSW) are taken
// over too: every call is recorded (see Fpu). By default each call goes on to
// the companion runtime's own accessor, so the real x87 words are read and
// written; Fpu::simulate() keeps the two words in memory instead, so that a
// test can hand a routine any word (unmasked exceptions included) and read
// back exactly what it wrote.
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

enum class FpuOp { GetCW, SetCW, GetSW, SetSW, GetCSW, SetCSW };

// One accessor call: the word returned (Get*) or written (Set*).
struct FpuCall {
  FpuOp op;
  int32_t value;
  bool operator==(const FpuCall&) const = default;
};

class Fpu {
 public:
  // From now until the next Runtime::reset(), the accessors read and write
  // these words instead of the x87 unit's. The combined state word packs the
  // control word in its low half and the exception flags (bits 0-5) in its
  // high half, as libf90rt's does.
  static void simulate(int32_t cw, int32_t sw);
  static bool simulated();
  static int32_t cw();  // the simulated words
  static int32_t sw();
  static const std::vector<FpuCall>& calls();
  static void clear_calls();
  // Number of Set* calls recorded.
  static int writes();
};

// Resets the runtime around one test.
class RuntimeScope {
 public:
  RuntimeScope() { Runtime::reset(); }
  ~RuntimeScope() { Runtime::reset(); }
};

}  // namespace f90test
