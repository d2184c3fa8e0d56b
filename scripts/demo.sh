#!/usr/bin/env bash
# Sets up, builds and runs the demo program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh normal -DF90_BUILD_EXAMPLES=ON -DF90_BUILD_TESTS=OFF -DF90_BUILD_BENCH=OFF
build/examples/f90demo
