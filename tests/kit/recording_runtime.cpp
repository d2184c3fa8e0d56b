#include "recording_runtime.h"

#include <dlfcn.h>

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
  bool simulated = false;
  int32_t cw = 0;
  int32_t sw = 0;
  std::vector<FpuCall> fpu_calls;
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

void Fpu::simulate(int32_t cw, int32_t sw) {
  state().simulated = true;
  state().cw = cw;
  state().sw = sw;
}
bool Fpu::simulated() { return state().simulated; }
int32_t Fpu::cw() { return state().cw; }
int32_t Fpu::sw() { return state().sw; }
const std::vector<FpuCall>& Fpu::calls() { return state().fpu_calls; }
void Fpu::clear_calls() { state().fpu_calls.clear(); }
int Fpu::writes() {
  int n = 0;
  for (const FpuCall& c : state().fpu_calls)
    n += c.op == FpuOp::SetCW || c.op == FpuOp::SetSW || c.op == FpuOp::SetCSW;
  return n;
}

namespace {

// The companion runtime's own accessor of that name (the next definition
// after this program's).
template <class Fn>
Fn real_accessor(const char* name) {
  void* p = dlsym(RTLD_NEXT, name);
  if (p == nullptr) std::abort();
  return reinterpret_cast<Fn>(p);
}

using GetFn = int32_t (*)();
using SetFn = void (*)(const int32_t*);

int32_t get_word(FpuOp op, const char* name, int32_t State::*word) {
  State& s = state();
  int32_t v;
  if (!s.simulated) {
    v = real_accessor<GetFn>(name)();
  } else if (op == FpuOp::GetCSW) {
    v = (s.cw & 0xffff) | ((s.sw & 0x3f) << 16);
  } else {
    v = s.*word;
  }
  s.fpu_calls.push_back({op, v});
  return v;
}

void set_word(FpuOp op, const char* name, int32_t State::*word, const int32_t* p) {
  State& s = state();
  s.fpu_calls.push_back({op, *p});
  if (!s.simulated) {
    real_accessor<SetFn>(name)(p);
  } else if (op == FpuOp::SetCSW) {
    s.cw = *p & 0xffff;
    s.sw = (s.sw & ~0x3f) | ((*p >> 16) & 0x3f);
  } else {
    s.*word = *p;
  }
}

}  // namespace

}  // namespace f90test

extern "C" int32_t _morvex_getCW(void) {
  return f90test::get_word(f90test::FpuOp::GetCW, "_morvex_getCW", &f90test::State::cw);
}
extern "C" void _morvex_setCW(const int32_t* cw) {
  f90test::set_word(f90test::FpuOp::SetCW, "_morvex_setCW", &f90test::State::cw, cw);
}
extern "C" int32_t _morvex_getSW(void) {
  return f90test::get_word(f90test::FpuOp::GetSW, "_morvex_getSW", &f90test::State::sw);
}
extern "C" void _morvex_setSW(const int32_t* sw) {
  f90test::set_word(f90test::FpuOp::SetSW, "_morvex_setSW", &f90test::State::sw, sw);
}
extern "C" int32_t _morvex_getCSW(void) {
  return f90test::get_word(f90test::FpuOp::GetCSW, "_morvex_getCSW", &f90test::State::cw);
}
extern "C" void _morvex_setCSW(const int32_t* csw) {
  f90test::set_word(f90test::FpuOp::SetCSW, "_morvex_setCSW", &f90test::State::cw, csw);
}



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
