#!/usr/bin/env bash
# Sets up, builds and runs every test twice: a normal build and an
# AddressSanitizer + UndefinedBehaviorSanitizer build.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh normal
(cd build && ctest --output-on-failure -j"$(nproc)")
scripts/build.sh sanitize
# i386 ASan: no leak checking (results belong to callers); an allocator that
# returns null as _F90ALLOC may; SIGFPE left to the tests that expect it.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=1:allocator_may_return_null=1:handle_sigfpe=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
(cd build-asan && ctest --output-on-failure -j"$(nproc)")
fuzz/run.sh --runs 20000  # bounded fuzzing of the array procedures (fuzz/)
