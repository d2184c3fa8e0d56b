#!/usr/bin/env bash
# Sets up, builds and runs the benchmarks; extra arguments go to the
# benchmark program (e.g. --benchmark_filter=memcpy).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh normal -DF90_BUILD_BENCH=ON -DF90_BUILD_TESTS=OFF
build/bench/f90bench --benchmark_counters_tabular=true "$@"
