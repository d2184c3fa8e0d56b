// Per-call timing of a library elemental against the C library's function,
// shared by the REAL*4 and REAL*8 benchmarks, with both called the way
// compiled code calls them: the argument is loaded into the x87, stored to
// the outgoing stack slot with one store of its own width (fstpl for a
// REAL*8, fstps for a REAL*4), the function is called through a register,
// and the result is taken from st(0). The call loops are written in asm so
// that the compiler adds no spills or reloads of its own around the calls.
//
// Two measures, both under control word 0x127f (the mode compiled code runs
// in), over the same 65536 arguments: more than a branch predictor learns
// when a pass is repeated, so a branch on a random argument is mispredicted
// as it would be on fresh data (over 1024 arguments both sides' branches
// were learned, which flattered branchy code):
//   throughput  y(i) = f(x(i)): each result stored to an array, so the calls
//               are independent and may overlap;
//   latency     each argument is x(i) + 0 * (the previous result): every call
//               waits for the one before it (the link adds an fmul and an
//               fadd, the same for both sides).
// Every benchmark iteration is one round: ours and the C library's, one
// right after the other, for each measure. The counters give ns per call
// (medians over the rounds) and the ratios libm/f90 (above 1.0: faster than
// the C library) as the median, minimum and maximum over the rounds, so
// that an effect of code layout or of other load shows as spread.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <random>
#include <type_traits>
#include <vector>

#include "control_word.h"

namespace elembench {

constexpr int kArgs = 65536;

template <class T>
struct Args {
  std::vector<T> x, y;
};

template <class T>
Args<T> make_args(double xlo, double xhi, double ylo, double yhi) {
  std::mt19937_64 rng(12345);
  std::uniform_real_distribution<double> ux(xlo, xhi), uy(ylo, yhi);
  Args<T> a;
  for (int i = 0; i < kArgs; ++i) {
    a.x.push_back(static_cast<T>(ux(rng)));
    a.y.push_back(static_cast<T>(uy(rng)));
  }
  return a;
}

// What one asm call loop reads: the function, the argument arrays, the
// result array and the end of the arrays as a byte offset.
struct Job {
  const void* f;
  const void* x;
  const void* y;
  void* out;
  uint32_t end;
};

// The x87 registers a called function may leave changed, and the
// caller-saved integer registers.
#define ELEMBENCH_CLOBBERS                                                                \
  "eax", "ecx", "edx", "memory", "cc", "st", "st(1)", "st(2)", "st(3)", "st(4)", "st(5)", \
      "st(6)", "st(7)"

// The asm loops below are one text for both kinds and arities: %c2 is the
// number of arguments, %c3 the size of T (4: flds/fstps, 8: fldl/fstpl);
// the assembler keeps the lines of the case at hand. The outgoing area is
// 28 bytes, so the stack pointer moves by 32 with the return address.
#define ELEMBENCH_LOAD(src)     \
  ".if %c3 == 8\n\t"          \
  "fldl " src "\n\t"          \
  ".else\n\t"                 \
  "flds " src "\n\t"          \
  ".endif\n\t"
#define ELEMBENCH_STORE(dst)    \
  ".if %c3 == 8\n\t"          \
  "fstpl " dst "\n\t"         \
  ".else\n\t"                 \
  "fstps " dst "\n\t"         \
  ".endif\n\t"
#define ELEMBENCH_ADD(src)      \
  ".if %c3 == 8\n\t"          \
  "faddl " src "\n\t"         \
  ".else\n\t"                 \
  "fadds " src "\n\t"         \
  ".endif\n\t"
// The second argument follows the first in its own slot.
#define ELEMBENCH_SECOND          \
  ".if %c2 == 2\n\t"            \
  "movl 8(%0), %%eax\n\t"       \
  ELEMBENCH_LOAD("(%%eax,%1)")    \
  ELEMBENCH_STORE("%c3(%%esp)")   \
  ".endif\n\t"

// Load, store as the argument, call, store the result: one pass.
template <class T, int Arity>
void throughput_pass(const Job& job) {
  const Job* j = &job;
  uint32_t i = 0;
  __asm__ volatile(
      "1:\n\t"
      "subl $28, %%esp\n\t"
      "movl 4(%0), %%eax\n\t"
      ELEMBENCH_LOAD("(%%eax,%1)")
      ELEMBENCH_STORE("(%%esp)")
      ELEMBENCH_SECOND
      "call *(%0)\n\t"
      "addl $28, %%esp\n\t"
      "movl 12(%0), %%eax\n\t"
      ELEMBENCH_STORE("(%%eax,%1)")
      "addl %3, %1\n\t"
      "cmpl 16(%0), %1\n\t"
      "jne 1b"
      : "+S"(j), "+D"(i)
      : "i"(Arity), "i"(sizeof(T))
      : ELEMBENCH_CLOBBERS);
}

// As throughput_pass, but each x argument is x(i) + 0 * (previous result),
// so the calls form one dependent chain; the last result is stored.
template <class T, int Arity>
void latency_pass(const Job& job) {
  const Job* j = &job;
  uint32_t i = 0;
  __asm__ volatile(
      "fldz\n"
      "1:\n\t"
      "fldz\n\t"
      "fmulp\n\t"
      "movl 4(%0), %%eax\n\t"
      ELEMBENCH_ADD("(%%eax,%1)")
      "subl $28, %%esp\n\t"
      ELEMBENCH_STORE("(%%esp)")
      ELEMBENCH_SECOND
      "call *(%0)\n\t"
      "addl $28, %%esp\n\t"
      "addl %3, %1\n\t"
      "cmpl 16(%0), %1\n\t"
      "jne 1b\n\t"
      "movl 12(%0), %%eax\n\t"
      ELEMBENCH_STORE("(%%eax)")
      : "+S"(j), "+D"(i)
      : "i"(Arity), "i"(sizeof(T))
      : ELEMBENCH_CLOBBERS);
}

#undef ELEMBENCH_SECOND
#undef ELEMBENCH_ADD
#undef ELEMBENCH_STORE
#undef ELEMBENCH_LOAD
#undef ELEMBENCH_CLOBBERS

// Best of a few passes, in ns per call.
template <class Pass>
double ns_per_call(Pass pass, const Job& job) {
  double best = 1e30;
  for (int rep = 0; rep < 3; ++rep) {
    const auto t0 = std::chrono::steady_clock::now();
    pass(job);
    const auto t1 = std::chrono::steady_clock::now();
    best = std::min(best, std::chrono::duration<double, std::nano>(t1 - t0).count() / kArgs);
  }
  return best;
}

inline double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  const size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// The timings of one measure over the rounds.
struct Series {
  std::vector<double> ours, libm, ratio;

