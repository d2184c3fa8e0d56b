#!/usr/bin/env bash
# Sets up, builds and runs every test twice: a normal build and an
# AddressSanitizer + UndefinedBehaviorSanitizer build; then a bounded fuzzing
# run. F90_JOBS sets the number of parallel jobs (default: every processor).
# A build tree with no tests in it fails (ctest --no-tests=error).
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=${F90_JOBS:-$(nproc)}
scripts/setup.sh
# The benchmarks and the demo are built too, so that neither falls behind.
scripts/build.sh normal -DF90_BUILD_TESTS=ON -DF90_BUILD_EXAMPLES=ON -DF90_BUILD_BENCH=ON
(cd build && ctest --output-on-failure --no-tests=error -j"$jobs")
scripts/build.sh sanitize -DF90_BUILD_TESTS=ON
# i386 ASan: no leak checking (results belong to callers); an allocator that
# returns null as _F90ALLOC may; SIGFPE left to the tests that expect it.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=1:allocator_may_return_null=1:handle_sigfpe=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
(cd build-asan && ctest --output-on-failure --no-tests=error -j"$jobs")
fuzz/run.sh --runs 20000  # bounded fuzzing of the array procedures (fuzz/)
