// Reports a benchmark's bytes per second and, as the counter "terms/s",
// the terms it combined per second (sums and dot products compare the
// latter with the x87 reference chains).
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>

namespace f90bench {

inline void rates(benchmark::State& state, int64_t terms, int64_t bytes) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * bytes);
  state.counters["terms/s"] = benchmark::Counter(static_cast<double>(state.iterations()) * terms,
                                                 benchmark::Counter::kIsRate);
}

}  // namespace f90bench
