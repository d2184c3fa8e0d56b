#!/usr/bin/env bash
# Configures and builds one build tree.
#   scripts/build.sh [normal|sanitize] [extra cmake args...]
# normal   -> build/        (RelWithDebInfo)
# sanitize -> build-asan/   (AddressSanitizer + UndefinedBehaviorSanitizer)
# F90_JOBS sets the number of parallel jobs (default: every processor).
# The settings a caller passes (-DF90_BUILD_TESTS=...) are stored in the
# tree's cache, so each script that needs a part passes its own setting.
set -euo pipefail
cd "$(dirname "$0")/.."
flavour=${1:-normal}
shift || true
case "$flavour" in
  normal) dir=build; extra=() ;;
  sanitize) dir=build-asan; extra=(-DF90_SANITIZE=ON -DF90_BUILD_BENCH=OFF) ;;
  *) echo "usage: $0 [normal|sanitize]" >&2; exit 2 ;;
esac
cmake -S . -B "$dir" -DCMAKE_TOOLCHAIN_FILE=cmake/i386-linux.cmake "${extra[@]}" "$@" >/dev/null
cmake --build "$dir" -j"${F90_JOBS:-$(nproc)}"
