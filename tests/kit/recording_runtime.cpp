#include "recording_runtime.h"

#include <cstdlib>
#include <cstring>

#include "f90/runtime.h"

namespace f90test {

// Test-process state; tests run on one thread.
struct State {
  std::vector<Report> reports;
  std::vector<Allocation> allocations;
  int calls = 0;
  int fail_at = 0;
};

State& state() {
  static State s;
  return s;
}

void Runtime::reset() {
  for (const Allocation& a : state().allocations) std::free(a.block);
  state() = State{};
}

const std::vector<Report>& Runtime::reports() { return state().reports; }

std::vector<int32_t> Runtime::numbers() {
  std::vector<int32_t> n;
  for (const Report& r : state().reports) n.push_back(r.number);
  return n;
}

const std::vector<Allocation>& Runtime::allocations() { return state().allocations; }

void Runtime::fail_allocation(int nth) { state().fail_at = nth; }

int Runtime::allocation_calls() { return state().calls; }

}  // namespace f90test



extern "C" void _lerror(int32_t level, int32_t number) {
  f90test::state().reports.push_back({level, number});
}

extern "C" void* _F90ALLOC(uint32_t bytes, int32_t /*flags*/) {
  auto& s = f90test::state();
  ++s.calls;
  if (s.fail_at != 0 && s.calls == s.fail_at) return nullptr;
  void* p = nullptr;
  if (posix_memalign(&p, 8, bytes == 0 ? 1 : bytes) != 0) return nullptr;
  std::memset(p, 0xCC, bytes);
  s.allocations.push_back({p, bytes});
  return p;
}
