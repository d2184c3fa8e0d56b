#!/usr/bin/env bash
# Builds the fuzz targets (array procedures, reductions, MATMUL, DOT_PRODUCT,
# character routines, IEEE array settings; tree build-fuzz/, clang with
# libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer) and runs each one
# over its committed seed corpus fuzz/corpus/<target>/.
#
#   fuzz/run.sh [--runs N | --time SECONDS] [--jobs J] [--merge] [target...]
#
#   --runs N     stop each target after N executions (default 20000; CI)
#   --time S     run each target for S seconds instead (a longer run:
#                fuzz/run.sh --time 1800 --jobs 4)
#   --jobs J     run J targets at the same time (default 1)
#   --merge      afterwards, fold the inputs that add coverage into the
#                committed corpus (libFuzzer -merge=1), for a maintainer
#   target...    names without the _fuzz suffix (default: every target)
#
# New inputs go to a scratch directory; the committed corpus is only read
# unless --merge is given. A failing input is written to
# build-fuzz/artifacts/; reproduce it with build-fuzz/<target>_fuzz <file>.
# The script exits non-zero when any target finds a fault.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=20000
seconds=0
jobs=1
merge=0
targets=()
while [ $# -gt 0 ]; do
  case "$1" in
    --runs) runs=$2; shift 2 ;;
    --time) seconds=$2; shift 2 ;;
    --jobs) jobs=$2; shift 2 ;;
    --merge) merge=1; shift ;;
    -h|--help) sed -n '2,20p' "$0"; exit 0 ;;
    -*) echo "unknown option $1" >&2; exit 2 ;;
    *) targets+=("$1"); shift ;;
  esac
done

cmake -S fuzz -B build-fuzz >/dev/null
cmake --build build-fuzz -j"${F90_JOBS:-$(nproc)}"

if [ ${#targets[@]} -eq 0 ]; then
  shopt -s nullglob
  for t in build-fuzz/*_fuzz; do targets+=("$(basename "$t" _fuzz)"); done
  shopt -u nullglob
  [ ${#targets[@]} -gt 0 ] || { echo "fuzz: no target built yet"; exit 0; }
fi

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0:allocator_may_return_null=1:handle_sigfpe=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
mkdir -p build-fuzz/artifacts build-fuzz/logs
if [ "$seconds" -gt 0 ]; then limit=(-max_total_time="$seconds"); else limit=(-runs="$runs"); fi

run_one() {
  local name=$1 bin=build-fuzz/${1}_fuzz corpus=fuzz/corpus/$1
  local work log=build-fuzz/logs/$1.log
  [ -x "$bin" ] || { echo "$name: no such target" >&2; return 1; }
  mkdir -p "$corpus"
  work=$(mktemp -d)
  if "$bin" "${limit[@]}" -max_len=4096 -timeout=20 -rss_limit_mb=2560 -print_final_stats=1 \
      -artifact_prefix="build-fuzz/artifacts/$name-" "$work" "$corpus" >"$log" 2>&1; then
    local n
    n=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    echo "$name: ${n:-?} executions, no fault"
    if [ "$merge" -eq 1 ]; then
      "$bin" -merge=1 -max_len=4096 "$corpus" "$work" >>"$log" 2>&1
    fi
    rm -rf "$work"
  else
    echo "$name: FAULT (log build-fuzz/logs/$name.log)"
    grep -E "fuzz check failed|runtime error|ERROR: AddressSanitizer|SUMMARY|Test unit written" "$log" | head -n 8
    rm -rf "$work"
    return 1
  fi
}

status=0
running=0
for name in "${targets[@]}"; do
  if [ "$jobs" -le 1 ]; then
    run_one "$name" || status=1
  else
    run_one "$name" &
    running=$((running + 1))
    if [ "$running" -ge "$jobs" ]; then
      wait -n || status=1
      running=$((running - 1))
    fi
  fi
done
while [ "$running" -gt 0 ]; do
  wait -n || status=1
  running=$((running - 1))
done
exit $status