  void add(double ours_ns, double libm_ns) {
    ours.push_back(ours_ns);
    libm.push_back(libm_ns);
    ratio.push_back(libm_ns / ours_ns);
  }

  void report(benchmark::State& state, const char* measure) const {
    const std::string m(measure);
    state.counters[m + "_f90_ns"] = median(ours);
    state.counters[m + "_libm_ns"] = median(libm);
    state.counters[m + "_libm/f90"] = median(ratio);
    state.counters[m + "_min"] = *std::min_element(ratio.begin(), ratio.end());
    state.counters[m + "_max"] = *std::max_element(ratio.begin(), ratio.end());
  }
};

template <class T, int Arity>
void run(benchmark::State& state, const void* ours, const void* libm, const Args<T>& args) {
  const uint16_t saved = f90test::get_cw();
  f90test::set_cw(f90test::kCwLibrary);
  std::vector<T> out(kArgs);
  const uint32_t end = kArgs * sizeof(T);
  const Job our_job{ours, args.x.data(), args.y.data(), out.data(), end};
  const Job libm_job{libm, args.x.data(), args.y.data(), out.data(), end};
  Series throughput, latency;
  for (auto _ : state) {
    const double t_ours = ns_per_call(throughput_pass<T, Arity>, our_job);
    const double t_libm = ns_per_call(throughput_pass<T, Arity>, libm_job);
    const double l_ours = ns_per_call(latency_pass<T, Arity>, our_job);
    const double l_libm = ns_per_call(latency_pass<T, Arity>, libm_job);
    throughput.add(t_ours, t_libm);
    latency.add(l_ours, l_libm);
    benchmark::DoNotOptimize(out.data());
  }
  throughput.report(state, "thr");
  latency.report(state, "lat");
  f90test::set_cw(saved);
}

// The address of a function, read through a volatile object so that
// neither side can be folded.
template <class P>
const void* opaque(P p) {
  volatile P v = p;
  return reinterpret_cast<const void*>(v);
}

template <class F>
inline constexpr int kArity = 0;
template <class R, class... A>
inline constexpr int kArity<R (*)(A...)> = sizeof...(A);

}  // namespace elembench

// BM_<prefix>_<name> over arguments of type T: x uniform in [xlo, xhi],
// y in [ylo, yhi]; ours and libc are function pointers of the same arity.
#define ELEMENTAL_PAIR(T, prefix, name, ours, libc, xlo, xhi, ylo, yhi)                 \
  void BM_##prefix##_##name(benchmark::State& s) {                                     \
    static const auto a = elembench::make_args<T>(xlo, xhi, ylo, yhi);                 \
    static_assert(elembench::kArity<decltype(ours)> == elembench::kArity<decltype(libc)>); \
    elembench::run<T, elembench::kArity<decltype(ours)>>(s, elembench::opaque(ours),   \
                                                         elembench::opaque(libc), a);  \
  }                                                                                      \
  BENCHMARK(BM_##prefix##_##name);
